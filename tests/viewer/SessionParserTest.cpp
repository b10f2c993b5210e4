#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "../engine/TestPanel.h"
#include "platform/Streams.h"
#include "platform/StringList.h"
#include "platform/SysUtils.h"
#include "viewer/SessionParser.h"
#include "zelgraph/engine/Engine.h"

namespace zel {
namespace {

struct Points {
  std::vector<double> X, Y;
};

Points Read(TChartSeries* S) {
  Points P;
  for (std::int32_t I = 0; I < S->Count(); ++I) {
    P.X.push_back(S->GetxValue(I));
    P.Y.push_back(S->GetyValue(I));
  }
  return P;
}

struct SeriesHolder {
  SeriesHolder() : S(Create<TChartSeries>(nullptr)) {}
  ~SeriesHolder() { S->Free(); }
  TChartSeries* S;
};

TEST(SessionParser, RecordsBecomePointsAcrossTheirSpan) {
  struct Case {
    const char* Line;
    double XOffset;
    std::vector<double> X, Y;
  };
  const Case Cases[] = {
      {"2016-04-25;13:45:10", 0, {}, {}},
      {"2016-04-25;13:45:10;1;2;3;4;5", 2000, {2000, 2250, 2500, 2750, 3000}, {1, 2, 3, 4, 5}},
      {"2016-04-25;13:45:10;1.5", 1000, {1000}, {1.5}},  // a lone sample sits at the offset
      {"2016-04-25;13:45:10;-1.25e3;+.5; 7. ;1E-2", 0, {0, 1000.0 / 3, 2000.0 / 3, 1000}, {-1250, 0.5, 7, 0.01}},
  };
  const TFormatSettings FS = SessionFormatSettings();
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Line);
    SeriesHolder H;
    dataLineParse(FS, C.Line, C.XOffset, H.S);
    EXPECT_EQ(H.S->GetTitle(), "2016-04-25 13:45:10");
    Points P = Read(H.S);
    EXPECT_EQ(P.X, C.X);
    EXPECT_EQ(P.Y, C.Y);
    EXPECT_FALSE(H.S->IsUpdating());
    EXPECT_EQ(H.S->GetColors(), nullptr);
    EXPECT_EQ(H.S->GetLabels()->Count(), 0);
  }
}

TEST(SessionParser, BadSamplesAreRejectedWhateverTheLocale) {
  const char* Bad[] = {"1,5", "inf", "-inf", "nan", "NAN", "0x1p3", "0x10", "", " ", "1e999", "1.2.3", "--1", "1e", "e5", ".", "12abc", "1 2"};
  const TFormatSettings FS = SessionFormatSettings();
  for (const char* Sample : Bad) {
    SCOPED_TRACE(Sample);
    SeriesHolder H;
    const String Line = String("2016-04-25;13:45:10;7;") + Sample + ";8";
    try {
      dataLineParse(FS, Line, 0, H.S);
      FAIL() << "expected EConvertError";
    } catch (const EConvertError& E) {
      EXPECT_EQ(String(E.what()), String("'") + Sample + "' is not a valid floating point value");
    }
    EXPECT_FALSE(H.S->IsUpdating());
    EXPECT_EQ(H.S->GetTitle(), "2016-04-25 13:45:10");
    EXPECT_EQ(Read(H.S).Y, std::vector<double>{7});  // points before the bad sample stay
  }
}

TEST(SessionParser, RecordsWithoutDateAndTimeAreRejected) {
  const TFormatSettings FS = SessionFormatSettings();
  for (const char* Line : {"", "2016-04-25", "no separators at all"}) {
    SCOPED_TRACE(Line);
    SeriesHolder H;
    EXPECT_THROW(dataLineParse(FS, Line, 0, H.S), EConvertError);
    EXPECT_EQ(H.S->Count(), 0);
    EXPECT_EQ(H.S->GetTitle(), "");
    EXPECT_FALSE(H.S->IsUpdating());
  }
  SeriesHolder H;
  try {
    dataLineParse(FS, "2016-13-45;13:45:10;1;2", 0, H.S);
    FAIL() << "expected EConvertError";
  } catch (const EConvertError& E) {
    EXPECT_EQ(String(E.what()), "'2016-13-45 13:45:10' is not a valid date and time");
  }
  EXPECT_EQ(H.S->Count(), 0);
  EXPECT_EQ(H.S->GetTitle(), "");
  EXPECT_THROW(dataLineParse(FS, "2016-04-25;13:45:10;1", 0, nullptr), EArgumentException);
}

