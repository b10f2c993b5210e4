// Callouts: the arrow or line that joins a piece of text (a series mark, an annotation) to the
// point it describes, with a small pointer shape at the point when the arrow has no head.
#pragma once

#include <cstdint>

#include "zelgraph/engine/Pointer.h"

namespace zel {

class TWhitePen;
class TSeriesMarkPosition;

enum class TArrowHeadStyle { ahNone, ahLine, ahSolid };
ZEL_ENUM_NAMES(TArrowHeadStyle, "ahNone", "ahLine", "ahSolid");

// When on, an arrow whose colour equals the point's or the panel's is drawn white on an opaque
// black panel and black otherwise (off at start).
extern bool ZelCheckMarkArrowColor;

class TCallout : public TSeriesPointer {
  ZEL_CLASS(TCallout, TSeriesPointer)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TCallout(TChartSeries* AOwner);
  ~TCallout() override;

  void Assign(TPersistent* Source) override;

  // ArrowFrom is at the point, ArrowTo at the text, MidPoint an optional bend (with HasMid),
  // Z the depth in 3D. Draws on the parent panel.
  void Draw(TAlphaColor AColor, TPointF ArrowFrom, TPointF MidPoint, TPointF ArrowTo, int AZ, bool HasMid);
  void Draw(TCustomZelPanel* Panel, TAlphaColor AColor, TPointF ArrowFrom, TPointF MidPoint, TPointF ArrowTo,
            int AZ, bool HasMid);

  TWhitePen* GetArrow() const { return FArrow; }
  void SetArrow(TZelPen* Value);
  TArrowHeadStyle GetArrowHead() const { return FArrowHead; }
  void SetArrowHead(TArrowHeadStyle Value);
  std::int32_t GetArrowHeadSize() const { return FArrowHeadSize; }
  void SetArrowHeadSize(std::int32_t Value);
  std::int32_t GetDistance() const { return FDistance; }
  void SetDistance(std::int32_t Value);

 protected:
  TWhitePen* FArrow = nullptr;  // owned
  TArrowHeadStyle FArrowHead = TArrowHeadStyle::ahNone;
  std::int32_t FDistance = 0;
  std::int32_t FArrowHeadSize = 8;
};

// The callout of series marks: hidden by default, with the arrow length that lifts the marks
// above their points.
class TMarksCallout : public TCallout {
  ZEL_CLASS(TMarksCallout, TCallout)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TMarksCallout(TChartSeries* AOwner);

  void Assign(TPersistent* Source) override;
  // Moves a mark position up by Length + Distance, and its arrow start by Distance.
  void ApplyArrowLength(TSeriesMarkPosition* Position) const;

  std::int32_t GetLength() const { return FLength; }
  // Through the series' shared setter (repaint on change); a plain store without a series.
  void SetLength(std::int32_t Value);
  bool IsLengthStored() const { return FLength != DefaultLength; }

  std::int32_t DefaultLength = 8;

 private:
  std::int32_t FLength = 8;
};

}  // namespace zel
