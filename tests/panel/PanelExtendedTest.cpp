#include <gtest/gtest.h>

#include <vector>

#include "platform/Filer.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Shadow.h"
#include "tests/panel/TestPanels.h"

namespace zel {
namespace {

TOwned<TBitmap> Paint(TControl* C) { return TOwned<TBitmap>(PaintToBitmap(C)); }

// --- zoom settings ---

TEST(ZoomSettings, PenBrushAndHistoryAreMadeOnFirstUse) {
  auto P = MakePanel();
  TZelZoom* Z = P->GetZoom();
  EXPECT_EQ(Z->ExistingPen(), nullptr);
  EXPECT_EQ(Z->ExistingBrush(), nullptr);
  EXPECT_EQ(Z->ExistingAxesHistory(), nullptr);
  TZelZoomPen* Pen = Z->GetPen();
  EXPECT_EQ(Pen->GetColor(), 0xFFC0C0C0u);
  EXPECT_EQ(Pen->GetWidth(), 3);
  EXPECT_EQ(Pen->GetEndStyle(), TPenEndStyle::esFlat);
  EXPECT_FALSE(Pen->IsColorStored());
  EXPECT_FALSE(Pen->IsWidthStored());
  EXPECT_FALSE(Pen->IsEndStored());
  Pen->SetColor(0xFF000000);
  EXPECT_TRUE(Pen->IsColorStored());
  TZelZoomBrush* Brush = Z->GetBrush();
  EXPECT_EQ(Brush->GetColor(), 0xFFFFFFFFu);
  EXPECT_EQ(Brush->GetKind(), TBrushKind::None);
  Z->SetPen(nullptr);
  EXPECT_EQ(Z->ExistingPen(), nullptr);
}

TEST(ZoomSettings, AssignLeavesMinimumPixelsWheelAndUpLeftAlone) {
  TOwned<TZelZoom> A(Create<TZelZoom>()), B(Create<TZelZoom>());
  A->SetAllow(false);
  A->SetAnimated(true);
  A->SetAnimatedSteps(3);
  A->SetDirection(TZelZoomDirection::tzdVertical);
  A->SetKeyShift(TShiftState{TShiftStateItem::ssCtrl});
  A->SetMouseButton(TMouseButton::mbMiddle);
  A->SetMinimumPixels(40);
  A->SetMouseWheel(TMouseWheelStyle::pmwInverted);
  A->SetUpLeftZooms(true);
  A->GetPen()->SetColor(0xFF112233);
  B->Assign(A.get());
  EXPECT_FALSE(B->GetAllow());
  EXPECT_TRUE(B->GetAnimated());
  EXPECT_EQ(B->GetAnimatedSteps(), 3);
  EXPECT_EQ(B->GetDirection(), TZelZoomDirection::tzdVertical);
  EXPECT_TRUE(B->GetKeyShift().Contains(TShiftStateItem::ssCtrl));
  EXPECT_EQ(B->GetMouseButton(), TMouseButton::mbMiddle);
  ASSERT_NE(B->ExistingPen(), nullptr);
  EXPECT_EQ(B->GetPen()->GetColor(), 0xFF112233u);
  EXPECT_EQ(B->ExistingBrush(), nullptr);
  EXPECT_EQ(B->GetMinimumPixels(), 16);
  EXPECT_EQ(B->GetMouseWheel(), TMouseWheelStyle::pmwNone);
  EXPECT_FALSE(B->GetUpLeftZooms());
}

TEST(ZoomSettings, SwitchingHistoryOffClearsIt) {
  TOwned<TZelZoom> Z(Create<TZelZoom>());
  Z->SetHistory(true);
  Z->GetAxesHistory()->Add(new TObject);
  Z->GetAxesHistory()->Add(new TObject);
  Z->SetHistory(true);
  EXPECT_EQ(Z->GetAxesHistory()->GetCount(), 2);
  Z->SetHistory(false);
  EXPECT_EQ(Z->GetAxesHistory()->GetCount(), 0);
}

TEST(ZoomSettings, DragCornersAreOrdered) {
  TZoomPanning D;
  D.Activate(50, 60);
  EXPECT_TRUE(D.GetActive());
  D.X1 = 10;
  D.Y1 = 90;
  D.Check();
  EXPECT_EQ((std::array<int, 4>{D.X0, D.Y0, D.X1, D.Y1}), (std::array<int, 4>{10, 60, 50, 90}));
}

TEST(ExtendedPanel, DefaultsAndForwardedZoomProperties) {
  auto P = MakePanel();
  EXPECT_EQ(P->GetAllowPanning(), TPanningMode::pmBoth);
  EXPECT_EQ(P->GetScrollMouseButton(), TMouseButton::mbRight);
  EXPECT_EQ(P->GetZoomWheel(), TMouseWheelStyle::pmwNone);
  EXPECT_EQ(P->GetPanning()->GetMouseWheel(), TMouseWheelStyle::pmwNormal);
  P->SetAllowZoom(false);
  P->SetAnimatedZoomSteps(4);
  EXPECT_FALSE(P->GetZoom()->GetAllow());
  EXPECT_EQ(P->GetZoom()->GetAnimatedSteps(), 4);
  P->SetBackImageTransp(false);
  EXPECT_TRUE(P->GetBackImageTransp());
  EXPECT_FALSE(P->GetBackImageInside()) << "no picture";
  P->SetBackImageInside(true);
  EXPECT_FALSE(P->GetBackImageInside()) << "still no picture";
  P->GetBackImage()->SetSize(2, 2);
  EXPECT_TRUE(P->GetBackImageInside());
}

TEST(ExtendedPanel, BackColorFollowsAVisibleGradient) {
  auto P = MakePanel();
  P->SetColor(0xFF101010);
  EXPECT_EQ(P->GetBackColor(), 0xFF101010u);
  P->GetGradient()->SetStartColor(0xFFAA0000);
  EXPECT_EQ(P->GetBackColor(), 0xFF101010u);
  P->GetGradient()->SetVisible(true);
  EXPECT_EQ(P->GetBackColor(), 0xFFAA0000u);
}

TEST(ExtendedPanel, UndoZoomFiresAndClearsZoomed) {
  auto P = MakePanel();
  Paint(P.get());
  int Fired = 0;
  P->OnUndoZoom = [&](TObject* S) {
    ++Fired;
    EXPECT_TRUE(static_cast<TDrawPanel*>(S)->GetZoomed());
  };
  P->SetZoomed(true);
  P->UndoZoom();
  EXPECT_EQ(Fired, 1);
  EXPECT_FALSE(P->GetZoomed());
  Paint(P.get());
  EXPECT_EQ(P->Draws, 2);
}

TEST(ExtendedPanel, AssignCopiesOrFreesImageAndGradient) {
  auto A = MakePanel();
  auto B = MakePanel();
  B->GetBackImage()->SetSize(3, 3);
  B->GetGradient()->SetVisible(true);
  B->Assign(A.get());
  EXPECT_EQ(B->ExistingBackImage(), nullptr);
  EXPECT_EQ(B->ExistingGradient(), nullptr);
  A->GetBackImage()->SetSize(4, 2);
  A->GetBackImage()->SetMode(TZelBackImageMode::pbmTile);
  A->SetAllowPanning(TPanningMode::pmVertical);
  A->GetZoom()->SetDirection(TZelZoomDirection::tzdHorizontal);
  B->Assign(A.get());
  ASSERT_NE(B->ExistingBackImage(), nullptr);
  EXPECT_EQ(B->GetBackImage()->GetWidth(), 4);
  EXPECT_EQ(B->GetBackImageMode(), TZelBackImageMode::pbmTile);
  EXPECT_EQ(B->GetAllowPanning(), TPanningMode::pmVertical);
  EXPECT_EQ(B->GetZoom()->GetDirection(), TZelZoomDirection::tzdHorizontal);
}

// --- painting the background ---

TEST(ExtendedPanelPaint, TransparentColourDrawsOnlyTheBevels) {
  auto P = MakePanel(60, 40);
  P->SetColor(0);
  P->GetShadow()->SetVisible(true);
  P->GetShadow()->SetSize(4);
  auto B = Paint(P.get());
  EXPECT_EQ(B->GetPixel(30, 20), 0u);
  EXPECT_EQ(B->GetPixel(58, 38), 0u) << "no shadow";
  EXPECT_EQ(B->GetPixel(0, 20), 0xFFFFFFFFu);
  EXPECT_EQ(B->GetPixel(59, 20), 0xFFA0A0A0u);
}

TEST(ExtendedPanelPaint, ShadowLeavesThePanelShifted) {
  auto P = MakePanel(60, 40);
  P->SetBevelOuter(TPanelBevel::bvNone);
  P->GetShadow()->SetVisible(true);
  P->GetShadow()->SetSize(4);
  P->GetShadow()->SetColor(0xFF000000);
  P->GetShadow()->SetTransparency(0);
  P->GetShadow()->SetSmooth(false);
  P->SetColor(0xFF00FF00);
  auto B = Paint(P.get());
  // The panel shrinks to (0, 0, 56, 36); the shadow lies 4 pixels right and down of it.
  EXPECT_EQ(B->GetPixel(10, 10), 0xFF00FF00u);
  EXPECT_EQ(B->GetPixel(57, 20), 0xFF000000u);
  EXPECT_EQ(B->GetPixel(30, 37), 0xFF000000u);
  EXPECT_EQ(B->GetPixel(58, 2), 0xFF00FF00u) << "the background outside the shadow";
}

// The shadow (or emboss) takes its size and one pixel from the side it falls on, whatever the
// sign of its offsets; an offset of 0 takes nothing. The frame stays on the picture.
TEST(ExtendedPanelPaint, ShadowAndEmbossOfEitherSignKeepTheFrameOnThePicture) {
  constexpr TAlphaColor Frame = 0xFFFF0000, Shade = 0xFF000000, Panel = 0xFF00FF00;
  struct Case {
    const char* Name;
    int H, V;
    bool Emboss;
    std::vector<std::pair<int, TAlphaColor>> Row20;  // x and colour
  };
  const Case Cases[] = {
      {"shadow down only", 0, 4, false, {{0, Frame}, {1, Panel}}},
      {"shadow up and left", -4, -4, false, {{0, Panel}, {1, Shade}, {4, Shade}, {5, Frame}}},
      {"emboss to the right", -4, 0, true, {{0, Frame}, {57, Shade}, {58, Shade}}},
      {"shadow down and right", 4, 4, false, {{0, Frame}, {57, Shade}, {58, Shade}}},
  };
  for (const Case& C : Cases) {
    auto P = MakePanel(60, 40);
    P->SetBevelOuter(TPanelBevel::bvNone);
    P->GetBorder()->SetVisible(true);
    P->GetBorder()->SetColor(Frame);
    TZelShadow* S = C.Emboss ? static_cast<TZelShadow*>(P->GetEmboss()) : P->GetShadow();
    S->SetVisible(true);
    S->SetHorizSize(C.H);
    S->SetVertSize(C.V);
    S->SetColor(Shade);
    S->SetTransparency(0);
    S->SetSmooth(false);
    P->SetColor(Panel);
    auto B = Paint(P.get());
    for (const auto& [X, Colour] : C.Row20) EXPECT_EQ(B->GetPixel(X, 20), Colour) << C.Name << " at x " << X;
  }
}

TEST(ExtendedPanelPaint, VisibleBorderPenFramesTheTransparentPanel) {
  auto P = MakePanel(60, 40);
  P->SetColor(0);
  P->SetBevelOuter(TPanelBevel::bvNone);
  P->GetBorder()->SetVisible(true);
  P->GetBorder()->SetColor(0xFFFF0000);
  auto B = Paint(P.get());
  EXPECT_EQ(B->GetPixel(0, 20), 0xFFFF0000u);
  EXPECT_EQ(B->GetPixel(30, 20), 0u);
}

TEST(ExtendedPanelPaint, TiledBackImageCoversThePanel) {
  auto P = MakePanel(30, 20);
  P->SetBevelOuter(TPanelBevel::bvNone);
  TBackImage* Img = P->GetBackImage();
  Img->SetSize(4, 3);
  Img->Clear(0xFF0000FF);
  Img->SetPixel(0, 0, 0xFFFF0000);
  Img->SetMode(TZelBackImageMode::pbmTile);
  auto B = Paint(P.get());
  const struct {
    int X, Y;
    TAlphaColor C;
  } Pixels[] = {{0, 0, 0xFFFF0000}, {4, 3, 0xFFFF0000}, {28, 18, 0xFFFF0000}, {29, 19, 0xFF0000FF},
                {1, 1, 0xFF0000FF}, {17, 10, 0xFF0000FF}};
  for (const auto& Px : Pixels) EXPECT_EQ(B->GetPixel(Px.X, Px.Y), Px.C) << Px.X << "," << Px.Y;
}

TEST(ExtendedPanelPaint, TinyTilesOverAHugeRectangleStayCheap) {
  auto P = MakePanel(30, 20);
  TBackImage* Img = P->GetBackImage();
  Img->SetSize(1, 1);
  Img->Clear(0xFF00FF00);
  Img->SetMode(TZelBackImageMode::pbmTile);
  Img->SetInside(true);  // drawn by the chart below, not behind the panel
  P->Extra = [](TDrawPanel* D) { D->DrawBitmap(TRectF(-70000, -3, 70000, 90000), 0); };
  auto B = Paint(P.get());
  EXPECT_EQ(B->GetPixel(15, 10), 0xFF00FF00u);
  EXPECT_EQ(B->GetPixel(29, 19), 0xFF00FF00u);
}

TEST(ExtendedPanelPaint, BackImageModes) {
  struct Case {
    TZelBackImageMode Mode;
    int Left, Top;
    int ProbeX, ProbeY;
    TAlphaColor Expected;
  } Cases[] = {
      {TZelBackImageMode::pbmStretch, 0, 0, 25, 15, 0xFF0000FF},
      {TZelBackImageMode::pbmCenter, 0, 0, 20, 12, 0xFF0000FF},
      {TZelBackImageMode::pbmCenter, 0, 0, 2, 2, 0xFFF0F0F0},
      {TZelBackImageMode::pbmCustom, 5, 6, 6, 7, 0xFF0000FF},
      {TZelBackImageMode::pbmCustom, 5, 6, 3, 3, 0xFFF0F0F0},
  };
  for (const auto& C : Cases) {
    auto P = MakePanel(40, 24);
    P->SetBevelOuter(TPanelBevel::bvNone);
    TBackImage* Img = P->GetBackImage();
    Img->SetSize(4, 4);
    Img->Clear(0xFF0000FF);
    Img->SetMode(C.Mode);
    Img->SetLeft(C.Left);
    Img->SetTop(C.Top);
    auto B = Paint(P.get());
    EXPECT_EQ(B->GetPixel(C.ProbeX, C.ProbeY), C.Expected)
        << int(C.Mode) << " at " << C.ProbeX << "," << C.ProbeY;
  }
}

TEST(ExtendedPanelPaint, ZoomRectangleIsDrawnWithTheZoomPen) {
  auto P = MakePanel(60, 40);
  P->SetBevelOuter(TPanelBevel::bvNone);
  P->GetZoom()->GetPen()->SetWidth(1);
  P->GetZoom()->GetPen()->SetColor(0xFFFF0000);
  P->Extra = [](TDrawPanel* D) {
    TZelZoom* Z = D->GetZoom();
    Z->Activate(10, 10);
    Z->X1 = 40;
    Z->Y1 = 30;
    D->DrawZoomRectangle();
  };
  P->TryDrawZoom();  // no XOR drawing here: a repaint
  auto B = Paint(P.get());
  EXPECT_EQ(B->GetPixel(10, 20), 0xFFFF0000u);
  EXPECT_EQ(B->GetPixel(25, 10), 0xFFFF0000u);
  EXPECT_EQ(B->GetPixel(25, 20), 0xFFF0F0F0u) << "no zoom brush: the inside stays";
}

TEST(BackImage, BoundsUseThePictureSizeForZeroSides) {
  TOwned<TBackImage> Img(Create<TBackImage>());
  Img->SetSize(8, 6);
  Img->SetLeft(2);
  Img->SetTop(3);
  EXPECT_EQ(Img->GetBounds(), TRectF(2, 3, 10, 9));
  int Changes = 0;
  Img->OnChange = [&](TObject*) { ++Changes; };
  Img->SetBounds(TRectF(1.5f, 2.5f, 20, 30));
  EXPECT_EQ(Img->GetBounds(), TRectF(2, 2, 20, 30));
  Img->SetRight(20);
  EXPECT_EQ(Changes, 1);
}

// --- stored properties ---

TEST(ExtendedPanelStream, PrintMarginsAreStoredOnlyWhenNotEven) {
  struct Case {
    TRectF Margins;
    bool Stored;
  } Cases[] = {{TRectF(15, 15, 15, 15), false}, {TRectF(15, 15, 15, 10), true},
               {TRectF(15.2f, 14.8f, 15, 15), false}};
  for (const auto& C : Cases) {
    auto A = MakePanel();
    A->SetPrintMargins(C.Margins);
    TMemoryStream S;
    {
      TWriter W(&S);
      W.WriteProperties(A.get());
      W.WriteListEnd();
    }
    const String Bytes(reinterpret_cast<const char*>(S.GetMemory()), std::size_t(S.GetSize()));
    EXPECT_EQ(Bytes.find("PrintMargins") != String::npos, C.Stored);
    EXPECT_EQ(Bytes.find("AllowZoom"), String::npos) << "legacy names are never written";
    auto B = MakePanel();
    B->SetPrintMargins(TRectF(1, 1, 1, 1));
    S.SetPosition(0);
    TReader R(&S);
    R.ReadProperties(B.get());
    R.ReadListEnd();
    if (C.Stored) {
      EXPECT_EQ(B->GetPrintMargins(), C.Margins);
    }
  }
}

TEST(ExtendedPanelStream, LegacyNamesAreRead) {
  TMemoryStream S;
  {
    TWriter W(&S);
    W.WritePropName("AllowZoom");
    W.WriteBoolean(false);
    W.WritePropName("AnimatedZoom");
    W.WriteBoolean(true);
    W.WritePropName("AnimatedZoomSteps");
    W.WriteInteger(12);
    W.WritePropName("BorderStyle");
    W.WriteIdent("bsSingle");
    W.WritePropName("DefaultCanvas");
    W.WriteString("Some canvas");
    W.WriteListEnd();  // end of the properties
    W.WriteListEnd();  // no children
  }
  auto P = MakePanel();
  S.SetPosition(0);
  TReader R(&S);
  P->ReadState(&R);
  EXPECT_FALSE(P->GetAllowZoom());
  EXPECT_TRUE(P->GetAnimatedZoom());
  EXPECT_EQ(P->GetAnimatedZoomSteps(), 12);
  EXPECT_EQ(P->GetBorderStyle(), TBorderStyle::bsSingle);
  EXPECT_TRUE(P->GetAutoRepaint());
}

TEST(ExtendedPanelStream, ABadStreamStillEndsWithRepaintsOn) {
  TMemoryStream S;
  {
    TWriter W(&S);
    W.WritePropName("PrintMargins");
    W.WriteString("not a list");
  }
  auto P = MakePanel();
  S.SetPosition(0);
  TReader R(&S);
  EXPECT_THROW(P->ReadState(&R), EReadError);
  EXPECT_TRUE(P->GetAutoRepaint());
}

}  // namespace
}  // namespace zel
