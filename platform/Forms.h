// Forms (top-level windows) and the application object.
//
// `Application` is the process's application object, created on first use. It runs the message
// loop, shows exceptions that reach the loop (ShowException, through a replaceable hook) and
// runs idle handlers (action updates) when the loop is idle.
#pragma once

#include <functional>
#include <vector>

#include "platform/Controls.h"

namespace zel {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TFormBorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
ZEL_ENUM_NAMES(TFormBorderStyle, "None", "Single", "Sizeable", "Dialog", "ToolWindow", "SizeToolWin");

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutHandler = std::function<bool(Word Key, TShiftState Shift)>;

class TForm : public TControl {
  ZEL_CLASS(TForm, TControl)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;
  void Destroying() override;

  // A new empty form (no stored layout), owned by AOwner (may be nullptr).
  static TForm* CreateNew(TComponent* AOwner);

  // A form has no parent; setting one raises EInvalidOperation.
  void SetParent(TControl* AParent) override;
  // Streaming the form: first the components it owns that have no parent of their own (actions
  // lists, dialogs, image lists), then its controls.
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& V);
  // The client area is the whole form (the frame belongs to the window system).
  float GetClientWidth() const { return GetWidth(); }
  float GetClientHeight() const { return GetHeight(); }
  void SetClientWidth(float V) { SetWidth(V); }
  void SetClientHeight(float V) { SetHeight(V); }
  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle V);

  void Show();
  void Hide();
  // Handles the window system's events until the shown form has been painted once, for at
  // most TimeoutMs milliseconds; true when it was painted (at once when it was before).
  bool WaitUntilPainted(int TimeoutMs);
  // Paints the whole window now (the form and every control on it) and puts it on the screen,
  // without waiting for the message loop. A task about to hold the GUI thread calls it first:
  // a window the system asked to repaint (where a dialog just closed over it) would otherwise
  // show what covered it until the task ends. Nothing happens while the form is not on the
  // screen; true when it was painted.
  bool PaintWindowImmediately();
  // Shows the form and runs a nested loop until ModalResult is set or the form closes.
  TModalResult ShowModal();
  // Asks OnCloseQuery, then OnClose decides: caHide (default) hides the form, caFree frees it
  // once control returns to the loop, caNone keeps it open. Closing the main form ends Run.
  void Close();
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult V) { FModalResult = V; }
  bool GetShowing() const { return FShowing; }

  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

  // Key presses the focused control did not handle are offered to these handlers (action
  // lists' shortcuts); one handler per component, removed when it is freed.
  void AddShortCutHandler(TComponent* Owner, TShortCutHandler Handler);
  void RemoveShortCutHandler(TComponent* Owner);
  // Offers a key press to the handlers; true when one of them took it.
  bool IsShortCut(Word Key, TShiftState Shift);

  void KeyDown(Word& Key, char32_t& KeyChar, TShiftState Shift) override;

  // The window system's close request (the user closed the window): as Close, but answers
  // whether the window may close.
  bool HandleCloseRequest();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  String FCaption;
  TFormBorderStyle FBorderStyle = TFormBorderStyle::Sizeable;
  TModalResult FModalResult = mrNone;
  bool FShowing = false;
  bool FInModal = false;
  std::vector<std::pair<TComponent*, TShortCutHandler>> FShortCuts;
};

// Whether windows reach a user's screen: false before the window system started and on the
// off-screen platform (tests, or no display found).
bool HasDisplay();

// What the window system is chosen from when it starts: the environment and the platform
// plugins installed (their names: "xcb", "wayland", "offscreen" ...).
struct TDisplayEnvironment {
  String Platform;  // QT_QPA_PLATFORM, the user's own choice ("" when unset)
  String Wayland;   // WAYLAND_DISPLAY
  String X;         // DISPLAY
  std::vector<String> Plugins;
};
// The choice: the platform list the window system starts with (Qt's QT_QPA_PLATFORM) and, when
// it shows no window, why (for a message; "" otherwise).
struct TDisplayChoice {
  String Platform;
  String WhyNoDisplay;
};
// The first display named in the environment whose plugin is installed, Wayland before X,
// off the screen when none is (without the window system's warning about a missing plugin).
// A platform list the user set (QT_QPA_PLATFORM) is kept in its order, less the platforms whose
// plugin is not installed, with off the screen last: the process never ends in the window
// system's abort, and the reason names the missing plugins.
TDisplayChoice ChooseDisplay(const TDisplayEnvironment& Env);
// This process's environment and the platform plugins the window system would find.
TDisplayEnvironment CurrentDisplayEnvironment();
// Why windows do not reach a screen, for a message: the cause found when the window system
// started (a display that is not set, a missing plugin, a display that could not be reached);
// "" while HasDisplay().
String NoDisplayReason();

// Closes the form's window as the user would (the window system's close request), for tests.
void SimulateWindowClose(TForm* Form);

using TShowExceptionHook = std::function<void(const String& ClassName, const String& Message)>;

class TApplication : public TComponent {
  ZEL_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Starts the window system and installs the message boxes (when a display is there).
  void Initialize();
  // Creates a form of class T owned by the application into Ref; the first becomes the main
  // form.
  template <typename T>
  void CreateForm(T*& Ref) {
    Ref = Create<T>(this);
    AddForm(Ref);
  }
  void AddForm(TForm* Form);
  TForm* GetMainForm() const { return FMainForm; }

  // Shows the main form and runs the message loop until the main form closes or Terminate.
  void Run();
  void Terminate();
  bool GetTerminated() const { return FTerminated; }
  // Handles the pending events of the window system, then runs the idle handlers.
  void ProcessMessages();
  // Runs the idle handlers now (action updates).
  void Idle();
  int AddIdleHandler(std::function<void()> Handler);
  void RemoveIdleHandler(int Id);

  const String& GetTitle() const { return FTitle; }
  void SetTitle(const String& V) { FTitle = V; }

  // Shows an exception to the user: a message box, or the hook when one is installed.
  void ShowException(const std::exception& E);
  // Installs Hook and returns the previous one; an empty hook restores the default.
  TShowExceptionHook SetShowExceptionHook(TShowExceptionHook Hook);
  // Inside a catch block: EAbort is dropped, anything else is shown.
  void HandleException();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FRunning = false;
  String FTitle;
  TShowExceptionHook FHook;
  std::vector<std::pair<int, std::function<void()>>> FIdleHandlers;
  int FNextIdleId = 1;
  bool FInIdle = false;
};

// The application object, created on first use: `Application->Run()`.
class TApplicationRef {
 public:
  TApplication* operator->() const { return Get(); }
  TApplication* Get() const;
  operator TApplication*() const { return Get(); }
  // Frees the application object and the forms it owns (a later use makes a new one).
  void Free();
  bool Exists() const;
};
extern TApplicationRef Application;

}  // namespace zel
