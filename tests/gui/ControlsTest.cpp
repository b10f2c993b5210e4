// Controls: input forwarding, repaint requests, painting, layout and lifetime.
#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"

namespace zel {
namespace {

// Records every handler call as a line of text.
class TRecorder : public TControl {
 public:
  explicit TRecorder(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 100, 80);
    Log.clear();
  }
  std::vector<String> Log;
  TAlphaColor Fill = 0xFF0000FF;
  int Paints = 0;
  std::function<void()> OnPaintHook;

  static String ShiftText(TShiftState S) {
    String R;
    if (S.Contains(TShiftStateItem::ssShift)) R += "S";
    if (S.Contains(TShiftStateItem::ssCtrl)) R += "C";
    if (S.Contains(TShiftStateItem::ssAlt)) R += "A";
    if (S.Contains(TShiftStateItem::ssLeft)) R += "l";
    if (S.Contains(TShiftStateItem::ssRight)) R += "r";
    if (S.Contains(TShiftStateItem::ssDouble)) R += "d";
    if (S.Contains(TShiftStateItem::ssHorizontal)) R += "h";
    return R;
  }
  static String Pos(float X, float Y) { return FloatToStr(X) + "," + FloatToStr(Y); }

  void MouseDown(TMouseButton B, TShiftState S, float X, float Y) override {
    Log.push_back("down" + std::to_string(int(B)) + "[" + ShiftText(S) + "]" + Pos(X, Y));
    TControl::MouseDown(B, S, X, Y);
  }
  void MouseMove(TShiftState S, float X, float Y) override {
    Log.push_back("move[" + ShiftText(S) + "]" + Pos(X, Y));
    TControl::MouseMove(S, X, Y);
  }
  void MouseUp(TMouseButton B, TShiftState S, float X, float Y) override {
    Log.push_back("up" + std::to_string(int(B)) + "[" + ShiftText(S) + "]" + Pos(X, Y));
    TControl::MouseUp(B, S, X, Y);
  }
  void MouseWheel(TShiftState S, int Delta, bool& Handled) override {
    Log.push_back("wheel[" + ShiftText(S) + "]" + std::to_string(Delta));
    TControl::MouseWheel(S, Delta, Handled);
  }
  void Click() override {
    Log.push_back("click");
    TControl::Click();
  }
  void DblClick() override {
    Log.push_back("dblclick");
    TControl::DblClick();
  }
  void DoMouseEnter() override {
    Log.push_back("enter");
    TControl::DoMouseEnter();
  }
  void DoMouseLeave() override {
    Log.push_back("leave");
    TControl::DoMouseLeave();
  }
  void KeyDown(Word& Key, char32_t& Ch, TShiftState S) override {
    Log.push_back("key" + std::to_string(Key) + "/" + std::to_string(unsigned(Ch)) + "[" + ShiftText(S) + "]");
    TControl::KeyDown(Key, Ch, S);
  }
  void Resize() override {
    Log.push_back("resize" + Pos(GetWidth(), GetHeight()));
    TControl::Resize();
  }
  void Paint() override {
    ++Paints;
    if (OnPaintHook) OnPaintHook();
    TCanvas* C = GetCanvas();
    ASSERT_NE(C, nullptr);
    C->GetFill()->SetColor(Fill);
    C->FillRect(GetClientRect(), 0, 0, AllCorners, 1);
    TControl::Paint();
  }
};

// Collects what Application->ShowException shows; restores the previous hook afterwards.
class TShownExceptions {
 public:
  TShownExceptions() {
    FOld = Application->SetShowExceptionHook(
        [this](const String& Cls, const String& Msg) { Shown.push_back(Cls + ": " + Msg); });
  }
  ~TShownExceptions() { Application->SetShowExceptionHook(FOld); }
  std::vector<String> Shown;

