// Where texts recorded by a TRecordingCanvas lie on the canvas: each text's own box (a fixed
// width a character and height a line, placed in its rectangle by its alignment) carried through
// the matrix it was drawn with, as the bounds of the turned box. TWideTextCanvas records with
// characters of another width, for layouts that must hold whatever the font's proportions.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "platform/SysUtils.h"

namespace zeltest {

// A recording canvas whose characters are CharWidth pixels wide (lines as TFixedTextLayout).
class TWideTextCanvas : public zel::TRecordingCanvas {
 public:
  TWideTextCanvas(int AWidth, int AHeight, float ACharWidth)
      : TRecordingCanvas(AWidth, AHeight), FCharWidth(ACharWidth) {}
  float GetCharWidth() const { return FCharWidth; }
  std::unique_ptr<zel::TTextLayout> CreateTextLayout() override {
    return std::make_unique<TLayout>(this, FCharWidth);
  }

 private:
  class TLayout : public zel::TFixedTextLayout {
   public:
    TLayout(zel::TCanvas* ACanvas, float ACharWidth)
        : TFixedTextLayout(ACanvas), FCharWidth(ACharWidth) {}
    float MeasureLine(const zel::String& Line) override {
      return FCharWidth * static_cast<float>(zel::CodePointCount(Line));
    }

   private:
    float FCharWidth;
  };
  float FCharWidth;
};

struct TDrawnText {
  zel::String Text;
  zel::TRectF Box;
};

// The texts drawn in the given colour, in drawing order, with characters CharWidth pixels wide.
inline std::vector<TDrawnText> DrawnTexts(const zel::TRecordingCanvas& Canvas,
                                          zel::TAlphaColor Color,
                                          float CharWidth = zel::TFixedTextLayout::CharWidth) {
  using namespace zel;
  std::vector<TDrawnText> Result;
  for (const TCanvasRecord& R : Canvas.GetRecords()) {
    if (R.Kind != TRecordKind::FillText || R.Color != Color || R.Text.empty()) continue;
    float Width = 0;
    int Lines = 1;
    std::size_t Start = 0;
    for (std::size_t I = 0; I <= R.Text.size(); ++I) {
      if (I < R.Text.size() && R.Text[I] != '\r' && R.Text[I] != '\n') continue;
      Width = std::max(
          Width, CharWidth * static_cast<float>(CodePointCount(R.Text.substr(Start, I - Start))));
      if (I < R.Text.size()) ++Lines;
      Start = I + 1;
    }
    const float Height = TFixedTextLayout::LineHeight * static_cast<float>(Lines);
    auto Place = [](TTextAlign A, float Lo, float Hi, float Size) {
      if (A == TTextAlign::Center) return (Lo + Hi - Size) / 2;
      return A == TTextAlign::Trailing ? Hi - Size : Lo;
    };
    const float L = Place(R.HAlign, R.Rect.Left, R.Rect.Right, Width);
    const float T = Place(R.VAlign, R.Rect.Top, R.Rect.Bottom, Height);
    const TPointF Corners[] = {TPointF(L, T) * R.Matrix, TPointF(L + Width, T) * R.Matrix,
                               TPointF(L, T + Height) * R.Matrix,
                               TPointF(L + Width, T + Height) * R.Matrix};
    TRectF Box(Corners[0].X, Corners[0].Y, Corners[0].X, Corners[0].Y);
    for (const TPointF& P : Corners) {
      Box.Left = std::min(Box.Left, P.X);
      Box.Top = std::min(Box.Top, P.Y);
      Box.Right = std::max(Box.Right, P.X);
      Box.Bottom = std::max(Box.Bottom, P.Y);
    }
    Result.push_back({R.Text, Box});
  }
  return Result;
}

// True when two boxes overlap or touch (share an edge or a corner).
inline bool OverlapOrTouch(const zel::TRectF& A, const zel::TRectF& B) {
  return A.Left <= B.Right && B.Left <= A.Right && A.Top <= B.Bottom && B.Top <= A.Bottom;
}

// The first pair of texts that overlap or touch, written out ("" when none does).
inline zel::String FirstCollision(const std::vector<TDrawnText>& Texts) {
  for (std::size_t I = 0; I < Texts.size(); ++I)
    for (std::size_t J = I + 1; J < Texts.size(); ++J)
      if (OverlapOrTouch(Texts[I].Box, Texts[J].Box))
        return "\"" + Texts[I].Text + "\" and \"" + Texts[J].Text + "\"";
  return zel::String();
}

}  // namespace zeltest
