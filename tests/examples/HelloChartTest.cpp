// The example program of examples/hello_chart, taken in the ways a program takes Zelgraph in:
// built with this project (the library as a subdirectory of the build), built against an install
// of this build tree (find_package), and what a program that adds the source folder builds.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/Bitmap.h"
#include "support/TempFiles.h"

namespace zel::testing {
namespace {

constexpr TAlphaColor SeriesColor = 0xFFD02020;  // the example's line

// Runs a shell command, its output into Log; its exit status (-1 when it did not exit).
int RunShell(const std::string& Command, const std::string& Log) {
  const int Status = std::system((Command + " >'" + Log + "' 2>&1").c_str());
  return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

std::string ReadText(const std::string& FileName) {
  std::ifstream In(FileName);
  std::ostringstream S;
  S << In.rdbuf();
  return S.str();
}

// A folder of its own for the test, removed at its end.
struct TWorkDir {
  std::filesystem::path Path{zeltest::UniqueTempPath("")};
  TWorkDir() {
    std::filesystem::remove_all(Path);
    std::filesystem::create_directories(Path);
  }
  ~TWorkDir() { std::filesystem::remove_all(Path); }
  std::string operator/(const std::string& Name) const { return (Path / Name).string(); }
};

// The picture the example saves: the chart filling its 640 x 400 window, the line drawn.
void ExpectChartPicture(const std::string& FileName) {
  TBitmap B;
  ASSERT_NO_THROW(B.LoadFromFile(FileName)) << FileName;
  EXPECT_EQ(B.GetWidth(), 640);
  EXPECT_EQ(B.GetHeight(), 400);
  int LinePixels = 0;
  for (int Y = 0; Y < B.GetHeight(); ++Y)
    for (int X = 0; X < B.GetWidth(); ++X)
      if (B.GetPixel(X, Y) == SeriesColor) ++LinePixels;
  EXPECT_GT(LinePixels, 1000) << "pixels of the series' colour";
}

const std::string Script = std::string(ZEL_SOURCE_DIR) + "/tests/examples/consumer.sh";

TEST(HelloChart, SavesTheChartOffScreen) {
  TWorkDir Work;
  const std::string Picture = Work / "chart.png";
  const std::string Log = Work / "log";
  ASSERT_EQ(RunShell("QT_QPA_PLATFORM=offscreen '" ZEL_HELLO_CHART "' '" + Picture + "'", Log), 0)
      << ReadText(Log);
  EXPECT_NE(ReadText(Log).find("Saved " + Picture + "\n"), std::string::npos) << ReadText(Log);
  ExpectChartPicture(Picture);
}

// cmake --install of this build, then the example configured with find_package, built and run.
TEST(HelloChart, BuildsAndRunsAgainstAnInstall) {
  TWorkDir Work;
  const std::string Picture = Work / "chart.png";
  const std::string Log = Work / "log";
  ASSERT_EQ(RunShell("bash '" + Script + "' installed '" ZEL_SOURCE_DIR "' '" ZEL_BUILD_DIR "' '" +
                         Work.Path.string() + "' '" ZEL_CXX_COMPILER "' '" + Picture + "'",
                     Log),
            0)
      << ReadText(Log);
  for (const char* Header : {"include/zelgraph/chart/Chart.h", "include/zelgraph/Units.h",
                             "include/platform/Forms.h", "include/zelgraph/series/FastLine.h"})
    EXPECT_TRUE(std::filesystem::exists(Work.Path / "prefix" / Header)) << Header;
  ExpectChartPicture(Picture);
}

// README.md shows the example's code as it is, from its first Zelgraph include on.
TEST(HelloChart, ReadmeShowsTheExampleAsItIs) {
  const std::string Readme = ReadText(std::string(ZEL_SOURCE_DIR) + "/README.md");
  const std::string Source =
      ReadText(std::string(ZEL_SOURCE_DIR) + "/examples/hello_chart/main.cpp");
  const std::size_t Section = Readme.find("\n## Using the library in a program\n");
  ASSERT_NE(Section, std::string::npos);
  const std::size_t Begin = Readme.find("```cpp\n", Section);
  ASSERT_NE(Begin, std::string::npos);
  const std::size_t End = Readme.find("```", Begin + 7);
  ASSERT_NE(End, std::string::npos);
  const std::string Shown = Readme.substr(Begin + 7, End - Begin - 7);
  ASSERT_GE(Source.size(), Shown.size());
  EXPECT_EQ(Source.substr(Source.size() - Shown.size()), Shown);
}

// A program adding the source folder builds the libraries and itself, not the tests, the viewer
// or the benchmarks.
TEST(HelloChart, AsASubdirectoryOnlyTheLibrariesAreBuilt) {
  TWorkDir Work;
  const std::string Log = Work / "log";
  ASSERT_EQ(RunShell("bash '" + Script + "' subdirectory '" ZEL_SOURCE_DIR "' '" +
                         Work.Path.string() + "' '" ZEL_CXX_COMPILER "'",
                     Log),
            0)
      << ReadText(Log);
  const std::string Targets = ReadText(Log);
  for (const char* Wanted : {"hello_chart:", "libzelgraph.a:", "libzel_platform.a:"})
    EXPECT_NE(Targets.find(Wanted), std::string::npos) << Wanted << "\n" << Targets;
  for (const char* Unwanted : {"zelview", "test_", "_bench", "zel_viewer_lib"})
    EXPECT_EQ(Targets.find(Unwanted), std::string::npos) << Unwanted << "\n" << Targets;
}

}  // namespace
}  // namespace zel::testing
