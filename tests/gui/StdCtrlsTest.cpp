// Actions, the open dialog, image lists, the grid layout, speed buttons and the progress bar.
#include <gtest/gtest.h>

#include "support/TempFiles.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <memory>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"

namespace zel {
namespace {

TEST(ShortCut, KeyAndShiftRoundTripAndText) {
  struct Case {
    Word Key;
    TShiftState Shift;
    const char* Text;
  };
  const Case Cases[] = {
      {vkA + ('O' - 'A'), {TShiftStateItem::ssCtrl}, "Ctrl+O"},
      {vkF1 + 4, {}, "F5"},
      {vkEscape, {}, "Esc"},
      {vk0 + 7, {TShiftStateItem::ssShift, TShiftStateItem::ssCtrl, TShiftStateItem::ssAlt}, "Shift+Ctrl+Alt+7"},
      {vkDelete, {TShiftStateItem::ssAlt}, "Alt+Del"},
  };
  for (const Case& C : Cases) {
    TShortCut SC = ShortCut(C.Key, C.Shift);
    Word Key = 0;
    TShiftState Shift;
    ShortCutToKey(SC, Key, Shift);
    EXPECT_EQ(Key, C.Key);
    EXPECT_EQ(Shift, C.Shift);
    EXPECT_EQ(ShortCutToText(SC), C.Text);
  }
  // Mouse-button and other flags of a shift state are not part of a shortcut.
  EXPECT_EQ(ShortCut(vkA, {TShiftStateItem::ssLeft}), ShortCut(vkA, {}));
  EXPECT_EQ(ShortCut(0x1234, {}), scNone);
  EXPECT_EQ(ShortCutToText(scNone), "");
}

TEST(Action, ExecuteAndUpdate) {
  TOwned<TAction> A(Create<TAction>(nullptr));
  EXPECT_FALSE(A->Execute());  // no handler
  EXPECT_FALSE(A->Update());
  int Runs = 0, Updates = 0;
  A->OnExecute = [&](TObject* Sender) {
    EXPECT_EQ(Sender, A.get());
    ++Runs;
  };
  A->OnUpdate = [&](TObject*) { ++Updates; };
  EXPECT_TRUE(A->Execute());
  EXPECT_TRUE(A->Update());
  A->SetEnabled(false);
  EXPECT_FALSE(A->Execute());
  EXPECT_EQ(Runs, 1);
  EXPECT_EQ(Updates, 1);
}

// The viewer's legend toggle: the update pass, run when the application is idle, keeps the
// action (and its button) in step with the state it shows.
TEST(ActionList, IdleUpdatePassDrivesTheButton) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  TActionList* List = Create<TActionList>(F.get());
  TAction* Toggle = Create<TAction>(F.get());
  Toggle->SetActionList(List);
  Toggle->SetText("Toggle Legend");
  Toggle->SetHint("Show or hide chart legend");
  int SeriesCount = 0;
  bool LegendVisible = false;
  Toggle->OnUpdate = [&](TObject*) {
    Toggle->SetEnabled(SeriesCount > 0);
    Toggle->SetChecked(LegendVisible);
  };
  Toggle->OnExecute = [&](TObject*) { LegendVisible = !LegendVisible; };
  TSpeedButton* B = Create<TSpeedButton>(F.get());
  B->SetParent(F.get());
  B->SetAction(Toggle);
  EXPECT_EQ(B->GetText(), "Toggle Legend");
  EXPECT_EQ(B->GetHint(), "Show or hide chart legend");

  Application->ProcessMessages();
  EXPECT_FALSE(B->GetEnabled());
  SimulateClick(B, TMouseButton::mbLeft, 3, 3);
  EXPECT_FALSE(LegendVisible);  // disabled: nothing runs

  SeriesCount = 2;
  LegendVisible = true;
  Application->ProcessMessages();
  EXPECT_TRUE(B->GetEnabled());
  EXPECT_TRUE(B->GetIsPressed());
  SimulateClick(B, TMouseButton::mbLeft, 3, 3);
  EXPECT_FALSE(LegendVisible);
  Application->ProcessMessages();
  EXPECT_FALSE(B->GetIsPressed());

