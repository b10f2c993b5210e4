// The panel's choice of canvas class, and drawing by XOR on a canvas that offers it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/Registry.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/procs/Procs.h"
#include "tests/panel/TestPanels.h"

namespace zel {

// A canvas that claims XOR drawing and records the rectangles drawn.
class TXorCanvas : public TZelCanvas3D {
  ZEL_CLASS(TXorCanvas, TZelCanvas3D)
 public:
  bool GetSupportsXORMode() override { return true; }
  using TZelCanvas3D::Rectangle;
  void Rectangle(float X0, float Y0, float X1, float Y1) override {
    Rects.push_back(TRectF(X0, Y0, X1, Y1));
    Modes.push_back(GetPen()->GetMode());
    Colors.push_back(GetPen()->GetColor());
    TZelCanvas3D::Rectangle(X0, Y0, X1, Y1);
  }
  std::vector<TRectF> Rects;
  std::vector<TPenMode> Modes;
  std::vector<TAlphaColor> Colors;
};

const TClass* TXorCanvas::StaticClass() {
  static const TClass C{"TXorCanvas", TZelCanvas3D::StaticClass(),
                        [](TComponent*) -> TObject* { return Create<TXorCanvas>(); }, {}};
  return &C;
}

namespace {

TEST(PanelCanvasChoice, DefaultCanvasFromTheOptions) {
  const auto Ini = std::filesystem::temp_directory_path() / "zel_panel_options.ini";
  {
    std::ofstream F(Ini);
    F << "[" << ZelOptionsKey << "]\nDefaultCanvas=TXorCanvas\n";
  }
  SetRegistryFileName(Ini.string());
  ZelRenderClasses->push_back(TXorCanvas::StaticClass());
  struct Case {
    const char* LibraryDefault;
    const char* Expected;
  } Cases[] = {
      {"", "TZelCanvas3D"},            // options are read only when the library asks
      {"TZelCanvas3D", "TXorCanvas"},  // the option names a registered class
  };
  for (const auto& C : Cases) {
    ZelDefaultCanvas = C.LibraryDefault;
    auto P = MakePanel();
    EXPECT_EQ(P->GetCanvas()->ClassName(), C.Expected);
  }
  // An unknown class name falls back to the platform canvas.
  {
    std::ofstream F(Ini);
    F << "[" << ZelOptionsKey << "]\nDefaultCanvas=TNoSuchCanvas\n";
  }
  auto P = MakePanel();
  EXPECT_EQ(P->GetCanvas()->ClassName(), "TZelCanvas3D");
  P->IDefaultCanvas = "TXorCanvas";
  P->CreateDefaultCanvas();
  EXPECT_EQ(P->GetCanvas()->ClassName(), "TXorCanvas");

  ZelDefaultCanvas.clear();
  std::erase(*ZelRenderClasses, TXorCanvas::StaticClass());
  SetRegistryFileName("");
  std::filesystem::remove(Ini);
}

TEST(PanelXor, ZoomRectangleIsDrawnAtOnceByXor) {
  auto P = MakePanel();
  auto* C = Create<TXorCanvas>();
  P->SetInternalCanvas(C);
  P->SetColor(0xFF0000FF);
  TZelZoom* Z = P->GetZoom();
  Z->GetPen()->SetColor(0xFF00FF00);
  Z->Activate(5, 6);
  Z->X1 = 50;
  Z->Y1 = 40;

  Z->SetFullRepaint(true);
  P->TryDrawZoom();
  EXPECT_TRUE(C->Rects.empty()) << "full repaints only repaint";

  Z->SetFullRepaint(false);
  P->TryDrawZoom();
  ASSERT_EQ(C->Rects.size(), 1u);
  EXPECT_EQ(C->Rects[0], TRectF(5, 6, 50, 40));
  EXPECT_EQ(C->Modes[0], TPenMode::pmNotXor);
  // (not back colour) xor pen colour: the second pass restores the picture.
  EXPECT_EQ(C->Colors[0], (~0xFF0000FFu) ^ 0xFF00FF00u);
  EXPECT_EQ(C->GetPen()->GetMode(), TPenMode::pmCopy) << "back to copying afterwards";
}

TEST(PanelXor, PrepareXorPenUsesTheGradientBackColour) {
  auto P = MakePanel();
  P->GetGradient()->SetStartColor(0xFF123456);
  P->GetGradient()->SetVisible(true);
  TZelPen Pen;
  Pen.SetColor(0xFF00FF00);
  ZelPrepareXorPen(P.get(), &Pen);
  EXPECT_EQ(P->GetCanvas()->GetPen()->GetColor(), (~0xFF123456u) ^ 0xFF00FF00u);
  EXPECT_EQ(P->GetCanvas()->GetPen()->GetMode(), TPenMode::pmNotXor);
}

}  // namespace
}  // namespace zel
