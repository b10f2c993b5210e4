// Entry of the session log viewer.
//
//   zelview [FILE]                  opens the window, loading FILE first when given
//   zelview --load-and-exit FILE    loads FILE into the window's chart, paints it once off the
//                                   screen, prints the times taken and ends (for timing runs)
#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "viewer/MainForm.h"
#include "zelgraph/Units.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Series.h"

using namespace zel;

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count();
}

// Loads the file, paints the chart once into a picture and reports both times.
int LoadAndExit(const String& FileName) {
  try {
    auto Start = std::chrono::steady_clock::now();
    FrmMain->fileLoad(FileName);
    const double LoadMs = MillisecondsSince(Start);
    std::int64_t Points = 0;
    for (std::int32_t I = 0; I < FrmMain->chart_->SeriesCount(); ++I) Points += FrmMain->chart_->GetSeries(I)->Count();
    Start = std::chrono::steady_clock::now();
    std::unique_ptr<TBitmap> Picture(PaintToBitmap(FrmMain->chart_));
    const double PaintMs = MillisecondsSince(Start);
    std::printf("series=%d points=%lld load_ms=%.1f paint_ms=%.1f picture=%dx%d\n", FrmMain->chart_->SeriesCount(),
                static_cast<long long>(Points), LoadMs, PaintMs, Picture ? Picture->GetWidth() : 0,
                Picture ? Picture->GetHeight() : 0);
    return 0;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
}

int Run(int argc, char** argv) {
  const bool Timing = argc == 3 && String(argv[1]) == "--load-and-exit";
  if (argc > 2 && !Timing) {
    std::fprintf(stderr, "usage: %s [FILE] | --load-and-exit FILE\n", argv[0]);
    return 2;
  }
  try {
    Application->Initialize();
    Application->SetTitle("Session viewer");
    Application->CreateForm(FrmMain);
    if (Timing) return LoadAndExit(argv[2]);
    if (argc == 2) {
      // A file that cannot be loaded is reported; the window stays usable.
      try {
        FrmMain->fileLoad(argv[1]);
      } catch (...) {
        Application->HandleException();
      }
    }
    Application->Run();
  } catch (const Exception& E) {
    Application->ShowException(E);
  } catch (...) {
    try {
      throw Exception(String());
    } catch (const Exception& E) {
      Application->ShowException(E);
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TZelUnitsGuard Units;
  const int Result = Run(argc, argv);
  Application.Free();
  return Result;
}