  SeriesCount = 0;
  Application->ProcessMessages();
  EXPECT_FALSE(B->GetEnabled());
  EXPECT_EQ(List->GetActionCount(), 1);
  EXPECT_EQ(List->GetAction(0), Toggle);
  EXPECT_THROW(List->GetAction(1), EListError);
}

TEST(ActionList, FreedActionsButtonsAndListsForgetEachOther) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  TActionList* List = Create<TActionList>(F.get());
  TAction* A = Create<TAction>(F.get());
  TAction* B = Create<TAction>(F.get());
  A->SetActionList(List);
  B->SetActionList(List);
  TSpeedButton* Button = Create<TSpeedButton>(F.get());
  Button->SetParent(F.get());
  Button->SetAction(A);
  int Clicks = 0;
  Button->OnClick = [&](TObject*) { ++Clicks; };
  A->Free();
  EXPECT_EQ(Button->GetAction(), nullptr);
  ASSERT_EQ(List->GetActionCount(), 1);
  EXPECT_EQ(List->GetAction(0), B);
  SimulateClick(Button, TMouseButton::mbLeft, 2, 2);  // now a plain button
  EXPECT_EQ(Clicks, 1);
  List->Free();
  EXPECT_EQ(B->GetActionList(), nullptr);
  Application->ProcessMessages();  // the list's idle handler is gone
}

TEST(OpenDialog, FilterInTheNativeForm) {
  struct Case {
    const char* Filter;
    const char* Native;
  };
  const Case Cases[] = {
      {"Comma separated value files (*csv)|*.csv", "Comma separated value files (*.csv)"},
      {"Pictures (*.png, *.jpg)|*.png;*.jpg", "Pictures (*.png *.jpg)"},
      {"Reports (final)|*.txt", "Reports (final) (*.txt)"},
      {"Text|*.txt;*.log|All|*.*", "Text (*.txt *.log);;All (*.*)"},
      {"Odd one", "Odd one (*)"},
      {"|*.png", "*.png (*.png)"},
      {"", ""},
  };
  for (const Case& C : Cases) EXPECT_EQ(DialogFilterToNative(C.Filter), C.Native) << C.Filter;
}

class OpenDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Existing = zeltest::UniqueTempPath(".csv");
    std::ofstream(Existing) << "x\n";
  }
  void TearDown() override {
    TOpenDialog::SetHook(nullptr);
    std::remove(Existing.c_str());
  }
  String Existing;
};