 private:
  TShowExceptionHook FOld;
};

TEST(Control, MousePositionsAreRoundedHalfToEven) {
  struct Case {
    float X, Y;
    const char* Expected;
  };
  const Case Cases[] = {
      {10.5f, 11.5f, "10,12"}, {2.4999f, 0.5f, "2,0"}, {-0.5f, -1.5f, "0,-2"}, {99.75f, 3.25f, "100,3"}};
  for (const Case& C : Cases) {
    TOwned<TRecorder> R(Create<TRecorder>(nullptr));
    SimulateMouse(R.get(), TSimMouseKind::Move, TMouseButton::mbLeft, {}, C.X, C.Y);
    ASSERT_EQ(R->Log.size(), 1u);
    EXPECT_EQ(R->Log[0], String("move[]") + C.Expected) << C.X << "," << C.Y;
  }
}

TEST(Control, ButtonsAndShiftKeysReachTheHandlers) {
  TOwned<TRecorder> R(Create<TRecorder>(nullptr));
  SimulateMouse(R.get(), TSimMouseKind::Press, TMouseButton::mbRight, {TShiftStateItem::ssCtrl}, 5, 6);
  SimulateMouse(R.get(), TSimMouseKind::Move, TMouseButton::mbRight, {TShiftStateItem::ssRight}, 7, 8);
  SimulateMouse(R.get(), TSimMouseKind::Release, TMouseButton::mbRight, {TShiftStateItem::ssShift}, 9, 9);
  std::vector<String> Expected = {"down1[Cr]5,6", "move[r]7,8", "up1[S]9,9"};
  EXPECT_EQ(R->Log, Expected);
}

TEST(Control, ClickAndDoubleClickSequence) {
  TOwned<TRecorder> R(Create<TRecorder>(nullptr));
  int Clicks = 0, Dbl = 0;
  R->OnClick = [&](TObject*) { ++Clicks; };
  R->OnDblClick = [&](TObject*) { ++Dbl; };
  SimulateDoubleClick(R.get(), TMouseButton::mbLeft, 20, 30);
  // The second press carries ssDouble and is followed by DblClick; it makes no second click.
  std::vector<String> Expected = {"down0[l]20,30", "up0[]20,30",  "click",
                                  "down0[ld]20,30", "dblclick", "up0[]20,30"};
  EXPECT_EQ(R->Log, Expected);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Dbl, 1);
}

TEST(Control, ReleaseOutsideOrWithOtherButtonMakesNoClick) {
  TOwned<TRecorder> R(Create<TRecorder>(nullptr));
  SimulateMouse(R.get(), TSimMouseKind::Press, TMouseButton::mbLeft, {}, 10, 10);
  SimulateMouse(R.get(), TSimMouseKind::Release, TMouseButton::mbLeft, {}, 150, 10);
  SimulateClick(R.get(), TMouseButton::mbRight, 10, 10);
  for (const String& L : R->Log) EXPECT_NE(L, "click");
}

TEST(Control, WheelAndKeysReachTheHandlers) {
  TOwned<TRecorder> R(Create<TRecorder>(nullptr));
  bool SeenHandled = true;
  R->OnMouseWheel = [&](TObject*, TShiftState, int, bool& Handled) { SeenHandled = Handled; };
  SimulateWheel(R.get(), -120, 10, 10, {TShiftStateItem::ssCtrl});
  SimulateWheel(R.get(), 240, 10, 10, {TShiftStateItem::ssHorizontal});
  SimulateKey(R.get(), true, vkA, U'a', {TShiftStateItem::ssCtrl});
  SimulateKey(R.get(), true, vkEscape);
  SimulateKey(R.get(), true, vkF1 + 4);
  std::vector<String> Expected = {"wheel[C]-120", "wheel[h]240", "key65/97[C]", "key27/0[]", "key116/0[]"};
  EXPECT_EQ(R->Log, Expected);
  EXPECT_FALSE(SeenHandled);
}

