#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "platform/Bitmap.h"
#include "platform/Streams.h"
#include "zelgraph/engine/Resources.h"

namespace zel {
namespace {

// A DIB: 40-byte header, palette (0xRRGGBB entries), then the given pixel rows as stored.
std::vector<Byte> Dib(int W, int H, int Bits, const std::vector<TAlphaColor>& Palette,
                      const std::vector<Byte>& Pixels, int ColorsUsed = -1) {
  std::vector<Byte> D(40, 0);
  auto Put = [&](int At, std::uint32_t V) {
    for (int I = 0; I < 4; ++I) D[At + I] = Byte(V >> (8 * I));
  };
  Put(0, 40);
  Put(4, std::uint32_t(W));
  Put(8, std::uint32_t(H));
  D[12] = 1;
  D[14] = Byte(Bits);
  Put(32, std::uint32_t(ColorsUsed >= 0 ? ColorsUsed : int(Palette.size())));
  for (TAlphaColor C : Palette) {
    D.push_back(Byte(C));
    D.push_back(Byte(C >> 8));
    D.push_back(Byte(C >> 16));
    D.push_back(0);
  }
  D.insert(D.end(), Pixels.begin(), Pixels.end());
  return D;
}

void Read(TBitmap& B, const std::vector<Byte>& Data) {
  TMemoryStream S;
  S.WriteBuffer(Data.data(), Int64(Data.size()));
  S.SetPosition(0);
  ReadDIBFromStream(&B, &S);
}

TEST(DIBReader, LibraryPicturesHaveTheirSizesAndPadding) {
  struct Case {
    const char* Name;
    int W, H, Bits;
  } Cases[] = {{"ZELARROWDOWN", 24, 14, 4}, {"ZELARROWUP", 24, 14, 4}, {"ZELTHUMB1", 17, 16, 8},
               {"ZELTHUMB2", 12, 12, 24},   {"ZELTHUMB3", 29, 13, 8},  {"ZELTHUMB4", 9, 10, 24}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    std::vector<Byte> D;
    ASSERT_TRUE(ZelFindBitmapResource(C.Name, D));
    EXPECT_EQ(D[14], C.Bits);
    const int Row = ((C.W * C.Bits + 31) & ~31) / 8;
    const int Palette = C.Bits <= 8 ? int(D[32] | D[33] << 8) * 4 : 0;
    EXPECT_EQ(int(D.size()), 40 + Palette + Row * C.H);
    TBitmap B;
    ZelLoadBitmap(&B, C.Name);
    EXPECT_EQ(B.GetWidth(), C.W);
    EXPECT_EQ(B.GetHeight(), C.H);
    // Every picture draws something, and only within its size (no smear from row padding).
    int Opaque = 0;
    for (int Y = 0; Y < C.H; ++Y)
      for (int X = 0; X < C.W; ++X)
        if (B.GetPixel(X, Y) >> 24) ++Opaque;
    EXPECT_GT(Opaque, 0);
  }
}

TEST(DIBReader, ArrowsPointTheirWay) {
  TBitmap Down, Up;
  ZelLoadBitmap(&Down, "ZELARROWDOWN");
  ZelLoadBitmap(&Up, "zelarrowup");
  auto RowWidth = [](TBitmap& B, int Y) {
    int N = 0;
    for (int X = 0; X < B.GetWidth(); ++X)
      if (B.GetPixel(X, Y) >> 24) ++N;
    return N;
  };
  EXPECT_GT(RowWidth(Down, 4), RowWidth(Down, 9));
  EXPECT_LT(RowWidth(Up, 4), RowWidth(Up, 9));
  EXPECT_EQ(Down.GetPixel(0, 0), 0u) << "white of the palette is transparent";
}

TEST(DIBReader, PixelLayoutsByDepth) {
  const TAlphaColor Red = 0xFF0000, Green = 0x00FF00, White = 0xFFFFFF;
  struct Case {
    const char* Name;
    std::vector<Byte> Data;
    int W, H;
    std::vector<TAlphaColor> Expected;  // rows from the top
  } Cases[] = {
      // 4 bits, width 3: two bytes per row plus padding; the low half of byte 2 is padding.
      {"4-bit odd width",
       Dib(3, 2, 4, {Red, Green, White}, {0x01, 0x2F, 0, 0, 0x10, 0x0F, 0, 0}),
       3, 2,
       {0xFF00FF00, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFF00FF00, 0}},
      // 8 bits, width 3: one byte of padding per row.
      {"8-bit", Dib(3, 1, 8, {Red, Green}, {1, 0, 1, 0xEE}), 3, 1, {0xFF00FF00, 0xFFFF0000, 0xFF00FF00}},
      // 24 bits, width 1: blue, green, red, then one byte of padding.
      {"24-bit", Dib(1, 2, 24, {}, {0x30, 0x20, 0x10, 0, 0x03, 0x02, 0x01, 0}), 1, 2,
       {0xFF010203, 0xFF102030}},
      {"32-bit keeps alpha", Dib(1, 1, 32, {}, {0x00, 0xFF, 0x00, 0x80}), 1, 1, {0x8000FF00}},
      {"1-bit", Dib(3, 1, 1, {Red, Green}, {0xA0, 0, 0, 0}), 3, 1, {0xFF00FF00, 0xFFFF0000, 0xFF00FF00}},
      // A picture of more than 8 bits with a palette: the palette is skipped.
      {"24-bit with palette", Dib(1, 1, 24, {Red}, {0x03, 0x02, 0x01, 0}), 1, 1, {0xFF010203}},
      // Pixels missing at the end stay transparent.
      {"short pixel data", Dib(2, 2, 8, {Red}, {0, 0, 0, 0}), 2, 2, {0, 0, 0xFFFF0000, 0xFFFF0000}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TBitmap B;
    Read(B, C.Data);
    ASSERT_EQ(B.GetWidth(), C.W);
    ASSERT_EQ(B.GetHeight(), C.H);
    for (int I = 0; I < C.W * C.H; ++I)
      EXPECT_EQ(B.GetPixel(I % C.W, I / C.W), C.Expected[I]) << "pixel " << I;
  }
}

TEST(DIBReader, TopDownRowsReadInOrder) {
  auto D = Dib(1, 2, 8, {0xFF0000, 0x0000FF}, {0, 0, 0, 0, 1, 0, 0, 0});
  const std::uint32_t MinusTwo = std::uint32_t(-2);
  for (int I = 0; I < 4; ++I) D[8 + I] = Byte(MinusTwo >> (8 * I));
  TBitmap B;
  Read(B, D);
  EXPECT_EQ(B.GetPixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(B.GetPixel(0, 1), 0xFF0000FFu);
}

TEST(DIBReader, BadHeadersRaiseAndLeaveTheBitmap) {
  auto Patch = [](std::vector<Byte> D, int At, std::uint32_t V) {
    for (int I = 0; I < 4; ++I) D[At + I] = Byte(V >> (8 * I));
    return D;
  };
  const auto Good = Dib(2, 2, 24, {}, std::vector<Byte>(16, 0));
  const std::vector<Byte> Bad[] = {
      std::vector<Byte>(Good.begin(), Good.begin() + 20),  // header cut short
      std::vector<Byte>(Good.begin(), Good.begin() + 2),   // not even the header size
      Patch(Good, 0, 12),                                  // unsupported header
      Patch(Good, 0, 0x7FFFFFFF),                          // absurd header size
      Patch(Good, 4, 0),                                   // no width
      Patch(Good, 4, 0x7FFFFFFF),                          // enormous width
      Patch(Good, 14, 16),                                 // 16 bits per pixel
      Patch(Good, 16, 1),                                  // compressed
      Patch(Dib(2, 2, 8, {0}, {}), 32, 100000),            // palette beyond 256 colours
      Dib(2, 2, 8, {0, 1, 2}, {}, 200),                    // palette cut short
  };
  for (const auto& D : Bad) {
    TBitmap B(5, 5);
    B.Clear(0xFF123456);
    EXPECT_THROW(Read(B, D), EReadError);
    EXPECT_EQ(B.GetWidth(), 5);
    EXPECT_EQ(B.GetPixel(1, 1), 0xFF123456u);
  }
}

TEST(DIBReader, LoadBitmapTriesBothNamesAndLeavesTheBitmapWithoutThem) {
  ZelRegisterBitmapResource("HOSTPICTURE", Dib(2, 1, 24, {}, {0, 0, 0xFF, 0, 0, 0, 0, 0}));
  struct Case {
    String Name1, Name2;
    int Width;
  } Cases[] = {{"nothing", "", 7}, {"", "HostPicture", 2}, {"nothing", "ZELTHUMB4", 9},
               {"ZELTHUMB2", "HOSTPICTURE", 12}, {"", "", 7}};
  for (const auto& C : Cases) {
    TBitmap B(7, 7);
    ZelLoadBitmap(&B, C.Name1, C.Name2);
    EXPECT_EQ(B.GetWidth(), C.Width) << C.Name1 << "/" << C.Name2;
  }
  ZelUnregisterBitmapResource("HOSTPICTURE");
  std::vector<Byte> D;
  EXPECT_FALSE(ZelFindBitmapResource("HOSTPICTURE", D));
}

// --- processor queries ---

TEST(ProcessorQueries, AnswersAreSane) {
  EXPECT_GE(TZelCPU::NumberOfProcessors(), 1);
  EXPECT_GE(TZelCPU::Speed(), 0);
#if defined(__x86_64__)
  EXPECT_TRUE(TZelCPU::HasMMX());
  EXPECT_TRUE(TZelCPU::HasSSE());
  EXPECT_TRUE(TZelCPU::HasSSE2());
#endif
  if (TZelCPU::HasAVX()) {
    EXPECT_TRUE(TZelCPU::HasSSE2());
  }
}

// --- parallel loop ---

TEST(ParallelFor, RunsEveryIndexOnce) {
  struct Case {
    int Min, Max, Threads;
  } Cases[] = {{5, 4, 4}, {0, 1, 4}, {0, 999, 4}, {-10, 10, 3}, {7, 7, 8}, {0, 50, 0}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Min << ".." << C.Max << " on " << C.Threads);
    const int N = std::max(0, C.Max - C.Min + 1);
    std::vector<std::atomic<int>> Runs(std::size_t(N) + 1);
    std::atomic<int> Total{0}, Outside{0};
    TZelCPU::ParallelFor(C.Min, C.Max, C.Threads, [&](int I) {
      if (I < C.Min || I > C.Max)
        ++Outside;
      else
        ++Runs[std::size_t(I - C.Min)];
      ++Total;
    });
    EXPECT_EQ(Total, N);
    EXPECT_EQ(Outside, 0);
    for (int I = 0; I < N; ++I) EXPECT_EQ(Runs[std::size_t(I)], 1) << "index " << C.Min + I;
  }
}

TEST(ParallelFor, OneThreadRunsInOrderOnTheCaller) {
  std::vector<int> Order;
  const auto Caller = std::this_thread::get_id();
  bool SameThread = true;
  TZelCPU::ParallelFor(0, 9, 1, [&](int I) {
    Order.push_back(I);
    SameThread = SameThread && std::this_thread::get_id() == Caller;
  });
  EXPECT_EQ(Order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_TRUE(SameThread);
}

TEST(ParallelFor, WorkersRunAtTheSameTime) {
  std::mutex M;
  std::set<std::thread::id> Threads;
  std::atomic<int> Waiting{0};
  TZelCPU::ParallelFor(0, 3, 4, [&](int) {
    {
      std::lock_guard<std::mutex> L(M);
      Threads.insert(std::this_thread::get_id());
    }
    // Each body waits for the others: this only finishes when four run at once.
    ++Waiting;
    while (Waiting < 4) std::this_thread::yield();
  });
  EXPECT_EQ(Threads.size(), 4u);
}

#if defined(__linux__)
TEST(ParallelFor, WorkersRunAtTheAskedPriority) {
  const int Caller = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  struct Case {
    TThreadPriority Priority;
    int Nice;  // expected, relative to the caller
  };
  // Raising the priority needs a right tests do not have: those workers keep the caller's.
  for (const Case& C : {Case{TThreadPriority::tpLowest, 10}, Case{TThreadPriority::tpLower, 5},
                        Case{TThreadPriority::tpNormal, 0}}) {
    std::mutex M;
    std::set<int> Seen;
    TZelCPU::ParallelFor(
        0, 7, 2,
        [&](int) {
          const int N = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
          std::lock_guard<std::mutex> L(M);
          Seen.insert(N);
        },
        C.Priority);
    EXPECT_EQ(Seen, std::set<int>{std::min(19, Caller + C.Nice)}) << static_cast<int>(C.Priority);
  }
  std::atomic<int> Done{0};
  TZelCPU::ParallelFor(0, 7, 2, [&](int) { ++Done; }, TThreadPriority::tpTimeCritical);
  EXPECT_EQ(Done, 8) << "a priority the system refuses still runs the loop";
  TZelCPU::ParallelFor(0, 7, 2, [&](int) { ++Done; }, TThreadPriority::tpIdle);
  EXPECT_EQ(Done, 16);
  EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())), Caller) << "the caller keeps its own";
}
#endif

TEST(ParallelFor, AFailingBodyEndsItsWorkerAndIsReportedAfterTheRest) {
  std::atomic<int> Done{0};
  EXPECT_THROW(TZelCPU::ParallelFor(0, 199, 4,
                                    [&](int I) {
                                      if (I == 3) throw ERangeError("bad index");
                                      ++Done;
                                    }),
               ERangeError);
  EXPECT_EQ(Done, 199) << "the other workers took the remaining indexes";
}

}  // namespace
}  // namespace zel
