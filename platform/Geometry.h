// Points, sizes, rectangles (integer and single precision) and the 2D affine matrix.
//
// Coordinates are screen coordinates: X grows to the right, Y grows downwards.
// TRectF and TPointF hold single-precision floats.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace zel {

struct TPoint {
  int X = 0;
  int Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int AX, int AY) : X(AX), Y(AY) {}
  constexpr bool operator==(const TPoint&) const = default;
  constexpr TPoint operator+(TPoint P) const { return {X + P.X, Y + P.Y}; }
  constexpr TPoint operator-(TPoint P) const { return {X - P.X, Y - P.Y}; }
};

struct TPointF {
  float X = 0;
  float Y = 0;
  constexpr TPointF() = default;
  constexpr TPointF(float AX, float AY) : X(AX), Y(AY) {}
  constexpr TPointF(TPoint P) : X(float(P.X)), Y(float(P.Y)) {}
  constexpr bool operator==(const TPointF&) const = default;
  constexpr TPointF operator+(TPointF P) const { return {X + P.X, Y + P.Y}; }
  constexpr TPointF operator-(TPointF P) const { return {X - P.X, Y - P.Y}; }
  constexpr TPointF operator*(float F) const { return {X * F, Y * F}; }
  constexpr TPointF operator-() const { return {-X, -Y}; }
  TPointF& operator+=(TPointF P) {
    X += P.X;
    Y += P.Y;
    return *this;
  }
  void Offset(float DX, float DY) {
    X += DX;
    Y += DY;
  }
  float Length() const { return std::hypot(X, Y); }
  float Distance(TPointF P) const { return std::hypot(X - P.X, Y - P.Y); }
  // Nearest whole pixel, halves to even, saturated.
  TPoint Round() const;
};

struct TSize {
  int Width = 0;
  int Height = 0;
  constexpr TSize() = default;
  constexpr TSize(int W, int H) : Width(W), Height(H) {}
  constexpr bool operator==(const TSize&) const = default;
};

struct TSizeF {
  float Width = 0;
  float Height = 0;
  constexpr TSizeF() = default;
  constexpr TSizeF(float W, float H) : Width(W), Height(H) {}
  constexpr bool operator==(const TSizeF&) const = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int L, int T, int R, int B) : Left(L), Top(T), Right(R), Bottom(B) {}
  constexpr TRect(TPoint TL, TPoint BR) : Left(TL.X), Top(TL.Y), Right(BR.X), Bottom(BR.Y) {}
  constexpr bool operator==(const TRect&) const = default;
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  // True when the rectangle has no area (Right <= Left or Bottom <= Top).
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  // Half-open containment: Left <= X < Right, Top <= Y < Bottom.
  constexpr bool Contains(TPoint P) const {
    return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom;
  }
  void Offset(int DX, int DY) {
    Left += DX;
    Right += DX;
    Top += DY;
    Bottom += DY;
  }
  void Inflate(int DX, int DY) {
    Left -= DX;
    Right += DX;
    Top -= DY;
    Bottom += DY;
  }
};

struct TRectF {
  float Left = 0;
  float Top = 0;
  float Right = 0;
  float Bottom = 0;
  constexpr TRectF() = default;
  constexpr TRectF(float L, float T, float R, float B) : Left(L), Top(T), Right(R), Bottom(B) {}
  constexpr TRectF(TPointF TL, TPointF BR) : Left(TL.X), Top(TL.Y), Right(BR.X), Bottom(BR.Y) {}
  constexpr TRectF(const TRect& R)
      : Left(float(R.Left)), Top(float(R.Top)), Right(float(R.Right)), Bottom(float(R.Bottom)) {}
  // Exact comparison of the four edges (NaN never equals).
  constexpr bool operator==(const TRectF&) const = default;

  constexpr float Width() const { return Right - Left; }
  constexpr float Height() const { return Bottom - Top; }
  void SetWidth(float W) { Right = Left + W; }
  void SetHeight(float H) { Bottom = Top + H; }
  constexpr TPointF TopLeft() const { return {Left, Top}; }
  constexpr TPointF BottomRight() const { return {Right, Bottom}; }
  constexpr TPointF CenterPoint() const { return {(Left + Right) / 2, (Top + Bottom) / 2}; }
  constexpr TSizeF Size() const { return {Width(), Height()}; }
  // True when the rectangle has no area (Right <= Left or Bottom <= Top, or a NaN edge).
  constexpr bool IsEmpty() const { return !(Right > Left && Bottom > Top); }
  // Closed containment: Left <= X <= Right, Top <= Y <= Bottom.
  constexpr bool Contains(TPointF P) const {
    return P.X >= Left && P.X <= Right && P.Y >= Top && P.Y <= Bottom;
  }
  // True when the two rectangles share some area.
  constexpr bool IntersectsWith(const TRectF& R) const {
    return Left < R.Right && R.Left < Right && Top < R.Bottom && R.Top < Bottom;
  }
  void Offset(float DX, float DY) {
    Left += DX;
    Right += DX;
    Top += DY;
    Bottom += DY;
  }
  void Offset(TPointF D) { Offset(D.X, D.Y); }
  void Inflate(float DX, float DY) {
    Left -= DX;
    Right += DX;
    Top -= DY;
    Bottom += DY;
  }
  // Left <= Right and Top <= Bottom, swapping edges where needed.
  TRectF Normalized() const;
  // Edges rounded to whole pixels (halves to even, saturated).
  TRect Round() const;
  // The smallest rectangle holding both (an empty operand counts too).
  static TRectF Union(const TRectF& A, const TRectF& B);
  // The common area; (0, 0, 0, 0) when they do not intersect.
  static TRectF Intersect(const TRectF& A, const TRectF& B);
  static constexpr TRectF Empty() { return {}; }
};

// A 3x3 affine matrix in the row-vector convention: a point P maps to P * M, so
// A * B applies A first and then B. The translation sits in m31, m32.
struct TMatrix {
  float m11 = 1, m12 = 0, m13 = 0;
  float m21 = 0, m22 = 1, m23 = 0;
  float m31 = 0, m32 = 0, m33 = 1;

  static constexpr TMatrix Identity() { return {}; }
  // Rotation by Angle radians; positive turns clockwise on the screen (Y grows downwards).
  static TMatrix CreateRotation(float Angle);
  static TMatrix CreateScaling(float SX, float SY);
  static TMatrix CreateTranslation(float DX, float DY);

  TMatrix operator*(const TMatrix& M) const;
  bool operator==(const TMatrix&) const = default;
  // The inverse; the identity when the matrix is singular.
  TMatrix Inverse() const;
  float Determinant() const;
  bool IsIdentity() const { return *this == TMatrix{}; }
  // True when the matrix only scales and translates (no rotation or shear).
  bool IsAxisAligned() const { return m12 == 0 && m21 == 0; }
};

inline TPointF operator*(TPointF P, const TMatrix& M) {
  return {P.X * M.m11 + P.Y * M.m21 + M.m31, P.X * M.m12 + P.Y * M.m22 + M.m32};
}
// The bounding rectangle of the four transformed corners of R.
TRectF TransformRect(const TRectF& R, const TMatrix& M);

using TPolygon = std::vector<TPointF>;

}  // namespace zel
