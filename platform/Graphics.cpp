#include "platform/Graphics.h"

#include <QColor>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <numbers>

#include "platform/Exceptions.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"

namespace zel {

ZEL_DEFINE_CLASS(TGradient, TPersistent)
ZEL_DEFINE_CLASS(TBrush, TPersistent)
ZEL_DEFINE_CLASS(TStrokeBrush, TBrush)
ZEL_DEFINE_CLASS(TFont, TPersistent)
ZEL_DEFINE_CLASS(TPathData, TPersistent)

// ---------------------------------------------------------------------------------------------
// Colours

namespace {

// The standard named colours by upper-case name, read once from Qt's list.
const std::map<String, TAlphaColor>& NamedColors() {
  static const std::map<String, TAlphaColor> Names = [] {
    std::map<String, TAlphaColor> M;
    for (const QString& Name : QColor::colorNames())
      M.emplace(Name.toUpper().toStdString(), TAlphaColor(QColor(Name).rgba()));
    M.emplace("NULL", TAlphaColors::Null);
    return M;
  }();
  return Names;
}

bool ParseHexColor(const String& Digits, TAlphaColor& Out) {
  if (Digits.empty() || Digits.size() > 8) return false;
  TAlphaColor V = 0;
  for (char C : Digits) {
    int D;
    if (C >= '0' && C <= '9')
      D = C - '0';
    else if (C >= 'A' && C <= 'F')
      D = C - 'A' + 10;
    else if (C >= 'a' && C <= 'f')
      D = C - 'a' + 10;
    else
      return false;
    V = (V << 4) | TAlphaColor(D);
  }
  Out = V;
  return true;
}

bool ParseDecimalColor(const String& U, TAlphaColor& Out) {
  const size_t First = (U[0] == '-' || U[0] == '+') ? 1 : 0;
  if (First == U.size() || U.size() > 12) return false;
  std::int64_t V = 0;
  for (size_t K = First; K < U.size(); ++K) {
    if (U[K] < '0' || U[K] > '9') return false;
    V = V * 10 + (U[K] - '0');
  }
  if (U[0] == '-') V = -V;
  if (V < std::numeric_limits<std::int32_t>::min() || V > 0xFFFFFFFFLL) return false;
  Out = static_cast<TAlphaColor>(static_cast<std::uint32_t>(V));
  return true;
}

}  // namespace

bool IdentToAlphaColor(const String& Name, TAlphaColor& Color) {
  String U = UpperCase(Name);
  if (U.rfind("CLA", 0) == 0) U.erase(0, 3);
  const auto& Names = NamedColors();
  auto It = Names.find(U);
  if (It == Names.end()) return false;
  Color = It->second;
  return true;
}

TAlphaColor StringToAlphaColor(const String& S) {
  const String T = Trim(S);
  TAlphaColor C = 0;
  if (!T.empty() && (T[0] == '#' || T[0] == '$')) {
    if (ParseHexColor(T.substr(1), C)) {
      if (T.size() == 7) C |= 0xFF000000u;  // six digits give an opaque colour
      return C;
    }
  } else if (!T.empty() && (IdentToAlphaColor(T, C) || ParseDecimalColor(T, C))) {
    return C;
  }
  throw EConvertError("'" + T + "' is not a valid colour");
}

TAlphaColor ColorWithOpacity(TAlphaColor C, float Opacity) {
  if (!(Opacity < 1)) return C;  // also NaN: treated as opaque
  if (Opacity <= 0) return C & 0x00FFFFFF;
  auto A = static_cast<TAlphaColor>(std::lround(AlphaOf(C) * Opacity));
  return (C & 0x00FFFFFF) | (std::min<TAlphaColor>(A, 255) << 24);
}

TAlphaColor InterpolateColor(TAlphaColor A, TAlphaColor B, float T) {
  if (!(T > 0)) return A;
  if (T >= 1) return B;
  auto Mix = [T](unsigned X, unsigned Y) {
    return static_cast<TAlphaColor>(std::lround(float(X) + (float(Y) - float(X)) * T));
  };
  return (Mix(AlphaOf(A), AlphaOf(B)) << 24) | (Mix(RedOf(A), RedOf(B)) << 16) |
         (Mix(GreenOf(A), GreenOf(B)) << 8) | Mix(BlueOf(A), BlueOf(B));
}

// ---------------------------------------------------------------------------------------------
// Gradients

void TGradientPoint::SetColor(TAlphaColor V) {
  if (FColor == V) return;
  FColor = V;
  if (FOwner) FOwner->Changed();
}

void TGradientPoint::SetOffset(float V) {
  if (FOffset == V) return;
  FOffset = V;
  if (FOwner) FOwner->Changed();
}

void TGradientPoints::SetTwoDefault() {
  FItems.clear();
  FTwoDefault = true;
}

void TGradientPoints::Make() const {
  if (!FTwoDefault) return;
  FTwoDefault = false;
  FItems.reserve(2);
  FItems.push_back(std::make_unique<TGradientPoint>(FOwner, TAlphaColors::Black, 0.0f));
  FItems.push_back(std::make_unique<TGradientPoint>(FOwner, TAlphaColors::White, 1.0f));
}

TGradientPoint& TGradientPoints::GetItem(int Index) const {
  if (Index < 0 || Index >= GetCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  Make();
  return *FItems[std::size_t(Index)];
}

TGradientPoint& TGradientPoints::Add(TAlphaColor Color, float Offset) {
  return Insert(GetCount(), Color, Offset);
}

TGradientPoint& TGradientPoints::Insert(int Index, TAlphaColor Color, float Offset) {
  if (Index < 0 || Index > GetCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  Make();
  auto It = FItems.insert(FItems.begin() + Index,
                          std::make_unique<TGradientPoint>(FOwner, Color, Offset));
  if (FOwner) FOwner->Changed();
  return **It;
}

void TGradientPoints::Delete(int Index) {
  GetItem(Index);  // makes the default stops too
  FItems.erase(FItems.begin() + Index);
  if (FOwner) FOwner->Changed();
}

void TGradientPoints::Clear() {
  if (FItems.empty() && !FTwoDefault) return;
  FTwoDefault = false;
  FItems.clear();
  if (FOwner) FOwner->Changed();
}

TGradient::TGradient() { FPoints.SetTwoDefault(); }

TGradient::~TGradient() = default;

void TGradient::Changed() {
  if (OnChanged) OnChanged(this);
}

void TGradient::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TGradient*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  if (S == this) return;
  {
    TEventMute Mute(OnChanged);
    FPoints.Clear();
    if (S->FPoints.FTwoDefault)
      FPoints.SetTwoDefault();
    else
      for (int i = 0; i < S->FPoints.GetCount(); ++i)
        FPoints.Add(S->FPoints[i].GetColor(), S->FPoints[i].GetOffset());
    FStyle = S->FStyle;
    FStartPosition = S->FStartPosition;
    FStopPosition = S->FStopPosition;
    FRadialTransform = S->FRadialTransform;
  }
  Changed();
}

void TGradient::SetStyle(TGradientStyle V) {
  if (FStyle == V) return;
  FStyle = V;
  Changed();
}

void TGradient::SetStartPosition(TPointF V) {
  if (FStartPosition == V) return;
  FStartPosition = V;
  Changed();
}

void TGradient::SetStopPosition(TPointF V) {
  if (FStopPosition == V) return;
  FStopPosition = V;
  Changed();
}

void TGradient::SetRadialTransform(const TRadialTransform& V) {
  if (FRadialTransform == V) return;
  FRadialTransform = V;
  Changed();
}

void TGradient::EnsureTwoPoints() {
  if (FPoints.GetCount() == 2) return;
  TAlphaColor A = GetColor(), B = GetColor1();
  TEventMute Mute(OnChanged);
  FPoints.Clear();
  FPoints.Add(A, 0);
  FPoints.Add(B, 1);
}

TAlphaColor TGradient::GetColor() const {
  return FPoints.GetCount() > 0 ? FPoints[0].GetColor() : TAlphaColor(0);
}

void TGradient::SetColor(TAlphaColor V) {
  EnsureTwoPoints();
  FPoints[0].SetColor(V);
}

TAlphaColor TGradient::GetColor1() const {
  return FPoints.GetCount() > 0 ? FPoints[FPoints.GetCount() - 1].GetColor() : TAlphaColor(0);
}

void TGradient::SetColor1(TAlphaColor V) {
  EnsureTwoPoints();
  FPoints[1].SetColor(V);
}

TAlphaColor TGradient::InterpolateColor(float Offset) const {
  int N = FPoints.GetCount();
  if (N == 0) return 0;
  std::vector<std::pair<float, TAlphaColor>> S;
  S.reserve(std::size_t(N));
  for (int i = 0; i < N; ++i) S.emplace_back(FPoints[i].GetOffset(), FPoints[i].GetColor());
  std::stable_sort(S.begin(), S.end(),
                   [](const auto& A, const auto& B) { return A.first < B.first; });
  if (!(Offset > S.front().first)) return S.front().second;
  if (Offset >= S.back().first) return S.back().second;
  for (std::size_t i = 1; i < S.size(); ++i) {
    if (Offset <= S[i].first) {
      float Span = S[i].first - S[i - 1].first;
      float T = Span > 0 ? (Offset - S[i - 1].first) / Span : 1;
      return zel::InterpolateColor(S[i - 1].second, S[i].second, T);
    }
  }
  return S.back().second;
}

// ---------------------------------------------------------------------------------------------
// Brushes

TBrush::TBrush(TBrushKind AKind, TAlphaColor AColor)
    : FKind(AKind), FColor(AColor), FGradient(new TGradient) {
  FGradient->OnChanged = [this](TObject*) { Changed(); };
}

TBrush::~TBrush() = default;

void TBrush::Changed() {
  if (OnChanged) OnChanged(this);
}

void TBrush::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TBrush*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  if (S == this) return;
  {
    TEventMute Mute(OnChanged);
    FKind = S->FKind;
    FColor = S->FColor;
    FGradient->Assign(S->FGradient.get());
    FBitmap = S->FBitmap;
  }
  Changed();
}

void TBrush::SetKind(TBrushKind V) {
  if (FKind == V) return;
  FKind = V;
  Changed();
}

void TBrush::SetColor(TAlphaColor V) {
  if (FColor == V) return;
  FColor = V;
  Changed();
}

void TBrush::SetGradient(TGradient* V) {
  if (V) FGradient->Assign(V);
}

void TBrush::SetBitmap(TBitmap* V) {
  if (FBitmap == V) return;
  FBitmap = V;
  Changed();
}

TStrokeBrush::TStrokeBrush(TBrushKind AKind, TAlphaColor AColor) : TBrush(AKind, AColor) {}

void TStrokeBrush::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TStrokeBrush*>(Source); S && S != this) {
    {
      TEventMute Mute(OnChanged);
      TBrush::Assign(S);
      FThickness = S->FThickness;
      FCap = S->FCap;
      FJoin = S->FJoin;
      FDash = S->FDash;
      FCustomDash = S->FCustomDash;
      FDashOffset = S->FDashOffset;
    }
    Changed();
    return;
  }
  TBrush::Assign(Source);
}

