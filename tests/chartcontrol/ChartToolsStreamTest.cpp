// A chart holding every registered tool, each a little away from its defaults and hooked to a
// series or an axis where it takes one, written, read into a fresh chart of the same size and
// written again: the same bytes, and both charts paint the same pixels.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/engine/TextShape.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/AxisArrow.h"
#include "zelgraph/tools/AxisScroll.h"
#include "zelgraph/tools/ColorLine.h"
#include "zelgraph/tools/Cursor.h"
#include "zelgraph/tools/DragMarks.h"
#include "zelgraph/tools/DrawLine.h"
#include "zelgraph/tools/GridBand.h"
#include "zelgraph/tools/MarksTip.h"
#include "zelgraph/tools/MiscTools.h"
#include "zelgraph/tools/NearestPoint.h"
#include "zelgraph/tools/PageNumber.h"
#include "zelgraph/tools/RectangleTool.h"
#include "zelgraph/tools/RotateTool.h"
#include "zelgraph/tools/ScrollBar.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

// The chart the tools are changed against: its first series is on the bottom and left axes, the
// second on a custom vertical axis.
struct TScene {
  TChart* Chart;
  TChartSeries* Series1;
  TChartSeries* Series2;
  TChartAxis* Custom;
};

// How each registered tool class is moved off its defaults and hooked up.
const std::map<String, std::function<void(TZelCustomTool*, const TScene&)>>& Changes() {
  static const std::map<String, std::function<void(TZelCustomTool*, const TScene&)>> Cases = {
      {"TCursorTool",
       [](TZelCustomTool* T, const TScene& S) {
         auto* X = static_cast<TCursorTool*>(T);
         X->SetSeries(S.Series2);
         X->SetStyle(TCursorToolStyle::cssScope);
         X->SetSnap(true);
         X->SetScopeStyle(TScopeCursorStyle::scsCircle);
         X->SetScopeSize(7);
         X->GetPen()->SetColor(0xFF0000C0);
         X->GetPen()->SetWidth(2);
         X->GetAxisAnnotation()->GetShape()->SetVisible(true);
       }},
      {"TDragMarksTool",
       [](TZelCustomTool* T, const TScene& S) {
         static_cast<TDragMarksTool*>(T)->SetSeries(S.Series1);
         T->SetActive(false);
       }},
      {"TAxisArrowTool",
       [](TZelCustomTool* T, const TScene& S) {
         auto* X = static_cast<TAxisArrowTool*>(T);
         X->SetAxis(S.Chart->GetLeftAxis());
         X->SetPosition(TAxisArrowToolPosition::aaEnd);
         X->SetLength(24);
         X->GetBrush()->SetColor(0xFF102030);
       }},
      {"TDrawLineTool",
       [](TZelCustomTool* T, const TScene& S) {
         auto* X = static_cast<TDrawLineTool*>(T);
         X->SetSeries(S.Series1);
         X->SetButton(TMouseButton::mbRight);
         X->GetLines()->AddLine(1, 2, 8, 9)->GetPen()->SetColor(0xFF00A000);
         X->GetLines()->AddLine(2, 8, 6, 3)->SetStyle(TDrawLineStyle::dlHorizParallel);
       }},
      {"TNearestTool",
       [](TZelCustomTool* T, const TScene& S) {
         auto* X = static_cast<TNearestTool*>(T);
         X->SetSeries(S.Series2);
         X->SetStyle(TNearestToolStyle::hsDiamond);
         X->GetLinePen()->SetVisible(false);
       }},
      {"TColorBandTool",
       [](TZelCustomTool* T, const TScene& S) {
         auto* X = static_cast<TColorBandTool*>(T);
         X->SetAxis(S.Custom);
         X->SetStartValue(11);
         X->SetEndValue(13);
         X->SetColor(0xFF336699);
         X->SetTransparency(40);
         X->GetStartLinePen()->SetColor(0xFFC00000);
         X->GetStartLinePen()->SetWidth(3);
         X->SetResizeEnd(false);
         X->GetGradient()->SetVisible(true);
         X->GetGradient()->SetStartColor(0xFFFFE0A0);
         X->GetGradient()->SetEndColor(0xFF4060C0);
         X->GetEndLine()->GetAnnotation()->SetText("End");
       }},
      {"TColorLineTool",
       [](TZelCustomTool* T, const TScene& S) {
         auto* X = static_cast<TColorLineTool*>(T);
         X->SetAxis(S.Chart->GetBottomAxis());
         X->SetValue(6.5);
         X->GetPen()->SetColor(0xFF800080);
         X->SetAnnotationValue(true);
         X->GetAnnotation()->SetTextAlignment(TAlignment::taRightJustify);
         X->GetAnnotation()->GetShape()->SetColor(0xFFFFFFC0);
       }},
      {"TRotateTool",
       [](TZelCustomTool* T, const TScene&) {
         auto* X = static_cast<TRotateTool*>(T);
         X->SetSpeed(80);
         X->SetStyle(TRotateToolStyles::rsElevation);
       }},
      {"TChartImageTool",
       [](TZelCustomTool* T, const TScene& S) {
         static_cast<TChartImageTool*>(T)->SetSeries(S.Series1);
         T->GetPen()->SetVisible(true);
         TBitmap Pic(6, 4);
         for (int Y = 0; Y < 4; ++Y)
           for (int X = 0; X < 6; ++X) Pic.SetPixel(X, Y, X % 2 ? 0xFF20A040 : 0xFFE0E020);
         static_cast<TChartImageTool*>(T)->GetPicture()->SetBitmap(&Pic);
       }},
      {"TMarksTipTool",
       [](TZelCustomTool* T, const TScene& S) {
         auto* X = static_cast<TMarksTipTool*>(T);
         X->SetSeries(S.Series1);
         X->SetMouseAction(TMarkToolMouseAction::mtmClick);
         X->SetHideDelay(900);
       }},
      {"TAnnotationTool",
       [](TZelCustomTool* T, const TScene&) {
         auto* X = static_cast<TAnnotationTool*>(T);
         X->SetText("Peak");
         X->SetPosition(TAnnotationPosition::ppRightBottom);
       }},
      {"TGridBandTool",
       [](TZelCustomTool* T, const TScene& S) {
         auto* X = static_cast<TGridBandTool*>(T);
         X->SetAxis(S.Chart->GetLeftAxis());
         X->GetBand1()->SetColor(0xFFE0F0E0);
         X->GetBand1()->SetTransparency(30);
         X->GetBand2()->SetColor(0xFFF0E0E0);
       }},
      {"TAxisScrollTool",
       [](TZelCustomTool* T, const TScene& S) {
         auto* X = static_cast<TAxisScrollTool*>(T);
         X->SetAxis(S.Custom);
         X->SetScrollInverted(true);
       }},
      {"TRectangleTool",
       [](TZelCustomTool* T, const TScene&) {
         auto* X = static_cast<TRectangleTool*>(T);
         X->SetAllowResize(false);
         X->SetLeft(60);
         X->SetWidth(90);
         X->SetText("Box");
       }},
      {"TClipSeriesTool",
       [](TZelCustomTool* T, const TScene& S) { static_cast<TClipSeriesTool*>(T)->SetSeries(S.Series2); }},
      {"TFullScreenTool",
       [](TZelCustomTool* T, const TScene&) { static_cast<TFullScreenTool*>(T)->SetReleaseKey(13); }},
      {"TRepaintMonitor",
       [](TZelCustomTool* T, const TScene&) {
         auto* X = static_cast<TRepaintMonitor*>(T);
         X->SetPosition(TAnnotationPosition::ppLeftBottom);
         X->SetZ(3);
       }},
      {"TAxisScrollBarTool",
       [](TZelCustomTool* T, const TScene& S) {
         auto* X = static_cast<TAxisScrollBarTool*>(T);
         X->SetAxis(S.Chart->GetBottomAxis());
         X->SetMargin(9);
         X->GetThumb()->SetSize(30);
       }},
      {"TPageNumTool",
       [](TZelCustomTool* T, const TScene&) {
         auto* X = static_cast<TPageNumTool*>(T);
         X->SetFormat("%d / %d");
         X->SetPosition(TAnnotationPosition::ppRightTop);
       }},
  };
  return Cases;
}

