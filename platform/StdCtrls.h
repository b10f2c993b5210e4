// What a small main window needs: actions and action lists, the file-open dialog, an image
// list, a tool bar with a grid layout and speed buttons, and a progress bar.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Controls.h"

namespace zel {

class TBitmap;
class TImageList;
class TActionList;
class TAction;

// A key with its shift keys in one number: the key code in the low byte, scShift, scCtrl and
// scAlt above it.
using TShortCut = Word;
constexpr TShortCut scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut Value, Word& Key, TShiftState& Shift);
// "Ctrl+Shift+O", "F5", "Esc" ...; empty for scNone.
String ShortCutToText(TShortCut Value);

// What a control linked to an action implements to follow the action's state.
class IActionClient {
 public:
  virtual ~IActionClient() = default;
  virtual void ActionChanged(TAction* Action) = 0;
};

class TAction : public TComponent {
  ZEL_CLASS(TAction, TComponent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TAction(TComponent* AOwner);
  ~TAction() override;
  void Destroying() override;

  const String& GetText() const { return FText; }
  void SetText(const String& V);
  const String& GetHint() const { return FHint; }
  void SetHint(const String& V);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut V);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool V);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool V);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool V);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int V);

  TActionList* GetActionList() const { return FActionList; }
  void SetActionList(TActionList* V);
  // Streamed under its action list.
  bool HasParent() const override { return FActionList != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  // Runs OnExecute; false (and nothing run) when the action is disabled or has no handler.
  virtual bool Execute();
  // Runs OnUpdate; false when there is none.
  virtual bool Update();

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

  void RegisterClient(IActionClient* Client);
  void UnregisterClient(IActionClient* Client);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TActionList;
  void Changed();

  String FText;
  String FHint;
  TShortCut FShortCut = scNone;
  bool FEnabled = true;
  bool FChecked = false;
  bool FVisible = true;
  int FImageIndex = -1;
  TActionList* FActionList = nullptr;
  std::vector<IActionClient*> FClients;
};

// Holds actions, runs their update handlers when the application is idle (its update pass)
// and their shortcuts when the form that owns the list receives an unhandled key.
class TActionList : public TComponent {
  ZEL_CLASS(TActionList, TComponent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TActionList(TComponent* AOwner);
  ~TActionList() override;
  void Destroying() override;

  int GetActionCount() const { return static_cast<int>(FActions.size()); }
  TAction* GetAction(int Index) const;
  TImageList* GetImages() const { return FImages; }
  void SetImages(TImageList* V);

  // The update pass: every action's Update, in list order.
  void UpdateActions();
  // Runs the enabled, visible action whose shortcut this is (after its update); true when
  // one ran.
  bool ExecuteShortCut(Word Key, TShiftState Shift);
  // Its actions, in their order.
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TAction;
  std::vector<TAction*> FActions;
  TImageList* FImages = nullptr;
  int FIdleId = 0;
};

enum class TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
  ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
  ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
  ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing,
  ofDontAddToRecent, ofForceShowHidden
};
ZEL_ENUM_NAMES(TOpenOption, "ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
               "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist",
               "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton",
               "ofNoLongNames", "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing",
               "ofDontAddToRecent", "ofForceShowHidden");
using TOpenOptions = TSet<TOpenOption>;

// Stands in for the user in tests: answers whether a file was chosen and which.
using TOpenDialogHook = std::function<bool(class TOpenDialog* Dialog, String& FileName)>;

class TOpenDialog : public TComponent {
  ZEL_CLASS(TOpenDialog, TComponent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TOpenDialog(TComponent* AOwner);

  // "Description|*.ext|Other|*.a;*.b": pairs of a description and masks separated by ';'.
  const String& GetFilter() const { return FFilter; }
  void SetFilter(const String& V) { FFilter = V; }
  int GetFilterIndex() const { return FFilterIndex; }  // 1-based
  void SetFilterIndex(int V) { FFilterIndex = V; }
  const String& GetDefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const String& V) { FDefaultExt = V; }
  const String& GetFileName() const { return FFileName; }
  void SetFileName(const String& V) { FFileName = V; }
  const String& GetInitialDir() const { return FInitialDir; }
  void SetInitialDir(const String& V) { FInitialDir = V; }
  const String& GetTitle() const { return FTitle; }
  void SetTitle(const String& V) { FTitle = V; }
  TOpenOptions GetOptions() const { return FOptions; }
  void SetOptions(TOpenOptions V) { FOptions = V; }

  // Asks for a file. True when one was chosen: FileName holds it. Cancelling (or no display
  // to ask on) answers false and leaves FileName alone. With ofFileMustExist a name that is
  // not an existing file counts as cancelled; a chosen name without an extension gets
  // DefaultExt when that file exists.
  bool Execute();

  // Installs Hook for every open dialog (tests); returns the previous one. Empty: the real
  // dialog.
  static TOpenDialogHook SetHook(TOpenDialogHook Hook);

 private:
  String FFilter;
  int FFilterIndex = 1;
  String FDefaultExt;
  String FFileName;
  String FInitialDir;
  String FTitle;
  TOpenOptions FOptions{TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing};
};

