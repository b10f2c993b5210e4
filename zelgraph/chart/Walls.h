// The chart's walls: back, left, bottom and right planes that frame the plotting area, flat in
// 2D and planes or slabs in 3D, and the drawing of each of them.
//
// The chart control owns one TChartWalls, which owns the walls (the right one is made on first
// use). The chart decides when each wall is drawn; TChartWalls knows how: the Draw... operations
// open the wall's canvas entity, prepare the canvas and draw the wall with its blending, cube or
// plane, picture, shadow and emboss.
#pragma once

#include <cstdint>

#include "platform/Classes.h"
#include "platform/Math.h"
#include "platform/Types.h"
#include "zelgraph/engine/Shapes.h"

namespace zel {

class TCustomChart;
class TZelBlend;

class TCustomChartWall : public TZelCustomShape {
  ZEL_CLASS(TCustomChartWall, TZelCustomShape)
  ZEL_PUBLISHED_PROPS
 public:
  // AOwner is the chart; the wall starts with Dark3D, EndPosition 100 and colour 0x00FFFFFF.
  explicit TCustomChartWall(TCustomZelPanel* AOwner);

  // AutoHide, Dark3D, EndPosition, Size and StartPosition, then the shape's properties.
  void Assign(TPersistent* Source) override;

  bool GetAutoHide() const { return FAutoHide; }
  void SetAutoHide(bool Value);
  bool GetDark3D() const { return FDark3D; }
  void SetDark3D(bool Value);
  // Percent of the chart rectangle's height where the wall ends (100: at the bottom wall).
  std::int32_t GetEndPosition() const { return FEnd; }
  void SetEndPosition(std::int32_t Value);
  // Thickness in pixels; below 1 the wall is a plane.
  std::int32_t GetSize() const { return FSize; }
  void SetSize(std::int32_t Value);
  // Percent of the chart rectangle's height where the wall starts.
  std::int32_t GetStartPosition() const { return FStart; }
  void SetStartPosition(std::int32_t Value);

  // Sets Color and its stored default, with the chart's AutoRepaint off meanwhile.
  void InitColor(TAlphaColor Value);

  // Whether the sides of a wall cube are darkened: a brush that fills, has no image, and Dark3D.
  bool ApplyDark3D() const;
  // The chart shows walls, and the wall is visible and not hidden automatically.
  bool ShouldDraw() const;
  // The vertical extent of the wall (Start and End percent of the chart rectangle, down to the
  // bottom wall).
  void CalcPositions(std::int32_t& Top, std::int32_t& Bottom) const;
  // Begins blending for a wall standing at X when it is not transparent and has a
  // Transparency; returns whether blending began.
  bool TryDrawWall(std::int32_t X, std::int32_t Bottom, TZelBlend*& Blend);
  // Begins blending the wall over Area (the area it covers on the canvas; a canvas that blends
  // by alpha is given no rectangle).
  TZelBlend* BeginWallBlend(const TRectF& Area);
  // Ends the blending begun for the wall; with Filter, the picture's filters are applied to the
  // blended area first when the wall has filters but no image.
  void DoEndBlending(TZelBlend* Blend, bool Filter = true);

  TCustomChart* GetChart() const;

 protected:
  // The area of the blend under way.
  TRectF IBlendArea;
  bool FAutoHide = false;
  bool FDark3D = true;
  std::int32_t FEnd = 100;
  std::int32_t FSize = 0;
  std::int32_t FStart = 0;

