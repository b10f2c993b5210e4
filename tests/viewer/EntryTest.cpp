// The viewer's entry: its command line, what it does without a display, and a file named on the
// command line loading into the window once the window is on the screen.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "support/TempFiles.h"

#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "viewer/Entry.h"
#include "viewer/MainForm.h"
#include "zelgraph/chart/Chart.h"

namespace zel {
namespace {

using K = TViewerCommand::TKind;

String Data(const char* Name) { return String(ZEL_TEST_DATA) + "/" + Name; }

TViewerCommand Parse(std::vector<const char*> Args) {
  Args.insert(Args.begin(), "zelview");
  return ParseViewerCommand(int(Args.size()), Args.data());
}

TEST(ViewerCommand, ArgumentsAndWhatTheyAskFor) {
  struct Case {
    std::vector<const char*> Args;
    K Kind;
    const char* FileName;
    const char* ErrorPart;
  };
  const Case Cases[] = {
      {{}, K::Window, "", ""},
      {{"a.csv"}, K::Window, "a.csv", ""},
      {{"--load-and-exit", "a.csv"}, K::LoadAndExit, "a.csv", ""},
      {{"a.csv", "--load-and-exit"}, K::LoadAndExit, "a.csv", ""},
      {{"--help"}, K::Help, "", ""},
      {{"-h"}, K::Help, "", ""},
      {{"a.csv", "--help"}, K::Help, "a.csv", ""},
      {{"--verbose"}, K::Bad, "", "unknown option \"--verbose\""},
      {{"-x", "a.csv"}, K::Bad, "", "unknown option \"-x\""},
      {{"a.csv", "b.csv"}, K::Bad, "", "more than one file"},
      {{"--load-and-exit"}, K::Bad, "", "--load-and-exit needs a file"},
      {{"--load-and-exit", "--load-and-exit", "a.csv"}, K::Bad, "", "twice"},
      {{"-"}, K::Window, "-", ""},
      // "--" ends the options: what follows is a file, whatever it looks like.
      {{"--", "-x.csv"}, K::Window, "-x.csv", ""},
      {{"--load-and-exit", "--", "-x.csv"}, K::LoadAndExit, "-x.csv", ""},
      {{"--", "--help"}, K::Window, "--help", ""},
      {{"--", "--"}, K::Window, "--", ""},
      {{"--", "-x.csv", "--load-and-exit"}, K::Bad, "", "more than one file"},
      {{"--", "a.csv", "b.csv"}, K::Bad, "", "more than one file"},
      {{"--"}, K::Window, "", ""},
  };
  for (const Case& C : Cases) {
    String Line;
    for (const char* A : C.Args) Line += String(A) + " ";
    SCOPED_TRACE(Line);
    const TViewerCommand Got = Parse(C.Args);
    EXPECT_EQ(Got.Kind, C.Kind);
    if (C.Kind != K::Bad) {
      EXPECT_EQ(Got.FileName, C.FileName);
    }
    EXPECT_NE(Got.Error.find(C.ErrorPart), String::npos) << Got.Error;
  }
}

struct TRun {
  int Result;
  String Out, Err;
};

TRun RunMain(std::vector<const char*> Args) {
  Args.insert(Args.begin(), "/usr/local/bin/zelview");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  TRun R;
  R.Result = ViewerMain(int(Args.size()), Args.data());
  R.Out = testing::internal::GetCapturedStdout();
  R.Err = testing::internal::GetCapturedStderr();
  Application.Free();
  FrmMain = nullptr;
  return R;
}

// Off the screen (as these tests run) there is no display: only the timing run works, and
// everything ends at once with a status that says how.
TEST(ViewerMain, AnswersTheCommandLineAndNeverRunsInvisibly) {
  struct Case {
    const char* Name;
    std::vector<const char*> Args;
    int Result;
    const char* OutPart;
    const char* ErrPart;
  };
  const String Three = Data("session_three.csv");
  const String Bad = Data("session_bad_sample.csv");
  const Case Cases[] = {
      {"help", {"--help"}, 0, "usage: zelview [FILE]", ""},
      {"short help", {"-h"}, 0, "--load-and-exit FILE", ""},
      {"unknown option", {"--fast"}, 2, "", "zelview: unknown option \"--fast\"\nusage: zelview [FILE]"},
      {"two files", {"a.csv", "b.csv"}, 2, "", "usage:"},
      {"no display", {}, 1, "", "zelview: no display to show the window on"},
      {"no display for a file", {Three.c_str()}, 1, "", "--load-and-exit"},
      {"timing run", {"--load-and-exit", Three.c_str()}, 0, "series=3 points=", ""},
      {"timing run of a bad file", {"--load-and-exit", Bad.c_str()}, 1, "", "is not a valid floating point value"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TRun R = RunMain(C.Args);
    EXPECT_EQ(R.Result, C.Result);
    EXPECT_NE(R.Out.find(C.OutPart), String::npos) << R.Out;
    EXPECT_NE(R.Err.find(C.ErrPart), String::npos) << R.Err;
    if (C.Result == 0) {
      EXPECT_EQ(R.Err, "");
    }
  }
}

// An environment variable set (or unset: nullptr) for one test.
class TEnvScope {
 public:
  TEnvScope(const char* Name, const char* Value) : FName(Name) {
    const char* Old = std::getenv(Name);
    FHad = Old != nullptr;
    if (Old) FOld = Old;
    if (Value)
      ::setenv(Name, Value, 1);
    else
      ::unsetenv(Name);
  }
  ~TEnvScope() {
    if (FHad)
      ::setenv(FName.c_str(), FOld.c_str(), 1);
    else
      ::unsetenv(FName.c_str());
  }
  TEnvScope(const TEnvScope&) = delete;
  TEnvScope& operator=(const TEnvScope&) = delete;

 private:
  String FName, FOld;
  bool FHad = false;
};

// A Wayland-only session whose display the window system cannot use is told the cause in words
// (no Wayland plugin, or no compositor where the plugin is installed) and ends with 1, instead
// of the window system aborting the process or warning about a plugin it does not have. (The
// window system starts once per process: ctest runs this test in its own.)
TEST(ViewerMain, AWaylandOnlySessionItCannotUseEndsWithTheCause) {
  TEnvScope Platform("QT_QPA_PLATFORM", nullptr), X("DISPLAY", nullptr);
  TEnvScope Wayland("WAYLAND_DISPLAY", "zel-no-such-wayland-display");
  const std::vector<String> Plugins = CurrentDisplayEnvironment().Plugins;
  const bool HasPlugin = std::find(Plugins.begin(), Plugins.end(), "wayland") != Plugins.end();
  const TRun R = RunMain({});
  EXPECT_EQ(R.Result, 1);
  const String Cause = HasPlugin ? "no display to show the window on: the Wayland display "
                                   "\"zel-no-such-wayland-display\" could not be reached"
                                 : "Qt's Wayland plugin is not installed (package qt6-wayland), so the window "
                                   "cannot open on the Wayland display \"zel-no-such-wayland-display\"";
  EXPECT_NE(R.Err.find("zelview: " + Cause), String::npos) << R.Err;
  // Without the plugin nothing is tried, so nothing is said before the cause.
  if (!HasPlugin) {
    EXPECT_EQ(R.Err.rfind("zelview: ", 0), 0u) << R.Err;
  }
  EXPECT_NE(R.Err.find("; or use --load-and-exit FILE"), String::npos) << R.Err;
  EXPECT_EQ(R.Err.find("Could not find the Qt platform plugin"), String::npos) << R.Err;
}

// A platform the user set in QT_QPA_PLATFORM that cannot show the window is told in words and
// ends with 1, as a display the session names does, instead of the window system aborting the
// process: its plugin is not installed, or the display it opens on cannot be reached. (One
// process for each case: the window system starts once per process.)
struct TUserPlatform {
  const char* Name;
  const char* Platform;  // QT_QPA_PLATFORM
  const char* Display;   // DISPLAY (nullptr: unset)
  const char* Cause;     // what the message says after "zelview: "
};

// A case prints as its name (the test list would otherwise show the bytes of its pointers).
void PrintTo(const TUserPlatform& C, std::ostream* Out) { *Out << C.Name; }

class UserPlatform : public ::testing::TestWithParam<TUserPlatform> {};

TEST_P(UserPlatform, ThatCannotShowTheWindowEndsWithTheCause) {
  const TUserPlatform& C = GetParam();
  TEnvScope Platform("QT_QPA_PLATFORM", C.Platform), X("DISPLAY", C.Display), Wayland("WAYLAND_DISPLAY", nullptr);
  const TRun R = RunMain({});
  EXPECT_EQ(R.Result, 1);
  EXPECT_NE(R.Err.find(String("zelview: ") + C.Cause + "; or use --load-and-exit FILE"), String::npos) << R.Err;
  EXPECT_EQ(R.Err.find("Could not find the Qt platform plugin"), String::npos) << R.Err;
}

INSTANTIATE_TEST_SUITE_P(
    ViewerMain, UserPlatform,
    ::testing::Values(
        TUserPlatform{"PluginMissing", "zel-no-such-platform", ":0",
                      "Qt's platform plugin \"zel-no-such-platform\" is not installed, so the window cannot open on "
                      "what QT_QPA_PLATFORM names (\"zel-no-such-platform\"); install it, or change or unset "
                      "QT_QPA_PLATFORM"},
        TUserPlatform{"DisplayNotReached", "xcb", ":zel-no-such-display",
                      "no display to show the window on: the platform QT_QPA_PLATFORM asks for (\"xcb\") could not "
                      "be reached"}),
    [](const ::testing::TestParamInfo<TUserPlatform>& Info) { return String(Info.param.Name); });

// Without a runtime folder in the environment the viewer sets a private one before the window
// system starts (which would otherwise say so on every start); one that is set stays.
TEST(ViewerMain, APrivateRuntimeFolderIsSetWhenTheSessionHasNone) {
  const String Tmp = zeltest::UniqueTempPath("");
  ASSERT_EQ(::mkdir(Tmp.c_str(), 0700), 0);
  TEnvScope TmpDir("TMPDIR", Tmp.c_str());
  {
    TEnvScope Runtime("XDG_RUNTIME_DIR", nullptr);
    PrepareViewerEnvironment();
    const char* Set = std::getenv("XDG_RUNTIME_DIR");
    const String Want = Tmp + "/runtime-" + std::to_string(::getuid());
    ASSERT_NE(Set, nullptr);
    EXPECT_EQ(String(Set), Want);
    struct stat St;
    ASSERT_EQ(::stat(Want.c_str(), &St), 0);
    EXPECT_TRUE(S_ISDIR(St.st_mode));
    EXPECT_EQ(St.st_mode & 0777, 0700u);
    ::rmdir(Want.c_str());
  }
  {
    TEnvScope Runtime("XDG_RUNTIME_DIR", "/somewhere/else");
    PrepareViewerEnvironment();
    EXPECT_EQ(String(std::getenv("XDG_RUNTIME_DIR")), "/somewhere/else");
  }
  ::rmdir(Tmp.c_str());
}

// What the message about a file named on the command line meets: the window, already shown
// and painted.
TEST(ViewerWindow, AFileThatCannotBeLoadedIsReportedOverTheShownWindow) {
  struct Seen {
    String Message;
    bool Showing = false;
    int FormPaints = 0;
  };
  std::vector<Seen> Messages;
  Application->SetShowExceptionHook([&](const String&, const String& Message) {
    Messages.push_back({Message, FrmMain && FrmMain->GetShowing(), FrmMain ? FrmMain->GetPaintCount() : 0});
    FrmMain->Close();  // the user closes the window after reading the message
  });
  RunViewerWindow(Data("session_bad_sample.csv"));
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_NE(Messages[0].Message.find("is not a valid floating point value"), String::npos) << Messages[0].Message;
  EXPECT_TRUE(Messages[0].Showing);
  EXPECT_GT(Messages[0].FormPaints, 0);
  // The records before the bad one are in the chart.
  EXPECT_GT(FrmMain->chart_->SeriesCount(), 0);
  Application.Free();
  FrmMain = nullptr;
}

TEST(ViewerWindow, AGoodFileIsLoadedIntoTheWindow) {
  int Messages = 0;
  Application->SetShowExceptionHook([&](const String&, const String&) { ++Messages; });
  int Painted = -1;
  // Runs once the message loop is idle: the user closes the window.
  Application->AddIdleHandler([&] {
    if (Painted < 0) Painted = FrmMain->GetPaintCount();
    FrmMain->Close();
  });
  RunViewerWindow(Data("session_three.csv"));
  EXPECT_EQ(Messages, 0);
  EXPECT_GT(Painted, 0);
  EXPECT_EQ(FrmMain->chart_->SeriesCount(), 3);
  Application.Free();
  FrmMain = nullptr;
}

}  // namespace
}  // namespace zel
