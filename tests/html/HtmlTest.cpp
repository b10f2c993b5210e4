#include <gtest/gtest.h>

#include <vector>

#include "platform/Bitmap.h"
#include "platform/RecordingCanvas.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/html/Html.h"

using namespace zel;

namespace {

constexpr TFontStyles Normal{};
constexpr TFontStyles Bold{TFontStyle::fsBold};
constexpr TFontStyles BoldItalic{TFontStyle::fsBold, TFontStyle::fsItalic};

// One drawn text piece as the recording canvas saw it.
struct Piece {
  String Text;
  float X, Y;
  float Size;
  TFontStyles Style;
  String Family;
};

// A library canvas over a recording canvas: every character is 7 pixels wide and every line
// 12 pixels high, whatever the font, so the numbers below do not depend on installed fonts.
class HtmlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Rec.reset(new TRecordingCanvas(640, 480));
    Canvas.reset(Create<TZelCanvas3D>());
    Canvas->SetCanvas(Rec.get());
    TZelFont* F = Canvas->GetFont();
    F->SetFamily("Base");
    F->SetSizeFloat(10);
    F->SetStyle(Normal);
    F->SetColor(0xFF000000);
    Canvas->SetTextAlign(ZelTextAlignLeft);
    Rec->ClearRecords();
  }
  void TearDown() override {
    GraphicFileExtension = nullptr;
    GraphicDownload = nullptr;
  }

  std::vector<Piece> Draw(const String& Text, float X = 0, float Y = 0) {
    Rec->ClearRecords();
    HtmlTextOut(Canvas.get(), X, Y, Text);
    std::vector<Piece> Out;
    for (const TCanvasRecord& R : Rec->RecordsOf(TRecordKind::FillText))
      Out.push_back({R.Text, R.Rect.Left, R.Rect.Top, R.FontSize, R.FontStyle, R.FontFamily});
    return Out;
  }
  std::vector<String> DrawTexts(const String& Text) {
    std::vector<String> Out;
    for (const Piece& P : Draw(Text)) Out.push_back(P.Text);
    return Out;
  }
  void ResetFont() { SetUp(); }

  TOwned<TRecordingCanvas> Rec;
  TOwned<TZelCanvas3D> Canvas;
};