void TStrokeBrush::SetThickness(float V) {
  if (FThickness == V) return;
  FThickness = V;
  Changed();
}

void TStrokeBrush::SetCap(TStrokeCap V) {
  if (FCap == V) return;
  FCap = V;
  Changed();
}

void TStrokeBrush::SetJoin(TStrokeJoin V) {
  if (FJoin == V) return;
  FJoin = V;
  Changed();
}

void TStrokeBrush::SetDash(TStrokeDash V) {
  if (FDash == V) return;
  FDash = V;
  Changed();
}

void TStrokeBrush::SetCustomDash(const std::vector<float>& Dash, float Offset) {
  FCustomDash = Dash;
  FDashOffset = Offset;
  FDash = TStrokeDash::Custom;
  Changed();
}

std::vector<float> TStrokeBrush::GetDashArray() const {
  switch (FDash) {
    case TStrokeDash::Solid: return {};
    case TStrokeDash::Dash: return {3, 1};
    case TStrokeDash::Dot: return {1, 1};
    case TStrokeDash::DashDot: return {3, 1, 1, 1};
    case TStrokeDash::DashDotDot: return {3, 1, 1, 1, 1, 1};
    case TStrokeDash::Custom: return FCustomDash;
  }
  return {};
}

// ---------------------------------------------------------------------------------------------
// Fonts

