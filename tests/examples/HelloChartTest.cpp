// The example program of examples/hello_chart and README.md's programmer's guide, taken in the
// ways a program takes Zelgraph in: built with this project (the library as a subdirectory of the
// build), built against an install of this build tree (find_package), and what a program that
// adds the source folder builds.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

const std::string SourceDir = ZEL_SOURCE_DIR;
const std::string Script = SourceDir + "/tests/examples/consumer.sh";

// README.md's programmer's guide, from its heading to the next.
std::string ReadmeSection() {
  const std::string Readme = ReadText(SourceDir + "/README.md");
  const std::string Heading = "\n## Using the library in a program\n";
  const std::size_t Begin = Readme.find(Heading);
  if (Begin == std::string::npos) return {};
  const std::size_t End = Readme.find("\n## ", Begin + Heading.size());
  return Readme.substr(Begin, End == std::string::npos ? std::string::npos : End - Begin);
}

// The fenced code blocks of the given language in Text, in their order, as a reader copies them.
std::vector<std::string> CodeBlocks(const std::string& Text, const std::string& Language) {
  std::vector<std::string> Blocks;
  const std::string Fence = "\n```" + Language + "\n";
  for (std::size_t At = Text.find(Fence); At != std::string::npos; At = Text.find(Fence, At)) {
    const std::size_t Begin = At + Fence.size();
    const std::size_t End = Text.find("\n```", Begin - 1);
    if (End == std::string::npos) break;
    Blocks.push_back(Text.substr(Begin, End + 1 - Begin));
    At = End + 4;
  }
  return Blocks;
}

void WriteText(const std::string& FileName, const std::string& Text) {
  std::filesystem::create_directories(std::filesystem::path(FileName).parent_path());
  std::ofstream(FileName) << Text;
}

// What the guide shows: its two CMakeLists.txt (the subdirectory way, the installed package), the
// program and the C++ snippets after it.
struct TGuide {
  std::vector<std::string> CMake, Cpp;
  TGuide() {
    const std::string Section = ReadmeSection();
    CMake = CodeBlocks(Section, "cmake");
    Cpp = CodeBlocks(Section, "cpp");
  }
  bool Complete() const { return CMake.size() == 2 && !Cpp.empty(); }
  // A program's folder as the guide lays it out: CMakeLists.txt and main.cpp copied from it, and
  // every snippet compiled with them (in a function that has the names they use).
  void WriteProgram(const std::string& Folder, const std::string& CMakeLists) const {
    std::string Snippets =
        "#include <cmath>\n\n#include \"platform/SysUtils.h\"\n#include \"zelgraph/chart/Chart.h\"\n"
        "#include \"zelgraph/engine/Axis.h\"\n#include \"zelgraph/series/Series.h\"\n\n"
        "using namespace zel;\n\n";
    for (std::size_t I = 1; I < Cpp.size(); ++I)
      Snippets += "void ReadmeSnippet" + std::to_string(I) +
                  "([[maybe_unused]] TChart* Chart, [[maybe_unused]] TFastLineSeries* Line) {\n" + Cpp[I] + "}\n";
    WriteText(Folder + "/CMakeLists.txt",
              CMakeLists + "\n# The guide's snippets, compiled with its program.\n"
                           "target_sources(my_app PRIVATE readme_snippets.cpp)\n");
    WriteText(Folder + "/main.cpp", Cpp[0]);
    WriteText(Folder + "/readme_snippets.cpp", Snippets);
  }
};

TEST(HelloChart, SavesTheChartOffScreen) {
  TWorkDir Work;
  const std::string Picture = Work / "chart.png";
  const std::string Log = Work / "log";
  ASSERT_EQ(RunShell("QT_QPA_PLATFORM=offscreen '" ZEL_HELLO_CHART "' '" + Picture + "'", Log), 0)
      << ReadText(Log);
  EXPECT_NE(ReadText(Log).find("Saved " + Picture + "\n"), std::string::npos) << ReadText(Log);
  ExpectChartPicture(Picture);
}

