// Chart titles: a text shape whose text is a list of lines, and the titles that stack above
// (Title, SubTitle) and below (Foot, SubFoot) the chart rectangle, each taking its room from it.
#pragma once

#include <cstdint>

#include "platform/Classes.h"
#include "platform/Geometry.h"
#include "platform/Types.h"
#include "zelgraph/engine/TextShape.h"

namespace zel {

class TStrings;
class TStringList;

// S without its final CR LF when S is longer than those two characters.
String RemoveLastLineBreak(const String& S);

// A positioned text shape whose text is kept in a line list (published as Text). Changing the
// list sets the shape's text (lines joined by CR LF, the last line break dropped); setting the
// shape's text replaces the list's lines.
class TStringsShape : public TTextShape {
  ZEL_CLASS(TStringsShape, TTextShape)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TStringsShape(TCustomZelPanel* AOwner);
  ~TStringsShape() override;

  void ChangedText() override;

  // The line list (the published Text).
  TStrings* GetLines() const;
  // Copies the lines of Value.
  void SetText(TStrings* Value);
  using TTextShape::SetText;
  // The first line, empty without lines.
  String GetCaption() const;
  // Replaces the whole text.
  void SetCaption(const String& Value);
  void Clear() { SetCaption(String()); }

 protected:
  // The line list's change handler.
  void TextChanged();

  TStringList* FTitleText = nullptr;  // owned
  bool IChangingText = false;
};

class TChartTitle : public TStringsShape {
  ZEL_CLASS(TChartTitle, TStringsShape)
  ZEL_PUBLISHED_PROPS
 public:
  // A title on top: centred, transparent, blue text, drawn flat.
  explicit TChartTitle(TCustomZelPanel* AOwner);

  // AdjustFrame, the text and VertMargin, then the positioned shape's properties.
  void Assign(TPersistent* Source) override;

  // Places and draws the title; when not custom-positioned it takes its room from the chart
  // rectangle (below the titles on top, above the feet).
  void DrawTitle();
  // Visible with at least one line.
  bool ShouldDraw() const;
  // Visible and P inside the bounds the title was last drawn at.
  bool Clicked(TPointF P) const;
  bool Clicked(std::int32_t X, std::int32_t Y) const { return Clicked(TPointF(float(X), float(Y))); }
  const TRectF& GetShapeBounds() const { return ShapeBounds; }

  bool GetAdjustFrame() const { return FAdjustFrame; }
  void SetAdjustFrame(bool Value);
  std::int32_t GetVertMargin() const { return FVertMargin; }
  void SetVertMargin(std::int32_t Value);
  // True for titles above the chart, false for feet.
  bool GetOnTop() const { return IOnTop; }

 protected:
  bool FAdjustFrame = true;
  std::int32_t FVertMargin = 5;
  bool IOnTop = true;
};

// A title below the chart: red italic text.
class TChartFootTitle : public TChartTitle {
  ZEL_CLASS(TChartFootTitle, TChartTitle)
 public:
  explicit TChartFootTitle(TCustomZelPanel* AOwner);
};

}  // namespace zel