TEST(Control, WheelPassesWholeNotchesOnly) {
  struct Case {
    const char* Name;
    std::vector<int> Sent;
    std::vector<String> Seen;
  };
  const Case Cases[] = {
      {"whole notches", {120, -240}, {"wheel[]120", "wheel[]-240"}},
      {"parts gathered", {40, 40, 40, 60}, {"wheel[]120"}},
      {"more than a notch", {200, 50}, {"wheel[]120", "wheel[]120"}},
      {"turning back drops the parts", {100, -60, -60}, {"wheel[]-120"}},
      {"nothing but pixels", {0}, {}},
  };
  for (const Case& C : Cases) {
    TOwned<TRecorder> R(Create<TRecorder>(nullptr));
    for (int D : C.Sent) SimulateWheel(R.get(), D, 5, 5);
    EXPECT_EQ(R->Log, C.Seen) << C.Name;
  }
}

TEST(Control, EnterAndLeave) {
  TOwned<TRecorder> R(Create<TRecorder>(nullptr));
  int Left = 0;
  R->OnMouseLeave = [&](TObject*) { ++Left; };
  SimulateMouseEnter(R.get());
  SimulateMouseLeave(R.get());
  std::vector<String> Expected = {"enter", "leave"};
  EXPECT_EQ(R->Log, Expected);
  EXPECT_EQ(Left, 1);
}