 private:
  void SetIntField(std::int32_t& Field, std::int32_t Value);
  void SetBoolField(bool& Field, bool Value);
};

class TChartWall : public TCustomChartWall {
  ZEL_CLASS(TChartWall, TCustomChartWall)
 public:
  using TCustomChartWall::TCustomChartWall;
};

// Colour 0xFFFFFF80.
class TChartLeftWall : public TChartWall {
  ZEL_CLASS(TChartLeftWall, TChartWall)
 public:
  explicit TChartLeftWall(TCustomZelPanel* AOwner);
};

// Colour 0xFFFFFFFF.
class TChartBottomWall : public TChartWall {
  ZEL_CLASS(TChartBottomWall, TChartWall)
 public:
  explicit TChartBottomWall(TCustomZelPanel* AOwner);
};

// Colour 0xFFC0C0C0, hidden by default.
class TChartRightWall : public TChartWall {
  ZEL_CLASS(TChartRightWall, TChartWall)
 public:
  explicit TChartRightWall(TCustomZelPanel* AOwner);
};

// Colour 0xFFC0C0C0, transparent by default; its shadow and emboss start hidden and dark grey.
class TChartBackWall : public TChartWall {
  ZEL_CLASS(TChartBackWall, TChartWall)
 public:
  explicit TChartBackWall(TCustomZelPanel* AOwner);
  void InitEmboss(TZelEmboss* Value) override;
  void InitShadow(TZelShadow* Value) override;
};

// The four walls of a chart.
class TChartWalls : public TPersistent {
  ZEL_CLASS(TChartWalls, TPersistent)
 public:
  explicit TChartWalls(TCustomChart* AChart);
  ~TChartWalls() override;

  // Back, bottom, left and right from other walls (reading the source's right wall creates it).
  void Assign(TPersistent* Source) override;

  TCustomChart* GetChart() const { return FChart; }
  TChartBackWall* GetBack() const { return FBack; }
  void SetBack(TChartWall* Value) { FBack->Assign(Value); }
  TChartBottomWall* GetBottom() const { return FBottom; }
  void SetBottom(TChartWall* Value) { FBottom->Assign(Value); }
  TChartLeftWall* GetLeft() const { return FLeft; }
  void SetLeft(TChartWall* Value) { FLeft->Assign(Value); }
  // Created (hidden) on first use, without repainting the chart.
  TChartRightWall* GetRight();
  TChartRightWall* ExistingRight() const { return FRight; }
  void SetRight(TChartWall* Value) { GetRight()->Assign(Value); }
  // The chart's View3DWalls.
  bool GetVisible() const;
  void SetVisible(bool Value);
  void Hide() { SetVisible(false); }
  void Show() { SetVisible(true); }
  // The Size of the left, right (created when needed), back and bottom walls.
  void SetSize(std::int32_t Value);

  // --- drawing, called by the chart in its draw order ---
  // Whether the side plane at X faces away from the viewer (always on a canvas with full
  // rotation).
  bool DrawWallFirst(std::int32_t X);
  // The left wall's plane is culled: it is drawn before the series.
  bool DrawLeftWallFirst() { return DrawWallFirst(Round(ChartRectF().Left)); }
  // The right wall's plane faces the viewer: it is drawn after the series.
  bool DrawRightWallAfter() { return !DrawWallFirst(Round(ChartRectF().Right)); }
  // The canvas pen and brush of a wall.
  void PrepareWallCanvas(TCustomChartWall* Wall);
  // Each draws its wall inside the canvas entity "Left", "Right", "Bottom" or "Back".
  // The left and right walls draw only with View3D and View3DWalls; the right one only when it
  // exists and is visible and some active series uses axes.
  void DrawLeftWall();
  void DrawRightWall();
  void DrawBottomWall();
  void DrawBackWall();

 private:
  const TRectF& ChartRectF() const;
  std::int32_t Width3D() const;
  void DrawSideWall(TCustomChartWall* Wall, bool IsLeft);
  void DrawBackPicture(std::int32_t Top, std::int32_t Bottom);
  TZelBlend* BeginBlend(TCustomChartWall* Wall, const TRectF& R, int Z, bool& Began);

  TChartBackWall* FBack = nullptr;      // owned
  TChartBottomWall* FBottom = nullptr;  // owned
  TCustomChart* FChart;
  TChartLeftWall* FLeft = nullptr;      // owned
  TChartRightWall* FRight = nullptr;    // owned, nil until first use
};

}  // namespace zel