namespace {
constexpr const char* FallbackFamily = "DejaVu Sans";
constexpr float FallbackSize = 12;
}  // namespace

TFont::TFont() : FFamily(TFont::DefaultFamily()), FSize(TFont::DefaultSize()) {}

String TFont::DefaultFamily() const {
  if (auto* S = TPlatformServices::Current().GetSystemFontService()) {
    String F = S->GetDefaultFontFamilyName();
    if (!F.empty()) return F;
  }
  return FallbackFamily;
}

float TFont::DefaultSize() const {
  if (auto* S = TPlatformServices::Current().GetSystemFontService()) {
    float V = S->GetDefaultFontSize();
    if (V > 0) return V;
  }
  return FallbackSize;
}

void TFont::DoChanged() {
  if (OnChanged) OnChanged(this);
}

void TFont::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TFont*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  if (S == this || Equals(*S)) return;
  FFamily = S->FFamily;
  FSize = S->FSize;
  FStyle = S->FStyle;
  DoChanged();
}

void TFont::SetFamily(const String& V) {
  if (FFamily == V) return;
  FFamily = V;
  DoChanged();
}

void TFont::SetSize(float V) {
  if (FSize == V) return;
  FSize = V;
  DoChanged();
}

void TFont::SetStyle(TFontStyles V) {
  if (FStyle == V) return;
  FStyle = V;
  DoChanged();
}