// Every forwarded event is wrapped: EAbort is silent, anything else is shown, and the control
// keeps working.
TEST(Control, ExceptionsFromHandlersNeverEscapeTheEvent) {
  struct Case {
    const char* Name;
    std::function<void(TControl*, std::function<void()>)> Install;
    std::function<void(TControl*)> Send;
  };
  const Case Cases[] = {
      {"press", [](TControl* C, std::function<void()> T) { C->OnMouseDown = [T](TObject*, TMouseButton, TShiftState, float, float) { T(); }; },
       [](TControl* C) { SimulateMouse(C, TSimMouseKind::Press, TMouseButton::mbLeft, {}, 1, 1); }},
      {"move", [](TControl* C, std::function<void()> T) { C->OnMouseMove = [T](TObject*, TShiftState, float, float) { T(); }; },
       [](TControl* C) { SimulateMouse(C, TSimMouseKind::Move, TMouseButton::mbLeft, {}, 1, 1); }},
      {"release", [](TControl* C, std::function<void()> T) { C->OnMouseUp = [T](TObject*, TMouseButton, TShiftState, float, float) { T(); }; },
       [](TControl* C) { SimulateMouse(C, TSimMouseKind::Release, TMouseButton::mbLeft, {}, 1, 1); }},
      {"double click", [](TControl* C, std::function<void()> T) { C->OnDblClick = [T](TObject*) { T(); }; },
       [](TControl* C) { SimulateDoubleClick(C, TMouseButton::mbLeft, 1, 1); }},
      {"wheel", [](TControl* C, std::function<void()> T) { C->OnMouseWheel = [T](TObject*, TShiftState, int, bool&) { T(); }; },
       [](TControl* C) { SimulateWheel(C, 120, 1, 1); }},
      {"key", [](TControl* C, std::function<void()> T) { C->OnKeyDown = [T](TObject*, Word&, char32_t&, TShiftState) { T(); }; },
       [](TControl* C) { SimulateKey(C, true, vkSpace, U' '); }},
      {"leave", [](TControl* C, std::function<void()> T) { C->OnMouseLeave = [T](TObject*) { T(); }; },
       [](TControl* C) { SimulateMouseLeave(C); }},
      {"resize", [](TControl* C, std::function<void()> T) { C->OnResize = [T](TObject*) { T(); }; },
       [](TControl* C) { SimulateWindowResize(C, int(C->GetWidth()) + 1, 40); }},
      {"paint", [](TControl* C, std::function<void()> T) { static_cast<TRecorder*>(C)->OnPaintHook = T; },
       [](TControl* C) { delete PaintToBitmap(C); }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TShownExceptions Shown;
    TOwned<TRecorder> R(Create<TRecorder>(nullptr));
    C.Install(R.get(), [] { Abort(); });
    EXPECT_NO_THROW(C.Send(R.get()));
    EXPECT_TRUE(Shown.Shown.empty());
    C.Install(R.get(), [] { throw EConvertError("bad value"); });
    EXPECT_NO_THROW(C.Send(R.get()));
    ASSERT_EQ(Shown.Shown.size(), 1u);
    EXPECT_EQ(Shown.Shown[0], "EConvertError: bad value");
    C.Install(R.get(), [] { throw 42; });
    EXPECT_NO_THROW(C.Send(R.get()));
    ASSERT_EQ(Shown.Shown.size(), 2u);
    EXPECT_EQ(Shown.Shown[1], "Exception: Unknown exception");
  }
}

TEST(Control, RepaintRequestsDuringUpdateAreMergedIntoOne) {
  TOwned<TRecorder> R(Create<TRecorder>(nullptr));
  int Base = R->GetRepaintRequestCount();
  R->BeginUpdate();
  R->BeginUpdate();
  R->Invalidate();
  R->Repaint();
  EXPECT_TRUE(R->IsUpdating());
  R->EndUpdate();
  EXPECT_EQ(R->GetRepaintRequestCount(), Base);  // still inside the outer update
  R->EndUpdate();
  EXPECT_FALSE(R->IsUpdating());
  EXPECT_EQ(R->GetRepaintRequestCount(), Base + 1);
  // An update without requests asks for nothing; an unbalanced EndUpdate is harmless.
  R->BeginUpdate();
  R->EndUpdate();
  R->EndUpdate();
  EXPECT_FALSE(R->IsUpdating());
  EXPECT_EQ(R->GetRepaintRequestCount(), Base + 1);
  R->Repaint();
  EXPECT_EQ(R->GetRepaintRequestCount(), Base + 2);
}

TEST(Control, RepaintRequestsWhilePaintingAreDropped) {
  TOwned<TRecorder> R(Create<TRecorder>(nullptr));
  bool WasPainting = false;
  R->OnPaintHook = [&] {
    WasPainting = R->IsPainting();
    R->Invalidate();
  };
  int Base = R->GetRepaintRequestCount();
  delete PaintToBitmap(R.get());
  EXPECT_TRUE(WasPainting);
  EXPECT_FALSE(R->IsPainting());
  EXPECT_EQ(R->GetRepaintRequestCount(), Base);
}

TEST(Control, CanvasLivesAsLongAsTheControl) {
  TOwned<TRecorder> R(Create<TRecorder>(nullptr));
  TCanvas* C = R->GetCanvas();
  ASSERT_NE(C, nullptr);
  TCanvas* During = nullptr;
  R->OnPaintHook = [&] { During = R->GetCanvas(); };
  delete PaintToBitmap(R.get());
  EXPECT_EQ(During, C);
  EXPECT_EQ(R->GetCanvas(), C);
  // Its picture follows the control's size; drawing outside a paint is painted over.
  EXPECT_EQ(C->GetWidth(), 100);
  EXPECT_EQ(C->GetHeight(), 80);
  C->GetFill()->SetColor(0xFF00FF00);
  C->FillRect(TRectF(0, 0, 100, 80), 0, 0, AllCorners, 1);
  R->Fill = 0x80FF0000;  // half transparent: the picture is cleared first, not painted over
  std::unique_ptr<TBitmap> B(PaintToBitmap(R.get()));
  EXPECT_EQ(B->GetPixel(5, 5), 0x80FF0000u);
  R->SetBounds(0, 0, 30, 20);
  B.reset(PaintToBitmap(R.get()));
  EXPECT_EQ(C->GetWidth(), 30);
  EXPECT_EQ(B->GetWidth(), 30);
}

TEST(Control, ShownControlIsPaintedAfterARequest) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  F->SetBounds(0, 0, 200, 150);
  TRecorder* R = Create<TRecorder>(F.get());
  R->SetParent(F.get());
  F->Show();
  Application->ProcessMessages();
  int Before = R->Paints;
  R->Invalidate();
  R->ProcessPendingPaint();
  EXPECT_GT(R->Paints, Before);
  // Inside an update nothing is painted until the outer EndUpdate.
  Before = R->Paints;
  R->BeginUpdate();
  R->Invalidate();
  R->ProcessPendingPaint();
  Application->ProcessMessages();
  EXPECT_EQ(R->Paints, Before);
  R->EndUpdate();
  R->ProcessPendingPaint();
  EXPECT_GT(R->Paints, Before);
  F->Hide();
}

