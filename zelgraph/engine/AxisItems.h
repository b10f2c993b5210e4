// The text shapes an axis owns (title, shared label format, back shape of the labels band) and
// its label items: custom labels set by the user, or the automatic labels of the last drawing.
#pragma once

#include <cstdint>

#include "platform/Geometry.h"
#include "platform/Lists.h"
#include "platform/Types.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Shapes.h"
#include "zelgraph/engine/TextShape.h"

namespace zel {

class TChartAxis;
class TCustomAxisPanel;
class TZelSelected;

// The title of an axis: a centred, transparent text shape placed at the start, centre or end.
class TChartAxisTitle : public TCustomTextShape {
  ZEL_CLASS(TChartAxisTitle, TCustomTextShape)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TChartAxisTitle(TCustomZelPanel* AOwner);
  // Position, then the text shape.
  void Assign(TPersistent* Source) override;

  // The first line of Text; setting it sets Text.
  String GetCaption() const;
  void SetCaption(const String& Value) { SetText(Value); }
  TAxisTitlePosition GetPosition() const { return FPosition; }
  void SetPosition(TAxisTitlePosition Value);
  bool IsAngleStored() const { return GetAngle() != IDefaultAngle; }
  // The angle given by a program or a stream: it stays when the axis changes side.
  void SetGivenAngle(int Value) {
    IAngleGiven = true;
    SetAngle(Value);
  }
  // The title is visible, has a caption and the point (rounded) hits its shape.
  bool Clicked(TPointF P) const;

  std::int32_t IDefaultAngle = 0;
  bool IAngleGiven = false;

 private:
  TAxisTitlePosition FPosition = TAxisTitlePosition::tpCenter;
};

// The back of the labels band: hidden, without shadow, drawn in 3D.
class TAxisBackShape : public TZelShape {
  ZEL_CLASS(TAxisBackShape, TZelShape)
 public:
  explicit TAxisBackShape(TCustomZelPanel* AOwner);
};

// The shared format of an axis' labels: centred and transparent.
class TAxisLabelsFormat : public TCustomTextShape {
  ZEL_CLASS(TAxisLabelsFormat, TCustomTextShape)
 public:
  explicit TAxisLabelsFormat(TCustomZelPanel* AOwner);
};

class TAxisItems;

// One label of an axis.
class TAxisItem : public TObject {
  ZEL_CLASS(TAxisItem, TObject)
 public:
  explicit TAxisItem(TAxisItems* AOwner) : IAxisItems(AOwner) {}
  ~TAxisItem() override;

  // The item's own format, created on first access (a transparent text shape on the chart).
  TCustomTextShape* GetFormat();
  void SetFormat(TCustomTextShape* Value);
  TCustomTextShape* ExistingFormat() const { return FFormat; }
  // The own format when created, else the list's format.
  TCustomTextShape* ActiveFormat() const;
  const String& GetText() const { return FText; }
  void SetText(const String& Value);
  double GetValue() const { return FValue; }
  void SetValue(double Value);
  std::int32_t GetLabelPos() const { return FLabelPos; }
  void SetLabelPos(std::int32_t Value) { FLabelPos = Value; }
  TAxisItems* GetOwnerItems() const { return IAxisItems; }

 private:
  friend class TAxisItems;
  TCustomTextShape* FFormat = nullptr;  // owned
  std::int32_t FLabelPos = 0;
  String FText;
  double FValue = 0;
  TAxisItems* IAxisItems;
};

// The labels of an axis. While Auto is on the list holds the labels of the last drawing;
// adding an item switches the axis to these custom labels.
class TAxisItems : public TObjectList<TAxisItem> {
 public:
  explicit TAxisItems(TChartAxis* AAxis);
  ~TAxisItems() override;
  TAxisItems(const TAxisItems&) = delete;
  TAxisItems& operator=(const TAxisItems&) = delete;

  // Appends an item and switches Auto off.
  TAxisItem* Add(double Value, const String& Text = String());
  // Appends an item, Auto unchanged.
  TAxisItem* InternalAdd(double Value, const String& Text);
  TAxisItem* Get(std::int32_t Index) const { return GetItems(Index); }
  // Copies Format and Selected; from a custom (not automatic) source also its items.
  void CopyFrom(TAxisItems* Source);
  // Prepares RectOf: labels font, line height and the across-axis side of the rectangles.
  void InitCalcRect();
  // The rectangle of item Index as drawn in the last drawing, as wide as the text it shows
  // (TChartAxis::ItemText, under the label texts TChartAxis::LabelItemRects holds).
  TRectF RectOf(std::int32_t Index);

  bool GetAuto() const { return FAuto; }
  void SetAuto(bool Value) { FAuto = Value; }
  TAxisLabelsFormat* GetFormat() const { return FFormat; }
  void SetFormat(TAxisLabelsFormat* Value);
  // Created on first access.
  TZelSelected* GetSelected();
  TZelSelected* ExistingSelected() const { return FSelected; }
  TChartAxis* GetAxis() const { return IAxis; }

  std::int32_t IHeight = 0;
  bool IDrawAll = false;
  TRectF IRect{0, 0, 0, 0};

 private:
  bool FAuto = true;
  TAxisLabelsFormat* FFormat = nullptr;  // owned
  TZelSelected* FSelected = nullptr;     // owned
  TChartAxis* IAxis;
};

}  // namespace zel