TEST_F(OpenDialogTest, ExecuteAnswersWhatTheUserChose) {
  struct Case {
    const char* Name;
    bool Chosen;
    String Answer;
    TOpenOptions Options;
    bool Result;
    String FileNameAfter;
  };
  const TOpenOptions MustExist{TOpenOption::ofFileMustExist, TOpenOption::ofPathMustExist};
  const String NoExt = Existing.substr(0, Existing.size() - 4);
  const Case Cases[] = {
      {"chosen", true, Existing, MustExist, true, Existing},
      {"cancelled", false, Existing, MustExist, false, "before"},
      {"missing file", true, Existing + ".gone", MustExist, false, "before"},
      {"missing file allowed", true, Existing + ".gone", {}, true, Existing + ".gone"},
      {"missing folder", true, "/no/such/folder/a.csv", {TOpenOption::ofPathMustExist}, false, "before"},
      {"default extension", true, NoExt, MustExist, true, Existing},
      {"empty answer", true, "", {}, false, "before"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOwned<TOpenDialog> D(Create<TOpenDialog>(nullptr));
    D->SetDefaultExt("csv");
    D->SetOptions(C.Options);
    D->SetFileName("before");
    TOpenDialog::SetHook([&](TOpenDialog* Dialog, String& Name) {
      EXPECT_EQ(Dialog, D.get());
      Name = C.Answer;
      return C.Chosen;
    });
    EXPECT_EQ(D->Execute(), C.Result);
    EXPECT_EQ(D->GetFileName(), C.FileNameAfter);
  }
}

TEST_F(OpenDialogTest, WithoutADisplayNothingIsChosen) {
  TOwned<TOpenDialog> D(Create<TOpenDialog>(nullptr));
  D->SetFileName("kept");
  EXPECT_FALSE(D->Execute());
  EXPECT_EQ(D->GetFileName(), "kept");
}

TEST(ImageList, HoldsCopies) {
  TOwned<TImageList> L(Create<TImageList>(nullptr));
  TBitmap B(4, 4);
  B.Clear(0xFFFF0000);
  EXPECT_EQ(L->Add(B), 0);
  B.Clear(0xFF00FF00);
  EXPECT_EQ(L->AddFromBytes(B.SaveToBytes()), 1);
  ASSERT_EQ(L->GetCount(), 2);
  EXPECT_EQ(L->GetBitmap(0)->GetPixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(L->GetBitmap(1)->GetPixel(1, 1), 0xFF00FF00u);
  EXPECT_EQ(L->GetBitmap(2), nullptr);
  EXPECT_EQ(L->GetBitmap(-1), nullptr);
  EXPECT_THROW(L->AddFromBytes({1, 2, 3}), EInvalidOperation);
  EXPECT_EQ(L->GetCount(), 2);
  L->Clear();
  EXPECT_EQ(L->GetCount(), 0);
}

TEST(GridLayout, PlacesVisibleChildrenInCells) {
  TOwned<TGridLayout> G(Create<TGridLayout>(nullptr));
  G->SetBounds(0, 0, 300, 100);
  G->SetItemWidth(120);
  G->SetItemHeight(32);
  std::vector<TControl*> C;
  for (int I = 0; I < 4; ++I) {
    C.push_back(Create<TControl>(G.get()));
    C.back()->SetParent(G.get());
  }
  // Two cells fit in a row of 300; the third wraps.
  EXPECT_EQ(C[0]->GetBoundsRect(), TRectF(0, 0, 120, 32));
  EXPECT_EQ(C[1]->GetBoundsRect(), TRectF(120, 0, 240, 32));
  EXPECT_EQ(C[2]->GetBoundsRect(), TRectF(0, 32, 120, 64));
  EXPECT_EQ(C[3]->GetBoundsRect(), TRectF(120, 32, 240, 64));
  C[1]->SetVisible(false);
  G->Realign();
  EXPECT_EQ(C[2]->GetBoundsRect(), TRectF(120, 0, 240, 32));
  G->SetOrientation(TOrientation::Vertical);
  EXPECT_EQ(C[0]->GetBoundsRect(), TRectF(0, 0, 120, 32));
  EXPECT_EQ(C[2]->GetBoundsRect(), TRectF(0, 32, 120, 64));
  EXPECT_EQ(C[3]->GetBoundsRect(), TRectF(0, 64, 120, 96));
  // A cell larger than the layout still holds one child; bad sizes become 0.
  G->SetItemHeight(500);
  EXPECT_EQ(C[2]->GetBoundsRect(), TRectF(120, 0, 240, 500));
  G->SetItemWidth(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(G->GetItemWidth(), 0);
}

TEST(ProgressBar, ValueStaysInsideTheRange) {
  struct Case {
    double Min, Max, Value;
    double Expected, Fraction;
  };
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const Case Cases[] = {
      {0, 100, 25, 25, 0.25}, {0, 10, 11, 10, 1},   {5, 10, 0, 5, 0},
      {0, 0, 3, 0, 0},        {0, 100, NaN, 0, 0},  {10, 0, 5, 5, 0},
  };
  for (const Case& C : Cases) {
    TOwned<TProgressBar> P(Create<TProgressBar>(nullptr));
    P->SetMin(C.Min);
    P->SetMax(C.Max);
    P->SetValue(C.Value);
    EXPECT_EQ(P->GetValue(), C.Expected) << C.Min << " " << C.Max << " " << C.Value;
    EXPECT_DOUBLE_EQ(P->GetFraction(), C.Fraction);
  }
  // Narrowing the range pulls the value in; a non-finite bound is ignored.
  TOwned<TProgressBar> P(Create<TProgressBar>(nullptr));
  P->SetValue(80);
  P->SetMax(50);
  EXPECT_EQ(P->GetValue(), 50);
  P->SetMax(std::numeric_limits<double>::infinity());
  EXPECT_EQ(P->GetMax(), 50);
}

TEST(ProgressBar, PaintsTheFilledPart) {
  TOwned<TProgressBar> P(Create<TProgressBar>(nullptr));
  P->SetBounds(0, 0, 100, 4);
  P->SetMax(4);
  P->SetValue(1);
  std::unique_ptr<TBitmap> B(PaintToBitmap(P.get()));
  TAlphaColor Filled = B->GetPixel(10, 2), Empty = B->GetPixel(90, 2);
  EXPECT_NE(Filled, Empty);
  EXPECT_EQ(B->GetPixel(24, 2), Filled);
  EXPECT_EQ(B->GetPixel(26, 2), Empty);
}

TEST(SpeedButton, PaintsItsImage) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  TImageList* Images = Create<TImageList>(F.get());
  TBitmap Icon(16, 16);
  Icon.Clear(0xFF0000FF);
  Images->Add(Icon);
  TSpeedButton* B = Create<TSpeedButton>(F.get());
  B->SetParent(F.get());
  B->SetBounds(0, 0, 120, 32);
  B->SetImages(Images);
  B->SetImageIndex(0);
  B->SetText("Load file");
  std::unique_ptr<TBitmap> Bmp(PaintToBitmap(B));
  // The image sits at the left, centred vertically.
  EXPECT_EQ(Bmp->GetPixel(4, 8), 0xFF0000FFu);
  EXPECT_EQ(Bmp->GetPixel(19, 23), 0xFF0000FFu);
  EXPECT_NE(Bmp->GetPixel(4, 7), 0xFF0000FFu);
  // An image list freed first leaves the button without an image.
  Images->Free();
  EXPECT_EQ(B->GetImages(), nullptr);
  Bmp.reset(PaintToBitmap(B));
  EXPECT_NE(Bmp->GetPixel(4, 8), 0xFF0000FFu);
}

}  // namespace
}  // namespace zel