// ---------------------------------------------------------------------------------------------
// Path data

void TPathData::Changed() {
  if (OnChanged) OnChanged(this);
}

void TPathData::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TPathData*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  if (S == this) return;
  FPoints = S->FPoints;
  FStart = S->FStart;
  Changed();
}

void TPathData::MoveTo(TPointF P) {
  FPoints.push_back({TPathPointKind::MoveTo, P});
  FStart = P;
  Changed();
}

void TPathData::LineTo(TPointF P) {
  if (FPoints.empty() || FPoints.back().Kind == TPathPointKind::Close) {
    // A line needs a start: the figure begins where the last one started (or at the point).
    FPoints.push_back({TPathPointKind::MoveTo, FPoints.empty() ? P : FStart});
    if (FPoints.size() == 1) FStart = P;
  }
  FPoints.push_back({TPathPointKind::LineTo, P});
  Changed();
}

void TPathData::CurveTo(TPointF Control1, TPointF Control2, TPointF EndPoint) {
  if (FPoints.empty() || FPoints.back().Kind == TPathPointKind::Close) {
    FPoints.push_back({TPathPointKind::MoveTo, FPoints.empty() ? Control1 : FStart});
    if (FPoints.size() == 1) FStart = Control1;
  }
  FPoints.push_back({TPathPointKind::CurveTo, Control1});
  FPoints.push_back({TPathPointKind::CurveTo, Control2});
  FPoints.push_back({TPathPointKind::CurveTo, EndPoint});
  Changed();
}

namespace {
// The cosines and sines an arc's curves are made of, worked out once for a start and a sweep:
// a rounded box draws the same four corner arcs at every place it is drawn.
struct TArcTrig {
  float StartAngle = NAN, SweepAngle = NAN;  // NaN: an empty entry, equal to no angle
  int Segments = 0;
  double K = 0;  // the length of the control arms, over the radius
  double CA = 1, SA = 0;  // at the start angle
  // Of segment i: at its start (T0) and at its end (T1).
  std::array<double, 4> C0{}, S0{}, C1{}, S1{};
};

const TArcTrig& ArcTrig(float StartAngle, float SweepAngle) {
  thread_local std::array<TArcTrig, 8> Kept;
  thread_local std::size_t Next = 0;
  for (const TArcTrig& T : Kept)
    if (T.StartAngle == StartAngle && T.SweepAngle == SweepAngle) return T;
  TArcTrig& T = Kept[Next];
  Next = (Next + 1) % Kept.size();
  constexpr double DegToRad = std::numbers::pi / 180;
  double A0 = StartAngle * DegToRad;
  double Sweep = std::clamp(double(SweepAngle), -360.0, 360.0) * DegToRad;
  // At most four quarters (the sweep is held to a full turn).
  T.Segments = std::clamp(int(std::ceil(std::fabs(Sweep) / (std::numbers::pi / 2) - 1e-9)), 1, 4);
  double Step = Sweep / T.Segments;
  T.K = 4.0 / 3.0 * std::tan(Step / 4);
  T.CA = std::cos(A0);
  T.SA = std::sin(A0);
  for (int i = 0; i < T.Segments; ++i) {
    double T0 = A0 + Step * i, T1 = T0 + Step;
    const auto I = std::size_t(i);
    T.C0[I] = std::cos(T0);
    T.S0[I] = std::sin(T0);
    T.C1[I] = std::cos(T1);
    T.S1[I] = std::sin(T1);
  }
  T.StartAngle = StartAngle;
  T.SweepAngle = SweepAngle;
  return T;
}
}  // namespace