constexpr float Width = 480;
constexpr float Height = 360;

TChart* BuildChart(bool View3D) {
  TOwned<TChart> Owned(Create<TChart>(nullptr));
  TChart* C = Owned.get();
  C->SetName("Chart1");
  C->SetBounds(0, 0, Width, Height);
  C->SetView3D(View3D);
  TScene S{C, nullptr, nullptr, nullptr};
  S.Custom = C->GetCustomAxes()->Get(C->GetCustomAxes()->Add()->GetIndex());
  S.Custom->SetHorizontal(false);
  S.Custom->SetOtherSide(true);
  // A new custom axis holds a depth of 0, which reading (through the setter) turns into 0.01;
  // set through the setter here too, the depth reads back as it is written.
  S.Custom->SetZPosition(0);
  auto* Fast = AddToChart<TFastLineSeries>(C, "Series1");
  auto* Area = AddToChart<TAreaSeries>(C, "Series2");
  Area->SetCustomVertAxis(S.Custom);
  for (int I = 0; I < 10; ++I) {
    Fast->AddXY(I, (I * 7) % 10);
    Area->AddXY(I, 10 + (I * 3) % 5);
  }
  // Points added by code are written only when the series says they are its own.
  Fast->ManualData = true;
  Area->ManualData = true;
  S.Series1 = Fast;
  S.Series2 = Area;

  int N = 0;
  TZelToolTypes* Types = CheckZelToolTypes();
  for (std::int32_t I = 0; I < Types->Count(); ++I) {
    const TClass* Class = Types->Get(I);
    const auto Change = Changes().find(String(Class->Name));
    if (Change == Changes().end()) {
      ADD_FAILURE() << String(Class->Name) << " is registered but has no case here";
      continue;
    }
    auto* Tool = dynamic_cast<TZelCustomTool*>(Class->Create(C));
    if (!Tool) {
      ADD_FAILURE() << String(Class->Name) << " is not a tool";
      continue;
    }
    Tool->SetName("Tool" + std::to_string(++N));
    Tool->SetParentChart(C);
    Change->second(Tool, S);
  }
  return Owned.release();
}

// In 3D and in 2D, where the tools draw along other paths (depth lines, the back wall).
TEST(ChartToolsStream, EveryToolReadsBackToTheSameBytesAndPaintsTheSamePixels) {
  for (const bool View3D : {true, false}) {
    SCOPED_TRACE(View3D ? "3D" : "2D");
    TOwned<TChart> A(BuildChart(View3D));
    const std::vector<Byte> First = Store(A.get());
    TOwned<TChart> B(ReadInto(First, Width, Height));
    const std::vector<Byte> Second = Store(B.get());
    // The text form first, where a difference reads as a property.
    ASSERT_EQ(AsText(Second), AsText(First));
    ASSERT_EQ(Second, First);
    ASSERT_EQ(B->GetTools()->GetCount(), A->GetTools()->GetCount());

    EXPECT_TRUE(PaintTheSame(A.get(), B.get()));
  }
}

}  // namespace
}  // namespace zel::testing
