#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "TestPanel.h"
#include "platform/Filer.h"
#include "platform/Streams.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Engine.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {
namespace {

constexpr TAlphaColor Red = 0xFFFF0000;
constexpr TAlphaColor Blue = 0xFF0000FF;

struct StreamFixture : testing::Test {
  void TearDown() override {
    for (TComponent* C : Owned) C->Free();
  }
  TChartSeries* NewSeries() {
    auto* S = Create<TChartSeries>(nullptr);
    Owned.insert(Owned.begin(), S);
    return S;
  }
  static std::vector<Byte> Write(TChartSeries* S) {
    TMemoryStream M;
    S->WriteData(&M);
    return M.GetBytes();
  }
  static void Read(TChartSeries* S, const std::vector<Byte>& Bytes) {
    TMemoryStream M;
    if (!Bytes.empty()) M.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    M.SetPosition(0);
    S->ReadData(&M);
  }
  std::vector<TComponent*> Owned;
};

// Little-endian pieces of an expected stream.
struct Bytes {
  Bytes& U8(Byte V) {
    B.push_back(V);
    return *this;
  }
  Bytes& I32(std::int32_t V) {
    for (int I = 0; I < 4; ++I) B.push_back(static_cast<Byte>(static_cast<std::uint32_t>(V) >> (8 * I)));
    return *this;
  }
  Bytes& F64(double V) {
    std::uint64_t U;
    std::memcpy(&U, &V, 8);
    for (int I = 0; I < 8; ++I) B.push_back(static_cast<Byte>(U >> (8 * I)));
    return *this;
  }
  Bytes& Text(const String& S) {
    B.insert(B.end(), S.begin(), S.end());
    return *this;
  }
  std::vector<Byte> B;
};

TEST_F(StreamFixture, LayoutOfThePointRecords) {
  struct Case {
    const char* Name;
    std::vector<double> X, Y;
    std::vector<TAlphaColor> Colors;  // per point, empty: none given
    std::vector<String> Labels;       // per point, empty: none given
    std::vector<Byte> Expected;
  };
  const std::vector<Case> Cases = {
      {"sequence X is not written", {0, 1, 2}, {5, 6, 7}, {}, {},
       Bytes().U8(0).I32(3).F64(5).F64(6).F64(7).B},
      {"other X is written first", {0, 1, 5}, {5, 6, 7}, {}, {},
       Bytes().U8(1).I32(3).F64(0).F64(5).F64(1).F64(6).F64(5).F64(7).B},
      {"one coloured point writes every colour", {0, 1}, {5, 6}, {clZelDefault, Red}, {},
       Bytes().U8(2).I32(2).F64(5).I32(static_cast<std::int32_t>(clZelDefault)).F64(6).I32(static_cast<std::int32_t>(Red)).B},
      {"labels use the long length form", {0, 1}, {5, 6}, {}, {"abc", ""},
       Bytes().U8(4).I32(2).F64(5).U8(255).I32(3).Text("abc").F64(6).U8(255).I32(0).B},
      {"empty series", {}, {}, {}, {}, Bytes().U8(0).I32(0).B},
  };
  for (const Case& C : Cases) {
    TChartSeries* S = NewSeries();
    S->ChangeInternalColor(Blue);
    for (std::size_t I = 0; I < C.X.size(); ++I)
      S->AddXY(C.X[I], C.Y[I], I < C.Labels.size() ? C.Labels[I] : String(),
               I < C.Colors.size() ? C.Colors[I] : clZelDefault);
    EXPECT_EQ(Write(S), C.Expected) << C.Name;
    TChartSeries* Back = NewSeries();
    Read(Back, C.Expected);
    ASSERT_EQ(Back->Count(), static_cast<std::int32_t>(C.X.size())) << C.Name;
    for (std::size_t I = 0; I < C.X.size(); ++I) {
      const auto J = static_cast<std::int32_t>(I);
      EXPECT_EQ(Back->GetxValue(J), C.X[I]) << C.Name;
      EXPECT_EQ(Back->GetyValue(J), C.Y[I]) << C.Name;
      EXPECT_EQ(Back->GetXLabel(J), S->GetXLabel(J)) << C.Name;
      EXPECT_EQ(Back->InternalColor(J), S->InternalColor(J)) << C.Name;
    }
    EXPECT_TRUE(Back->ManualData) << C.Name;
    EXPECT_EQ(Write(Back), C.Expected) << C.Name;
  }
}

TEST_F(StreamFixture, ContentOfLaterPointsIsNotLost) {
  // Labels, colours and X values far into a series travel too.
  TChartSeries* S = NewSeries();
  S->ChangeInternalColor(Blue);
  S->BeginUpdate();
  for (int I = 0; I < 20000; ++I) S->AddXY(I == 15000 ? 15000.5 : I, I);
  S->EndUpdate();
  S->SetXLabel(150, "late");
  S->SetValueColor(12000, Red);
  const std::vector<Byte> Data = Write(S);
  EXPECT_EQ(Data[0], 1 | 2 | 4);
  TChartSeries* Back = NewSeries();
  Read(Back, Data);
  ASSERT_EQ(Back->Count(), 20000);
  EXPECT_EQ(Back->GetXLabel(150), "late");
  EXPECT_EQ(Back->InternalColor(12000), Red);
  EXPECT_EQ(Back->GetxValue(15000), 15000.5);
}

// A memory stream that counts the reads made from it.
struct TCountingStream : TMemoryStream {
  Int64 Read(void* Buffer, Int64 Count) override {
    ++Reads;
    return TMemoryStream::Read(Buffer, Count);
  }
  int Reads = 0;
};

// A block far longer than the pieces it is written and read in, with labels of every length
// crossing their edges: the bytes are laid out as for a short one. The memory stream takes its
// room once, the stream is read in a few large pieces (not one read per field) and every value
// list takes its memory once, for the points there are.
TEST_F(StreamFixture, LongBlocksAreWrittenAndReadInLargePieces) {
  TChartSeries* S = NewSeries();
  auto* Z = new TChartValueList(S, "Z");
  S->ChangeInternalColor(Blue);
  const int N = 3000;
  Bytes Want;
  Want.U8(1 | 2 | 4).I32(N);
  for (int I = 0; I < N; ++I) {
    const String Label(static_cast<std::size_t>(I % 301), static_cast<char>('a' + I % 26));
    const TAlphaColor Color = I % 2 ? Red : Blue;
    Z->SetTempValue(I * 3.0);
    S->AddXY(I * 0.5, I * 2.0, Label, Color);
    Want.F64(I * 0.5).F64(I * 2.0).I32(static_cast<std::int32_t>(Color)).U8(255);
    Want.I32(static_cast<std::int32_t>(Label.size())).Text(Label).F64(I * 3.0);
  }
  ASSERT_GT(Want.B.size(), std::size_t(4) * 65536);
  TMemoryStream Out;
  S->WriteData(&Out);
  EXPECT_EQ(Out.GetBytes(), Want.B);
  EXPECT_EQ(Out.GetCapacity(), Out.GetSize());

  TCountingStream In;
  In.WriteBuffer(Want.B.data(), static_cast<Int64>(Want.B.size()));
  In.WriteBuffer("after", 5);  // not the block's: left where it is
  In.SetPosition(0);
  TChartSeries* Back = NewSeries();
  auto* BackZ = new TChartValueList(Back, "Z");
  Back->ReadData(&In);
  EXPECT_EQ(In.GetPosition(), static_cast<Int64>(Want.B.size()));
  EXPECT_LE(In.Reads, static_cast<int>(Want.B.size() / 65536) + 3);
  ASSERT_EQ(Back->Count(), N);
  for (TChartValueList* L : {Back->GetXValues(), Back->GetYValues(), BackZ}) EXPECT_EQ(L->Value.Capacity(), N);
  EXPECT_EQ(Write(Back), Want.B);

  // A count beyond the bytes there are takes memory for the records that fit only.
  TChartSeries* Damaged = NewSeries();
  Read(Damaged, Bytes().U8(0).I32(1000000000).F64(1).F64(2).F64(3).B);
  EXPECT_EQ(Damaged->Count(), 3);
  EXPECT_EQ(Damaged->GetYValues()->Value.Capacity(), 3);
}

TEST_F(StreamFixture, ShortLabelFormAndExtraChannels) {
  TChartSeries* S = NewSeries();
  auto* Z = new TChartValueList(S, "Z");
  // flags: labels; two points; the first label in the one-byte form.
  Read(S, Bytes().U8(4).I32(2).F64(5).U8(2).Text("hi").F64(11).F64(6).U8(255).I32(1).Text("x").F64(12).B);
  ASSERT_EQ(S->Count(), 2);
  EXPECT_EQ(S->GetXLabel(0), "hi");
  EXPECT_EQ(S->GetXLabel(1), "x");
  EXPECT_EQ(Z->Value[0], 11);
  EXPECT_EQ(Z->Value[1], 12);
  EXPECT_EQ(Write(S), Bytes().U8(4).I32(2).F64(5).U8(255).I32(2).Text("hi").F64(11).F64(6).U8(255).I32(1).Text("x").F64(12).B);
}

TEST_F(StreamFixture, HorizontalSeriesRoundTrips) {
  TChartSeries* S = NewSeries();
  S->SetHorizontal();
  S->AddXY(5, 0);
  S->AddXY(6, 1);
  S->AddXY(7, 3);
  const std::vector<Byte> Data = Write(S);
  // Y (the other channel) is not the sequence: written first, then X.
  EXPECT_EQ(Data, Bytes().U8(1).I32(3).F64(0).F64(5).F64(1).F64(6).F64(3).F64(7).B);
  TChartSeries* Back = NewSeries();
  Back->SetHorizontal();
  Read(Back, Data);
  ASSERT_EQ(Back->Count(), 3);
  EXPECT_EQ(Back->GetxValue(2), 7);
  EXPECT_EQ(Back->GetyValue(2), 3);
}

TEST_F(StreamFixture, DamagedStreamsNeverFailOrInvent) {
  struct Case {
    const char* Name;
    std::vector<Byte> Data;
    std::int32_t Points;
  };
  const std::vector<Case> Cases = {
      {"nothing at all", {}, 0},
      {"count far beyond the bytes", Bytes().U8(0).I32(0x7FFFFFFF).F64(1).F64(2).B, 2},
      {"negative count", Bytes().U8(0).I32(-5).F64(1).B, 0},
      {"record cut short reads zeros", Bytes().U8(1).I32(2).F64(3).F64(4).F64(5).B, 2},
      {"label longer than the stream", Bytes().U8(4).I32(1).F64(1).U8(255).I32(1000000).Text("ab").B, 1},
      {"huge negative label length", Bytes().U8(4).I32(1).F64(1).U8(255).I32(-7).F64(9).B, 1},
  };
  for (const Case& C : Cases) {
    TChartSeries* S = NewSeries();
    S->AddXY(99, 99);
    Read(S, C.Data);
    EXPECT_EQ(S->Count(), C.Points) << C.Name;
  }
  TChartSeries* S = NewSeries();
  Read(S, Bytes().U8(1).I32(2).F64(3).F64(4).F64(5).B);
  ASSERT_EQ(S->Count(), 2);
  EXPECT_EQ(S->GetyValue(0), 4);
  EXPECT_EQ(S->GetxValue(1), 5);
  EXPECT_EQ(S->GetyValue(1), 0);
}

TEST_F(StreamFixture, NamedPropertiesThroughTheFiler) {
  TChartSeries* S = NewSeries();
  S->SetIdentifier("ident");
  S->SetStyle({TChartSeriesStyleItem::tssDenyDelete, TChartSeriesStyleItem::tssHideDataSource});
  S->AddXY(0, 1, "a");
  S->AddXY(2, 3);
  S->ManualData = true;  // points given by hand are written
  TMemoryStream M;
  {
    TWriter W(&M);
    W.WriteProperties(S);
    W.WriteListEnd();
  }
  M.SetPosition(0);
  TChartSeries* Back = NewSeries();
  {
    TReader R(&M);
    R.ReadProperties(Back);
    R.ReadListEnd();
  }
  EXPECT_EQ(Back->GetIdentifier(), "ident");
  EXPECT_EQ(Back->GetStyle(), S->GetStyle());
  ASSERT_EQ(Back->Count(), 2);
  EXPECT_EQ(Back->GetXLabel(0), "a");
  EXPECT_EQ(Back->GetxValue(1), 2);
  EXPECT_TRUE(Back->ManualData);

  // Points filled by code are not written unless forced.
  TChartSeries* Code = NewSeries();
  Code->AddXY(0, 1);
  TMemoryStream M2;
  {
    TWriter W(&M2);
    W.WriteProperties(Code);
    W.WriteListEnd();
  }
  EXPECT_EQ(M2.GetSize(), 1);  // the list end only
}


TEST_F(StreamFixture, CustomMarkPositionsTravel) {
  TChartSeries* S = NewSeries();
  S->Add(1);
  S->Add(2);
  TSeriesMarkPosition P;
  P.ArrowFrom = TPointF(1.5f, 2.5f);
  P.ArrowFix = true;
  P.ArrowTo = TPointF(3, 4);
  P.Height = 12;
  P.LeftTop = TPointF(-5, 6);
  P.Width = 30;
  S->GetMarks()->GetPositions()->Put(1, &P);
  const std::vector<Byte> Data = Write(S);
  EXPECT_EQ(Data[0], 8);
  EXPECT_EQ(Data.size(), 5u + 2 * (8 + 34));
  TChartSeries* Back = NewSeries();
  Read(Back, Data);
  TSeriesMarkPosition* Q = Back->GetMarks()->GetPositions()->Get(1);
  ASSERT_NE(Q, nullptr);
  EXPECT_TRUE(Q->Custom);
  EXPECT_TRUE(Q->ArrowFix);
  EXPECT_EQ(Q->ArrowFrom.Y, 2.5f);
  EXPECT_EQ(Q->ArrowTo.X, 3);
  EXPECT_EQ(Q->Height, 12);
  EXPECT_EQ(Q->LeftTop.X, -5);
  EXPECT_EQ(Q->Width, 30);
  ASSERT_NE(Back->GetMarks()->GetPositions()->Get(0), nullptr);
  EXPECT_FALSE(Back->GetMarks()->GetPositions()->Get(0)->Custom);
  EXPECT_EQ(Write(Back), Data);
}


TEST_F(StreamFixture, CustomAxesTravelByTheirIndex) {
  auto* Chart = Create<TTestPanel>(nullptr);
  Chart->GetCustomAxes()->Add();
  TChartAxis* Custom = Chart->GetCustomAxes()->Add();
  TChartSeries* S = NewSeries();
  Chart->AddSeries(S);
  S->SetCustomVertAxis(Custom);
  EXPECT_EQ(S->GetVertAxis(), TVertAxis::aCustomVertAxis);
  EXPECT_EQ(S->GetGetVertAxis(), Custom);
  TMemoryStream M;
  {
    TWriter W(&M);
    W.WriteProperties(S);
    W.WriteListEnd();
  }
  M.SetPosition(0);
  // Read before the series knows its chart, as a stored chart is read: resolved when loaded.
  TChartSeries* Back = NewSeries();
  {
    TReader R(&M);
    R.ReadProperties(Back);
    R.ReadListEnd();
  }
  Chart->AddSeries(Back);
  Back->Loaded();
  EXPECT_EQ(Back->GetCustomVertAxis(), Custom);
  EXPECT_EQ(Back->GetGetVertAxis(), Custom);
  S->SetCustomVertAxis(nullptr);
  EXPECT_EQ(S->GetVertAxis(), TVertAxis::aLeftAxis);
  EXPECT_EQ(S->GetGetVertAxis(), Chart->GetLeftAxis());
  Owned.push_back(Chart);
}

// Streams kept in tests/data (also the fuzz harnesses' seeds): what this build writes for a
// known series must stay what earlier builds wrote, and those bytes must read back into it.
TEST_F(StreamFixture, StoredStreamsStillReadAndWriteTheSameBytes) {
  auto Known = [&] {
    TChartSeries* S = NewSeries();
    S->SetIdentifier("stored");
    S->AddXY(0, 1, "first", Red);
    S->AddXY(2, 3, "", clZelDefault);
    S->AddXY(5, -4.5, "third", Blue);
    S->ManualData = true;
    TMarksItem* Item = S->GetMarks()->GetItems()->Get(1);
    Item->SetText("custom mark");
    Item->SetTransparent(true);
    return S;
  };
  auto Properties = [](TPersistent* P) {
    TMemoryStream M;
    TWriter W(&M);
    W.WriteProperties(P);
    W.WriteListEnd();
    return M.GetBytes();
  };
  struct Case {
    const char* File;
    std::function<std::vector<Byte>(TChartSeries*)> Write;
    std::function<void(TChartSeries*, TStream*)> Read;
    // The file holds what a series writes today (a series also writes its published settings,
    // such as its marks, so the stored series file is only read and rewritten).
    bool Current = true;
  };
  const Case Cases[] = {
      {"series_data.bin", [](TChartSeries* S) { return StreamFixture::Write(S); },
       [](TChartSeries* S, TStream* M) { S->ReadData(M); }},
      {"series_properties.bin", [&](TChartSeries* S) { return Properties(S); },
       [](TChartSeries* S, TStream* M) {
         TReader R(M);
         R.ReadProperties(S);
         R.ReadListEnd();
       },
       false},
      {"marks_items.bin", [&](TChartSeries* S) { return Properties(S->GetMarks()); },
       [](TChartSeries* S, TStream* M) {
         TReader R(M);
         R.ReadProperties(S->GetMarks());
         R.ReadListEnd();
       }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.File);
    TMemoryStream Stored;
    Stored.LoadFromFile(String(ZEL_TEST_DATA) + "/" + C.File);
    if (C.Current) {
      EXPECT_EQ(C.Write(Known()), Stored.GetBytes());
    }
    TChartSeries* Back = NewSeries();
    Back->ManualData = true;
    C.Read(Back, &Stored);
    EXPECT_EQ(C.Write(Back), Stored.GetBytes());
  }
}

}  // namespace
}  // namespace zel
