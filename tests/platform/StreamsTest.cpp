#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/Streams.h"

using namespace zel;
namespace fs = std::filesystem;

namespace {

class StreamFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("zel-streams-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }
  String Path(const char* Name) const { return (Dir / Name).string(); }
  static std::string Slurp(const String& P) {
    std::ifstream In(P, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  }
  fs::path Dir;
};

std::string Contents(const TMemoryStream& M) {
  return std::string(reinterpret_cast<const char*>(M.GetMemory()), M.GetBytes().size());
}

}  // namespace

TEST(Streams, SeekOriginsAndLimits) {
  struct Case {
    Int64 Start;
    Int64 Offset;
    TSeekOrigin Origin;
    Int64 Expected;  // -1: raises EStreamError and keeps the position
  };
  const Case Cases[] = {
      {3, 2, soFromBeginning, 2}, {3, 2, soFromCurrent, 5}, {3, -2, soFromCurrent, 1},
      {3, -4, soFromEnd, 6},      {3, 5, soFromEnd, 15},    {3, -4, soFromCurrent, -1},
      {3, -11, soFromEnd, -1},    {3, -1, soFromBeginning, -1},
  };
  for (const Case& C : Cases) {
    TMemoryStream M;
    M.WriteBuffer("0123456789", 10);
    M.SetPosition(C.Start);
    if (C.Expected < 0) {
      EXPECT_THROW(M.Seek(C.Offset, C.Origin), EStreamError) << C.Offset;
      EXPECT_EQ(M.GetPosition(), C.Start);
    } else {
      EXPECT_EQ(M.Seek(C.Offset, C.Origin), C.Expected) << C.Offset;
      EXPECT_EQ(M.GetPosition(), C.Expected);
    }
  }
}

TEST(Streams, MemoryStreamShortReadsGapsAndSize) {
  TMemoryStream M;
  M.WriteBuffer("abcdef", 6);
  char Buf[8] = {};
  M.SetPosition(4);
  EXPECT_EQ(M.Read(Buf, 8), 2);
  EXPECT_EQ(std::string(Buf, 2), "ef");
  EXPECT_EQ(M.Read(Buf, 8), 0);
  M.SetPosition(4);
  try {
    M.ReadBuffer(Buf, 3);
    ADD_FAILURE() << "short ReadBuffer did not raise";
  } catch (const EReadError& E) {
    EXPECT_STREQ(E.what(), "Stream read error");
  }

  // Writing past the end fills the gap with zeros.
  M.Seek(2, soFromEnd);
  M.WriteBuffer("X", 1);
  EXPECT_EQ(Contents(M), std::string("abcdef\0\0X", 9));

  // Shrinking moves a position past the new end to the end; growing adds zeros.
  M.SetSize(3);
  EXPECT_EQ(M.GetPosition(), 3);
  EXPECT_EQ(Contents(M), "abc");
  M.SetSize(5);
  EXPECT_EQ(Contents(M), std::string("abc\0\0", 5));
  EXPECT_THROW(M.SetSize(-1), EStreamError);
}

TEST(Streams, CopyFromAndMemoryRoundTrip) {
  TMemoryStream Source;
  Source.WriteBuffer("hello world", 11);
  Source.SetPosition(6);

  TMemoryStream Part;
  EXPECT_EQ(Part.CopyFrom(&Source, 5), 5);
  EXPECT_EQ(Contents(Part), "world");

  TMemoryStream All;  // count 0 copies all of the source from its start
  EXPECT_EQ(All.CopyFrom(&Source, 0), 11);
  EXPECT_EQ(Contents(All), "hello world");

  Source.SetPosition(8);
  TMemoryStream TooMuch;
  EXPECT_THROW(TooMuch.CopyFrom(&Source, 5), EReadError);

  TMemoryStream Loaded;
  Loaded.WriteBuffer("old contents that are longer", 28);
  Loaded.LoadFromStream(&Source);
  EXPECT_EQ(Contents(Loaded), "hello world");
  EXPECT_EQ(Loaded.GetPosition(), 0);

  TMemoryStream Saved;
  Saved.WriteBuffer(">", 1);
  Loaded.SaveToStream(&Saved);
  EXPECT_EQ(Contents(Saved), ">hello world");
}

// A stream written piece by piece takes new memory a few times only, whatever its length:
// ten times the pieces take about log2(10) more steps, each at least doubling the room.
TEST(Streams, MemoryStreamGrowsGeometrically) {
  auto Steps = [](int Pieces) {
    TMemoryStream M;
    Int64 Capacity = M.GetCapacity();
    int Changes = 0;
    const double Piece = 1.5;
    for (int I = 0; I < Pieces; ++I) {
      M.WriteBuffer(&Piece, sizeof Piece);
      if (M.GetCapacity() != Capacity) {
        EXPECT_GE(M.GetCapacity(), 2 * Capacity);
        Capacity = M.GetCapacity();
        ++Changes;
      }
    }
    EXPECT_EQ(M.GetSize(), Int64(Pieces) * 8);
    return Changes;
  };
  const int Small = Steps(10000), Large = Steps(100000);
  EXPECT_LE(Small, 18);
  EXPECT_LE(Large - Small, 4);
}

TEST(Streams, MemoryStreamCapacityAndWritesAcrossTheEnd) {
  TMemoryStream M;
  M.SetCapacity(100);
  EXPECT_GE(M.GetCapacity(), 100);
  const Int64 Reserved = M.GetCapacity();
  for (int I = 0; I < 10; ++I) M.WriteBuffer("0123456789", 10);
  EXPECT_EQ(M.GetCapacity(), Reserved);  // the room asked for is used before any more is taken
  M.SetCapacity(10);                     // never below what it holds
  EXPECT_EQ(M.GetCapacity(), Reserved);

  // Part over the last bytes, part appended; then past the end, with the gap zero.
  M.SetSize(6);
  M.SetPosition(4);
  M.WriteBuffer("abcd", 4);
  EXPECT_EQ(Contents(M), "0123abcd");
  M.SetPosition(10);
  M.WriteBuffer("Z", 1);
  EXPECT_EQ(Contents(M), std::string("0123abcd\0\0Z", 11));
  EXPECT_EQ(M.GetPosition(), 11);

  M.Clear();
  EXPECT_EQ(M.GetCapacity(), 0);
}

TEST_F(StreamFiles, OpenAndCreateErrorsCarryTheSystemReason) {
  fs::create_directories(Dir / "sub");
  struct Case {
    const char* Name;
    String File;
    Word Mode;
    bool Create;  // EFCreateError rather than EFOpenError
    const char* Reason;
  };
  const Case Cases[] = {
      {"missing file", Path("none.bin"), fmOpenRead, false, "No such file or directory"},
      {"missing for write", Path("none.bin"), fmOpenReadWrite, false, "No such file or directory"},

      {"create in missing folder", Path("nowhere/new.bin"), fmCreate, true, "No such file or directory"},
      {"create over a directory", Path("sub"), fmCreate, true, "Is a directory"},
  };
  for (const Case& C : Cases) {
    String Expected = String(C.Create ? "Cannot create file \"" : "Cannot open file \"") + C.File + "\". " + C.Reason;
    try {
      TFileStream F(C.File, C.Mode);
      ADD_FAILURE() << C.Name << ": opened";
    } catch (const EFCreateError& E) {
      EXPECT_TRUE(C.Create) << C.Name;
      EXPECT_EQ(String(E.what()), Expected) << C.Name;
    } catch (const EFOpenError& E) {
      EXPECT_FALSE(C.Create) << C.Name;
      EXPECT_EQ(String(E.what()), Expected) << C.Name;
    }
  }
  EXPECT_FALSE(fs::exists(Path("none.bin")));
}

// Only regular files open: a directory cannot be read, a FIFO without a writer would block the
// reader, a device may never end. Files are created as before.
TEST_F(StreamFiles, OnlyRegularFilesOpen) {
  fs::create_directories(Dir / "sub");
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
  std::ofstream(Path("plain.bin")) << "abc";
  fs::create_symlink(Path("plain.bin"), Path("link.bin"));
  struct Case {
    String File;
    Word Mode;
    bool Opens;
  };
  const Case Cases[] = {
      {Path("sub"), fmOpenRead, false},      {Path("sub"), fmOpenReadWrite, false},
      {Path("pipe"), fmOpenRead, false},     {Path("pipe"), fmOpenWrite, false},
      {"/dev/null", fmOpenRead, false},      {Path("plain.bin"), fmOpenRead, true},
      {Path("link.bin"), fmOpenRead, true},  {Path("plain.bin"), fmOpenReadWrite, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.File + " mode " + std::to_string(C.Mode));
    try {
      TFileStream F(C.File, C.Mode);
      EXPECT_TRUE(C.Opens);
      char B[3];
      if (C.Mode != fmOpenWrite) {
        F.ReadBuffer(B, 3);
        EXPECT_EQ(std::string(B, 3), "abc");
      }
    } catch (const EFOpenError& E) {
      EXPECT_FALSE(C.Opens);
      EXPECT_EQ(String(E.what()), "\"" + C.File + "\" is not a regular file");
    }
  }
}

TEST_F(StreamFiles, FileStreamModes) {
  String P = Path("data.bin");
  {
    TFileStream F(P, fmCreate);
    F.WriteBuffer("abcdef", 6);
    // A read right after a write sees what was written.
    F.SetPosition(1);
    char B[2];
    F.ReadBuffer(B, 2);
    EXPECT_EQ(std::string(B, 2), "bc");
    F.WriteBuffer("XY", 2);
    EXPECT_EQ(F.GetSize(), 6);
  }
  EXPECT_EQ(Slurp(P), "abcXYf");
  {
    TFileStream F(P, fmOpenRead);
    EXPECT_EQ(F.GetSize(), 6);
    EXPECT_EQ(F.Write("z", 1), 0);
    EXPECT_THROW(F.WriteBuffer("z", 1), EWriteError);
    char B[8];
    F.Seek(-2, soFromEnd);
    EXPECT_EQ(F.Read(B, 8), 2);
    EXPECT_THROW(F.SetSize(2), EStreamError);
  }
  {
    TFileStream F(P, fmOpenWrite);  // keeps the contents
    F.Seek(0, soFromEnd);
    F.WriteBuffer("!", 1);
    char B;
    EXPECT_EQ(F.Read(&B, 1), 0);
  }
  EXPECT_EQ(Slurp(P), "abcXYf!");
  {
    TFileStream F(P, fmOpenReadWrite);
    F.SetPosition(5);
    F.SetSize(3);
    EXPECT_EQ(F.GetPosition(), 3);
    EXPECT_EQ(F.GetSize(), 3);
  }
  EXPECT_EQ(Slurp(P), "abc");
  {
    TFileStream F(P, fmCreate);  // empties an existing file
    EXPECT_EQ(F.GetSize(), 0);
  }
  EXPECT_EQ(Slurp(P), "");

  TMemoryStream M;
  M.WriteBuffer("saved", 5);
  M.SaveToFile(P);
  TMemoryStream Back;
  Back.LoadFromFile(P);
  EXPECT_EQ(Contents(Back), "saved");
}
