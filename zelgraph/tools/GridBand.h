// The grid band tool: fills the stripes between the grid lines of one axis with two alternating
// brushes. It draws from the axis' grid-drawing event, before the grid lines, not from the
// chart's tool events.
#pragma once

#include <cstdint>

#include "platform/Types.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

class TChartAxis;

// A band's brush with its own transparency.
class TGridBandBrush : public TZelBrush {
  ZEL_CLASS(TGridBandBrush, TZelBrush)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TGridBandBrush(TNotifyEvent OnChange = nullptr);

  // Transparency, then the brush.
  void Assign(TPersistent* Source) override;

  Byte GetTransparency() const { return FTransp; }
  // Stores and signals the brush's change.
  void SetTransparency(Byte Value);

 private:
  Byte FTransp = 0;
};

class TGridBandTool : public TZelCustomToolAxis {
  ZEL_CLASS(TGridBandTool, TZelCustomToolAxis)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TGridBandTool(TComponent* AOwner);
  // Leaves the axis' grid event, then frees the bands.
  ~TGridBandTool() override;

  // Both bands, then the axis tool's settings.
  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TGridBandToolEdit"; }
  String Description() const override;
  String LongDescription() const override;
  // Moves the grid-drawing handler from the old axis to the new one.
  void SetAxis(TChartAxis* Value) override;
  // True while Axis' grid-drawing handler is this tool's (a copy or another band may hold
  // the same axis).
  bool OwnsGridHandler(const TChartAxis* Axis) const;

  // The grid-drawing handler: paints the stripes of Axis.
  void DrawGrids(TChartAxis* Axis);
  // The band's BackColor when not 0 (or without a chart), else the back wall's colour.
  TAlphaColor BandBackColor(TGridBandBrush* Band) const;

  TGridBandBrush* GetBand1() const { return FBand1; }
  void SetBand1(TGridBandBrush* Value) { FBand1->Assign(Value); }
  TGridBandBrush* GetBand2() const { return FBand2; }
  void SetBand2(TGridBandBrush* Value) { FBand2->Assign(Value); }

  // The bands' extent across the axis in pixels; both 0: the chart rectangle.
  std::int32_t StartPos = 0;
  std::int32_t EndPos = 0;

 private:
  // Clears the axis' grid-drawing handler when it is this tool's.
  void ReleaseGridHandler();

  TGridBandBrush* FBand1 = nullptr;  // owned
  TGridBandBrush* FBand2 = nullptr;  // owned
};

}  // namespace zel