void TPathData::AddArc(TPointF Center, TPointF Radius, float StartAngle, float SweepAngle) {
  if (!std::isfinite(StartAngle) || !std::isfinite(SweepAngle) || !std::isfinite(Radius.X) ||
      !std::isfinite(Radius.Y) || !std::isfinite(Center.X) || !std::isfinite(Center.Y))
    return;
  const TArcTrig& T = ArcTrig(StartAngle, SweepAngle);
  auto At = [&](double C, double S) {
    return TPointF{float(Center.X + Radius.X * C), float(Center.Y + Radius.Y * S)};
  };
  TPointF Start = At(T.CA, T.SA);
  {
    TEventMute Mute(OnChanged);
    if (FPoints.empty() || FPoints.back().Kind == TPathPointKind::Close)
      MoveTo(Start);
    else if (!(FPoints.back().Point == Start))
      LineTo(Start);
    const double K = T.K;
    for (std::size_t i = 0; i < std::size_t(T.Segments); ++i) {
      double C0 = T.C0[i], S0 = T.S0[i], C1 = T.C1[i], S1 = T.S1[i];
      TPointF P1{float(Center.X + Radius.X * (C0 - K * S0)), float(Center.Y + Radius.Y * (S0 + K * C0))};
      TPointF P2{float(Center.X + Radius.X * (C1 + K * S1)), float(Center.Y + Radius.Y * (S1 - K * C1))};
      CurveTo(P1, P2, At(C1, S1));
    }
  }
  Changed();
}

void TPathData::AddEllipse(const TRectF& R) {
  TRectF N = R.Normalized();
  TPointF C = N.CenterPoint();
  TPointF Rad{N.Width() / 2, N.Height() / 2};
  {
    TEventMute Mute(OnChanged);
    MoveTo({N.Right, C.Y});
    AddArc(C, Rad, 0, 360);
    ClosePath();
  }
  Changed();
}

void TPathData::AddRectangle(const TRectF& R, float XRadius, float YRadius, TCorners Corners,
                             TCornerType CornerType) {
  TRectF N = R.Normalized();
  float RX = std::clamp(std::isfinite(XRadius) ? std::fabs(XRadius) : 0.f, 0.f, N.Width() / 2);
  float RY = std::clamp(std::isfinite(YRadius) ? std::fabs(YRadius) : 0.f, 0.f, N.Height() / 2);
  bool Rounded = RX > 0 && RY > 0;
  {
    TEventMute Mute(OnChanged);
    // Corner from the point where the previous edge ends, to the point where the next begins.
    // The rectangle is a figure of its own: its first point is a move.
    bool First = true;
    auto Corner = [&](TCorner C, TPointF Vertex, TPointF From, TPointF To, float StartAngle) {
      bool Plain = !Rounded || !Corners.Contains(C);
      TPointF Begin = Plain ? Vertex : From;
      if (First)
        MoveTo(Begin);
      else
        LineTo(Begin);
      First = false;
      if (Plain) return;
      switch (CornerType) {
        case TCornerType::Round: {
          TPointF Center{Vertex.X == N.Left ? N.Left + RX : N.Right - RX,
                         Vertex.Y == N.Top ? N.Top + RY : N.Bottom - RY};
          AddArc(Center, {RX, RY}, StartAngle, 90);
          break;
        }
        case TCornerType::InnerRound: {
          // A concave quarter about the corner itself.
          AddArc(Vertex, {RX, RY}, StartAngle - 90, -90);
          break;
        }
        case TCornerType::Bevel:
        case TCornerType::InnerLine: LineTo(To); break;
      }
    };
    // Clockwise from the top-left corner.
    Corner(TCorner::TopLeft, {N.Left, N.Top}, {N.Left, N.Top + RY}, {N.Left + RX, N.Top}, 180);
    Corner(TCorner::TopRight, {N.Right, N.Top}, {N.Right - RX, N.Top}, {N.Right, N.Top + RY}, 270);
    Corner(TCorner::BottomRight, {N.Right, N.Bottom}, {N.Right, N.Bottom - RY},
           {N.Right - RX, N.Bottom}, 0);
    Corner(TCorner::BottomLeft, {N.Left, N.Bottom}, {N.Left + RX, N.Bottom},
           {N.Left, N.Bottom - RY}, 90);
    ClosePath();
  }
  Changed();
}

