// Forms, the application object's loop, idle handlers and the timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/Controls.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"

namespace zel {
namespace {

// Sets a flag when freed; owned by the form under test to see when the form goes.
class TFreeWatch : public TComponent {
 public:
  TFreeWatch(TComponent* AOwner, bool* AFlag) : TComponent(AOwner), FFlag(AFlag) {}
  ~TFreeWatch() override { *FFlag = true; }

 private:
  bool* FFlag;
};

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

// Processes events until Done() holds or a few seconds passed.
template <typename F>
bool Pump(F Done) {
  auto Until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!Done()) {
    if (std::chrono::steady_clock::now() > Until) return false;
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

TEST(Form, CloseFollowsTheQueryAndTheCloseAction) {
  struct Case {
    const char* Name;
    bool CanClose;
    TCloseAction Action;
    bool ShowingAfter, FreedAfter;
  };
  const Case Cases[] = {
      {"refused", false, TCloseAction::caHide, true, false},
      {"kept open", true, TCloseAction::caNone, true, false},
      {"hidden", true, TCloseAction::caHide, false, false},
      {"freed", true, TCloseAction::caFree, false, true},
  };
  for (bool ByWindow : {false, true}) {
    for (const Case& C : Cases) {
      SCOPED_TRACE(String(C.Name) + (ByWindow ? " (window)" : " (Close)"));
      bool Freed = false;
      TForm* F = TForm::CreateNew(nullptr);
      Create<TFreeWatch>(F, &Freed);
      int Queries = 0;
      F->OnCloseQuery = [&](TObject*, bool& CanClose) {
        ++Queries;
        CanClose = C.CanClose;
      };
      F->OnClose = [&](TObject*, TCloseAction& A) { A = C.Action; };
      F->Show();
      if (ByWindow)
        SimulateWindowClose(F);
      else
        F->Close();
      EXPECT_EQ(Queries, 1);
      EXPECT_FALSE(Freed);  // never freed inside the close itself
      Application->ProcessMessages();
      EXPECT_EQ(Freed, C.FreedAfter);
      if (!Freed) {
        EXPECT_EQ(F->GetShowing(), C.ShowingAfter);
        F->Free();
      }
    }
  }
}

TEST(Form, CaptionSizeAndNoParent) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  F->SetCaption("Session viewer");
  F->SetClientWidth(300);
  F->SetClientHeight(200);
  EXPECT_EQ(F->GetCaption(), "Session viewer");
  EXPECT_EQ(F->GetClientWidth(), 300);
  EXPECT_EQ(F->GetClientHeight(), 200);
  TOwned<TControl> Other(Create<TControl>(nullptr));
  EXPECT_THROW(F->SetParent(Other.get()), EInvalidOperation);
  EXPECT_EQ(F->GetParent(), nullptr);
  F->SetBorderStyle(TFormBorderStyle::None);
  EXPECT_EQ(F->GetBorderStyle(), TFormBorderStyle::None);
}

TEST(Form, ShowModalEndsWithTheModalResult) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  TTimer* T = Create<TTimer>(F.get());
  T->SetInterval(10);
  T->SetOnTimer([&](TObject*) { F->SetModalResult(mrOk); });
  EXPECT_EQ(F->ShowModal(), mrOk);
  EXPECT_FALSE(F->GetShowing());
  // Closing the window while modal answers mrCancel.
  T->SetOnTimer([&](TObject*) { F->Close(); });
  EXPECT_EQ(F->ShowModal(), mrCancel);
}

TEST(Form, FreedWhileShownModally) {
  // Freed by a click on the form itself or on one of its controls, while the modal loop runs.
  for (bool OnChild : {false, true}) {
    SCOPED_TRACE(OnChild ? "child" : "form");
    TForm* F = TForm::CreateNew(nullptr);
    TControl* Target = F;
    if (OnChild) {
      Target = Create<TControl>(F);
      Target->SetParent(F);
      Target->SetBounds(0, 0, 20, 20);
    }
    Target->OnClick = [F](TObject*) { F->Free(); };
    TOwned<TTimer> T(Create<TTimer>(nullptr));
    T->SetInterval(5);
    T->SetOnTimer([&](TObject*) {
      T->SetEnabled(false);
      SimulateClick(Target, TMouseButton::mbLeft, 1, 1);
    });
    EXPECT_EQ(F->ShowModal(), mrCancel);
    Application->ProcessMessages();
  }
}

TEST(Application, RunEndsWhenTheMainFormCloses) {
  TForm* Main = nullptr;
  Application->CreateForm(Main);
  ASSERT_EQ(Application->GetMainForm(), Main);
  TForm* Second = nullptr;
  Application->CreateForm(Second);
  EXPECT_EQ(Application->GetMainForm(), Main);
  int Ticks = 0;
  TTimer* T = Create<TTimer>(Main);
  T->SetInterval(5);
  T->SetOnTimer([&](TObject*) {
    if (++Ticks == 3) Main->Close();
  });
  Application->Run();
  EXPECT_EQ(Ticks, 3);
  EXPECT_TRUE(Application->GetTerminated());
  // Freeing the application frees the forms it owns; the next use makes a new one.
  bool Freed = false;
  Create<TFreeWatch>(Second, &Freed);
  Application.Free();
  EXPECT_TRUE(Freed);
  EXPECT_FALSE(Application->GetTerminated());
  EXPECT_EQ(Application->GetMainForm(), nullptr);
  Application->Run();  // nothing to run: returns at once
  Application.Free();
}

TEST(Application, MainFormFreedEndsTheLoop) {
  TForm* Main = nullptr;
  Application->CreateForm(Main);
  TTimer* T = Create<TTimer>(nullptr);
  T->SetInterval(5);
  T->SetOnTimer([&](TObject* Sender) {
    Main->Free();
    Sender->Free();  // a timer may free itself in its tick
  });
  Application->Run();
  EXPECT_EQ(Application->GetMainForm(), nullptr);
  Application.Free();
}

TEST(Application, IdleHandlersRunFromProcessMessages) {
  std::vector<int> Calls;
  int A = Application->AddIdleHandler([&] { Calls.push_back(1); });
  int B = 0;
  B = Application->AddIdleHandler([&] {
    Calls.push_back(2);
    Application->RemoveIdleHandler(B);
  });
  Application->ProcessMessages();
  Application->ProcessMessages();
  std::vector<int> Expected = {1, 2, 1};
  EXPECT_EQ(Calls, Expected);
  Application->RemoveIdleHandler(A);
  Application->ProcessMessages();
  EXPECT_EQ(Calls, Expected);
  // An exception in an idle handler is shown and the others still run.
  TShownExceptions Shown;
  int Later = 0;
  int C = Application->AddIdleHandler([] { throw EConvertError("bad"); });
  int D = Application->AddIdleHandler([&] { ++Later; });
  Application->Idle();
  EXPECT_EQ(Later, 1);
  ASSERT_EQ(Shown.Shown.size(), 1u);
  EXPECT_EQ(Shown.Shown[0], "EConvertError: bad");
  Application->RemoveIdleHandler(C);
  Application->RemoveIdleHandler(D);
}

TEST(Timer, TicksOnlyWhileEnabledWithIntervalAndHandler) {
  TOwned<TTimer> T(Create<TTimer>(nullptr));
  EXPECT_EQ(T->GetInterval(), 1000u);
  EXPECT_TRUE(T->GetEnabled());
  EXPECT_FALSE(T->IsRunning());  // no handler yet
  int Ticks = 0;
  T->SetInterval(1);
  T->SetOnTimer([&](TObject* Sender) {
    EXPECT_EQ(Sender, T.get());
    ++Ticks;
  });
  EXPECT_TRUE(T->IsRunning());
  EXPECT_TRUE(Pump([&] { return Ticks >= 3; }));
  T->SetEnabled(false);
  EXPECT_FALSE(T->IsRunning());
  int Stopped = Ticks;
  for (int I = 0; I < 20; ++I) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(Ticks, Stopped);
  T->SetEnabled(true);
  T->SetInterval(0);
  EXPECT_FALSE(T->IsRunning());
  T->SetInterval(2);
  EXPECT_TRUE(T->IsRunning());
  T->SetOnTimer(nullptr);
  EXPECT_FALSE(T->IsRunning());
}

TEST(Timer, ExceptionsInTicksAreShownAndTheTimerGoesOn) {
  TShownExceptions Shown;
  TOwned<TTimer> T(Create<TTimer>(nullptr));
  int Ticks = 0;
  T->SetInterval(1);
  T->SetOnTimer([&](TObject*) {
    ++Ticks;
    if (Ticks == 1) Abort();
    if (Ticks == 2) throw EInvalidOperation("tick failed");
  });
  EXPECT_TRUE(Pump([&] { return Ticks >= 3; }));
  ASSERT_EQ(Shown.Shown.size(), 1u);
  EXPECT_EQ(Shown.Shown[0], "EInvalidOperation: tick failed");
}

TEST(Form, UnhandledKeysReachTheActionListShortcuts) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  TControl* C = Create<TControl>(F.get());
  C->SetParent(F.get());
  TActionList* List = Create<TActionList>(F.get());
  TAction* Load = Create<TAction>(F.get());
  Load->SetActionList(List);
  Load->SetShortCut(ShortCut(vkA + ('O' - 'A'), {TShiftStateItem::ssCtrl}));
  int Runs = 0;
  Load->OnExecute = [&](TObject*) { ++Runs; };
  SimulateKey(C, true, vkA + ('O' - 'A'), U'o', {TShiftStateItem::ssCtrl});
  EXPECT_EQ(Runs, 1);
  // Without Ctrl it is another key; a control that handles the key keeps it.
  SimulateKey(C, true, vkA + ('O' - 'A'), U'o');
  EXPECT_EQ(Runs, 1);
  C->OnKeyDown = [](TObject*, Word& Key, char32_t& Ch, TShiftState) { Key = 0, Ch = 0; };
  SimulateKey(C, true, vkA + ('O' - 'A'), U'o', {TShiftStateItem::ssCtrl});
  EXPECT_EQ(Runs, 1);
  // A disabled action is not run; a freed action list no longer answers.
  C->OnKeyDown = nullptr;
  Load->SetEnabled(false);
  SimulateKey(C, true, vkA + ('O' - 'A'), U'o', {TShiftStateItem::ssCtrl});
  EXPECT_EQ(Runs, 0 + 1);
  Load->SetEnabled(true);
  List->Free();
  EXPECT_EQ(Load->GetActionList(), nullptr);
  SimulateKey(C, true, vkA + ('O' - 'A'), U'o', {TShiftStateItem::ssCtrl});
  EXPECT_EQ(Runs, 1);
}