// A shown control painted once, for drawing outside its paint.
class TDrawOutsidePaint : public ::testing::Test {
 protected:
  void SetUp() override {
    F.reset(TForm::CreateNew(nullptr));
    F->SetBounds(0, 0, 200, 150);
    R = Create<TRecorder>(F.get());
    R->SetParent(F.get());
    R->SetBounds(20, 10, 100, 80);
    R->Fill = 0xFF0000FF;
    F->Show();
    Application->ProcessMessages();
    R->Invalidate();
    R->ProcessPendingPaint();
  }
  void TearDown() override { F->Hide(); }
  // Fills Rect of the control's picture outside Paint; false when the bracket did not open.
  bool FillOutside(const TRectF& Rect, TAlphaColor Color) {
    TControlDrawScope Draw(R);
    if (!Draw.Active()) return false;
    R->GetCanvas()->GetFill()->SetColor(Color);
    R->GetCanvas()->FillRect(Rect, 0, 0, AllCorners, 1);
    return true;
  }
  TAlphaColor Shown(int X, int Y) {
    std::unique_ptr<TBitmap> B(PresentedPicture(R));
    return B->IsEmpty() ? 0 : B->GetPixel(X, Y);
  }
  TOwned<TForm> F;
  TRecorder* R = nullptr;
};

TEST_F(TDrawOutsidePaint, PresentShowsTheDrawingAtOnceWithoutAPaint) {
  ASSERT_EQ(Shown(5, 5), 0xFF0000FFu);
  const int Paints = R->Paints, Presents = R->GetPresentCount();
  ASSERT_TRUE(FillOutside(TRectF(10, 10, 30, 20), 0xFFFF0000));
  EXPECT_EQ(Shown(15, 15), 0xFF0000FFu) << "not shown before it is presented";
  R->Present(TRectF(10, 10, 30, 20));
  EXPECT_EQ(Shown(15, 15), 0xFFFF0000u);
  EXPECT_EQ(Shown(5, 5), 0xFF0000FFu);
  EXPECT_EQ(Shown(35, 15), 0xFF0000FFu);
  EXPECT_EQ(R->Paints, Paints);
  EXPECT_EQ(R->GetPresentCount(), Presents + 1);
  // A second drawing adds to the picture: the first one is still there.
  ASSERT_TRUE(FillOutside(TRectF(40, 40, 50, 50), 0xFF00FF00));
  R->Present(TRectF(40, 40, 50, 50));
  EXPECT_EQ(Shown(15, 15), 0xFFFF0000u);
  EXPECT_EQ(Shown(45, 45), 0xFF00FF00u);
  EXPECT_EQ(R->Paints, Paints);
  // The next paint starts from a cleared picture.
  R->Invalidate();
  R->ProcessPendingPaint();
  EXPECT_EQ(Shown(15, 15), 0xFF0000FFu);
}

TEST_F(TDrawOutsidePaint, PresentSoonGathersTheRectanglesOfAFrame) {
  const int Paints = R->Paints, Presents = R->GetPresentCount();
  for (int I = 0; I < 10; ++I) {
    const TRectF Rect(float(10 + 5 * I), 10, float(15 + 5 * I), 20);
    ASSERT_TRUE(FillOutside(Rect, 0xFFFF0000));
    R->PresentSoon(Rect);
  }
  EXPECT_EQ(R->GetPresentCount(), Presents);
  EXPECT_EQ(Shown(12, 12), 0xFF0000FFu);
  for (int Wait = 0; Wait < 100 && R->GetPresentCount() == Presents; ++Wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Application->ProcessMessages();
  }
  EXPECT_EQ(R->GetPresentCount(), Presents + 1);
  EXPECT_EQ(Shown(12, 12), 0xFFFF0000u);
  EXPECT_EQ(Shown(58, 12), 0xFFFF0000u);
  EXPECT_EQ(Shown(62, 12), 0xFF0000FFu);
  EXPECT_EQ(R->Paints, Paints);
  // Present shows what is still waiting at once.
  ASSERT_TRUE(FillOutside(TRectF(70, 30, 80, 40), 0xFF00FF00));
  R->PresentSoon(TRectF(70, 30, 80, 40));
  R->Present(TRectF());
  EXPECT_EQ(Shown(75, 35), 0xFF00FF00u);
  EXPECT_EQ(R->GetPresentCount(), Presents + 2);
}

