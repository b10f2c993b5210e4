// A first program on Zelgraph: a window holding a chart of one line, saved as a PNG picture.
//
//   hello_chart [PICTURE]
//
// Saves the chart to PICTURE (hello_chart.png when not given), then shows the window until it is
// closed, when there is a screen to show it on (not with QT_QPA_PLATFORM=offscreen).
#include <cmath>
#include <cstdio>
#include <exception>

#include "platform/Forms.h"
#include "zelgraph/Units.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/series/FastLine.h"

using namespace zel;

int main(int argc, char** argv) {
  const String Picture = argc > 1 ? argv[1] : "hello_chart.png";
  // The library's units, started for the whole program and ended when it returns.
  TZelUnitsGuard Units;
  int Status = 0;
  try {
    Application->Initialize();  // the window system

    // The main window, owned by the application, which frees it.
    TForm* Form = nullptr;
    Application->CreateForm(Form);
    Form->SetCaption("Hello chart");
    Form->SetClientWidth(640);
    Form->SetClientHeight(400);

    // The chart, owned by the form and filling it.
    TChart* Chart = Create<TChart>(Form);
    Chart->SetParent(Form);
    Chart->SetAlign(TAlignLayout::Client);
    Chart->SetView3D(false);
    Chart->GetTitle()->SetCaption("Hello, chart");
    Chart->GetLegend()->SetLegendStyle(TLegendStyle::lsSeries);  // series titles, not values

    // A line series on the chart, owned by the form as well.
    auto* Line = Create<TFastLineSeries>(Form);
    Line->SetTitle("Damped sine");
    Line->SetSeriesColor(0xFFD02020);
    Line->GetLinePen()->SetWidth(2);
    Line->SetParentChart(Chart);
    for (int I = 0; I <= 200; ++I) {
      const double X = I / 10.0;
      Line->AddXY(X, std::exp(-X / 8) * std::sin(X));
    }

    Chart->SaveToBitmapFile(Picture);
    std::printf("Saved %s\n", Picture.c_str());

    // Shows the main window and runs until it is closed.
    if (HasDisplay()) Application->Run();
  } catch (const std::exception& E) {
    std::fprintf(stderr, "hello_chart: %s\n", E.what());
    Status = 1;
  }
  // The application and its windows go before the units end.
  Application.Free();
  return Status;
}
