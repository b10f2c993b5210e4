#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/Printer.h"
#include "platform/Services.h"
#include "tests/panel/TestPanels.h"

namespace zel {
namespace {

// A printer whose pages are one bitmap; records the document calls.
class TFakePrinter : public TPrinter {
 public:
  TFakePrinter(int W, int H) : Page(W, H), FW(W), FH(H) {}
  void BeginDoc() override {
    Calls.push_back("BeginDoc");
    Open = true;
  }
  void EndDoc() override {
    Calls.push_back("EndDoc");
    Open = false;
  }
  void Abort() override {
    Calls.push_back("Abort");
    Open = false;
  }
  TCanvas* GetCanvas() override { return Page.GetCanvas(); }
  int GetPageWidth() const override {
    if (Broken) throw EPrinter("no printer");
    return FW;
  }
  int GetPageHeight() const override {
    if (Broken) throw EPrinter("no printer");
    return FH;
  }
  void SetOrientation(TPrinterOrientation V) override {
    Orientations.push_back(V);
    TPrinter::SetOrientation(V);
  }
  TBitmap Page;
  int FW, FH;
  bool Open = false;
  bool Broken = false;
  std::vector<String> Calls;
  std::vector<TPrinterOrientation> Orientations;
};

class TFakeScreen : public IScreenService {
 public:
  void GetScreenSize(float& W, float& H) override {
    W = 1000;
    H = 1600;
  }
};

class PanelPrint : public ::testing::Test {
 protected:
  void SetUp() override {
    Old = SetPrinter(Fake = new TFakePrinter(2000, 3000));
    OldScreen = TPlatformServices::Current().SetScreenService(&Screen);
  }
  void TearDown() override {
    delete SetPrinter(Old);
    TPlatformServices::Current().SetScreenService(OldScreen);
  }
  TFakeScreen Screen;
  IScreenService* OldScreen = nullptr;
  TFakePrinter* Fake = nullptr;
  TPrinter* Old = nullptr;
};

TEST(PanelExport, BitmapBackgroundByBackColor) {
  struct Case {
    TAlphaColor BackColor;
    TAlphaColor Expected;
  } Cases[] = {
      {0, 0xFF336699},           // the panel's colour
      {0xFF00FF00, 0xFF00FF00},  // the colour given
      {0xFFFFFFFF, 0},           // no fill: only what the chart draws
  };
  for (const auto& C : Cases) {
    auto P = MakePanel(40, 30);
    P->SetColor(0xFF336699);
    P->PaintBackground = false;
    TOwned<TBitmap> B(P->ZelCreateBitmap(C.BackColor, TRectF(0, 0, 40, 30), 0));
    ASSERT_EQ(B->GetWidth(), 40);
    ASSERT_EQ(B->GetHeight(), 30);
    EXPECT_EQ(B->GetPixel(20, 15), C.Expected);
    EXPECT_TRUE(P->GetBufferedDisplay()) << "the buffer setting is restored";
  }
}

TEST(PanelExport, BitmapDrawsTheChart) {
  auto P = MakePanel(40, 30);
  P->SetColor(0xFF336699);
  TOwned<TBitmap> B(P->ZelCreateBitmap());
  EXPECT_EQ(B->GetPixel(20, 15), 0xFF336699u);
  EXPECT_EQ(B->GetPixel(0, 15), 0xFFFFFFFFu) << "raised bevel";
  EXPECT_FALSE(P->GetPrinting());
  TOwned<TBitmap> Dpi(P->ZelCreateBitmap(0, TRectF(0, 0, 40, 30), 254));
  EXPECT_EQ(Dpi->GetDotsPerMeterX(), 10000);
}

TEST(PanelExport, AssignToBitmap) {
  auto P = MakePanel(40, 30);
  P->SetColor(0xFF00FF00);
  TBitmap B;
  B.Assign(P.get());
  ASSERT_EQ(B.GetWidth(), 40);
  EXPECT_EQ(B.GetPixel(20, 15), 0xFF00FF00u);
}

TEST(PanelExport, CopiesGoToTheClipboard) {
  auto P = MakePanel(40, 30);
  P->SetColor(0xFF00FF00);
  struct Case {
    std::function<void()> Copy;
    int W, H;
  } Cases[] = {
      {[&] { P->CopyToClipboardBitmap(); }, 40, 30},
      {[&] { P->CopyToClipboardBitmap(TRectF(0, 0, 20, 10)); }, 20, 10},
      {[&] { P->CopyToClipboardMetafile(true); }, 40, 30},
  };
  for (const auto& C : Cases) {
    Clipboard()->Clear();
    C.Copy();
    TBitmap B;
    ASSERT_TRUE(Clipboard()->GetBitmap(B));
    EXPECT_EQ(B.GetWidth(), C.W);
    EXPECT_EQ(B.GetHeight(), C.H);
    EXPECT_EQ(B.GetPixel(C.W / 2, C.H / 2), 0xFF00FF00u);
  }
}

TEST(PanelExport, MetafileOfAnEmptyRectangleIsOnePixel) {
  auto P = MakePanel(40, 30);
  struct Case {
    TRectF R;
    int W, H;
  } Cases[] = {{TRectF(0, 0, 0, 0), 1, 1}, {TRectF(0, 0, 40, 30), 40, 30}, {TRectF(5, 5, 5, 25), 1, 20}};
  for (const auto& C : Cases) {
    TOwned<TMetafile> M(P->ZelCreateMetafile(true, C.R));
    EXPECT_EQ(M->GetWidth(), C.W);
    EXPECT_EQ(M->GetHeight(), C.H);
    EXPECT_TRUE(M->GetEnhanced());
  }
}

TEST(PanelExport, SavedFilesReadBack) {
  auto P = MakePanel(40, 30);
  P->SetColor(0xFF00FF00);
  const auto Dir = std::filesystem::temp_directory_path();
  const String Png = (Dir / "zel_panel_export.png").string();
  const String Meta = (Dir / "zel_panel_export.emf").string();
  P->SaveToBitmapFile(Png);
  P->SaveToMetafileEnh(Meta);
  for (const String& F : {Png, Meta}) {
    TBitmap B;
    B.LoadFromFile(F);
    EXPECT_EQ(B.GetWidth(), 40);
    EXPECT_EQ(B.GetPixel(20, 15), 0xFF00FF00u);
    std::remove(F.c_str());
  }
  EXPECT_THROW(P->SaveToBitmapFile((Dir / "no-such-dir" / "x.png").string()), EStreamError);
}

TEST(PanelExport, DrawingElsewhereKeepsTheScreenPicture) {
  auto P = MakePanel(40, 30);
  TOwned<TBitmap> Screen(PaintToBitmap(P.get()));
  TOwned<TBitmap> Other(P->ZelCreateBitmap(0, TRectF(0, 0, 20, 20), 0));
  EXPECT_EQ(Other->GetPixel(19, 10), 0xFFA0A0A0u) << "drawn at the size asked for";
  TOwned<TBitmap> Again(PaintToBitmap(P.get()));
  EXPECT_TRUE(P->GetBufferedDisplay());
  EXPECT_EQ(Again->GetPixel(39, 15), Screen->GetPixel(39, 15)) << "full size again";
}

TEST(PanelExport, MetaBoundsAndPrintMarginRectangles) {
  auto P = MakePanel();
  P->SetPrintResolution(10);
  int WW, WH, VW, VH;
  P->CalcMetaBounds(TRectF(0, 0, 101, 51), TRectF(10, 10, 210, 110), WW, WH, VW, VH);
  EXPECT_EQ(VW, 101);
  EXPECT_EQ(VH, 51);
  EXPECT_EQ(WW, 180);
  EXPECT_EQ(WH, 90);
  P->SetPrintMargins(TRectF(10, 20, 5, 0));
  EXPECT_EQ(P->PrintMarginsRect(1000, 500), TRectF(100, 100, 950, 500));
}

TEST_F(PanelPrint, ProportionalMarginsKeepThePanelShape) {
  struct Case {
    float W, H;
    int PW, PH;
    bool Broken;
    TRectF Expected;
  } Cases[] = {
      {400, 250, 2000, 3000, false, TRectF(15, 40, 15, 40)},
      {250, 400, 3000, 2000, false, TRectF(28, 15, 28, 15)},
      {300, 300, 3000, 3000, false, TRectF(15, 15, 15, 15)},
      // A near-square panel on landscape paper would reach beyond the top and bottom: the chart
      // takes the paper's whole height instead.
      {401, 400, 3000, 2000, false, TRectF(15, 0, 15, 0)},
      // A page without size: the proportions are unknown, the margins stay even.
      {400, 250, 0, 0, false, TRectF(15, 15, 15, 15)},
      // No printer: the screen's size (1000 x 1600) at a ratio of 1.
      {400, 250, 2000, 3000, true, TRectF(15, 36, 15, 36)},
  };
  for (const auto& C : Cases) {
    Fake->FW = C.PW;
    Fake->FH = C.PH;
    Fake->Broken = C.Broken;
    auto P = MakePanel(C.W, C.H);
    EXPECT_EQ(P->CalcProportionalMargins(), C.Expected);
  }
}

TEST_F(PanelPrint, PrintingDrawsIntoTheOrderedRectangle) {
  auto P = MakePanel(400, 250);
  P->SetName("SalesChart");
  P->SetColor(0xFF0000FF);
  TRectF Seen;
  bool PrintingInEvent = false;
  P->SetOnBeforePrint([&](TCustomZelPanel* S, TCanvas*, const TRectF& R) {
    Seen = R;
    PrintingInEvent = S->GetPrinting();
  });
  P->PrintLandscape();
  EXPECT_EQ(Fake->Calls, (std::vector<String>{"BeginDoc", "EndDoc"}));
  EXPECT_EQ(Fake->GetTitle(), "SalesChart");
  EXPECT_TRUE(PrintingInEvent);
  EXPECT_TRUE(P->PrintingSeen);
  EXPECT_FALSE(P->GetPrinting());
  // 2000 x 3000 paper: margins 15, 40, 15, 40 percent.
  EXPECT_EQ(P->GetPrintMargins(), TRectF(15, 40, 15, 40));
  EXPECT_EQ(Seen, TRectF(300, 1200, 1700, 1800));
  EXPECT_EQ(Fake->Page.GetPixel(1000, 1500), 0xFF0000FFu);
  EXPECT_EQ(Fake->Page.GetPixel(1000, 1000), 0u) << "nothing outside the rectangle";
  EXPECT_EQ(Fake->Orientations, (std::vector<TPrinterOrientation>{
                                    TPrinterOrientation::poLandscape, TPrinterOrientation::poPortrait}));
  EXPECT_TRUE(P->GetAutoRepaint());
}

TEST_F(PanelPrint, PartialPrintSortsTheCorners) {
  auto P = MakePanel(100, 100);
  TRectF Seen;
  P->SetOnBeforePrint([&](TCustomZelPanel*, TCanvas*, const TRectF& R) { Seen = R; });
  P->PrintPartialCanvas(Fake->Page.GetCanvas(), TRectF(500, 400, 100, 50));
  EXPECT_EQ(Seen, TRectF(100, 50, 500, 400));
  EXPECT_EQ(P->Bounds, TRectF(100, 50, 500, 400));
}

TEST_F(PanelPrint, AFailedPrintRestoresThePanelAndFreesThePrinter) {
  auto P = MakePanel(100, 100);
  P->Extra = [](TDrawPanel*) { throw EInvalidOperation("cannot draw"); };
  EXPECT_THROW(P->PrintPortrait(), EInvalidOperation);
  EXPECT_EQ(Fake->Calls, (std::vector<String>{"BeginDoc", "Abort"}));
  EXPECT_FALSE(Fake->Open);
  EXPECT_FALSE(P->GetPrinting());
  EXPECT_TRUE(P->GetAutoRepaint());
  EXPECT_EQ(Fake->GetOrientation(), TPrinterOrientation::poPortrait);
  P->Extra = nullptr;
  P->Print();
  EXPECT_EQ(Fake->Calls.back(), "EndDoc");
}

}  // namespace
}  // namespace zel
