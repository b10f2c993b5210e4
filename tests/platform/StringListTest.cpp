#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/StringList.h"

using namespace zel;
namespace fs = std::filesystem;

namespace {

std::vector<String> Lines(const TStrings& L) {
  std::vector<String> R;
  for (int I = 0; I < L.GetCount(); ++I) R.push_back(L.GetStrings(I));
  return R;
}

class TCounted : public TObject {
 public:
  explicit TCounted(int& AFreed) : Freed(AFreed) {}
  ~TCounted() override { ++Freed; }
  int& Freed;
};

}  // namespace

TEST(StringList, TextSplitsAtEachKindOfLineBreak) {
  struct Case {
    String Text;
    std::vector<String> Expected;
  };
  const Case Cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR are two breaks
      {"a\n", {"a"}},              // a final break makes no empty line
      {"a\r", {"a"}},
      {"\n", {""}},
      {"a\r\n\r\n", {"a", ""}},
      {"x\r\r\ny", {"x", "", "y"}},
  };
  for (const Case& C : Cases) {
    TStringList L;
    L.Add("old");
    L.SetText(C.Text);
    EXPECT_EQ(Lines(L), C.Expected) << testing::PrintToString(C.Text);
  }
  TStringList L;
  L.SetText("a\r\nb");
  EXPECT_EQ(L.GetText(), "a\nb\n");
  L.SetLineBreak("\r\n");
  EXPECT_EQ(L.GetText(), "a\r\nb\r\n");
}

TEST(StringList, LoadFromStreamHandlesByteOrderMarks) {
  struct Case {
    const char* Name;
    std::string Bytes;
    std::vector<String> Expected;
  };
  const Case Cases[] = {
      {"utf-8 with mark", "\xEF\xBB\xBFt\xC3\xA9st\r\nx", {"t\xC3\xA9st", "x"}},
      {"utf-8 without mark", "t\xC3\xA9st\nx\n", {"t\xC3\xA9st", "x"}},
      {"mark only", "\xEF\xBB\xBF", {}},
      {"utf-16le", std::string("\xFF\xFE" "a\0\xE9\0\r\0\n\0" "b\0", 12), {"a\xC3\xA9", "b"}},
      {"utf-16le surrogate pair", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), {"\xF0\x9F\x98\x80"}},
      {"utf-16be", std::string("\xFE\xFF\0a\0\n\0b", 8), {"a", "b"}},
  };
  for (const Case& C : Cases) {
    TMemoryStream M;
    M.WriteBuffer(C.Bytes.data(), static_cast<Int64>(C.Bytes.size()));
    M.SetPosition(0);
    TStringList L;
    L.LoadFromStream(&M);
    EXPECT_EQ(Lines(L), C.Expected) << C.Name;
  }
  // Reading starts at the stream's position.
  TMemoryStream M;
  M.WriteBuffer("skip\nkeep", 9);
  M.SetPosition(5);
  TStringList L;
  L.LoadFromStream(&M);
  EXPECT_EQ(Lines(L), (std::vector<String>{"keep"}));
}

TEST(StringList, FilesRoundTripAndMissingFileIsAClearError) {
  fs::path Dir = fs::temp_directory_path() / ("zel-strings-" + std::to_string(::getpid()));
  fs::create_directories(Dir);
  String P = (Dir / "lines.txt").string();

  TStringList Out;
  Out.SetText("first\n\nthird \xE2\x82\xAC");
  Out.SaveToFile(P);
  TStringList In;
  In.LoadFromFile(P, TEncoding::UTF8());
  EXPECT_EQ(Lines(In), Lines(Out));

  Out.SaveToFile(P, TEncoding::UTF8());  // with a byte-order mark, which loading drops
  In.LoadFromFile(P);
  EXPECT_EQ(Lines(In), Lines(Out));

  String Missing = (Dir / "missing.txt").string();
  In.Add("kept");
  try {
    In.LoadFromFile(Missing);
    ADD_FAILURE() << "missing file loaded";
  } catch (const EFOpenError& E) {
    EXPECT_EQ(String(E.what()), "Cannot open file \"" + Missing + "\". No such file or directory");
  }
  EXPECT_EQ(In.GetCount(), 4);  // unchanged by the failed load
  fs::remove_all(Dir);
}

