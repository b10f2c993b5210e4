#include "viewer/Entry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "viewer/MainForm.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Series.h"

namespace zel {

namespace {

// How long the window system may take to put the window on the screen before a file named on
// the command line is loaded into it.
constexpr int FirstPaintTimeoutMs = 2000;

double MillisecondsSince(std::chrono::steady_clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count();
}

String ProgramName(int argc, const char* const* argv) {
  String Name = argc > 0 && argv[0] && *argv[0] ? argv[0] : "zelview";
  const auto Slash = Name.rfind('/');
  return Slash == String::npos ? Name : Name.substr(Slash + 1);
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
    std::fflush(stdout);
    return 0;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
}

}  // namespace

void PrepareViewerEnvironment() {
  const char* Runtime = std::getenv("XDG_RUNTIME_DIR");
  if (Runtime && *Runtime) return;
  // The folder the window system would fall back to (after saying so on every start): a private
  // one in the temporary folder. One that is not ours, or not private, is left for it to report.
  const char* Tmp = std::getenv("TMPDIR");
  const String Dir = String(Tmp && *Tmp ? Tmp : "/tmp") + "/runtime-" + std::to_string(::getuid());
  ::mkdir(Dir.c_str(), 0700);
  struct stat St;
  if (::lstat(Dir.c_str(), &St) != 0 || !S_ISDIR(St.st_mode) || St.st_uid != ::getuid() || (St.st_mode & 077)) return;
  ::setenv("XDG_RUNTIME_DIR", Dir.c_str(), 1);
}

TViewerCommand ParseViewerCommand(int argc, const char* const* argv) {
  using K = TViewerCommand::TKind;
  TViewerCommand C;
  auto Bad = [&](const String& Error) {
    C.Kind = K::Bad;
    C.Error = Error;
    return C;
  };
  bool HaveFile = false;
  bool Options = true;  // until "--": after it every argument is a file name
  for (int I = 1; I < argc; ++I) {
    const String Arg = argv[I] ? argv[I] : "";
    if (Options && Arg == "--") {
      Options = false;
    } else if (Options && (Arg == "--help" || Arg == "-h")) {
      C.Kind = K::Help;
      return C;
    } else if (Options && Arg == "--load-and-exit") {
      if (C.Kind == K::LoadAndExit) return Bad("--load-and-exit is given twice");
      C.Kind = K::LoadAndExit;
    } else if (Options && Arg.size() > 1 && Arg[0] == '-') {
      return Bad("unknown option \"" + Arg + "\"");
    } else if (HaveFile) {
      return Bad("more than one file named (\"" + C.FileName + "\" and \"" + Arg + "\")");
    } else {
      C.FileName = Arg;
      HaveFile = true;
    }
  }
  if (C.Kind == K::LoadAndExit && !HaveFile) return Bad("--load-and-exit needs a file");
  return C;
}

String ViewerUsage(const String& Program) {
  return "usage: " + Program + " [FILE]\n" +
         "       " + Program + " --load-and-exit FILE\n" +
         "\n"
         "Shows oscilloscope logger session files as charts, one line per record. FILE is\n"
         "loaded into the window once it is shown; \"Load file\" opens others.\n"
         "\n"
         "  --load-and-exit FILE  load FILE without showing a window, paint the chart once,\n"
         "                        print the times taken and end (runs without a display)\n"
         "  -h, --help            show this text and end\n"
         "  --                    ends the options: a FILE named \"-x.csv\" follows it\n";
}

String NoDisplayMessage(const String& Program, const String& Reason) {
  return Program + ": " + Reason + "; or use --load-and-exit FILE to load a file without a window\n";
}

void RunViewerWindow(const String& FileName) {
  Application->CreateForm(FrmMain);
  if (!FileName.empty()) {
    // The window first, so that the progress of the load and any message about the file
    // appear over it.
    FrmMain->Show();
    FrmMain->WaitUntilPainted(FirstPaintTimeoutMs);
    try {
      FrmMain->fileLoad(FileName);
    } catch (...) {
      Application->HandleException();
    }
  }
  Application->Run();
}

int ViewerMain(int argc, const char* const* argv) {
  const String Program = ProgramName(argc, argv);
  const TViewerCommand Command = ParseViewerCommand(argc, argv);
  using K = TViewerCommand::TKind;
  if (Command.Kind == K::Help) {
    std::fputs(ViewerUsage(Program).c_str(), stdout);
    std::fflush(stdout);
    return 0;
  }
  if (Command.Kind == K::Bad) {
    std::fprintf(stderr, "%s: %s\n%s", Program.c_str(), Command.Error.c_str(), ViewerUsage(Program).c_str());
    std::fflush(stderr);
    return 2;
  }
  try {
    PrepareViewerEnvironment();
    Application->SetTitle("Session viewer");
    Application->Initialize();
    if (Command.Kind == K::LoadAndExit) {
      Application->CreateForm(FrmMain);
      return LoadAndExit(Command.FileName);
    }
    if (!HasDisplay()) {
      std::fputs(NoDisplayMessage(Program, NoDisplayReason()).c_str(), stderr);
      std::fflush(stderr);
      return 1;
    }
    RunViewerWindow(Command.FileName);
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

}  // namespace zel
