#include "zelgraph/procs/Procs.h"

#include <cmath>
#include <iterator>

#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/PanelExtended.h"

namespace zel {

std::vector<TAlphaColor> ZelColorPalette;
String ZelFieldsSeparator = ";";
String ZelDefaultCanvas;
bool ZelClipWhenPrinting = true;
bool ZelClipWhenMetafiling = true;
bool PrintZelPanel = true;

String ZelStr(std::int64_t Value) { return IntToStr(Value); }

TAlphaColor GetDefaultColor(int Index) {
  const TAlphaColor* Colors = ZelColorPalette.data();
  long long Count = static_cast<long long>(ZelColorPalette.size());
  if (Count == 0) {
    Colors = DefaultPalette;
    Count = static_cast<long long>(std::size(DefaultPalette));
  }
  long long I = Index % Count;
  if (I < 0) I += Count;
  return Colors[I];
}

void SetDefaultColorPalette() {
  ZelColorPalette.assign(std::begin(DefaultPalette), std::end(DefaultPalette));
}

void SetDefaultColorPalette(std::span<const TAlphaColor> Colors, int HighIndex) {
  if (HighIndex == -1) {
    SetDefaultColorPalette();
    return;
  }
  if (HighIndex < -1 || static_cast<std::size_t>(HighIndex) >= Colors.size())
    throw ERangeError(SRangeError);
  ZelColorPalette.assign(Colors.begin(), Colors.begin() + HighIndex + 1);
}

namespace {

// Position of Sep in Text at or after From; npos when absent or Sep is empty.
std::size_t FindSeparator(const String& Text, const String& Sep, std::size_t From) {
  if (Sep.empty()) return String::npos;
  return Text.find(Sep, From);
}

}  // namespace

int ZelNumFields(const String& Text, const String& Separator) {
  if (Text.empty()) return 0;
  int Result = 1;
  std::size_t From = 0;
  for (;;) {
    std::size_t At = FindSeparator(Text, Separator, From);
    if (At == String::npos) break;
    From = At + Separator.size();
    if (From < Text.size()) ++Result;
  }
  return Result;
}

int ZelNumFields(const String& Text) { return ZelNumFields(Text, ZelFieldsSeparator); }

String ZelExtractField(const String& Text, int Index, const String& Separator) {
  if (Text.empty() || Index < 1) return String();
  std::size_t From = 0;
  for (int I = 1; I < Index; ++I) {
    std::size_t At = FindSeparator(Text, Separator, From);
    if (At == String::npos) return String();
    From = At + Separator.size();
  }
  std::size_t At = FindSeparator(Text, Separator, From);
  return At == String::npos ? Text.substr(From) : Text.substr(From, At - From);
}

String ZelExtractField(const String& Text, int Index) {
  return ZelExtractField(Text, Index, ZelFieldsSeparator);
}

String ReplaceChar(const String& Text, char Old, char New) {
  String Result;
  Result.reserve(Text.size());
  for (char C : Text) {
    if (C != Old)
      Result += C;
    else if (New != '\0')
      Result += New;
  }
  return Result;
}

TRectF RectFromCenter(float X, float Y, float XSize, float YSize) {
  if (YSize == 0) YSize = XSize;
  return TRectF(X - XSize, Y - YSize, X + XSize, Y + YSize);
}

TRectF RectFromCenter(const TPointF& P, float XSize, float YSize) {
  return RectFromCenter(P.X, P.Y, XSize, YSize);
}

namespace {

double Distance(double X0, double Y0, double X1, double Y1) { return std::hypot(X1 - X0, Y1 - Y0); }

double DistanceToSegment(double PX, double PY, double X0, double Y0, double X1, double Y1) {
  const double DX = X1 - X0, DY = Y1 - Y0;
  const double Len2 = DX * DX + DY * DY;
  if (Len2 == 0) return Distance(PX, PY, X0, Y0);
  const double T = ((PX - X0) * DX + (PY - Y0) * DY) / Len2;
  if (T < 0) return Distance(PX, PY, X0, Y0);
  if (T > 1) return Distance(PX, PY, X1, Y1);
  return Distance(PX, PY, X0 + T * DX, Y0 + T * DY);
}

}  // namespace

bool PointInLine(const TPointF& P, float X0, float Y0, float X1, float Y1, float Tolerance) {
  if ((P.X == X0 && P.Y == Y0) || (P.X == X1 && P.Y == Y1)) return true;
  return DistanceToSegment(P.X, P.Y, X0, Y0, X1, Y1) <= double(Tolerance) + 1;
}

bool PointInLine(const TPointF& P, const TPointF& P0, const TPointF& P1, int Tolerance) {
  return PointInLine(P, P0.X, P0.Y, P1.X, P1.Y, float(Tolerance));
}

bool PointInPolygon(const TPointF& P, std::span<const TPointF> Points, int HighIndex) {
  if (HighIndex < 0) return false;
  if (static_cast<std::size_t>(HighIndex) >= Points.size()) throw ERangeError(SRangeError);
  bool Result = false;
  int J = HighIndex;
  for (int I = 0; I <= HighIndex; ++I) {
    const TPointF& A = Points[I];
    const TPointF& B = Points[J];
    if (((A.Y <= P.Y && P.Y < B.Y) || (B.Y <= P.Y && P.Y < A.Y)) &&
        double(P.X) < double(B.X - A.X) * double(P.Y - A.Y) / double(B.Y - A.Y) + A.X)
      Result = !Result;
    J = I;
  }
  return Result;
}

bool PointInTriangle(const TPointF& P, float X0, float X1, float Y0, float Y1) {
  const TPointF Points[3] = {{X0, Y0}, {(X0 + X1) / 2, Y1}, {X1, Y0}};
  return PointInPolygon(P, Points, 2);
}

bool PointInHorizTriangle(const TPointF& P, float Y0, float Y1, float X0, float X1) {
  const TPointF Points[3] = {{X0, Y0}, {X1, (Y0 + Y1) / 2}, {X0, Y1}};
  return PointInPolygon(P, Points, 2);
}

bool PointInEllipse(const TPointF& P, float Left, float Top, float Right, float Bottom) {
  const double CX = (double(Left) + Right) / 2, CY = (double(Top) + Bottom) / 2;
  const double A = CX - Left, B = CY - Top;
  const double A2 = A * A, B2 = B * B;
  if (A2 == 0 || B2 == 0) return false;
  const double DX = P.X - CX, DY = P.Y - CY;
  return DX * DX / A2 + DY * DY / B2 <= 1;
}

bool PointInEllipse(const TPointF& P, const TRectF& Rect) {
  return PointInEllipse(P, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
}

namespace {

// Heap sort of Left..Right through the callbacks: the fallback that bounds the quick sort's
// work on inputs that split it badly (organ pipes, few distinct values).
void ZelHeapSort(int Left, int Right, const TZelSortCompare& Compare, const TZelSortSwap& Swap) {
  const long long N = static_cast<long long>(Right) - Left + 1;
  auto SiftDown = [&](long long Root, long long End) {  // End: one past the heap
    while (true) {
      long long Child = 2 * Root + 1;
      if (Child >= End) return;
      if (Child + 1 < End && Compare(Left + static_cast<int>(Child), Left + static_cast<int>(Child + 1)) < 0)
        ++Child;
      if (Compare(Left + static_cast<int>(Root), Left + static_cast<int>(Child)) >= 0) return;
      Swap(Left + static_cast<int>(Root), Left + static_cast<int>(Child));
      Root = Child;
    }
  };
  for (long long Start = N / 2 - 1; Start >= 0; --Start) SiftDown(Start, N);
  for (long long End = N - 1; End > 0; --End) {
    Swap(Left, Left + static_cast<int>(End));
    SiftDown(0, End);
  }
}

}  // namespace

void ZelSort(int Left, int Right, const TZelSortCompare& Compare, const TZelSortSwap& Swap) {
  // Ranges still to sort; the left part of a split is taken first, as a recursion would, but
  // the depth lives on the heap. A range split deeper than twice the logarithm of the whole is
  // finished by heap sort, so the work stays N log N whatever the input; inputs the quick sort
  // splits well are ordered exactly as by the quick sort alone.
  struct TRange {
    int L, R, Depth;
  };
  if (Left >= Right) return;
  int MaxDepth = 0;
  for (long long Size = static_cast<long long>(Right) - Left + 1; Size > 1; Size >>= 1) MaxDepth += 2;
  std::vector<TRange> Pending;
  Pending.push_back({Left, Right, 0});
  while (!Pending.empty()) {
    const TRange Range = Pending.back();
    Pending.pop_back();
    const int L = Range.L, R = Range.R;
    if (Range.Depth > MaxDepth) {
      ZelHeapSort(L, R, Compare, Swap);
      continue;
    }
    int I = L, J = R, M = static_cast<int>((static_cast<long long>(L) + R) / 2);
    while (I < J) {
      while (I < R && Compare(I, M) < 0) ++I;
      while (J > L && Compare(M, J) < 0) --J;
      if (I < J) {
        Swap(I, J);
        if (M == I)
          M = J;
        else if (M == J)
          M = I;
      }
      if (I <= J) {
        ++I;
        --J;
      }
    }
    if (I < R) Pending.push_back({I, R, Range.Depth + 1});
    if (L < J) Pending.push_back({L, J, Range.Depth + 1});
  }
}

void ZelPrepareXorPen(TCustomZelPanelExtended* Panel, TZelPen* Pen) {
  if (!Panel || !Pen || !Panel->GetCanvas()) return;
  TCanvas3D* C = Panel->GetCanvas();
  C->AssignVisiblePenColor(Pen, (~Panel->GetBackColor()) ^ Pen->GetColor());
  C->GetPen()->SetMode(TPenMode::pmNotXor);
}

double ZelTickCount() {
  ITimerService* Timer = TPlatformServices::Current().GetTimerService();
  return Timer ? Timer->GetTick() * 1000.0 : 0.0;
}

namespace {

// Runs Read on the options key when it opens and holds the value Name.
template <typename T, typename TRead>
T ReadOption(const String& Name, T Default, TRead Read) {
  TOwned<TRegistry> Registry(Create<TRegistry>(KEY_READ));
  Registry->SetRootKey(HKEY_CURRENT_USER);
  if (Registry->OpenKeyReadOnly(ZelOptionsKey) && Registry->ValueExists(Name))
    return Read(*Registry);
  return Default;
}

}  // namespace

int ZelReadIntegerOption(const String& Name, int Default) {
  return ReadOption(Name, Default, [&](TRegistry& R) { return int(R.ReadInteger(Name)); });
}

String ZelReadStringOption(const String& Name, const String& Default) {
  return ReadOption(Name, Default, [&](TRegistry& R) { return R.ReadString(Name); });
}

void ZelProcsUnitStart() {
  ZelDefaultCanvas.clear();
  // Emptied at the end; a later start needs the separator again.
  ZelFieldsSeparator = ";";
  SetDefaultColorPalette();
}

void ZelProcsUnitEnd() {
  ZelColorPalette.clear();
  ZelColorPalette.shrink_to_fit();
  ZelDefaultCanvas.clear();
  ZelFieldsSeparator.clear();
}

}  // namespace zel
