#include "zelgraph/html/Html.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Graphics.h"
#include "platform/Math.h"
#include "platform/Streams.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/CanvasScopes.h"

namespace zel {

TGraphicFileExtensionFunc GraphicFileExtension;
TGraphicDownloadFunc GraphicDownload;
std::vector<String> State;
std::vector<String> StateFont;

namespace {

// Font sizes the tags may produce: never below 1 point, and bounded so that a bad SIZE cannot
// ask the platform for an absurd font.
constexpr float MinFontSize = 1.0f;
constexpr float MaxFontSize = 4096.0f;

float ClampSize(double V) {
  if (!std::isfinite(V)) return V > 0 ? MaxFontSize : MinFontSize;
  return static_cast<float>(std::clamp(V, double(MinFontSize), double(MaxFontSize)));
}

bool StartsWith(const String& S, const char* Prefix) { return S.rfind(Prefix, 0) == 0; }

bool EndsWith(const String& S, const char* Suffix) {
  const size_t N = std::char_traits<char>::length(Suffix);
  return S.size() >= N && S.compare(S.size() - N, N, Suffix) == 0;
}

String RemoveOuterDoubleQuotes(String S) {
  if (!S.empty() && S.front() == '"') S.erase(0, 1);
  if (!S.empty() && S.back() == '"') S.pop_back();
  return S;
}

// The upper-cased extension of a file name: from its last "." (not in a folder part) on.
String ExtractFileExtUpper(const String& FileName) {
  const size_t Dot = FileName.find_last_of("./\\:");
  if (Dot == String::npos || FileName[Dot] != '.') return String();
  return UpperCase(FileName.substr(Dot));
}

// Layout state of one call.
struct THtmlLayout {
  TZelCanvas* Canvas = nullptr;
  TZelFont* Font = nullptr;
  bool DoDraw = false;
  bool Strict = false;  // raise on FONT errors (measuring) instead of ignoring them (painting)
  float X = 0, Y = 0, LeftX = 0;
  int LineHeight = 0;
  TSize Extent;
  bool Center = false;
  bool FontPushed = false;
  bool LastWasFont = false;

  void SetSize(double V) { Font->SetSizeFloat(ClampSize(V)); }
  void SaveFont() {
    PushFont(HtmlFontState(Canvas));
    FontPushed = true;
  }
  void NewSize(double V) {
    SaveFont();
    SetSize(V);
  }
  void RestoreFont() {
    const String F = PopFont();
    if (!F.empty()) ProcessFont(F);
  }
  void AddStyle(TFontStyle S, const String& U) {
    Font->SetStyle(Font->GetStyle() + TFontStyles{S});
    PushState(U);
  }
  void RemoveStyle(TFontStyle S) { Font->SetStyle(Font->GetStyle() - TFontStyles{S}); }

