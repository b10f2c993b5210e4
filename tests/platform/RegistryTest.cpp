#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Registry.h"

using namespace zel;
namespace fs = std::filesystem;

namespace {

const char* const EditorKey = "SOFTWARE\\Morvik Software\\Zelgraph Pro\\Editor";

const char* const SampleIni =
    "\xEF\xBB\xBF; settings of the editor\r\n"
    "[SOFTWARE\\Morvik Software\\Zelgraph Pro\\Editor]\r\n"
    "DefaultPalette=3\r\n"
    "DefaultCanvas = \"Plain canvas\" \r\n"
    "Negative= -7\n"
    "Hex=0x1F\n"
    "Dollar=$ff\n"
    "AllBits=4294967295\n"
    "Lowest=-2147483648\n"
    "TooBig=4294967296\n"
    "TooLow=-2147483649\n"
    "Words=twelve\n"
    "Fraction=1.5\n"
    "Empty=\n"
    "Sign=-\n"
    "# a comment=1\n"
    "[Other/Key]\n"
    "Name=value\n";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("zel-registry-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    File = (Dir / "registry.ini").string();
    std::ofstream(File, std::ios::binary) << SampleIni;
    SetRegistryFileName(File);
  }
  void TearDown() override {
    SetRegistryFileName("");
    fs::remove_all(Dir);
  }
  fs::path Dir;
  String File;
};

}  // namespace

TEST_F(Registry, OpeningKeys) {
  struct Case {
    String Key;
    bool Opens;
  };
  const Case Cases[] = {
      {EditorKey, true},
      {"\\SOFTWARE\\Morvik Software\\Zelgraph Pro\\Editor\\", true},
      {"software\\morvik software\\zelgraph pro\\editor", true},  // names ignore case
      {"SOFTWARE/Morvik Software/Zelgraph Pro/Editor", true},
      {"SOFTWARE\\Morvik Software", true},  // a key with keys below it
      {"Other\\Key", true},
      {"SOFTWARE\\Morvik", false},  // a prefix of a name is not a key
      {"SOFTWARE\\Morvik Software\\Zelgraph Pro\\Editor\\Sub", false},
      {"Nothing", false},
  };
  for (const Case& C : Cases) {
    TRegistry R(KEY_READ);
    EXPECT_EQ(R.OpenKeyReadOnly(C.Key), C.Opens) << C.Key;
    EXPECT_EQ(R.HasCurrentKey(), C.Opens) << C.Key;
    TRegistry W;
    EXPECT_EQ(W.OpenKey(C.Key, true), C.Opens) << C.Key << " (can create)";
  }

  TRegistry R;
  ASSERT_TRUE(R.OpenKeyReadOnly("SOFTWARE\\Morvik Software"));
  EXPECT_TRUE(R.OpenKeyReadOnly("Zelgraph Pro\\Editor"));  // relative to the open key
  EXPECT_EQ(R.GetCurrentPath(), EditorKey);
  EXPECT_FALSE(R.KeyExists("Sub"));
  EXPECT_TRUE(R.KeyExists("\\Other\\Key"));
  EXPECT_EQ(R.GetCurrentPath(), EditorKey);  // KeyExists leaves the open key alone
  EXPECT_EQ(R.ReadInteger("DefaultPalette"), 3);

  TRegistry Machine;
  Machine.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(Machine.OpenKeyReadOnly(EditorKey));
}

TEST_F(Registry, ReadingValues) {
  struct Case {
    const char* Name;
    std::int32_t Value;  // when Error is null
    const char* Error;
  };
  const Case Cases[] = {
      {"DefaultPalette", 3, nullptr},
      {"defaultpalette", 3, nullptr},
      {"Negative", -7, nullptr},
      {"Hex", 31, nullptr},
      {"Dollar", 255, nullptr},
      {"AllBits", -1, nullptr},
      {"Lowest", INT32_MIN, nullptr},
      {"TooBig", 0, "Invalid data type for 'TooBig'"},
      {"TooLow", 0, "Invalid data type for 'TooLow'"},
      {"Words", 0, "Invalid data type for 'Words'"},
      {"Fraction", 0, "Invalid data type for 'Fraction'"},
      {"Empty", 0, "Invalid data type for 'Empty'"},
      {"Sign", 0, "Invalid data type for 'Sign'"},
      {"DefaultCanvas", 0, "Invalid data type for 'DefaultCanvas'"},
      {"Missing", 0, "Failed to get data for 'Missing'"},
  };
  TRegistry R(KEY_READ);
  ASSERT_TRUE(R.OpenKeyReadOnly(EditorKey));
  for (const Case& C : Cases) {
    if (!C.Error) {
      EXPECT_EQ(R.ReadInteger(C.Name), C.Value) << C.Name;
      continue;
    }
    try {
      R.ReadInteger(C.Name);
      ADD_FAILURE() << C.Name << " read";
    } catch (const ERegistryException& E) {
      EXPECT_STREQ(E.what(), C.Error) << C.Name;
    }
  }
  EXPECT_EQ(R.ReadString("DefaultCanvas"), "Plain canvas");
  EXPECT_EQ(R.ReadString("Negative"), "-7");
  EXPECT_EQ(R.ReadString("Missing"), "");
  EXPECT_TRUE(R.ValueExists("Empty"));
  EXPECT_FALSE(R.ValueExists("# a comment"));
  EXPECT_FALSE(R.ValueExists("Name"));  // belongs to another key

  R.CloseKey();
  EXPECT_FALSE(R.ValueExists("DefaultPalette"));
  EXPECT_THROW(R.ReadInteger("DefaultPalette"), ERegistryException);
  EXPECT_EQ(R.ReadString("DefaultPalette"), "");
}

TEST_F(Registry, MissingFileOpensNothingAndNothingIsWritten) {
  auto Before = fs::last_write_time(File);
  {
    TRegistry R;
    EXPECT_FALSE(R.OpenKey("SOFTWARE\\New Key", true));
    ASSERT_TRUE(R.OpenKey(EditorKey, false));
  }
  EXPECT_EQ(fs::last_write_time(File), Before);

  String Missing = (Dir / "sub" / "registry.ini").string();
  SetRegistryFileName(Missing);
  TRegistry R;
  EXPECT_FALSE(R.OpenKeyReadOnly(EditorKey));
  EXPECT_FALSE(R.OpenKey(EditorKey, true));
  EXPECT_FALSE(R.KeyExists(EditorKey));
  EXPECT_FALSE(fs::exists(Dir / "sub"));

  SetRegistryFileName("");
  EXPECT_NE(GetRegistryFileName().find("Zelgraph/registry.ini"), String::npos);
}