TEST(SessionParser, OneRefreshPerRecord) {
  auto* P = Create<TTestPanel>(nullptr);
  auto* S = Create<TChartSeries>(nullptr);
  P->AddSeries(S);
  int AfterAdd = 0;
  S->OnAfterAdd = [&](TChartSeries*, std::int32_t) { ++AfterAdd; };
  dataLineParse(SessionFormatSettings(), "2016-04-25;13:45:10;3;1;2", 0, S);
  EXPECT_EQ(AfterAdd, 0);
  EXPECT_EQ(P->Count(TChartSeriesEvent::seDataChanged), 1);
  EXPECT_EQ(Read(S).X, (std::vector<double>{0, 500, 1000}));
  P->Free();
}

TEST(SessionParser, SampleReaderHonoursTheDecimalSeparator) {
  TFormatSettings FS = SessionFormatSettings();
  FS.DecimalSeparator = ',';
  double V = 0;
  EXPECT_TRUE(TextToFloat("1,5", V, FS));
  EXPECT_EQ(V, 1.5);
  EXPECT_FALSE(TextToFloat("1.5", V, FS));
}

// A series kind that adds its points one at a time (its own AddXY), for comparison.
class TOneByOneSeries : public TChartSeries {
 public:
  explicit TOneByOneSeries(TComponent* AOwner) : TChartSeries(AOwner) {}
  std::int32_t AddXY(double X, double Y, const String& Label, TAlphaColor Color) override {
    ++Adds;
    return TChartSeries::AddXY(X, Y, Label, Color);
  }
  int Adds = 0;
};

bool SameBits(double A, double B) { return std::memcmp(&A, &B, sizeof A) == 0; }

TEST(SessionParser, PointsReadInOneBlockAreThoseAddedOneByOne) {
  const TFormatSettings FS = SessionFormatSettings();
  // Samples of every form the reader takes, and a record long enough to grow the arrays twice.
  String Long = "2016-04-25;13:45:10";
  for (int I = 0; I < 2500; ++I) Long += ";" + std::to_string((I * 7919) % 20011 - 10000) + "." + std::to_string(I % 97);
  const String Lines[] = {
      "2016-04-25;13:45:10;-0.0;+5;.5;5.;1e3;-2.5E-3;123456789012345678;0.1234567890123456789;007;0.30000000000000004",
      Long,
      "2016-04-25;13:45:10;1;2;x;4",
  };
  for (const String& Line : Lines) {
    SCOPED_TRACE(Line.substr(0, 60));
    SeriesHolder Bulk;
    auto* One = Create<TOneByOneSeries>(nullptr);
    String BulkError, OneError;
    try {
      dataLineParse(FS, Line, 3000.0, Bulk.S);
    } catch (const Exception& E) {
      BulkError = E.GetMessage();
    }
    try {
      dataLineParse(FS, Line, 3000.0, One);
    } catch (const Exception& E) {
      OneError = E.GetMessage();
    }
    EXPECT_EQ(BulkError, OneError);
    EXPECT_EQ(One->Adds, One->Count());
    ASSERT_EQ(Bulk.S->Count(), One->Count());
    for (std::int32_t I = 0; I < One->Count(); ++I) {
      EXPECT_TRUE(SameBits(Bulk.S->GetxValue(I), One->GetxValue(I))) << I;
      EXPECT_TRUE(SameBits(Bulk.S->GetyValue(I), One->GetyValue(I))) << I;
    }
    EXPECT_EQ(Bulk.S->GetXValues()->Value.Length(), One->GetXValues()->Value.Length());
    EXPECT_EQ(Bulk.S->GetYValues()->Value.Length(), One->GetYValues()->Value.Length());
    EXPECT_EQ(Bulk.S->MaxYValue(), One->MaxYValue());
    One->Free();
  }
  // A series that holds points already takes the record after them.
  SeriesHolder H;
  H.S->AddXY(-1, 9);
  dataLineParse(FS, "2016-04-25;13:45:10;1;2", 0.0, H.S);
  EXPECT_EQ(Read(H.S).Y, (std::vector<double>{9, 1, 2}));
}