  void ProcessFont(const String& F);
  void ApplyFontField(const String& Name, const String& Value);
  void DoToken(String T);
  void OutputText(String S);
  void DoImage(String T);
  void ImageNotFound(float AX, float AY, int W, int H);
};

void THtmlLayout::ApplyFontField(const String& Name, const String& Value) {
  if (Name == "NAME" || Name == "FAMILY") {
    Font->SetFamily(RemoveOuterDoubleQuotes(Value));
  } else if (Name == "SIZE") {
    const double V = HTMLStrToFloat(Value);
    const String T = Trim(Value);
    if (!T.empty() && (T[0] == '+' || T[0] == '-'))
      SetSize(Font->GetSizeFloat() + V);
    else
      SetSize(V);
  } else if (Name == "COLOR") {
    Font->SetColor(StringToAlphaColor(RemoveOuterDoubleQuotes(Trim(UpperCase(Value)))));
  } else if (Name == "WEIGHT") {
    const String W = UpperCase(StripQuotes(Value));
    TFontStyles Styles;
    if (W != "NORMAL") {
      const std::vector<String> Words = SplitString(W, ",");
      bool Any = false;
      for (const String& Raw : Words) {
        const String Word = Trim(Raw);
        if (Word == "BOLD")
          Styles.Include(TFontStyle::fsBold);
        else if (Word == "ITALIC")
          Styles.Include(TFontStyle::fsItalic);
        else if (Word == "UNDERLINE")
          Styles.Include(TFontStyle::fsUnderline);
        else if (Word == "STRIKE")
          Styles.Include(TFontStyle::fsStrikeOut);
        else
          throw Exception("Unknown field in FONT WEIGHT=" + Value);
        Any = true;
      }
      if (!Any) throw Exception("Unknown field in FONT WEIGHT=" + Value);
    }
    Font->SetStyle(Styles);
  } else {
    throw Exception("Unknown field in FONT: " + Name);
  }
}

void THtmlLayout::ProcessFont(const String& F) {
  // "<FONT " ... ">"
  String L = F.size() > 7 ? F.substr(6, F.size() - 7) : String();
  const int N = HtmlNumFields(L);
  for (int i = 1; i <= N; ++i) {
    String Name, Value;
    HtmlField(L, i, Name, Value);
    Name = UpperCase(Name);
    if (Strict) {
      ApplyFontField(Name, Value);
    } else {
      // While painting a value the renderer does not understand is skipped.
      try {
        ApplyFontField(Name, Value);
      } catch (const Exception&) {
      }
    }
  }
}

void THtmlLayout::ImageNotFound(float AX, float AY, int W, int H) {
  if (!DoDraw) return;
  TZelPen* Pen = Canvas->GetPen();
  Pen->SetStyle(TPenStyle::psSolid);
  Pen->SetColor(0xFFFF0000);
  Pen->SetWidth(1);
  TZelBrush* Brush = Canvas->GetBrush();
  Brush->SetKind(TBrushKind::Solid);
  Brush->SetColor(0xFFFFFFFF);
  if (W == 0) W = 40;
  if (H == 0) H = 40;
  Canvas->Rectangle(AX, AY, AX + W, AY + H);
  Canvas->Line(AX, AY, AX + W - 1, AY + H - 1);
  Canvas->Line(AX, AY + H - 1, AX + W - 1, AY);
}

void THtmlLayout::DoImage(String T) {
  int Width = 0, Height = 0;
  String Src;
  T.erase(0, std::min<size_t>(5, T.size()));
  if (StartsWith(T, "\r\n")) T.erase(0, 2);
  if (!T.empty() && T.back() == '>') T.pop_back();
  const int N = HtmlNumFields(T);
  for (int i = 1; i <= N; ++i) {
    String Name, Value;
    HtmlField(T, i, Name, Value);
    Name = UpperCase(Name);
    if (Name == "WIDTH")
      Width = HTMLStrToInt(Value, 0);
    else if (Name == "HEIGHT")
      Height = HTMLStrToInt(Value, 0);
    else if (Name == "SRC")
      Src = Value;
  }
  if (Src.empty()) return;
  Src = RemoveOuterDoubleQuotes(Trim(Src));
  const String Ext = ExtractFileExtUpper(Src);

  const float PX = static_cast<float>(Round(X));
  const float PY = static_cast<float>(Round(Y));
  TOwned<TBitmap> Bitmap(GraphicFileExtension ? GraphicFileExtension(Ext) : nullptr);
  if (!Bitmap) {
    ImageNotFound(PX, PY, Width, Height);
    return;
  }
  TOwned<TMemoryStream> Stream(new TMemoryStream());
  const int Result = GraphicDownload ? GraphicDownload(Src, Stream.get()) : -1;
  if (Result != 0 || Stream->GetSize() == 0) {
    ImageNotFound(PX, PY, Width, Height);
    return;
  }
  Stream->SetPosition(0);
  try {
    Bitmap->LoadFromStream(Stream.get());
  } catch (const Exception&) {
    // Measuring reports a picture that cannot be decoded; painting shows the missing image.
    if (Strict) throw;
    ImageNotFound(PX, PY, Width, Height);
    return;
  }
  if (Width == 0) Width = Bitmap->GetWidth();
  if (Height == 0) Height = Bitmap->GetHeight();
  if (DoDraw) {
    if (Width == Bitmap->GetWidth() && Height == Bitmap->GetHeight()) {
      Canvas->Draw(Round(X), Round(Y), Bitmap.get());
    } else if (Center) {
      Canvas->StretchDraw(TRectF(X - Width / 2, Y, X + Width / 2, Y + Height), Bitmap.get());
    } else {
      Canvas->StretchDraw(TRectF(X, Y, X + Width, Y + Height), Bitmap.get());
    }
  }
  X += Width;
  Y = Y + Height - 10;
  LineHeight = Height;
  Extent.Width = std::max(Extent.Width, Width);
  Extent.Height = std::max(Extent.Height, Height);
}

void THtmlLayout::OutputText(String S) {
  S = StringReplaceAll(S, "&lt;", "<");
  S = StringReplaceAll(S, "&gt;", ">");
  S = StringReplaceAll(S, "&amp;", "&");
  S = StringReplaceAll(S, "&quot;", "\"");
  bool LineEnd = false;
  if (EndsWith(S, "\r\n")) {
    S.resize(S.size() - 2);
    LineEnd = true;
  }
  if (!S.empty()) {
    const TPointF Sz = Canvas->TextSize(S);
    const float W = Sz.X;
    const float H = Sz.Y;
    if (Center) {
      const TRectF& B = Canvas->GetBounds();
      X = (B.Left + B.Right) * 0.5f - W * 0.5f;
    }
    float PieceY = Y;
    if (LineHeight == 0) {
      LineHeight = Canvas->GetFontHeight();
    } else if (H < LineHeight) {
      // A piece lower than its line sits on the line's bottom; the offset is this piece's
      // alone, so that several such pieces on one line do not add up.
      PieceY = Y + std::max(0.0f, LineHeight - H - 1);
    }
    if (DoDraw) Canvas->TextOut(X, PieceY, S);
    X += W;
    if (Extent.Width < X) Extent.Width = Round(X);
    if (LineHeight < H) LineHeight = Round(H) - 1;
    if (Extent.Height < LineHeight) Extent.Height = LineHeight;
  }
  if (LineEnd) {
    LineHeight = 0;
    X = LeftX;
  }
}

void THtmlLayout::DoToken(String T) {
  FontPushed = false;
  if (StartsWith(T, "\r\n")) {
    Y += Canvas->GetFontHeight();
    X = LeftX;
    LineHeight = 0;
    T.erase(0, 2);
    if (T.empty()) return;
  }
  const String U = UpperCase(T);
  static const std::array<const char*, 6> Headings{"<H1>", "<H2>", "<H3>", "<H4>", "<H5>", "<H6>"};
  static const std::array<const char*, 6> HeadingEnds{"</H1>", "</H2>", "</H3>",
                                                      "</H4>", "</H5>", "</H6>"};
  static const std::array<double, 6> HeadingSizes{48, 36, 24, 18, 12, 8};

  if (U == "<BR>" || U == "<P>") {
    X = LeftX;
    LineHeight = 0;
    const int H = Canvas->GetFontHeight();
    Y += H;
    Extent.Height += H + 2;
  } else if (U == "<BIG>") {
    NewSize(Font->GetSize() + 2.0);
  } else if (U == "<SMALL>") {
    NewSize(Font->GetSize() - 2.0);
  } else if (U == "</SUB>") {
    const int H = Canvas->GetFontHeight();
    RestoreFont();
    Y -= H;
  } else if (U == "<SUB>") {
    NewSize(Font->GetSize() * 0.5);
    Y += Canvas->GetFontHeight();
  } else if (U == "</SUPER>") {
    const int H = Canvas->GetFontHeight();
    RestoreFont();
    Y += H / 2;
  } else if (U == "<SUPER>") {
    NewSize(Font->GetSize() * 0.5);
    Y -= Canvas->GetFontHeight() / 2;
  } else if (auto It = std::find_if(Headings.begin(), Headings.end(),
                                    [&](const char* H) { return U == H; });
             It != Headings.end()) {
    NewSize(HeadingSizes[It - Headings.begin()]);
  } else if (U == "<PRE>") {
    SaveFont();
    ProcessFont("<FONT NAME=\"COURIER NEW\">");
  } else if (U == "<CENTER>") {
    Center = true;
  } else if (U == "<B>" || U == "<BOLD>" || U == "<STRONG>") {
    AddStyle(TFontStyle::fsBold, U);
  } else if (U == "<I>") {
    AddStyle(TFontStyle::fsItalic, U);
  } else if (U == "<U>") {
    AddStyle(TFontStyle::fsUnderline, U);
  } else if (U == "<STRIKE>") {
    AddStyle(TFontStyle::fsStrikeOut, U);
  } else if (StartsWith(U, "<IMG ")) {
    DoImage(T);
    return;
  } else if (U == "</B>" || U == "</BOLD>" || U == "</STRONG>") {
    RemoveStyle(TFontStyle::fsBold);
  } else if (U == "</I>") {
    RemoveStyle(TFontStyle::fsItalic);
  } else if (U == "</U>") {
    RemoveStyle(TFontStyle::fsUnderline);
  } else if (U == "</STRIKE>") {
    RemoveStyle(TFontStyle::fsStrikeOut);
  } else if (std::find_if(HeadingEnds.begin(), HeadingEnds.end(),
                          [&](const char* H) { return U == H; }) != HeadingEnds.end()) {
    RestoreFont();
  } else if (StartsWith(U, "</FONT")) {
    RestoreFont();
  } else if (U == "</PRE>") {
    RestoreFont();
  } else if (U == "</CENTER>") {
    Center = false;
  } else if (StartsWith(U, "<FONT ")) {
    SaveFont();
    ProcessFont(U);
  } else if (U == "</>") {
    if (LastWasFont) {
      RestoreFont();
    } else {
      String E = PopState();
      if (!E.empty()) E.erase(0, 1);
      DoToken("</" + E);
    }
  } else if (U == "<HR>") {
    X = LeftX;
    TZelPen* Pen = Canvas->GetPen();
    Pen->SetStyle(TPenStyle::psSolid);
    Pen->SetWidth(1);
    Pen->SetColor(0xFFA9A9A9);
    if (DoDraw) {
      const float RX = static_cast<float>(Round(X));
      Canvas->DoHorizLine(RX, RX + 100, static_cast<float>(Round(Y)));
    }
    Y += Canvas->GetFontHeight();
  } else {
    OutputText(T);
    return;
  }
  LastWasFont = FontPushed;
}

// Gives the call its own, empty stacks and puts the caller's back afterwards, also on failure.
class TStackScope {
 public:
  TStackScope() {
    FState.swap(State);
    FStateFont.swap(StateFont);
  }
  ~TStackScope() {
    FState.swap(State);
    FStateFont.swap(StateFont);
  }
  TStackScope(const TStackScope&) = delete;
  TStackScope& operator=(const TStackScope&) = delete;

