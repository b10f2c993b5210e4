// Charts built, read back from their streams, and the pixels of two charts compared.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/series/Area.h"
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

// A chart on a new form of its own, placed and sized as a window shows it.
struct TChartOnForm {
  TOwned<TForm> Form;
  TChart* Chart;
};
inline TChartOnForm ChartOnForm(const String& Name = "Chart1", float Width = 320, float Height = 240) {
  TChartOnForm R{TOwned<TForm>(TForm::CreateNew(nullptr)), nullptr};
  R.Chart = Create<TChart>(R.Form.get());
  if (!Name.empty()) R.Chart->SetName(Name);
  R.Chart->SetParent(R.Form.get());
  R.Chart->SetBounds(0, 0, Width, Height);
  return R;
}

// A stream read into a fresh chart on a fresh form.
inline TChartOnForm ReadOnFreshForm(const std::vector<Byte>& Bytes, float Width = 320, float Height = 240) {
  TChartOnForm R = ChartOnForm(String(), Width, Height);
  ReadBytes(Bytes, R.Chart);
  return R;
}

// A chart holding an area series of eight labelled points, then built further by Build, is
// stored and read into a fresh chart on a fresh form: that chart writes the same text and paints
// the same pixels.
inline void ExpectComesBackOnAFreshForm(const std::function<void(TChart*)>& Build) {
  TChartOnForm Made = ChartOnForm();
  TChart* A = Made.Chart;
  auto* S = AddToChart<TAreaSeries>(A, "Series1");
  for (int I = 0; I < 8; ++I) S->AddXY(I, I * 3 % 7, "P" + std::to_string(I));
  S->ManualData = true;
  Build(A);
  const std::vector<Byte> First = Store(A);
  TChartOnForm B = ReadOnFreshForm(First);
  EXPECT_EQ(AsText(Store(B.Chart)), AsText(First));
  EXPECT_TRUE(PaintTheSame(A, B.Chart)) << AsText(First);
}

}  // namespace zel::testing
