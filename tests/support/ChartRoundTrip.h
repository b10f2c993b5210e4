// Charts built, read back from their streams, and the pixels of two charts compared.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "zelgraph/chart/Chart.h"
#include "tests/support/StreamText.h"

namespace zel::testing {

// A series or tool of the given name on the chart, owned by the chart unless an owner is given.
template <typename T>
T* AddToChart(TChart* Chart, const String& Name, TComponent* Owner = nullptr) {
  auto* X = Create<T>(Owner ? Owner : Chart);
  X->SetName(Name);
  X->SetParentChart(Chart);
  return X;
}

// Reads a stream into a fresh chart of the given size.
inline TOwned<TChart> ReadInto(const std::vector<Byte>& Bytes, float Width, float Height) {
  TOwned<TChart> C(Create<TChart>(nullptr));
  C->SetBounds(0, 0, Width, Height);
  ReadBytes(Bytes, C.get());
  return C;
}

// Paints both controls into bitmaps (A the one written, B the one read back); they must be of
// the same size and every pixel the same. A failure tells how many pixels differ and the first
// of them with both colours.
inline ::testing::AssertionResult PaintTheSame(TControl* A, TControl* B) {
  TOwned<TBitmap> PA(PaintToBitmap(A));
  TOwned<TBitmap> PB(PaintToBitmap(B));
  if (PA->GetWidth() != PB->GetWidth() || PA->GetHeight() != PB->GetHeight())
    return ::testing::AssertionFailure()
           << "bitmaps of different sizes: " << PA->GetWidth() << " x " << PA->GetHeight()
           << " written, " << PB->GetWidth() << " x " << PB->GetHeight() << " read back";
  int Differ = 0;
  std::ostringstream First;
  for (int Y = 0; Y < PA->GetHeight(); ++Y)
    for (int X = 0; X < PA->GetWidth(); ++X) {
      const TAlphaColor CA = PA->GetPixel(X, Y), CB = PB->GetPixel(X, Y);
      if (CA == CB) continue;
      if (Differ++ == 0)
        First << "(" << X << ", " << Y << "): " << std::hex << CA << " written, " << CB
              << " read back";
    }
  if (Differ == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << Differ << " pixels differ, the first at " << First.str();
}

}  // namespace zel::testing
