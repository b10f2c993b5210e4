#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zel {

ZEL_DEFINE_CLASS(TCanvas, TObject)

// ---------------------------------------------------------------------------------------------
// Text layout

TTextLayout::TTextLayout(TCanvas* ACanvas) : FCanvas(ACanvas) {
  FFont.OnChanged = [this](TObject*) {
    Invalidate();
    FontChanged();
  };
}

TTextLayout::~TTextLayout() = default;

void TTextLayout::BeginUpdate() { ++FUpdating; }

void TTextLayout::EndUpdate() {
  if (FUpdating > 0) --FUpdating;
}

void TTextLayout::SetTopLeft(TPointF V) {
  if (FTopLeft == V) return;
  FTopLeft = V;
  Invalidate();
}

void TTextLayout::SetMaxSize(TPointF V) {
  if (FMaxSize == V) return;
  FMaxSize = V;
  Invalidate();
}

void TTextLayout::SetText(const String& V) {
  if (FText == V) return;
  FText = V;
  Invalidate();
}

void TTextLayout::SetFont(const TFont* V) {
  if (V) FFont.Assign(const_cast<TFont*>(V));
}

void TTextLayout::SetWordWrap(bool V) {
  if (FWordWrap == V) return;
  FWordWrap = V;
  Invalidate();
}

void TTextLayout::SetHorizontalAlign(TTextAlign V) {
  if (FHorizontalAlign == V) return;
  FHorizontalAlign = V;
  Invalidate();
}

void TTextLayout::SetVerticalAlign(TTextAlign V) {
  if (FVerticalAlign == V) return;
  FVerticalAlign = V;
  Invalidate();
}

TRectF TTextLayout::GetTextRect() {
  Layout();
  return FTextRect;
}

const std::vector<TTextLine>& TTextLayout::GetLines() {
  Layout();
  return FLines;
}

namespace {
// Splits at CR LF, CR and LF.
std::vector<String> SplitParagraphs(const String& S) {
  std::vector<String> R;
  String Cur;
  for (std::size_t i = 0; i < S.size(); ++i) {
    char C = S[i];
    if (C == '\r' || C == '\n') {
      R.push_back(std::move(Cur));
      Cur.clear();
      if (C == '\r' && i + 1 < S.size() && S[i + 1] == '\n') ++i;
    } else {
      Cur += C;
    }
  }
  R.push_back(std::move(Cur));
  return R;
}
}  // namespace

void TTextLayout::Layout() {
  if (FValid) return;
  FLines.clear();
  float LineH = GetLineHeight();
  if (!FText.empty()) {
    for (String& Para : SplitParagraphs(FText)) {
      if (!FWordWrap || !(FMaxSize.X > 0) || !(MeasureLine(Para) > FMaxSize.X)) {
        FLines.push_back({std::move(Para), {}});
        continue;
      }
      // Greedy wrap between words; a word longer than the width keeps a line of its own.
      String Line;
      std::size_t Pos = 0;
      while (Pos < Para.size()) {
        std::size_t End = Para.find(' ', Pos);
        if (End == String::npos) End = Para.size();
        String Word = Para.substr(Pos, End - Pos);
        String Trial = Line.empty() ? Word : Line + " " + Word;
        if (!Line.empty() && MeasureLine(Trial) > FMaxSize.X) {
          FLines.push_back({std::move(Line), {}});
          Line = std::move(Word);
        } else {
          Line = std::move(Trial);
        }
        Pos = End + 1;
      }
      FLines.push_back({std::move(Line), {}});
    }
  }
  float TotalH = LineH * float(FLines.size());
  float Y = FTopLeft.Y;
  auto Shift = [](TTextAlign A, float Room) {
    switch (A) {
      case TTextAlign::Leading: return 0.f;
      case TTextAlign::Center: return Room / 2;
      case TTextAlign::Trailing: return Room;
    }
    return 0.f;
  };
  Y += Shift(FVerticalAlign, FMaxSize.Y - TotalH);
  TTextAlign H = FHorizontalAlign;
  if (FRightToLeft && H != TTextAlign::Center)
    H = H == TTextAlign::Leading ? TTextAlign::Trailing : TTextAlign::Leading;
  bool First = true;
  FTextRect = {FTopLeft.X, Y, FTopLeft.X, Y};
  for (TTextLine& L : FLines) {
    float W = MeasureLine(L.Text);
    float X = FTopLeft.X + Shift(H, FMaxSize.X - W);
    L.Rect = {X, Y, X + W, Y + LineH};
    FTextRect = First ? L.Rect : TRectF::Union(FTextRect, L.Rect);
    First = false;
    Y += LineH;
  }
  FValid = true;
}