TEST(SessionParser, LinesAreSplitAsTheStringListSplitsThemWhateverTheBlocks) {
  const std::string Texts[] = {"",         "x",          "a\nb",         "a\r\nb\r\n",    "a\rb\r",
                               "\r\n\r\n", "a\r",         "\n",           "a\n\r\nb\r\r\n", "\xEF\xBB\xBFtitle\nb",
                               "\xEF\xBB", "long line\r\nnext\rlast"};
  for (const std::string& Text : Texts) {
    TMemoryStream Reference;
    Reference.Write(Text.data(), static_cast<Int64>(Text.size()));
    Reference.SetPosition(0);
    TStringList Expected;
    Expected.LoadFromStream(&Reference, TEncoding::UTF8());
    for (std::size_t Block : {1, 2, 3, 5, 64}) {
      SCOPED_TRACE("text \"" + Text + "\", block " + std::to_string(Block));
      TMemoryStream In;
      In.Write(Text.data(), static_cast<Int64>(Text.size()));
      In.SetPosition(0);
      TSessionLines Lines(In, Block);
      std::vector<std::string_view> Got;
      std::vector<String> All;
      while (Lines.NextBlock(Got))
        for (std::string_view L : Got) All.emplace_back(L);
      std::vector<String> Want;
      for (int I = 0; I < Expected.GetCount(); ++I) Want.push_back(Expected.GetStrings(I));
      EXPECT_EQ(All, Want);
    }
  }
}

TEST(SessionParser, LinesStopAtOnceAtALineThatIsPlainlyNotText) {
  // A line that fills a whole block holding a NUL byte ends the reading there: nothing of it is
  // given out, whatever follows. Text runs on (the buffer grows), and a short line with a NUL is
  // a line like any other (its record reports it).
  struct Case {
    std::string Text;
    std::vector<String> Lines;
    bool Stopped;
  };
  const std::string Hole(100, '\0');
  const Case Cases[] = {
      {"title\n" + Hole + "\nnext\n", {"title"}, true},
      {Hole, {}, true},
      {"title\n" + std::string(100, 'a') + "\nnext", {"title", std::string(100, 'a'), "next"}, false},
      {std::string("a\0b\n", 4), {std::string("a\0b", 3)}, false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(EscapedForMessage(C.Text));
    TMemoryStream In;
    In.Write(C.Text.data(), static_cast<Int64>(C.Text.size()));
    In.SetPosition(0);
    TSessionLines Lines(In, 16);
    std::vector<std::string_view> Got;
    std::vector<String> All;
    while (Lines.NextBlock(Got))
      for (std::string_view L : Got) All.emplace_back(L);
    EXPECT_EQ(All, C.Lines);
    EXPECT_EQ(Lines.GetStoppedAtNonText(), C.Stopped);
    EXPECT_FALSE(Lines.NextBlock(Got));
  }
}

TEST(SessionParser, MessagesShowControlBytesEscaped) {
  const struct {
    std::string Text, Shown;
  } Cases[] = {
      {std::string("1\0002", 3), "1\\02"},
      {"a\tb\rc\nd", "a\\tb\\rc\nd"},
      {"\x1b[31mred", "\\x1B[31mred"},
      {"\x01\x7f", "\\x01\\x7F"},
      {"C1 \xC2\x85 end", "C1 \\xC2\\x85 end"},
      {"not UTF-8 \xFF\xC3", "not UTF-8 \\xFF\\xC3"},
      {"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\x88 \xEF\xBF\xBD", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\x88 \xEF\xBF\xBD"},
      {"", ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Shown);
    EXPECT_EQ(EscapedForMessage(C.Text), C.Shown);
  }
}

}  // namespace
}  // namespace zel