TEST(StringList, ChangeEventsFireOncePerOutermostBracket) {
  struct Case {
    const char* Name;
    std::function<void(TStringList&)> Op;
    int Changing;
    int Change;
  };
  const Case Cases[] = {
      {"two adds", [](TStringList& L) { L.Add("a"); L.Add("b"); }, 2, 2},
      {"nested bracket",
       [](TStringList& L) {
         L.BeginUpdate();
         L.BeginUpdate();
         L.Add("a");
         L.EndUpdate();
         L.Add("b");
         L.Delete(0);
         L.EndUpdate();
       },
       1, 1},
      {"set text", [](TStringList& L) { L.SetText("a\nb\nc"); }, 1, 1},
      {"clear empty list", [](TStringList& L) { L.Clear(); }, 0, 0},
      {"unmatched end", [](TStringList& L) { L.EndUpdate(); L.Add("a"); }, 1, 1},
  };
  for (const Case& C : Cases) {
    TStringList L;
    int Changing = 0, Change = 0, CountSeenByChange = -1;
    L.OnChanging = [&](TObject*) { ++Changing; };
    L.OnChange = [&](TObject* Sender) {
      ++Change;
      CountSeenByChange = static_cast<TStringList*>(Sender)->GetCount();
    };
    C.Op(L);
    EXPECT_EQ(Changing, C.Changing) << C.Name;
    EXPECT_EQ(Change, C.Change) << C.Name;
    if (C.Change) {
      EXPECT_EQ(CountSeenByChange, L.GetCount()) << C.Name;
    }
  }
}

TEST(StringList, SortedListsAndDuplicates) {
  struct Case {
    const char* Name;
    TDuplicates Dup;
    bool CaseSensitive;
    std::vector<String> Expected;
    bool Raises;
  };
  const Case Cases[] = {
      {"ignore", TDuplicates::dupIgnore, false, {"apple", "Banana", "cherry"}, false},
      {"accept", TDuplicates::dupAccept, false, {"apple", "BANANA", "Banana", "cherry"}, false},
      {"error", TDuplicates::dupError, false, {"apple", "Banana", "cherry"}, true},
      {"case sensitive", TDuplicates::dupError, true, {"BANANA", "Banana", "apple", "cherry"}, false},
  };
  for (const Case& C : Cases) {
    TStringList L;
    L.SetCaseSensitive(C.CaseSensitive);
    L.SetDuplicates(C.Dup);
    L.SetSorted(true);
    for (const char* S : {"cherry", "Banana", "apple"}) L.Add(S);
    if (C.Raises) {
      try {
        L.Add("BANANA");
        ADD_FAILURE() << C.Name;
      } catch (const EStringListError& E) {
        EXPECT_STREQ(E.what(), "String list does not allow duplicates");
      }
    } else {
      L.Add("BANANA");
    }
    EXPECT_EQ(Lines(L), C.Expected) << C.Name;
    EXPECT_EQ(L.IndexOf("CHERRY") >= 0, !C.CaseSensitive) << C.Name;
  }

  TStringList L;
  L.SetText("b\na\nc");
  L.SetSorted(true);  // sorting an existing list
  EXPECT_EQ(Lines(L), (std::vector<String>{"a", "b", "c"}));
  EXPECT_THROW(L.Insert(0, "z"), EStringListError);
  EXPECT_THROW(L.SetStrings(0, "z"), EStringListError);
  EXPECT_EQ(L.Add("bb"), 2);
  L.SetText("c\nA\nb\na");  // text given to a sorted list is sorted, duplicates ignored
  EXPECT_EQ(Lines(L), (std::vector<String>{"A", "b", "c"}));
}

TEST(StringList, IndexErrorsAndOwnedObjects) {
  TStringList L;
  L.Add("a");
  try {
    L.GetStrings(5);
    ADD_FAILURE();
  } catch (const EStringListError& E) {
    EXPECT_STREQ(E.what(), "List index out of bounds (5)");
  }
  EXPECT_THROW(L.Delete(-1), EListError);
  EXPECT_THROW(L.Insert(3, "x"), EListError);
  EXPECT_THROW(L.SetObjects(1, nullptr), EListError);

  int Freed = 0;
  {
    TStringList Owning(true);
    for (const char* S : {"x", "y", "z", "w"}) Owning.AddObject(S, new TCounted(Freed));
    Owning.Delete(0);
    EXPECT_EQ(Freed, 1);
    Owning.SetObjects(0, new TCounted(Freed));  // replaces and frees the old object
    EXPECT_EQ(Freed, 2);
    EXPECT_EQ(Owning.IndexOfObject(Owning.GetObjects(2)), 2);
  }
  EXPECT_EQ(Freed, 5);

  TStringList Copy;
  TStringList Source;
  Source.AddObject("s", &Copy);
  Copy.Assign(&Source);
  EXPECT_EQ(Lines(Copy), (std::vector<String>{"s"}));
  EXPECT_EQ(Copy.GetObjects(0), &Copy);
  Copy.AddStrings(&Copy);  // adding a list to itself doubles it
  EXPECT_EQ(Lines(Copy), (std::vector<String>{"s", "s"}));
}
