#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/Registry.h"
#include "zelgraph/procs/Procs.h"

using namespace zel;

namespace {

// Points the settings at a file of the test's own and back at the default afterwards.
class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPath = (std::filesystem::temp_directory_path() /
             ("zel_options_" + std::to_string(::getpid()) + ".ini"))
                .string();
    SetRegistryFileName(FPath);
  }
  void TearDown() override {
    SetRegistryFileName("");
    std::remove(FPath.c_str());
  }
  void Write(const String& Text) { std::ofstream(FPath, std::ios::binary) << Text; }
  String FPath;
};

}  // namespace

TEST_F(OptionsTest, ReadsValuesOfTheEditorKey) {
  Write(
      "[SOFTWARE\\Morvik Software\\Zelgraph Pro\\Editor]\n"
      "DefaultPalette=7\n"
      "DefaultCanvas=Painter\n"
      "[SOFTWARE\\Morvik Software\\Zelgraph Pro\\Other]\n"
      "Elsewhere=3\n");
  EXPECT_EQ(ZelReadIntegerOption("DefaultPalette", 13), 7);
  EXPECT_EQ(ZelReadStringOption("DefaultCanvas", "x"), "Painter");
  // Missing values, and values of another key, give the default.
  EXPECT_EQ(ZelReadIntegerOption("Elsewhere", 13), 13);
  EXPECT_EQ(ZelReadStringOption("Missing", "fallback"), "fallback");
}

TEST_F(OptionsTest, MissingFileOrKeyGivesTheDefault) {
  EXPECT_EQ(ZelReadIntegerOption("DefaultPalette", 13), 13);
  Write("[SOFTWARE\\Someone\\Else]\nDefaultPalette=2\n");
  EXPECT_EQ(ZelReadIntegerOption("DefaultPalette", 13), 13);
  EXPECT_EQ(ZelReadStringOption("DefaultPalette", "d"), "d");
}

TEST_F(OptionsTest, ValueOfTheWrongKindRaises) {
  Write("[SOFTWARE\\Morvik Software\\Zelgraph Pro\\Editor]\nDefaultPalette=bright\n");
  EXPECT_THROW(ZelReadIntegerOption("DefaultPalette", 13), ERegistryException);
  EXPECT_EQ(ZelReadStringOption("DefaultPalette", ""), "bright");
}
