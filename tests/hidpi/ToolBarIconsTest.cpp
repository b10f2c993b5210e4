// The viewer's tool bar on a screen of ratio 2: its icons show at the screen's own pixels (drawn
// at twice their 16 x 16 units), not enlarged from 16 x 16 pixels, and a list of 16 x 16 pictures
// without a size still shows them in 16 x 16 units.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "viewer/MainForm.h"

namespace zel::hidpi {
namespace {

// The 2 x 2 device-pixel blocks (from even pixels) of X0..X1, Y0..Y1 that are not one colour:
// none in a picture enlarged from pixels of one unit.
int MixedBlocks(const TBitmap& B, int X0, int Y0, int X1, int Y1) {
  int N = 0;
  for (int Y = Y0; Y + 1 < Y1; Y += 2)
    for (int X = X0; X + 1 < X1; X += 2) {
      const TAlphaColor C = B.GetPixel(X, Y);
      N += B.GetPixel(X + 1, Y) != C || B.GetPixel(X, Y + 1) != C || B.GetPixel(X + 1, Y + 1) != C;
    }
  return N;
}

void ShowAndPaint(TForm* Form, std::initializer_list<TControl*> Controls) {
  Form->Show();
  Application->ProcessMessages();
  for (TControl* C : Controls) {
    C->Invalidate();
    C->ProcessPendingPaint();
  }
}

// A button's icon lies in units 4..20 x 8..24 (a 32-unit high button), device pixels 8..40 x
// 16..48; its text begins at unit 24.
constexpr int IconLeft = 8, IconTop = 16, IconRight = 40, IconBottom = 48, TextLeft = 48;

// Whether two colours differ by at most 2 in every channel.
bool Near(TAlphaColor A, TAlphaColor B) {
  for (int Shift = 0; Shift < 32; Shift += 8)
    if (std::abs(int((A >> Shift) & 0xFF) - int((B >> Shift) & 0xFF)) > 2) return false;
  return true;
}

TEST(ToolBarIcons, TheViewersButtonsShowTheirIconsAndTextsAtTheScreensPixels) {
  TOwned<TFrmMain> Form(Create<TFrmMain>(nullptr));
  // Both buttons enabled, so that their icons show at full opacity.
  Form->actChartLegendToggle_->OnUpdate = nullptr;
  Form->actChartLegendToggle_->SetEnabled(true);
  ShowAndPaint(Form.get(), {Form->SpeedButton1, Form->SpeedButton2});
  for (TSpeedButton* Button : {Form->SpeedButton1, Form->SpeedButton2}) {
    SCOPED_TRACE(Button->GetName());
    std::unique_ptr<TBitmap> P(PresentedPicture(Button));
    ASSERT_EQ(P->GetBitmapScale(), 2.0f);
    ASSERT_EQ(P->GetWidth(), 240);
    ASSERT_EQ(P->GetHeight(), 64);
    EXPECT_GT(MixedBlocks(*P, IconLeft, IconTop, IconRight, IconBottom), 0);
    EXPECT_GT(MixedBlocks(*P, TextLeft, 0, 240, 64), 0);
    // The icon's picture has the device pixels of its 16 x 16 units and shows pixel for pixel
    // (where it is opaque), not enlarged from a picture of 16 x 16 pixels.
    const TBitmap* Icon = Form->imgs_->GetBitmap(Button->GetImageIndex());
    ASSERT_NE(Icon, nullptr);
    ASSERT_EQ(Icon->GetWidth(), IconRight - IconLeft);
    ASSERT_EQ(Icon->GetHeight(), IconBottom - IconTop);
    int Opaque = 0, Shown = 0;
    for (int Y = 0; Y < Icon->GetHeight(); ++Y)
      for (int X = 0; X < Icon->GetWidth(); ++X)
        if (const TAlphaColor C = Icon->GetPixel(X, Y); C >> 24 == 0xFF) {
          ++Opaque;
          Shown += Near(P->GetPixel(IconLeft + X, IconTop + Y), C);
        }
    EXPECT_GT(Opaque, 100);
    EXPECT_EQ(Shown, Opaque);
    // The icon keeps to its 16 x 16 units: the gap before the text and the rows above and below
    // it are the button's own colour.
    const TAlphaColor Back = P->GetPixel(IconRight + 2, IconTop - 4);
    int Painted = 0;
    for (int Y = IconTop - 4; Y < IconBottom + 4; ++Y)
      for (int X = IconRight; X < IconRight + 4; ++X) Painted += P->GetPixel(X, Y) != Back;
    for (int Y : {IconTop - 1, IconBottom})
      for (int X = IconLeft; X < IconRight; ++X) Painted += P->GetPixel(X, Y) != Back;
    EXPECT_EQ(Painted, 0);
  }
  Form->Hide();
}

// A list without a size (as stored before lists had one) and a 16 x 16 picture: the picture
// fills 16 x 16 units, enlarged, as it always showed.
TEST(ToolBarIcons, APictureOfAListWithoutASizeShowsInItsPixelsAsUnits) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  F->SetBounds(0, 0, 200, 60);
  TImageList* Images = Create<TImageList>(F.get());
  TBitmap Blue(16, 16);
  Blue.Clear(0xFF0000FF);
  Images->Add(Blue);
  TSpeedButton* B = Create<TSpeedButton>(F.get());
  B->SetParent(F.get());
  B->SetBounds(0, 0, 120, 32);
  B->SetImages(Images);
  B->SetImageIndex(0);
  ShowAndPaint(F.get(), {B});
  std::unique_ptr<TBitmap> P(PresentedPicture(B));
  ASSERT_EQ(P->GetBitmapScale(), 2.0f);
  int Blues = 0, Outside = 0;
  for (int Y = 0; Y < P->GetHeight(); ++Y)
    for (int X = 0; X < P->GetWidth(); ++X) {
      const bool In = X >= IconLeft && X < IconRight && Y >= IconTop && Y < IconBottom;
      (In ? Blues : Outside) += P->GetPixel(X, Y) == 0xFF0000FF;
    }
  EXPECT_EQ(Blues, (IconRight - IconLeft) * (IconBottom - IconTop));
  EXPECT_EQ(Outside, 0);
  F->Hide();
}

}  // namespace
}  // namespace zel::hidpi