TEST_F(TDrawOutsidePaint, NoBracketWithoutAPictureOfTheControlsSize) {
  TOwned<TRecorder> Never(Create<TRecorder>(nullptr));
  EXPECT_FALSE(Never->BeginDraw()) << "never painted";
  R->SetBounds(20, 10, 120, 80);
  EXPECT_FALSE(FillOutside(TRectF(0, 0, 10, 10), 0xFFFF0000)) << "resized since its paint";
  R->Invalidate();
  R->ProcessPendingPaint();
  EXPECT_TRUE(FillOutside(TRectF(0, 0, 10, 10), 0xFFFF0000));
  EXPECT_FALSE(R->IsDrawing());
  // Inside Paint the canvas draws as usual; no bracket opens there.
  bool Opened = true;
  R->OnPaintHook = [&] { Opened = R->BeginDraw(); };
  R->Invalidate();
  R->ProcessPendingPaint();
  EXPECT_FALSE(Opened);
}

TEST_F(TDrawOutsidePaint, AHiddenOrUpdatingControlShowsNothing) {
  const int Presents = R->GetPresentCount();
  R->BeginUpdate();
  ASSERT_TRUE(FillOutside(TRectF(10, 10, 20, 20), 0xFFFF0000));
  R->Present(TRectF(10, 10, 20, 20));
  EXPECT_EQ(R->GetPresentCount(), Presents);
  EXPECT_EQ(Shown(15, 15), 0xFF0000FFu);
  R->EndUpdate();
  R->Present(TRectF());
  EXPECT_EQ(R->GetPresentCount(), Presents + 1) << "the rectangle waited for the end of the update";
  EXPECT_EQ(Shown(15, 15), 0xFFFF0000u);
  R->SetVisible(false);
  R->Present(TRectF(0, 0, 100, 80));
  EXPECT_EQ(R->GetPresentCount(), Presents + 1);
  EXPECT_TRUE(std::unique_ptr<TBitmap>(PresentedPicture(R))->IsEmpty());
  // Bad rectangles show nothing and break nothing.
  R->SetVisible(true);
  const float Nan = std::numeric_limits<float>::quiet_NaN();
  R->Present(TRectF(Nan, 0, 10, 10));
  R->PresentSoon(TRectF(-1e30f, -1e30f, 1e30f, 1e30f));
  R->Present(TRectF());
}

TEST(Control, PaintToBitmapDrawsTheControlAndItsChildren) {
  TOwned<TRecorder> Parent(Create<TRecorder>(nullptr));
  Parent->SetBounds(0, 0, 60, 40);
  Parent->Fill = 0xFFFF0000;
  TRecorder* Child = Create<TRecorder>(Parent.get());
  Child->SetParent(Parent.get());
  Child->SetBounds(10, 20, 30, 10);
  Child->Fill = 0xFF00FF00;
  std::unique_ptr<TBitmap> B(PaintToBitmap(Parent.get()));
  ASSERT_EQ(B->GetWidth(), 60);
  ASSERT_EQ(B->GetHeight(), 40);
  EXPECT_EQ(B->GetPixel(5, 5), 0xFFFF0000u);
  EXPECT_EQ(B->GetPixel(10, 20), 0xFF00FF00u);
  EXPECT_EQ(B->GetPixel(39, 29), 0xFF00FF00u);
  EXPECT_EQ(B->GetPixel(40, 29), 0xFFFF0000u);
  EXPECT_EQ(B->GetPixel(10, 30), 0xFFFF0000u);
  // A hidden child is not drawn.
  Child->SetVisible(false);
  B.reset(PaintToBitmap(Parent.get()));
  EXPECT_EQ(B->GetPixel(10, 20), 0xFFFF0000u);
  // A control without area gives an empty bitmap.
  Parent->SetBounds(0, 0, 0, 40);
  B.reset(PaintToBitmap(Parent.get()));
  EXPECT_TRUE(B->IsEmpty());
}