// The filter of a dialog in the window system's form: "Description (*.ext);;Other (*.a *.b)".
// A description without masks gets "*"; a description that ends in its own pattern list in
// parentheses has that list replaced by the masks, so the patterns show once.
String DialogFilterToNative(const String& Filter);

// Pictures shown in Width x Height units whatever their pixels: pictures of twice that size (32 x
// 32 for 16 x 16) show pixel for pixel at a screen ratio of 2 and are reduced smoothly at 1. A
// size of 0 shows a picture at its own pixel size in units (a stored list without a size).
class TImageList : public TComponent {
  ZEL_CLASS(TImageList, TComponent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TImageList(TComponent* AOwner);
  ~TImageList() override;

  // 0 ... MaxImageSize; raises EInvalidOperation outside, keeping the size it had.
  static constexpr int MaxImageSize = 1024;
  int GetWidth() const { return FWidth; }
  void SetWidth(int V);
  int GetHeight() const { return FHeight; }
  void SetHeight(int V);
  // The units picture Index is shown in; (0, 0) for an index out of range.
  TSizeF GetDrawSize(int Index) const;
  // Draws picture Index with its top-left at (X, Y), in GetDrawSize units, smoothly scaled to the
  // canvas's device pixels. Nothing for an index out of range.
  void Draw(TCanvas* Canvas, float X, float Y, int Index, float Opacity) const;

  // Adds a copy; returns its index.
  int Add(const TBitmap& Image);
  // Adds a picture from PNG data; raises EInvalidOperation when it is not a readable picture.
  int AddFromBytes(const std::vector<std::uint8_t>& Png);
  int GetCount() const { return static_cast<int>(FImages.size()); }
  // nullptr for an index out of range.
  const TBitmap* GetBitmap(int Index) const;
  void Clear();
  // "Images": the pictures as a block of PNGs (a count, then per picture its length and bytes).
  void DefineProperties(TFiler* Filer) override;

 private:
  std::vector<TOwned<TBitmap>> FImages;
  int FWidth = 0;
  int FHeight = 0;
};

enum class TOrientation { Horizontal, Vertical };
ZEL_ENUM_NAMES(TOrientation, "Horizontal", "Vertical");

// A bar of tools at the top of a form; its children are usually a TGridLayout.
class TToolBar : public TControl {
  ZEL_CLASS(TToolBar, TControl)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TToolBar(TComponent* AOwner);
  TAlphaColor GetColor() const { return FColor; }
  void SetColor(TAlphaColor V);
  void Paint() override;

 private:
  TAlphaColor FColor = 0xFFF0F0F0;
};

// Places its visible children in cells of ItemWidth x ItemHeight, in rows (Horizontal: left to
// right, wrapping at its width) or columns (Vertical: top to bottom, wrapping at its height).
class TGridLayout : public TControl {
  ZEL_CLASS(TGridLayout, TControl)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TGridLayout(TComponent* AOwner);
  float GetItemWidth() const { return FItemWidth; }
  void SetItemWidth(float V);
  float GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(float V);
  TOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TOrientation V);

 protected:
  void DoRealign() override;

 private:
  float FItemWidth = 64;
  float FItemHeight = 64;
  TOrientation FOrientation = TOrientation::Horizontal;
};

// A flat button with an image and a text. Linked to an action it shows the action's text,
// hint, image and state (checked = pressed) and runs the action when clicked.
class TSpeedButton : public TControl, public IActionClient {
  ZEL_CLASS(TSpeedButton, TControl)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  TAction* GetAction() const { return FAction; }
  void SetAction(TAction* V);
  const String& GetText() const { return FText; }
  void SetText(const String& V);
  TImageList* GetImages() const { return FImages; }
  void SetImages(TImageList* V);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int V);
  bool GetIsPressed() const { return FIsPressed; }
  void SetIsPressed(bool V);
  bool GetStaysPressed() const { return FStaysPressed; }
  void SetStaysPressed(bool V);

  void Click() override;
  void Paint() override;
  void ActionChanged(TAction* Action) override;
  void DoMouseEnter() override;
  void DoMouseLeave() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TAction* FAction = nullptr;
  String FText;
  TImageList* FImages = nullptr;
  int FImageIndex = -1;
  bool FIsPressed = false;
  bool FStaysPressed = false;
  bool FHot = false;
};

// A bar that fills from Min to Value of Min..Max. Value is kept inside the range. A change of
// Value also paints the bar at once, alone (see TControl::PaintImmediately), at most every
// ProgressShowInterval seconds of the timer service, so that a long task that moves it on the
// GUI thread shows its progress.
inline constexpr double ProgressShowInterval = 0.1;
class TProgressBar : public TControl {
  ZEL_CLASS(TProgressBar, TControl)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TProgressBar(TComponent* AOwner);
  double GetMin() const { return FMin; }
  void SetMin(double V);
  double GetMax() const { return FMax; }
  void SetMax(double V);
  double GetValue() const { return FValue; }
  void SetValue(double V);
  TOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TOrientation V);
  void SetVisible(bool V) override;
  // The filled part, 0..1 (0 for an empty range).
  double GetFraction() const;
  void Paint() override;

 private:
  void Clamp();
  std::optional<double> FShownAt;  // when the bar last showed itself at once
  double FMin = 0;
  double FMax = 100;
  double FValue = 0;
  TOrientation FOrientation = TOrientation::Horizontal;
};

}  // namespace zel