void TTextLayout::RenderLayout(TCanvas* Canvas) {
  if (!Canvas) return;
  TBrush SavedFill;
  SavedFill.Assign(Canvas->GetFill());
  TFont SavedFont;
  SavedFont.Assign(Canvas->GetFont());
  Canvas->GetFill()->SetKind(TBrushKind::Solid);
  Canvas->GetFill()->SetColor(FColor);
  Canvas->SetFont(&FFont);
  TFillTextFlags Flags;
  if (FRightToLeft) Flags.Include(TFillTextFlag::RightToLeft);
  Canvas->FillText({FTopLeft.X, FTopLeft.Y, FTopLeft.X + FMaxSize.X, FTopLeft.Y + FMaxSize.Y},
                   FText, FWordWrap, FOpacity, Flags, FHorizontalAlign, FVerticalAlign);
  Canvas->SetFont(&SavedFont);
  Canvas->SetFill(&SavedFill);
}

std::unique_ptr<TTextLayout> TTextLayoutManager::TextLayoutByCanvas(TCanvas* Canvas) {
  if (Canvas) return Canvas->CreateTextLayout();
  return DefaultTextLayout(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Canvas

class TCanvasSaveState {
 public:
  TMatrix Matrix;
  bool Clipped = false;
  TRectF ClipRect;
  TBrush Fill;
  TStrokeBrush Stroke;
  TFont Font;
};

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

bool TCanvas::BeginScene() {
  ++FSceneCount;
  return GetWidth() > 0 && GetHeight() > 0;
}

void TCanvas::EndScene() {
  if (FSceneCount > 0) --FSceneCount;
}

void TCanvas::SetMatrix(const TMatrix& M) {
  if (FMatrix == M) return;
  FMatrix = M;
  StateChanged();
}

void TCanvas::MultiplyMatrix(const TMatrix& M) { SetMatrix(M * FMatrix); }

TCanvasSaveState* TCanvas::SaveState() {
  auto S = std::make_unique<TCanvasSaveState>();
  S->Matrix = FMatrix;
  S->Clipped = FClipped;
  S->ClipRect = FClipRect;
  S->Fill.Assign(&FFill);
  S->Stroke.Assign(&FStroke);
  S->Font.Assign(&FFont);
  FSaved.push_back(std::move(S));
  return FSaved.back().get();
}

void TCanvas::RestoreState(TCanvasSaveState* State) {
  auto It = std::find_if(FSaved.begin(), FSaved.end(),
                         [State](const auto& P) { return P.get() == State; });
  if (It == FSaved.end()) return;
  FMatrix = State->Matrix;
  FClipped = State->Clipped;
  FClipRect = State->ClipRect;
  FFill.Assign(&State->Fill);
  FStroke.Assign(&State->Stroke);
  FFont.Assign(&State->Font);
  FSaved.erase(It, FSaved.end());
  StateChanged();
}

void TCanvas::IntersectClipRect(const TRectF& R) {
  TRectF D = TransformRect(R.Normalized(), FMatrix);
  if (std::isnan(D.Left) || std::isnan(D.Top) || std::isnan(D.Right) || std::isnan(D.Bottom))
    D = {};
  FClipRect = FClipped ? TRectF::Intersect(FClipRect, D) : (D.IsEmpty() ? TRectF{} : D);
  FClipped = true;
  StateChanged();
}

void TCanvas::SetFill(const TBrush* V) {
  if (V) FFill.Assign(const_cast<TBrush*>(V));
}

void TCanvas::SetStroke(const TStrokeBrush* V) {
  if (V) FStroke.Assign(const_cast<TStrokeBrush*>(V));
}

void TCanvas::SetFont(const TFont* V) {
  if (V) FFont.Assign(const_cast<TFont*>(V));
}

void TCanvas::SetAntialiasing(bool V) {
  if (FAntialiasing == V) return;
  FAntialiasing = V;
  StateChanged();
}

bool TCanvas::NothingToDraw() const {
  return GetWidth() <= 0 || GetHeight() <= 0 || (FClipped && FClipRect.IsEmpty());
}

bool TCanvas::CanReducePolyline(float Opacity) const {
  const TStrokeBrush& S = FStroke;
  float T = S.GetThickness();
  // A thin line in device pixels is merged per device column, as a scale-1 line per pixel.
  const float Scale = ThinInDevicePixels() ? 1 : GetScale();
  float ScaleX = std::fabs(FMatrix.m11) * Scale;
  return !FAntialiasing && Opacity >= 1 && S.GetKind() == TBrushKind::Solid &&
         AlphaOf(S.GetColor()) == 0xFF && T > 0 && T * Scale <= 1 &&
         S.GetDash() == TStrokeDash::Solid && FMatrix.IsAxisAligned() && ScaleX <= 1;
}

bool TCanvas::ThinInDevicePixels() const {
  const TStrokeBrush& S = FStroke;
  const float T = S.GetThickness();
  return DrawsThinInDevicePixels() && !FAntialiasing && S.GetKind() == TBrushKind::Solid && T > 0 && T <= 1 &&
         S.GetDash() == TStrokeDash::Solid && FMatrix.m11 == 1 && FMatrix.m22 == 1 && FMatrix.IsAxisAligned() &&
         std::isfinite(FMatrix.m31) && std::isfinite(FMatrix.m32);
}

bool TCanvas::PictureMergesPolylines(float Opacity) const { return CanReducePolyline(Opacity); }

bool TCanvas::PictureReplacesPixels(float Opacity) const { return !FAntialiasing && Opacity >= 1; }

bool TCanvas::PictureMergesColumnStrokes(float Opacity) const {
  // Thin lines whose pixels are the canvas' own, or thin lines in device pixels at a whole
  // scale: a shift by whole pixels, and whole units on whole device pixels.
  const float S = GetScale();
  return CanReducePolyline(Opacity) && (S == 1 || (ThinInDevicePixels() && S == std::floor(S))) &&
         FMatrix.m11 == 1 && FMatrix.m22 == 1 && FMatrix.m31 == std::floor(FMatrix.m31) &&
         FMatrix.m32 == std::floor(FMatrix.m32);
}

float TCanvas::TextWidth(const String& Text) {
  if (!FMeasureLayout) FMeasureLayout = CreateTextLayout();
  FMeasureLayout->SetFont(&FFont);
  FMeasureLayout->SetText(Text);
  return FMeasureLayout->GetTextRect().Width();
}

float TCanvas::TextHeight(const String& Text) {
  if (!FMeasureLayout) FMeasureLayout = CreateTextLayout();
  FMeasureLayout->SetFont(&FFont);
  FMeasureLayout->SetText(Text);
  return FMeasureLayout->GetTextRect().Height();
}

std::unique_ptr<TTextLayout> TCanvas::CreateTextLayout() {
  return TTextLayoutManager::DefaultTextLayout(this);
}

// ---------------------------------------------------------------------------------------------
// Column strokes

TColumnStrokes::TColumnStrokes(TCanvas* Canvas, float Opacity)
    : FCanvas(Canvas), FOpacity(Opacity), FFlatCap(Canvas->GetStroke()->GetCap() == TStrokeCap::Flat) {}

void TColumnStrokes::MoveTo(TPointF P) {
  Finish();
  FPos = P;
}

void TColumnStrokes::StartOrDraw(TPointF P) {
  if (P.X == FPos.X && WholePixel(P.X) && WholePixel(P.Y) && WholePixel(FPos.Y)) {
    if (!FRun) {
      FRun = true;
      FMin = FMax = FPos.Y;
      FDotAtMax = false;
    }
    if (P.Y > FMax) {
      FMax = P.Y;
      FDotAtMax = false;
    }
    FMin = std::min(FMin, P.Y);
    if (P.Y == FPos.Y && P.Y == FMax) FDotAtMax = true;
  } else {
    Finish();
    FCanvas->DrawLine(FPos, P, FOpacity);
  }
  FPos = P;
}

void TColumnStrokes::Finish() {
  if (!FRun) return;
  FRun = false;
  // The rows FMin up to FMax, FMax itself only with round caps; a line of no length at FMax
  // sets that pixel.
  const TPointF Top(FPos.X, FMin), Bottom(FPos.X, FMax);
  if (FMax > FMin) FCanvas->DrawLine(Top, Bottom, FOpacity);
  if (FDotAtMax && (FFlatCap || FMax == FMin)) FCanvas->DrawLine(Bottom, Bottom, FOpacity);
}

// ---------------------------------------------------------------------------------------------
// Polyline reduction

void ReducePolylineByColumn(const TPointF* Points, std::size_t Count, std::vector<TPointF>& Out) {
  Out.clear();
  if (Count == 0 || !Points) return;
  auto Push = [&Out](TPointF P) {
    if (Out.empty() || !(Out.back() == P)) Out.push_back(P);
  };
  std::size_t i = 0;
  while (i < Count) {
    // A point that is not finite breaks the line: it stays, alone.
    if (!std::isfinite(Points[i].X) || !std::isfinite(Points[i].Y)) {
      Out.push_back(Points[i++]);
      continue;
    }
    // The column of the first point: X within [Lo, Hi).
    double C = std::floor(double(Points[i].X) + 0.5);
    double Lo = C - 0.5, Hi = C + 0.5;
    std::size_t First = i, MinI = i, MaxI = i;
    float MinY = Points[i].Y, MaxY = Points[i].Y;
    std::size_t j = i + 1;
    for (; j < Count; ++j) {
      double X = Points[j].X;
      if (!(X >= Lo && X < Hi)) break;
      float Y = Points[j].Y;
      if (!std::isfinite(Y)) break;
      if (Y < MinY) {
        MinY = Y;
        MinI = j;
      } else if (Y > MaxY) {
        MaxY = Y;
        MaxI = j;
      }
    }
    std::size_t Last = j - 1;
    Push(Points[First]);
    if (MinI < MaxI) {
      Push(Points[MinI]);
      Push(Points[MaxI]);
    } else {
      Push(Points[MaxI]);
      Push(Points[MinI]);
    }
    Push(Points[Last]);
    i = j;
  }
}

}  // namespace zel