// The guide's program is the example's main.cpp, the whole file; its CMake blocks are whole
// CMakeLists.txt files a reader copies as they stand.
TEST(HelloChart, ReadmeShowsWholeFiles) {
  const TGuide Guide;
  ASSERT_TRUE(Guide.Complete()) << Guide.CMake.size() << " cmake blocks, " << Guide.Cpp.size()
                                << " cpp blocks";
  EXPECT_EQ(Guide.Cpp[0], ReadText(SourceDir + "/examples/hello_chart/main.cpp"));
  for (const std::string& Block : Guide.CMake) {
    EXPECT_EQ(Block.rfind("cmake_minimum_required(VERSION ", 0), 0u) << Block;
    EXPECT_NE(Block.find("\nproject("), std::string::npos) << Block;
    EXPECT_NE(Block.find("target_link_libraries(my_app PRIVATE Zelgraph::Zelgraph)"), std::string::npos)
        << Block;
  }
}

// cmake --install of this build; the guide's installed-package project (its CMakeLists.txt, its
// program and its snippets) configured, built and run against it, and the example's project
// configured against it.
TEST(HelloChart, BuildsAndRunsAgainstAnInstall) {
  const TGuide Guide;
  ASSERT_TRUE(Guide.Complete());
  TWorkDir Work;
  const std::string Picture = Work / "chart.png";
  const std::string Log = Work / "log";
  Guide.WriteProgram(Work / "my_app", Guide.CMake[1]);
  ASSERT_EQ(RunShell("bash '" + Script + "' installed '" ZEL_BUILD_DIR "' '" + Work.Path.string() +
                         "' '" ZEL_CXX_COMPILER "' '" + Picture + "' '" + Work / "my_app" + "' '" +
                         SourceDir + "/examples/hello_chart'",
                     Log),
            0)
      << ReadText(Log);
  for (const char* Header : {"include/zelgraph/chart/Chart.h", "include/zelgraph/Units.h",
                             "include/platform/Forms.h", "include/zelgraph/series/FastLine.h"})
    EXPECT_TRUE(std::filesystem::exists(Work.Path / "prefix" / Header)) << Header;
  ExpectChartPicture(Picture);
}

// A program adding the source folder, the guide's way (third_party/zelgraph) and the example's
// (ZELGRAPH_SOURCE_DIR), builds the libraries and itself, not the tests, the viewer or the
// benchmarks.
TEST(HelloChart, AsASubdirectoryOnlyTheLibrariesAreBuilt) {
  const TGuide Guide;
  ASSERT_TRUE(Guide.Complete());
  TWorkDir Work;
  Guide.WriteProgram(Work / "my_app", Guide.CMake[0]);
  std::filesystem::create_directories(Work.Path / "my_app" / "third_party");
  std::filesystem::create_directory_symlink(SourceDir, Work.Path / "my_app" / "third_party" / "zelgraph");
  struct TProject {
    std::string Folder, Arguments, Program;
  };
  for (const TProject& P : {TProject{Work / "my_app", "", "my_app:"},
                            TProject{SourceDir + "/examples/hello_chart", "'-DZELGRAPH_SOURCE_DIR=" + SourceDir + "'",
                                     "hello_chart:"}}) {
    SCOPED_TRACE(P.Folder);
    const std::string Log = Work / "log";
    ASSERT_EQ(RunShell("bash '" + Script + "' subdirectory '" + Work / "build" + "' '" ZEL_CXX_COMPILER "' '" +
                           P.Folder + "' -DCMAKE_BUILD_TYPE=Release " + P.Arguments,
                       Log),
              0)
        << ReadText(Log);
    const std::string Targets = ReadText(Log);
    for (const std::string& Wanted : {P.Program, std::string("libzelgraph.a:"), std::string("libzel_platform.a:")})
      EXPECT_NE(Targets.find(Wanted), std::string::npos) << Wanted << "\n" << Targets;
    for (const char* Unwanted : {"zelview", "test_", "_bench", "zel_viewer_lib"})
      EXPECT_EQ(Targets.find(Unwanted), std::string::npos) << Unwanted << "\n" << Targets;
    std::filesystem::remove_all(Work.Path / "build");
  }
}

}  // namespace
}  // namespace zel::testing
