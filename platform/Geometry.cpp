#include "platform/Geometry.h"

#include <algorithm>

#include "platform/Math.h"

namespace zel {

TPoint TPointF::Round() const { return {zel::Round(X), zel::Round(Y)}; }

TRectF TRectF::Normalized() const {
  return {std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right),
          std::max(Top, Bottom)};
}

TRect TRectF::Round() const {
  return {zel::Round(Left), zel::Round(Top), zel::Round(Right), zel::Round(Bottom)};
}

TRectF TRectF::Union(const TRectF& A, const TRectF& B) {
  return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
          std::max(A.Bottom, B.Bottom)};
}

TRectF TRectF::Intersect(const TRectF& A, const TRectF& B) {
  TRectF R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
           std::min(A.Bottom, B.Bottom)};
  if (R.IsEmpty()) return {};
  return R;
}

TMatrix TMatrix::CreateRotation(float Angle) {
  TMatrix M;
  float S = std::sin(Angle), C = std::cos(Angle);
  M.m11 = C;
  M.m12 = S;
  M.m21 = -S;
  M.m22 = C;
  return M;
}

TMatrix TMatrix::CreateScaling(float SX, float SY) {
  TMatrix M;
  M.m11 = SX;
  M.m22 = SY;
  return M;
}

TMatrix TMatrix::CreateTranslation(float DX, float DY) {
  TMatrix M;
  M.m31 = DX;
  M.m32 = DY;
  return M;
}

TMatrix TMatrix::operator*(const TMatrix& B) const {
  const TMatrix& A = *this;
  TMatrix R;
  R.m11 = A.m11 * B.m11 + A.m12 * B.m21 + A.m13 * B.m31;
  R.m12 = A.m11 * B.m12 + A.m12 * B.m22 + A.m13 * B.m32;
  R.m13 = A.m11 * B.m13 + A.m12 * B.m23 + A.m13 * B.m33;
  R.m21 = A.m21 * B.m11 + A.m22 * B.m21 + A.m23 * B.m31;
  R.m22 = A.m21 * B.m12 + A.m22 * B.m22 + A.m23 * B.m32;
  R.m23 = A.m21 * B.m13 + A.m22 * B.m23 + A.m23 * B.m33;
  R.m31 = A.m31 * B.m11 + A.m32 * B.m21 + A.m33 * B.m31;
  R.m32 = A.m31 * B.m12 + A.m32 * B.m22 + A.m33 * B.m32;
  R.m33 = A.m31 * B.m13 + A.m32 * B.m23 + A.m33 * B.m33;
  return R;
}

float TMatrix::Determinant() const {
  return m11 * (m22 * m33 - m23 * m32) - m12 * (m21 * m33 - m23 * m31) +
         m13 * (m21 * m32 - m22 * m31);
}

TMatrix TMatrix::Inverse() const {
  float D = Determinant();
  if (D == 0 || !std::isfinite(D)) return {};
  float K = 1 / D;
  TMatrix R;
  R.m11 = (m22 * m33 - m23 * m32) * K;
  R.m12 = (m13 * m32 - m12 * m33) * K;
  R.m13 = (m12 * m23 - m13 * m22) * K;
  R.m21 = (m23 * m31 - m21 * m33) * K;
  R.m22 = (m11 * m33 - m13 * m31) * K;
  R.m23 = (m13 * m21 - m11 * m23) * K;
  R.m31 = (m21 * m32 - m22 * m31) * K;
  R.m32 = (m12 * m31 - m11 * m32) * K;
  R.m33 = (m11 * m22 - m12 * m21) * K;
  return R;
}

TRectF TransformRect(const TRectF& R, const TMatrix& M) {
  TPointF P[4] = {TPointF{R.Left, R.Top} * M, TPointF{R.Right, R.Top} * M,
                  TPointF{R.Right, R.Bottom} * M, TPointF{R.Left, R.Bottom} * M};
  TRectF B{P[0].X, P[0].Y, P[0].X, P[0].Y};
  for (int i = 1; i < 4; ++i) {
    B.Left = std::min(B.Left, P[i].X);
    B.Right = std::max(B.Right, P[i].X);
    B.Top = std::min(B.Top, P[i].Y);
    B.Bottom = std::max(B.Bottom, P[i].Y);
  }
  return B;
}

}  // namespace zel