void TPathData::ClosePath() {
  if (FPoints.empty() || FPoints.back().Kind == TPathPointKind::Close) return;
  FPoints.push_back({TPathPointKind::Close, FStart});
  Changed();
}

void TPathData::Clear() {
  FPoints.clear();
  FStart = {};
  Changed();
}

void TPathData::ApplyMatrix(const TMatrix& M) {
  for (auto& P : FPoints) P.Point = P.Point * M;
  FStart = FStart * M;
  Changed();
}

void TPathData::Translate(float DX, float DY) { ApplyMatrix(TMatrix::CreateTranslation(DX, DY)); }

void TPathData::Scale(float SX, float SY) { ApplyMatrix(TMatrix::CreateScaling(SX, SY)); }

const TPathPoint& TPathData::GetPoint(int Index) const {
  if (Index < 0 || Index >= GetCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FPoints[std::size_t(Index)];
}

TPointF TPathData::GetLastPoint() const { return FPoints.empty() ? TPointF{} : FPoints.back().Point; }

namespace {
// Extends [Lo, Hi] by the extremes of the cubic P0..P3 in one coordinate.
void CubicExtent(double P0, double P1, double P2, double P3, float& Lo, float& Hi) {
  auto Take = [&](double V) {
    Lo = std::min(Lo, float(V));
    Hi = std::max(Hi, float(V));
  };
  Take(P3);
  // Derivative: 3[(P1-P0)(1-t)^2 + 2(P2-P1)t(1-t) + (P3-P2)t^2] = a t^2 + b t + c.
  double A = -P0 + 3 * P1 - 3 * P2 + P3, B = 2 * (P0 - 2 * P1 + P2), C = P1 - P0;
  auto Eval = [&](double T) {
    double U = 1 - T;
    return U * U * U * P0 + 3 * U * U * T * P1 + 3 * U * T * T * P2 + T * T * T * P3;
  };
  auto Try = [&](double T) {
    if (T > 0 && T < 1) Take(Eval(T));
  };
  if (std::fabs(A) < 1e-12) {
    if (std::fabs(B) > 1e-12) Try(-C / B);
    return;
  }
  double D = B * B - 4 * A * C;
  if (D < 0) return;
  double SD = std::sqrt(D);
  Try((-B + SD) / (2 * A));
  Try((-B - SD) / (2 * A));
}
}  // namespace

TRectF TPathData::GetBounds() const {
  if (FPoints.empty()) return {};
  TRectF B{FPoints[0].Point.X, FPoints[0].Point.Y, FPoints[0].Point.X, FPoints[0].Point.Y};
  TPointF Cur = FPoints[0].Point;
  for (std::size_t i = 0; i < FPoints.size(); ++i) {
    const TPathPoint& P = FPoints[i];
    switch (P.Kind) {
      case TPathPointKind::MoveTo:
      case TPathPointKind::LineTo:
        B.Left = std::min(B.Left, P.Point.X);
        B.Right = std::max(B.Right, P.Point.X);
        B.Top = std::min(B.Top, P.Point.Y);
        B.Bottom = std::max(B.Bottom, P.Point.Y);
        Cur = P.Point;
        break;
      case TPathPointKind::CurveTo:
        if (i + 2 < FPoints.size()) {
          TPointF C1 = P.Point, C2 = FPoints[i + 1].Point, E = FPoints[i + 2].Point;
          CubicExtent(Cur.X, C1.X, C2.X, E.X, B.Left, B.Right);
          CubicExtent(Cur.Y, C1.Y, C2.Y, E.Y, B.Top, B.Bottom);
          Cur = E;
        }
        i += 2;
        break;
      case TPathPointKind::Close: Cur = P.Point; break;
    }
  }
  return B;
}

}  // namespace zel