TEST_F(HtmlTest, TokensEntitiesAndUnknownTagsBecomeTextPieces) {
  struct Case {
    const char* Text;
    std::vector<String> Pieces;
  };
  const Case Cases[] = {
      {"plain", {"plain"}},
      {"a&lt;b&gt;c&amp;d&quot;e", {"a<b>c&d\"e"}},
      {"&LT;&Amp;", {"&LT;&Amp;"}},          // entities are case-sensitive
      {"&amp;lt;", {"&lt;"}},                // replaced once, in order
      {"x<y", {"x", "y"}},                   // a "<" without ">" disappears
      {"</>", {"</"}},                       // nothing to close
      {"<BIG>a</BIG>b", {"a", "</BIG>", "b"}},  // BIG has no closing tag
      {"<foo>bar", {"<foo>", "bar"}},
      {"<B>a</B><bold>b</bold><strong>c</STRONG>", {"a", "b", "c"}},
      {"", {}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    ResetFont();
    EXPECT_EQ(DrawTexts(C.Text), C.Pieces);
  }
}

TEST_F(HtmlTest, TagsChangeTheFontOfTheFollowingPieces) {
  struct Style {
    String Text;
    float Size;
    TFontStyles Style;
    String Family;
  };
  struct Case {
    const char* Text;
    std::vector<Style> Expected;
  };
  const TFontStyles Under{TFontStyle::fsUnderline};
  const TFontStyles Strike{TFontStyle::fsStrikeOut};
  const Case Cases[] = {
      {"<B>a</B>b", {{"a", 10, Bold, "Base"}, {"b", 10, Normal, "Base"}}},
      {"<b>a</b>b", {{"a", 10, Bold, "Base"}, {"b", 10, Normal, "Base"}}},
      {"<U>a</U><STRIKE>b</STRIKE>c",
       {{"a", 10, Under, "Base"}, {"b", 10, Strike, "Base"}, {"c", 10, Normal, "Base"}}},
      // The saved state records both styles and the size, and "</>" restores them.
      {"<B><I><BIG>a</>b", {{"a", 12, BoldItalic, "Base"}, {"b", 10, BoldItalic, "Base"}}},
      // "</>" after a style tag closes that style.
      {"<B><I>a</>b", {{"a", 10, BoldItalic, "Base"}, {"b", 10, Bold, "Base"}}},
      {"<FONT SIZE=+4>a</FONT>b", {{"a", 14, Normal, "Base"}, {"b", 10, Normal, "Base"}}},
      {"<FONT SIZE=-3>a</FONT>b", {{"a", 7, Normal, "Base"}, {"b", 10, Normal, "Base"}}},
      {"<FONT SIZE=20>a</FONT>b", {{"a", 20, Normal, "Base"}, {"b", 10, Normal, "Base"}}},
      {"<FONT size=\"16\" weight=BOLD, ITALIC name=Deja Vu>a</FONT>b",
       {{"a", 16, BoldItalic, "DEJA VU"}, {"b", 10, Normal, "Base"}}},
      {"<FONT WEIGHT=NORMAL><B>a", {{"a", 10, Bold, "Base"}}},
      {"<PRE>a</PRE>b", {{"a", 10, Normal, "COURIER NEW"}, {"b", 10, Normal, "Base"}}},
      {"<H1>a</H1><H6>b</H6>c",
       {{"a", 48, Normal, "Base"}, {"b", 8, Normal, "Base"}, {"c", 10, Normal, "Base"}}},
      // Sizes never fall below one point.
      {"<SMALL><SMALL><SMALL><SMALL><SMALL><SMALL>a", {{"a", 1, Normal, "Base"}}},
      {"<FONT SIZE=-50>a", {{"a", 1, Normal, "Base"}}},
      {"<FONT SIZE=0>a", {{"a", 1, Normal, "Base"}}},
      {"<SUB><SUB><SUB><SUB>a", {{"a", 1, Normal, "Base"}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    ResetFont();
    const std::vector<Piece> Got = Draw(C.Text);
    ASSERT_EQ(Got.size(), C.Expected.size());
    for (size_t i = 0; i < Got.size(); ++i) {
      EXPECT_EQ(Got[i].Text, C.Expected[i].Text);
      EXPECT_FLOAT_EQ(Got[i].Size, C.Expected[i].Size);
      EXPECT_EQ(Got[i].Style, C.Expected[i].Style);
      EXPECT_EQ(Got[i].Family, C.Expected[i].Family);
    }
  }
}

TEST_F(HtmlTest, FontColourFromNamesNumbersAndSavedStates) {
  Draw("<FONT COLOR=RED>a<FONT COLOR=#00FF00>b</FONT>c</FONT>d");
  const std::vector<TCanvasRecord> R = Rec->RecordsOf(TRecordKind::FillText);
  ASSERT_EQ(R.size(), 4u);
  EXPECT_EQ(R[0].Color, 0xFFFF0000u);
  EXPECT_EQ(R[1].Color, 0xFF00FF00u);
  EXPECT_EQ(R[2].Color, 0xFFFF0000u);  // restored from a saved state (a signed number)
  EXPECT_EQ(R[3].Color, 0xFF000000u);

  // Any standard colour name, in the case and quotes a tag may give it.
  Rec->ClearRecords();
  Draw("<FONT COLOR=\"DarkSlateGray\">a<FONT COLOR=orchid>b</FONT></FONT>"
       "<FONT COLOR=claLightGoldenrodYellow>c");
  const std::vector<TCanvasRecord> N = Rec->RecordsOf(TRecordKind::FillText);
  ASSERT_EQ(N.size(), 3u);
  EXPECT_EQ(N[0].Color, 0xFF2F4F4Fu);
  EXPECT_EQ(N[1].Color, 0xFFDA70D6u);
  EXPECT_EQ(N[2].Color, 0xFFFAFAD2u);
}

TEST_F(HtmlTest, PiecesAreLaidOutFromThePenPosition) {
  struct Case {
    const char* Text;
    std::vector<std::pair<float, float>> XY;
  };
  const Case Cases[] = {
      {"ab<B>cd</B>e", {{100, 50}, {114, 50}, {128, 50}}},
      {"ab<BR>cd", {{100, 50}, {100, 62}}},
      {"ab<P>cd", {{100, 50}, {100, 62}}},
      {"ab\r\ncd", {{100, 50}}},  // one piece: a line end inside text does not move the pen
      {"ab<B>\r\ncd", {{100, 50}, {100, 62}}},
      // Sub- and superscript move by the height of the half-size font and back by as much.
      {"a<SUB>b</SUB>c", {{100, 50}, {107, 62}, {114, 50}}},
      {"a<SUPER>b</SUPER>c", {{100, 50}, {107, 44}, {114, 50}}},
      {"a<HR>b", {{100, 50}, {100, 62}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    ResetFont();
    const std::vector<Piece> Got = Draw(C.Text, 100, 50);
    ASSERT_EQ(Got.size(), C.XY.size());
    for (size_t i = 0; i < Got.size(); ++i) {
      EXPECT_FLOAT_EQ(Got[i].X, C.XY[i].first) << i;
      EXPECT_FLOAT_EQ(Got[i].Y, C.XY[i].second) << i;
    }
  }
}

TEST_F(HtmlTest, ExtentMeasuresWithoutDrawingAndKeepsTheFont) {
  struct Case {
    const char* Text;
    TSize Extent;
  };
  const Case Cases[] = {
      {"", {0, 0}},
      {"abc", {21, 12}},
      {"ab<BR>cdef", {28, 26}},  // first line's height + font height + 2
      {"<B>abc</B>de<BR><BR>x", {35, 40}},
      {"<HR>", {0, 0}},
      {"<BIG>ab<FONT NAME=X SIZE=30 COLOR=RED WEIGHT=STRIKE>c<PRE><H1>d", {28, 12}},
      {"a<IMG SRC=pic.png>b", {14, 12}},
  };
  TZelPen* Pen = Canvas->GetPen();
  Pen->SetColor(0xFF112233);
  Pen->SetWidth(3);
  Pen->SetStyle(TPenStyle::psDash);
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    Rec->ClearRecords();
    EXPECT_EQ(HtmlTextExtent(Canvas.get(), C.Text), C.Extent);
    EXPECT_TRUE(Rec->GetRecords().empty());
    TZelFont* F = Canvas->GetFont();
    EXPECT_EQ(F->GetFamily(), "Base");
    EXPECT_FLOAT_EQ(F->GetSizeFloat(), 10);
    EXPECT_EQ(F->GetStyle(), Normal);
    EXPECT_EQ(F->GetColor(), 0xFF000000u);
    EXPECT_EQ(Pen->GetColor(), 0xFF112233u);
    EXPECT_FLOAT_EQ(Pen->GetWidth(), 3);
    EXPECT_EQ(Pen->GetStyle(), TPenStyle::psDash);
  }
}

TEST_F(HtmlTest, EachCallHasItsOwnStacks) {
  // A text that leaves a font change open: the caller then gives the canvas another font.
  Draw("<BIG>a");
  Canvas->GetFont()->SetSizeFloat(20);
  // A later text cannot restore the font saved by the earlier one.
  std::vector<Piece> Got = Draw("</FONT>b");
  ASSERT_EQ(Got.size(), 1u);
  EXPECT_FLOAT_EQ(Got[0].Size, 20);

  Draw("<B>a");
  Canvas->GetFont()->SetStyle(Normal);
  Got = Draw("</>b");
  ASSERT_EQ(Got.size(), 2u);
  EXPECT_EQ(Got[0].Text, "</");  // no style of this call to close
  EXPECT_TRUE(State.empty());
  EXPECT_TRUE(StateFont.empty());

  // The caller's own entries are left alone.
  PushState("<I>");
  Draw("<B>x</>y");
  ASSERT_EQ(State.size(), 1u);
  EXPECT_EQ(PopState(), "<I>");
}

TEST_F(HtmlTest, BadFontValuesAreIgnoredWhilePaintingAndReportedWhenMeasuring) {
  struct Case {
    const char* Text;
    const char* Message;  // nullptr: a conversion error
    float PaintedSize;    // the known attributes still apply while painting
  };
  const Case Cases[] = {
      {"<FONT FACE=Arial SIZE=20>a", "Unknown field in FONT: FACE", 20},
      {"<font size=14 weight=heavy>a", "Unknown field in FONT WEIGHT=HEAVY", 14},
      {"<FONT WEIGHT=BOLD, HEAVY>a", "Unknown field in FONT WEIGHT=BOLD, HEAVY", 10},
      {"<FONT SIZE=big>a", nullptr, 10},
      {"<FONT SIZE= COLOR=RED>a", nullptr, 10},
      {"<FONT COLOR=NOCOLOUR SIZE=12>a", nullptr, 12},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    ResetFont();
    try {
      HtmlTextExtent(Canvas.get(), C.Text);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError&) {
      EXPECT_EQ(C.Message, nullptr);
    } catch (const Exception& E) {
      ASSERT_NE(C.Message, nullptr);
      EXPECT_EQ(E.GetMessage(), C.Message);
    }
    EXPECT_FLOAT_EQ(Canvas->GetFont()->GetSizeFloat(), 10);
    std::vector<Piece> Got;
    EXPECT_NO_THROW(Got = Draw(C.Text));
    ASSERT_EQ(Got.size(), 1u);
    EXPECT_FLOAT_EQ(Got[0].Size, C.PaintedSize);
  }
}

TEST_F(HtmlTest, AlignedTextIsLaidOutFromItsMeasuredWidth) {
  struct Case {
    int Align;
    float FirstX;
  };
  // "ab<BIG>cd" is 28 pixels wide; measuring must not leave the BIG font for the drawing.
  const Case Cases[] = {{ZelTextAlignLeft, 100}, {ZelTextAlignCenter, 86}, {ZelTextAlignRight, 72}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Align);
    ResetFont();
    Canvas->SetTextAlign(C.Align);
    const std::vector<Piece> Got = Draw("ab<BIG>cd", 100, 5);
    ASSERT_EQ(Got.size(), 2u);
    EXPECT_FLOAT_EQ(Got[0].X, C.FirstX);
    EXPECT_FLOAT_EQ(Got[0].Size, 10);
    EXPECT_FLOAT_EQ(Got[1].X, C.FirstX + 14);
    EXPECT_FLOAT_EQ(Got[1].Size, 12);
    EXPECT_EQ(Canvas->GetTextAlign(), C.Align);
  }
}

TEST_F(HtmlTest, CenteredPiecesSitInTheMiddleOfTheBounds) {
  Canvas->SetBounds(TRectF(0, 0, 200, 100));
  const std::vector<Piece> Got = Draw("<CENTER>ab</CENTER>cd", 5, 5);
  ASSERT_EQ(Got.size(), 2u);
  EXPECT_FLOAT_EQ(Got[0].X, 93);
  EXPECT_FLOAT_EQ(Got[1].X, 107);
}

TEST_F(HtmlTest, RuleIsAGreyLineOfAHundredPixels) {
  Draw("a<HR>", 10, 20);
  const std::vector<TCanvasRecord> Lines = Rec->RecordsOf(TRecordKind::DrawLine);
  ASSERT_EQ(Lines.size(), 1u);
  EXPECT_EQ(Lines[0].Points[0], TPointF(10, 20));
  EXPECT_EQ(Lines[0].Points[1], TPointF(110, 20));
  EXPECT_EQ(Lines[0].Color, 0xFFA9A9A9u);
}

TEST_F(HtmlTest, MissingImagesDrawABoxAndLeaveThePenWhereItWas) {
  struct Case {
    const char* Text;
    bool Box;
    TRectF Rect;
  };
  const Case Cases[] = {
      {"a<IMG SRC=pic.png>b", true, {17, 20, 57, 60}},
      {"a<IMG src=\"pic.png\" width=10 height=5>b", true, {17, 20, 27, 25}},
      {"a<IMG WIDTH=10>b", false, {}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    ResetFont();
    const std::vector<Piece> Got = Draw(C.Text, 10, 20);
    ASSERT_EQ(Got.size(), 2u);
    EXPECT_FLOAT_EQ(Got[1].X, 17);
    const auto Rects = Rec->RecordsOf(TRecordKind::DrawRect);
    const auto Fills = Rec->RecordsOf(TRecordKind::FillRect);
    const auto Lines = Rec->RecordsOf(TRecordKind::DrawLine);
    if (!C.Box) {
      EXPECT_TRUE(Rects.empty());
      EXPECT_TRUE(Lines.empty());
      continue;
    }
    ASSERT_EQ(Rects.size(), 1u);
    EXPECT_EQ(Rects[0].Color, 0xFFFF0000u);
    ASSERT_EQ(Fills.size(), 1u);
    EXPECT_EQ(Fills[0].Color, 0xFFFFFFFFu);
    ASSERT_EQ(Lines.size(), 2u);
    EXPECT_EQ(Lines[0].Points[0], C.Rect.TopLeft());
    EXPECT_EQ(Lines[0].Points[1], TPointF(C.Rect.Right - 1, C.Rect.Bottom - 1));
    EXPECT_EQ(Lines[1].Points[0], TPointF(C.Rect.Left, C.Rect.Bottom - 1));
    EXPECT_EQ(Lines[1].Points[1], TPointF(C.Rect.Right - 1, C.Rect.Top));
  }
}

TEST_F(HtmlTest, ImagesComeFromTheHooks) {
  TOwned<TBitmap> Source(Create<TBitmap>(3, 2));
  Source->Clear(0xFF0000FF);
  std::vector<Byte> Png = Source->SaveToBytes();
  String AskedExt, AskedSrc;
  int DownloadResult = 0;
  GraphicFileExtension = [&](const String& Ext) -> TBitmap* {
    AskedExt = Ext;
    return Ext == ".PNG" ? Create<TBitmap>() : nullptr;
  };
  GraphicDownload = [&](const String& Src, TStream* Target) {
    AskedSrc = Src;
    Target->WriteBuffer(Png.data(), static_cast<Int64>(Png.size()));
    return DownloadResult;
  };

  Draw("<IMG SRC=\"dir.v2/Pic.png\">", 4, 8);
  EXPECT_EQ(AskedExt, ".PNG");
  EXPECT_EQ(AskedSrc, "dir.v2/Pic.png");
  auto Bitmaps = Rec->RecordsOf(TRecordKind::DrawBitmap);
  ASSERT_EQ(Bitmaps.size(), 1u);
  EXPECT_EQ(Bitmaps[0].Rect, TRectF(4, 8, 7, 10));

  // Stretched to the given size, also at the canvas's left edge.
  ResetFont();
  Draw("<IMG SRC=a.png WIDTH=6 HEIGHT=4>x", 0, 0);
  Bitmaps = Rec->RecordsOf(TRecordKind::DrawBitmap);
  ASSERT_EQ(Bitmaps.size(), 1u);
  EXPECT_EQ(Bitmaps[0].Rect, TRectF(0, 0, 6, 4));
  EXPECT_EQ(HtmlTextExtent(Canvas.get(), "<IMG SRC=a.png WIDTH=6 HEIGHT=40>"), TSize(6, 40));

  // A picture that cannot be decoded: a clear error when measuring, the box when painting.
  const std::vector<Byte> Good = Png;
  Png.assign({'n', 'o', 't', 'p', 'n', 'g'});
  EXPECT_THROW(HtmlTextExtent(Canvas.get(), "<IMG SRC=a.png>"), Exception);
  ResetFont();
  EXPECT_NO_THROW(Draw("<IMG SRC=a.png>"));
  EXPECT_EQ(Rec->RecordsOf(TRecordKind::DrawRect).size(), 1u);
  Png = Good;

  // An unsupported extension or a failed download gives the missing-image box.
  for (const char* Text : {"<IMG SRC=a.gif>", "<IMG SRC=a.png>"}) {
    SCOPED_TRACE(Text);
    DownloadResult = String(Text).find("png") != String::npos ? 1 : 0;
    ResetFont();
    Draw(Text);
    EXPECT_TRUE(Rec->RecordsOf(TRecordKind::DrawBitmap).empty());
    EXPECT_EQ(Rec->RecordsOf(TRecordKind::DrawRect).size(), 1u);
  }
}

TEST_F(HtmlTest, MalformedTextNeverFailsWhilePainting) {
  const char* Texts[] = {
      "<", ">", "<<>>", "<FONT >", "<FONT", "<FONT =>", "<FONT SIZE=1e999>x", "<FONT SIZE=nan>x",
      "<IMG >", "<IMG SRC=>", "<IMG SRC=a.png WIDTH=2147483647 HEIGHT=-2147483648>x",
      "</></></>", "</SUB></SUPER></H1></PRE></FONT></CENTER>x", "&", "&amp", "\r\n<BR>\r\n",
      "<FONT COLOR=#>x", "<FONT WEIGHT=>x", "<FONT NAME=\"\">x"};
  for (const char* T : Texts) {
    SCOPED_TRACE(T);
    ResetFont();
    EXPECT_NO_THROW(Draw(T));
    EXPECT_GE(Canvas->GetFont()->GetSizeFloat(), 1);
    try {
      const TSize E = HtmlTextExtent(Canvas.get(), T);
      EXPECT_GE(E.Height, 0);
    } catch (const Exception&) {
      // a clear error for a FONT value that is not one
    }
  }
  // Many unclosed tags in one text: nothing is left over for the next call.
  String Long;
  for (int i = 0; i < 2000; ++i) Long += "<B><BIG>";
  EXPECT_NO_THROW(Draw(Long + "x"));
  EXPECT_TRUE(State.empty());
  EXPECT_TRUE(StateFont.empty());
}

TEST(HtmlFields, NamesAndValuesOfAttributeLists) {
  struct Case {
    const char* List;
    int Index;
    const char* Name;
    const char* Value;
  };
  const Case Cases[] = {
      {"size=12 name=Deja Vu color=red", 1, "size", "12"},
      {"size=12 name=Deja Vu color=red", 2, "name", "Deja Vu"},
      {"size=12 name=Deja Vu color=red", 3, "color", "red"},
      {"size=12 name=Deja Vu color=red", 4, "", ""},
      {" x = 5 ", 1, "x", "5"},
      {"a=1b=2", 1, "a", ""},  // no space before the next "=": the value is empty
      {"a=1b=2", 2, "1b", "2"},
      {"a=", 1, "a", ""},
      {"", 1, "", ""},
      {"a=1", 0, "", ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.List << " #" << C.Index);
    String Name = "old", Value = "old";
    HtmlField(C.List, C.Index, Name, Value);
    EXPECT_EQ(Name, C.Name);
    EXPECT_EQ(Value, C.Value);
  }
  EXPECT_EQ(HtmlNumFields("a=1 b=2 c"), 2);
  EXPECT_EQ(HtmlNumFields(""), 0);
}

TEST(HtmlFields, QuotesAndNumbers) {
  const std::pair<const char*, const char*> Quotes[] = {
      {"\"abc\"", "abc"}, {" 'a b' ", "a b"}, {"\"", ""}, {"", ""}, {"\"a'", "a"}, {"a\"b", "a\"b"}};
  for (const auto& [In, Out] : Quotes) EXPECT_EQ(StripQuotes(In), Out) << In;
  EXPECT_EQ(HTMLStrToInt(" \"12\" ", 0), 12);
  EXPECT_EQ(HTMLStrToInt("x", 7), 7);
  EXPECT_DOUBLE_EQ(HTMLStrToFloat("'2.5'"), 2.5);

}

}  // namespace
