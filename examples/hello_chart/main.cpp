// A first program on Zelgraph: a window holding a chart of one line, saved as a PNG picture.
//
//   hello_chart [PICTURE]
//
// Saves the chart to PICTURE (hello_chart.png when not given), then shows the window until it is
// closed, when there is a screen to show it on (not with QT_QPA_PLATFORM=offscreen).
// README.md's "Using the library in a program" shows this whole file.
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
  TZelUnitsGuard Units;  // the library's units, for the whole program
  int Status = 0;
  try {
    Application->Initialize();  // the window system

    TForm* Form = nullptr;  // the main window, freed by the application
    Application->CreateForm(Form);
    Form->SetCaption("Hello chart");
    Form->SetClientWidth(640);
    Form->SetClientHeight(400);

    TChart* Chart = Create<TChart>(Form);  // owned by the form and filling it
    Chart->SetParent(Form);
    Chart->SetAlign(TAlignLayout::Client);
    Chart->SetView3D(false);
    Chart->GetTitle()->SetCaption("Hello, chart");
    Chart->GetLegend()->SetLegendStyle(TLegendStyle::lsSeries);

    auto* Line = Create<TFastLineSeries>(Form);
    Line->SetTitle("Damped sine");
    Line->SetSeriesColor(0xFFD02020);  // ARGB
    Line->GetLinePen()->SetWidth(2);
    Line->SetParentChart(Chart);
    for (int I = 0; I <= 200; ++I) {
      const double X = I / 10.0;
      Line->AddXY(X, std::exp(-X / 8) * std::sin(X));
    }

    Chart->SaveToBitmapFile(Picture);  // a PNG of the chart
    std::printf("Saved %s\n", Picture.c_str());
    if (HasDisplay()) Application->Run();  // shows the window until it is closed
  } catch (const std::exception& E) {
    // The library's errors (zel::Exception, platform/Exceptions.h) derive from std::exception.
    std::fprintf(stderr, "hello_chart: %s\n", E.what());
    Status = 1;
  }
  Application.Free();  // the application and its windows go before the units end
  return Status;
}