TEST(Control, BoundsAreSanitised) {
  struct Case {
    float L, T, W, H;
    TRectF Expected;
  };
  const float Inf = std::numeric_limits<float>::infinity(), NaN = std::numeric_limits<float>::quiet_NaN();
  const Case Cases[] = {
      {1.5f, 2.5f, 10, 20, TRectF(1.5f, 2.5f, 11.5f, 22.5f)},
      {0, 0, -5, -1, TRectF(0, 0, 0, 0)},
      {NaN, Inf, NaN, Inf, TRectF(0, 0, 0, 0)},
      {0, 0, 1e9f, 3, TRectF(0, 0, 65536, 3)},
  };
  for (const Case& C : Cases) {
    TOwned<TRecorder> R(Create<TRecorder>(nullptr));
    R->SetBounds(C.L, C.T, C.W, C.H);
    EXPECT_EQ(R->GetBoundsRect(), C.Expected) << C.L << " " << C.T << " " << C.W << " " << C.H;
  }
}

TEST(Control, ResizeRunsOnlyWhenTheSizeChanges) {
  TOwned<TRecorder> R(Create<TRecorder>(nullptr));
  R->Log.clear();
  R->SetBounds(5, 5, 100, 80);  // moved only
  R->SetWidth(120);
  R->SetWidth(120);
  SimulateWindowResize(R.get(), 130, 90);  // the window system's resize
  std::vector<String> Expected = {"resize120,80", "resize130,90"};
  EXPECT_EQ(R->Log, Expected);
  EXPECT_EQ(R->GetLeft(), 5);
}

TEST(Control, AlignedChildrenShareTheClientArea) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  F->SetClientWidth(640);
  F->SetClientHeight(480);
  auto Make = [&](TAlignLayout A, float W, float H) {
    TControl* C = Create<TControl>(F.get());
    C->SetBounds(0, 0, W, H);
    C->SetAlign(A);
    C->SetParent(F.get());
    return C;
  };
  TControl* Bar = Make(TAlignLayout::MostTop, 640, 40);
  TControl* Client = Make(TAlignLayout::Client, 10, 10);
  TControl* Progress = Make(TAlignLayout::Top, 640, 4);
  TControl* Side = Make(TAlignLayout::Right, 100, 10);
  EXPECT_EQ(Bar->GetBoundsRect(), TRectF(0, 0, 640, 40));
  EXPECT_EQ(Progress->GetBoundsRect(), TRectF(0, 40, 640, 44));
  EXPECT_EQ(Side->GetBoundsRect(), TRectF(540, 44, 640, 480));
  EXPECT_EQ(Client->GetBoundsRect(), TRectF(0, 44, 540, 480));
  // A hidden control takes no room; the others follow a resize of the parent.
  Progress->SetVisible(false);
  EXPECT_EQ(Client->GetBoundsRect(), TRectF(0, 40, 540, 480));
  F->SetClientWidth(800);
  EXPECT_EQ(Client->GetBoundsRect(), TRectF(0, 40, 700, 480));
  EXPECT_EQ(Side->GetBoundsRect(), TRectF(700, 40, 800, 480));
  // Margins keep space round an aligned control; a parent too small gives empty sizes.
  Bar->SetMargins(TRectF(2, 3, 4, 5));
  EXPECT_EQ(Bar->GetBoundsRect(), TRectF(2, 3, 796, 43));
  F->SetClientHeight(30);
  EXPECT_EQ(Client->GetHeight(), 0);
  EXPECT_EQ(Side->GetHeight(), 0);
}