// The window system starts with the first display named in the environment whose plugin is
// installed (Wayland before X), off the screen otherwise, so that it never tries a plugin that
// is not there (which prints a warning at every start); without a display the reason is the
// real cause. A platform list the user set keeps its order, less the platforms not installed.
TEST(Display, ThePlatformIsTheFirstDisplayWhosePluginIsInstalled) {
  const std::vector<String> Both{"xcb", "wayland", "offscreen"}, XOnly{"xcb", "offscreen", "minimal"},
      EglOnly{"wayland-egl", "offscreen"}, None{"offscreen"};
  struct Case {
    const char* Name;
    TDisplayEnvironment Env;
    const char* Platform;
    const char* WhyStarts;  // "" when a display is chosen
  };
  const Case Cases[] = {
      {"both displays, both plugins", {"", "wayland-0", ":0", Both}, "wayland;xcb;offscreen", ""},
      {"both displays, no Wayland plugin", {"", "wayland-0", ":0", XOnly}, "xcb;offscreen", ""},
      {"Wayland alone", {"", "wayland-0", "", Both}, "wayland;offscreen", ""},
      {"Wayland's EGL plugin alone", {"", "wayland-0", "", EglOnly}, "wayland-egl;offscreen", ""},
      {"X alone", {"", "", ":0", Both}, "xcb;offscreen", ""},
      {"Wayland alone, no Wayland plugin", {"", "wayland-0", "", XOnly}, "offscreen",
       "Qt's Wayland plugin is not installed (package qt6-wayland), so the window cannot open on the Wayland "
       "display \"wayland-0\" (WAYLAND_DISPLAY); install it, or set DISPLAY"},
      {"X alone, no X plugin", {"", "", ":1", EglOnly}, "offscreen", "Qt's X plugin (xcb) is not installed"},
      {"both displays, neither plugin", {"", "w", ":1", None}, "offscreen", "neither Qt's Wayland plugin"},
      {"no display", {"", "", "", Both}, "offscreen",
       "no display to show the window on: neither DISPLAY (an X server) nor WAYLAND_DISPLAY"},
      // The user's list keeps its order, less what is not installed, off the screen last.
      {"the user's platform", {"xcb", "wayland-0", ":0", Both}, "xcb;offscreen", ""},
      {"the user's list, a plugin missing", {"wayland; XCB:a=1;offscreen", "w", ":0", XOnly},
       "XCB:a=1;offscreen", ""},
      {"the user's platform, its plugin missing", {"wayland", "wayland-0", "", XOnly}, "offscreen",
       "Qt's platform plugin \"wayland\" (package qt6-wayland) is not installed, so the window cannot open on "
       "what QT_QPA_PLATFORM names (\"wayland\"); install it, or change or unset QT_QPA_PLATFORM"},
      {"the user's list, every plugin with windows missing", {"wayland-egl;eglfs;minimal", "", ":0", XOnly},
       "minimal;offscreen",
       "Qt's platform plugins \"wayland-egl\" (package qt6-wayland) and \"eglfs\" are not installed"},
      {"the user's platform, off the screen", {"offscreen;minimal", "", ":0", Both}, "offscreen",
       "no display to show the window on: QT_QPA_PLATFORM is \"offscreen;minimal\""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TDisplayChoice Got = ChooseDisplay(C.Env);
    EXPECT_EQ(Got.Platform, C.Platform);
    EXPECT_EQ(Got.WhyNoDisplay.rfind(C.WhyStarts, 0), 0u) << Got.WhyNoDisplay;
    EXPECT_EQ(Got.WhyNoDisplay.empty(), *C.WhyStarts == 0) << Got.WhyNoDisplay;
  }
  // The plugins this process would find: the window system's own ones are there.
  const TDisplayEnvironment Here = CurrentDisplayEnvironment();
  EXPECT_NE(std::find(Here.Plugins.begin(), Here.Plugins.end(), "offscreen"), Here.Plugins.end());
  EXPECT_NE(std::find(Here.Plugins.begin(), Here.Plugins.end(), "xcb"), Here.Plugins.end());
}

}  // namespace
}  // namespace zel
