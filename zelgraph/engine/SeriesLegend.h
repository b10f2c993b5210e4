// The legend settings of a series (its visibility in the legend, its own legend text and an
// optional picture for its symbol) and the selection and hover settings that series, axis labels
// and the legend share.
#pragma once

#include <cstdint>

#include "platform/Classes.h"
#include "platform/Published.h"
#include "platform/Types.h"
#include "zelgraph/engine/TextShape.h"

namespace zel {

class TCustomAxisPanel;
class TCustomChartSeries;
class TZelPicture;

// How one series shows in the legend.
class TSeriesLegend : public TPersistent {
  ZEL_CLASS(TSeriesLegend, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TSeriesLegend(TCustomChartSeries* ASeries);
  ~TSeriesLegend() override;

  void Assign(TPersistent* Source) override;

  TCustomAxisPanel* GetParent() const { return FParent; }
  void SetParent(TCustomAxisPanel* Value) { FParent = Value; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  const String& GetText() const { return FText; }
  void SetText(const String& Value);
  // The symbol's picture, created on first access; nullptr frees it.
  TZelPicture* GetPicture();
  TZelPicture* ExistingPicture() const { return FPicture; }
  void SetPicture(TZelPicture* Value);
  // A picture with pixels exists.
  bool HasPicture() const;

 private:
  void Repaint();

  TCustomChartSeries* FSeries;
  TCustomAxisPanel* FParent = nullptr;
  bool FVisible = true;
  String FText;
  TZelPicture* FPicture = nullptr;  // owned
};

// The highlight of the item under the mouse: a bold font and a wide half-transparent red pen.
class TZelHover : public TCustomTextShape {
  ZEL_CLASS(TZelHover, TCustomTextShape)
 public:
  explicit TZelHover(TCustomZelPanel* AOwner);
};

// Selection and hover of a series, of axis labels or of the legend.
class TZelSelected : public TCustomTextShape {
  ZEL_CLASS(TZelSelected, TCustomTextShape)
  ZEL_PUBLISHED_PROPS
 public:
  // Element: what repaints when the selection or hover changes (a chart element, a shape or a
  // panel).
  explicit TZelSelected(TObject* AElement);
  ~TZelSelected() override;

  void Assign(TPersistent* Source) override;

  TZelHover* GetHover() const { return FHover; }
  void SetHover(TZelHover* Value);
  std::int32_t GetHoverIndex() const { return FHoverIndex; }
  // Stores a change and repaints the element when the hover is visible.
  void SetHoverIndex(std::int32_t Value);
  std::int32_t GetItemIndex() const { return FItemIndex; }
  // Stores a change and repaints the element when the selection is visible.
  void SetItemIndex(std::int32_t Value);
  TObject* GetElement() const { return IElement; }

 private:
  void RepaintElement();

  TZelHover* FHover = nullptr;  // owned
  std::int32_t FHoverIndex = -1;
  std::int32_t FItemIndex = -1;
  TObject* IElement;
};

}  // namespace zel