TEST(Control, ParentsAndChildrenForgetEachOtherWhenFreed) {
  TOwned<TControl> Owner(Create<TControl>(nullptr));
  TControl* Parent = Create<TControl>(nullptr);
  TControl* A = Create<TControl>(Owner.get());
  TControl* B = Create<TControl>(Owner.get());
  A->SetParent(Parent);
  B->SetParent(Parent);
  EXPECT_EQ(Parent->GetControlCount(), 2);
  EXPECT_EQ(A->GetRoot(), Parent);
  B->Free();
  ASSERT_EQ(Parent->GetControlCount(), 1);
  EXPECT_EQ(Parent->GetControl(0), A);
  EXPECT_THROW(Parent->GetControl(1), EListError);
  Parent->Free();
  EXPECT_EQ(A->GetParent(), nullptr);
  // The detached child still works.
  A->SetBounds(0, 0, 10, 10);
  std::unique_ptr<TBitmap> Bmp(PaintToBitmap(A));
  EXPECT_EQ(Bmp->GetWidth(), 10);
}

TEST(Control, ParentCyclesAreRefused) {
  TOwned<TControl> A(Create<TControl>(nullptr));
  TOwned<TControl> B(Create<TControl>(nullptr));
  B->SetParent(A.get());
  EXPECT_THROW(A->SetParent(B.get()), EInvalidOperation);
  EXPECT_THROW(A->SetParent(A.get()), EInvalidOperation);
  EXPECT_EQ(A->GetParent(), nullptr);
  EXPECT_EQ(B->GetParent(), A.get());
}

TEST(Control, ControlFreedInItsOwnClickHandler) {
  TRecorder* R = Create<TRecorder>(nullptr);
  bool Freed = false;
  R->OnClick = [&](TObject* Sender) {
    static_cast<TControl*>(Sender)->Free();
    Freed = true;
  };
  SimulateClick(R, TMouseButton::mbLeft, 5, 5);
  EXPECT_TRUE(Freed);
  Application->ProcessMessages();  // the window goes now
}

TEST(Control, CoordinatesBetweenControlFormAndScreen) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  TControl* Outer = Create<TControl>(F.get());
  Outer->SetParent(F.get());
  Outer->SetBounds(10, 20, 200, 200);
  TControl* Inner = Create<TControl>(F.get());
  Inner->SetParent(Outer);
  Inner->SetBounds(5, 7, 50, 50);
  EXPECT_EQ(Inner->LocalToAbsolute(TPointF(1, 2)), TPointF(16, 29));
  EXPECT_EQ(Inner->AbsoluteToLocal(TPointF(16, 29)), TPointF(1, 2));
  TPointF Screen = Inner->LocalToScreen(TPointF(3, 4));
  EXPECT_EQ(Inner->ScreenToLocal(Screen), TPointF(3, 4));
  TPointF FormScreen = F->LocalToScreen(TPointF(0, 0));
  EXPECT_EQ(Screen, TPointF(FormScreen.X + 18, FormScreen.Y + 31));
  EXPECT_EQ(Inner->GetParentForm(), F.get());
}

TEST(Control, DisabledControlGetsNoMouse) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  TRecorder* R = Create<TRecorder>(F.get());
  R->SetParent(F.get());
  R->SetEnabled(false);
  SimulateClick(R, TMouseButton::mbLeft, 5, 5);
  EXPECT_TRUE(R->Log.empty());
  R->SetEnabled(true);
  SimulateClick(R, TMouseButton::mbLeft, 5, 5);
  EXPECT_FALSE(R->Log.empty());
}

TEST(Control, CursorAndHint) {
  TOwned<TControl> C(Create<TControl>(nullptr));
  EXPECT_EQ(C->GetCursor(), crDefault);
  for (TCursor Cur : {crHandPoint, crSizeWE, crCross, TCursor(1234), crDefault}) {
    C->SetCursor(Cur);
    EXPECT_EQ(C->GetCursor(), Cur);
  }
  C->SetHint("Load a file");
  EXPECT_EQ(C->GetHint(), "Load a file");
}

}  // namespace
}  // namespace zel