 private:
  std::vector<String> FState, FStateFont;
};

// Puts the canvas font and pen back as they were (used when measuring).
class TFontPenScope {
 public:
  explicit TFontPenScope(TZelCanvas* Canvas)
      : FFont(Canvas->GetFont()),
        FPen(Canvas->GetPen()),
        FFamily(FFont->GetFamily()),
        FSize(FFont->GetSize()),
        FStyle(FFont->GetStyle()),
        FColor(FFont->GetColor()),
        FPenStyle(FPen->GetStyle()),
        FPenWidth(FPen->GetWidth()),
        FPenColor(FPen->GetColor()) {}
  ~TFontPenScope() {
    try {
      FFont->SetFamily(FFamily);
      FFont->SetSize(FSize);
      FFont->SetStyle(FStyle);
      FFont->SetColor(FColor);
      FPen->SetStyle(FPenStyle);
      FPen->SetWidth(FPenWidth);
      FPen->SetColor(FPenColor);
    } catch (...) {
    }
  }
  TFontPenScope(const TFontPenScope&) = delete;
  TFontPenScope& operator=(const TFontPenScope&) = delete;

 private:
  TZelFont* FFont;
  TZelPen* FPen;
  String FFamily;
  float FSize;
  TFontStyles FStyle;
  TAlphaColor FColor;
  TPenStyle FPenStyle;
  decltype(FPen->GetWidth()) FPenWidth;
  TAlphaColor FPenColor;
};

TSize RunLayout(TZelCanvas* Canvas, float X, float Y, const String& Text, bool DoDraw,
                bool Strict) {
  if (!Canvas) throw EArgumentException("HTML text needs a canvas");
  TStackScope Stacks;
  std::unique_ptr<TFontPenScope> Keep;
  if (!DoDraw) Keep = std::make_unique<TFontPenScope>(Canvas);

  THtmlLayout L;
  L.Canvas = Canvas;
  L.Font = Canvas->GetFont();
  L.DoDraw = DoDraw;
  L.Strict = Strict;
  L.X = X;
  L.Y = Y;
  L.LeftX = X;
  L.LineHeight = Canvas->GetFontHeight();

  // Tokens: a text piece up to the next "<", or a tag from "<" to the first ">" after it. A "<"
  // without a later ">" is dropped and the rest is one text piece.
  const size_t N = Text.size();
  size_t P = 0;
  while (P < N) {
    const size_t Lt = Text.find('<', P);
    String Token;
    if (Lt == String::npos) {
      Token = Text.substr(P);
      P = N;
    } else if (Lt > P) {
      Token = Text.substr(P, Lt - P);
      P = Lt;
    } else {
      const size_t Gt = Text.find('>', P + 1);
      if (Gt == String::npos) {
        Token = Text.substr(P + 1);
        P = N;
      } else {
        Token = Text.substr(P, Gt - P + 1);
        P = Gt + 1;
      }
    }
    if (!Token.empty()) L.DoToken(std::move(Token));
  }
  return L.Extent;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

int HtmlNumFields(const String& S) { return static_cast<int>(std::count(S.begin(), S.end(), '=')); }

void HtmlField(const String& S, int Index, String& Name, String& Value) {
  Name.clear();
  Value.clear();
  if (Index < 1) return;
  size_t Start = 0;
  for (int i = 1;; ++i) {
    const size_t Eq = S.find('=', Start);
    if (Eq == String::npos) {
      Name.clear();
      return;
    }
    Name = Trim(S.substr(Start, Eq - Start));
    Start = Eq + 1;
    // The value runs to the last space before the next "=", or to the end.
    size_t End;
    const size_t Next = S.find('=', Start);
    if (Next == String::npos) {
      End = S.size();
    } else {
      const size_t Sp = S.rfind(' ', Next);
      // No space before the next "=": the value is empty and the next name starts right here.
      End = (Sp == String::npos || Sp < Start) ? Start : Sp;
    }
    if (i == Index) {
      Value = Trim(S.substr(Start, End - Start));
      return;
    }
    Start = End;
  }
}

String StripQuotes(const String& S) {
  String R = Trim(S);
  if (!R.empty() && (R.front() == '"' || R.front() == '\'')) R.erase(0, 1);
  if (!R.empty() && (R.back() == '"' || R.back() == '\'')) R.pop_back();
  return R;
}

double HTMLStrToFloat(const String& S) { return StrToFloat(StripQuotes(S)); }

int HTMLStrToInt(const String& S, int Default) { return StrToIntDef(StripQuotes(S), Default); }

void PushState(const String& S) { State.push_back(S); }

String PopState() {
  if (State.empty()) return String();
  String S = std::move(State.back());
  State.pop_back();
  return S;
}

void PushFont(const String& S) { StateFont.push_back(S); }

String PopFont() {
  if (StateFont.empty()) return String();
  String S = std::move(StateFont.back());
  StateFont.pop_back();
  return S;
}

String HtmlFontState(TZelCanvas* Canvas) {
  TZelFont* F = Canvas->GetFont();
  String Styles;
  const TFontStyles S = F->GetStyle();
  auto Add = [&](TFontStyle Item, const char* Word) {
    if (!S.Contains(Item)) return;
    if (!Styles.empty()) Styles += ", ";
    Styles += Word;
  };
  Add(TFontStyle::fsBold, "BOLD");
  Add(TFontStyle::fsItalic, "ITALIC");
  Add(TFontStyle::fsUnderline, "UNDERLINE");
  Add(TFontStyle::fsStrikeOut, "STRIKE");
  if (Styles.empty()) Styles = "NORMAL";
  return "<FONT size=" + FormatFloat("0.##", F->GetSize()) + " name=" + F->GetFamily() +
         " color=" + IntToStr(static_cast<std::int32_t>(F->GetColor())) + " weight=" + Styles +
         ">";
}

TSize InternalHtmlText(TZelCanvas* Canvas, float X, float Y, const String& Text, bool DoDraw) {
  return RunLayout(Canvas, X, Y, Text, DoDraw, !DoDraw);
}

TSize HtmlTextExtent(TZelCanvas* Canvas, const String& Text) {
  return RunLayout(Canvas, 0, 0, Text, false, true);
}

void HtmlTextOut(TZelCanvas* Canvas, float X, float Y, const String& Text) {
  if (!Canvas) throw EArgumentException("HTML text needs a canvas");
  const int Align = Canvas->GetTextAlign();
  if (Align == ZelTextAlignCenter || Align == ZelTextAlignRight) {
    int W = RunLayout(Canvas, 0, 0, Text, false, false).Width;
    if (Align == ZelTextAlignCenter) W = W / 2;
    TRestoreOnExit RestoreAlign([Canvas, Align] { Canvas->SetTextAlign(Align); });
    Canvas->SetTextAlign(ZelTextAlignLeft);
    RunLayout(Canvas, X - W, Y, Text, true, false);
  } else {
    RunLayout(Canvas, X, Y, Text, true, false);
  }
}

void ZelHtmlUnitStart() {
  State.clear();
  StateFont.clear();
}

void ZelHtmlUnitEnd() {
  State.clear();
  StateFont.clear();
  State.shrink_to_fit();
  StateFont.shrink_to_fit();
  GraphicFileExtension = nullptr;
  GraphicDownload = nullptr;
}

}  // namespace zel
