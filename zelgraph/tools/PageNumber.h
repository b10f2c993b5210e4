// The page number tool: an annotation showing the chart's current page and page count, with two
// triangular buttons at the ends of its box that go to the previous and the next page. It is a
// unit of its own, which registers the tool when it starts.
#pragma once

#include <cstdint>

#include "platform/Types.h"
#include "zelgraph/tools/Annotation.h"

namespace zel {

class TZelBrush;
class TZelGradient;
class TZelPen;

class TPageNumTool : public TAnnotationTool {
  ZEL_CLASS(TPageNumTool, TAnnotationTool)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TPageNumTool(TComponent* AOwner);
  ~TPageNumTool() override;
  void AfterConstruction() override;

  // ButtonWidth, ButtonPen, the two buttons' gradients, Format and ShowButtons, then the
  // annotation's settings.
  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TPageNumToolEdit"; }
  // A left press on a button changes the page; a move over a button that can act shows the
  // hand; anything else is the annotation's.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;

  // The annotation's box, then the two buttons.
  void DoDrawText(TCustomAxisPanel* Chart) override;
  // Keeps the text clear of the button on its side.
  std::int32_t GetXOffset() override;
  // Format with the current page and the page count.
  String GetText() override;
  // The annotation's placement, grown by both buttons when the box sizes itself.
  TRectF GetTextBounds(TCustomAxisPanel* Chart, const TRectF& R, std::int32_t& X, std::int32_t& Y) override;

  TZelPen* GetButtonPen() const { return FButtonPen; }
  void SetButtonPen(TZelPen* Value);
  bool GetShowButtons() const { return FButtons; }
  void SetShowButtons(bool Value) { SetBooleanProperty(FButtons, Value); }
  std::int32_t GetButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(std::int32_t Value) { SetIntegerProperty(FButtonWidth, Value); }
  TZelBrush* GetDisabledBrush() const { return FDisabledBrush; }
  TZelBrush* GetEnabledBrush() const { return FEnabledBrush; }
  TZelGradient* GetDisabledButton() const;
  void SetDisabledButton(TZelGradient* Value);
  TZelGradient* GetEnabledButton() const;
  void SetEnabledButton(TZelGradient* Value);
  const String& GetFormat() const { return FFormat; }
  // A format that cannot take two whole numbers raises EConvertError and is not taken (it would
  // fail at every paint).
  void SetFormat(const String& Value);
  // Stored only when it differs from the library's page text.
  bool IsFormatStored() const;

  // The triangles of the two buttons inside box B.
  void ButtonTriangles(const TRectF& B, TPointF (&Left)[3], TPointF (&Right)[3]) const;

 private:
  bool InLeftButton(std::int32_t X, std::int32_t Y);
  bool InRightButton(std::int32_t X, std::int32_t Y);
  std::int32_t CurrentPage() const;
  std::int32_t PageCount() const;

  TZelPen* FButtonPen = nullptr;  // owned
  bool FButtons = true;
  std::int32_t FButtonWidth = 12;
  TZelBrush* FDisabledBrush = nullptr;  // owned
  TZelBrush* FEnabledBrush = nullptr;   // owned
  String FFormat;
};

// The page number tool's class while its unit runs, else nullptr.
extern const TClass* ZelPageNumToolClass;

// Start and end of the page number unit (counted: only the first start and the last end act):
// registers TPageNumTool with the chart's tool types and sets ZelPageNumToolClass; the end
// undoes both.
void ZelPageNumberUnitStart();
void ZelPageNumberUnitEnd();

}  // namespace zel
