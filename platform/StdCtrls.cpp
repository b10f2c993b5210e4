// Actions, the open dialog, image lists and the small controls of a main window.
#include "platform/StdCtrls.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Filer.h"
#include "platform/Forms.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TAction, TComponent)
ZEL_DEFINE_COMPONENT_CLASS(TActionList, TComponent)
ZEL_DEFINE_COMPONENT_CLASS(TOpenDialog, TComponent)
ZEL_DEFINE_COMPONENT_CLASS(TImageList, TComponent)
ZEL_DEFINE_COMPONENT_CLASS(TToolBar, TControl)
ZEL_DEFINE_COMPONENT_CLASS(TGridLayout, TControl)
ZEL_DEFINE_COMPONENT_CLASS(TSpeedButton, TControl)
ZEL_DEFINE_COMPONENT_CLASS(TProgressBar, TControl)

namespace {

QString Q(const String& S) { return QString::fromUtf8(S.data(), qsizetype(S.size())); }
String S(const QString& Q) { return Q.toUtf8().toStdString(); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Shortcuts

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if (Key > 0xFF) return scNone;
  TShortCut R = Key;
  if (Shift.Contains(TShiftStateItem::ssShift)) R |= scShift;
  if (Shift.Contains(TShiftStateItem::ssCtrl)) R |= scCtrl;
  if (Shift.Contains(TShiftStateItem::ssAlt)) R |= scAlt;
  return R;
}

void ShortCutToKey(TShortCut Value, Word& Key, TShiftState& Shift) {
  Key = Value & 0xFF;
  Shift = {};
  if (Value & scShift) Shift.Include(TShiftStateItem::ssShift);
  if (Value & scCtrl) Shift.Include(TShiftStateItem::ssCtrl);
  if (Value & scAlt) Shift.Include(TShiftStateItem::ssAlt);
}

String ShortCutToText(TShortCut Value) {
  Word Key;
  TShiftState Shift;
  ShortCutToKey(Value, Key, Shift);
  String Name;
  if ((Key >= vkA && Key <= vkZ) || (Key >= vk0 && Key <= vk9))
    Name = String(1, char(Key));
  else if (Key >= vkF1 && Key <= vkF12)
    Name = "F" + std::to_string(Key - vkF1 + 1);
  else {
    static const std::pair<Word, const char*> Names[] = {
        {vkBack, "BkSp"}, {vkTab, "Tab"},    {vkReturn, "Enter"}, {vkEscape, "Esc"},
        {vkSpace, "Space"}, {vkPrior, "PgUp"}, {vkNext, "PgDn"},  {vkEnd, "End"},
        {vkHome, "Home"}, {vkLeft, "Left"},  {vkUp, "Up"},        {vkRight, "Right"},
        {vkDown, "Down"}, {vkInsert, "Ins"}, {vkDelete, "Del"}};
    for (auto& N : Names)
      if (N.first == Key) Name = N.second;
  }
  if (Name.empty()) return "";
  String Prefix;
  if (Shift.Contains(TShiftStateItem::ssShift)) Prefix += "Shift+";
  if (Shift.Contains(TShiftStateItem::ssCtrl)) Prefix += "Ctrl+";
  if (Shift.Contains(TShiftStateItem::ssAlt)) Prefix += "Alt+";
  return Prefix + Name;
}

// ---------------------------------------------------------------------------------------------
// TAction

TAction::TAction(TComponent* AOwner) : TComponent(AOwner) {}

TAction::~TAction() { SetActionList(nullptr); }

void TAction::Destroying() {
  inherited::Destroying();
  SetActionList(nullptr);
}

#define ZEL_ACTION_SETTER(Name, Type, Field) \
  void TAction::Set##Name(Type V) {          \
    if (V == Field) return;                  \
    Field = V;                               \
    Changed();                               \
  }
ZEL_ACTION_SETTER(Text, const String&, FText)
ZEL_ACTION_SETTER(Hint, const String&, FHint)
ZEL_ACTION_SETTER(ShortCut, TShortCut, FShortCut)
ZEL_ACTION_SETTER(Enabled, bool, FEnabled)
ZEL_ACTION_SETTER(Checked, bool, FChecked)
ZEL_ACTION_SETTER(Visible, bool, FVisible)
ZEL_ACTION_SETTER(ImageIndex, int, FImageIndex)
#undef ZEL_ACTION_SETTER

void TAction::Changed() {
  if (IsDestroying()) return;
  // A copy: a client may unregister while it follows the change.
  auto Clients = FClients;
  for (IActionClient* C : Clients)
    if (std::find(FClients.begin(), FClients.end(), C) != FClients.end()) C->ActionChanged(this);
}

void TAction::SetActionList(TActionList* V) {
  if (V == FActionList) return;
  if (FActionList) {
    auto& L = FActionList->FActions;
    L.erase(std::remove(L.begin(), L.end(), this), L.end());
    FActionList->RemoveFreeNotification(this);
  }
  FActionList = (V && !V->IsDestroying()) ? V : nullptr;
  if (FActionList) {
    FActionList->FActions.push_back(this);
    FActionList->FreeNotification(this);
  }
}

TComponent* TAction::GetParentComponent() const { return FActionList; }

void TAction::SetParentComponent(TComponent* Value) {
  auto* List = dynamic_cast<TActionList*>(Value);
  if (Value && !List) throw EReadError(Value->ClassName() + " cannot hold the action " + GetName());
  SetActionList(List);
}

bool TAction::Execute() {
  if (!FEnabled || !OnExecute) return false;
  TNotifyEvent Handler = OnExecute;
  Handler(this);
  return true;
}

bool TAction::Update() {
  if (!OnUpdate) return false;
  TNotifyEvent Handler = OnUpdate;
  Handler(this);
  return true;
}

void TAction::RegisterClient(IActionClient* Client) {
  if (Client && std::find(FClients.begin(), FClients.end(), Client) == FClients.end()) FClients.push_back(Client);
}

void TAction::UnregisterClient(IActionClient* Client) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Client), FClients.end());
}

void TAction::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FActionList) FActionList = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TActionList

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {
  FIdleId = Application->AddIdleHandler([this] { UpdateActions(); });
  if (auto* F = dynamic_cast<TForm*>(AOwner))
    F->AddShortCutHandler(this, [this](Word Key, TShiftState Shift) { return ExecuteShortCut(Key, Shift); });
}

TActionList::~TActionList() {
  if (FIdleId && Application.Exists()) Application->RemoveIdleHandler(FIdleId);
  for (TAction* A : FActions) {
    A->FActionList = nullptr;
    RemoveFreeNotification(A);
  }
  FActions.clear();
}

void TActionList::Destroying() {
  inherited::Destroying();
  if (FIdleId && Application.Exists()) Application->RemoveIdleHandler(FIdleId);
  FIdleId = 0;
}

TAction* TActionList::GetAction(int Index) const {
  if (Index < 0 || Index >= GetActionCount()) throw EListError(Format(SListIndexError, {Index}));
  return FActions[static_cast<std::size_t>(Index)];
}

void TActionList::SetImages(TImageList* V) {
  if (V == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = V;
  if (FImages) FImages->FreeNotification(this);
}

void TActionList::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  TComponent::GetChildren(Proc, Root);
  for (TAction* A : FActions) Proc(A);
}

void TActionList::UpdateActions() {
  if (IsDestroying()) return;
  // A copy: an update handler may free actions (they leave the list when freed).
  auto Actions = FActions;
  for (TAction* A : Actions)
    if (std::find(FActions.begin(), FActions.end(), A) != FActions.end()) A->Update();
}

bool TActionList::ExecuteShortCut(Word Key, TShiftState Shift) {
  TShortCut SC = ShortCut(Key, Shift);
  if (SC == scNone || Key == 0) return false;
  for (TAction* A : FActions) {
    if (A->GetShortCut() != SC) continue;
    A->Update();
    if (!A->GetEnabled() || !A->GetVisible()) return false;
    return A->Execute();
  }
  return false;
}

void TActionList::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  FActions.erase(std::remove(FActions.begin(), FActions.end(), AComponent), FActions.end());
}

// ---------------------------------------------------------------------------------------------
// TOpenDialog

namespace {
TOpenDialogHook& DialogHook() {
  static TOpenDialogHook Hook;
  return Hook;
}
}  // namespace

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

TOpenDialogHook TOpenDialog::SetHook(TOpenDialogHook Hook) {
  TOpenDialogHook Old = std::move(DialogHook());
  DialogHook() = std::move(Hook);
  return Old;
}

String DialogFilterToNative(const String& Filter) {
  std::vector<String> Parts;
  std::size_t Start = 0;
  for (;;) {
    std::size_t Bar = Filter.find('|', Start);
    Parts.push_back(Filter.substr(Start, Bar == String::npos ? String::npos : Bar - Start));
    if (Bar == String::npos) break;
    Start = Bar + 1;
  }
  if (Filter.empty()) return "";
  String R;
  for (std::size_t I = 0; I < Parts.size(); I += 2) {
    String Desc = Trim(Parts[I]);
    String Masks = I + 1 < Parts.size() ? Parts[I + 1] : String();
    String Pattern;
    std::size_t P = 0;
    for (;;) {
      std::size_t Semi = Masks.find(';', P);
      String M = Trim(Masks.substr(P, Semi == String::npos ? String::npos : Semi - P));
      // Parentheses and spaces would end the pattern list of the native form.
      M.erase(std::remove_if(M.begin(), M.end(), [](char C) { return C == '(' || C == ')' || C == ' '; }), M.end());
      if (!M.empty()) Pattern += (Pattern.empty() ? "" : " ") + M;
      if (Semi == String::npos) break;
      P = Semi + 1;
    }
    if (Pattern.empty()) Pattern = "*";
    // A description that already ends in a pattern list, "Text files (*.txt)", shows the
    // masks there, once.
    if (!Desc.empty() && Desc.back() == ')') {
      std::size_t Open = Desc.rfind('(');
      if (Open != String::npos && Desc.find_first_of("*?", Open) != String::npos) Desc = TrimRight(Desc.substr(0, Open));
    }
    if (Desc.empty()) Desc = Pattern;
    if (!R.empty()) R += ";;";
    R += Desc + " (" + Pattern + ")";
  }
  return R;
}

bool TOpenDialog::Execute() {
  String Chosen = FFileName;
  bool Ok = false;
  if (DialogHook()) {
    TOpenDialogHook Hook = DialogHook();
    Ok = Hook(this, Chosen);
  } else if (HasDisplay()) {
    QString Dir = Q(FInitialDir);
    if (Dir.isEmpty() && !FFileName.empty()) Dir = QFileInfo(Q(FFileName)).absolutePath();
    QString NativeFilter = Q(DialogFilterToNative(FFilter));
    QStringList Filters = NativeFilter.split(";;");
    QString Selected;
    if (FFilterIndex >= 1 && FFilterIndex <= Filters.size()) Selected = Filters[FFilterIndex - 1];
    QString Name = QFileDialog::getOpenFileName(nullptr, Q(FTitle), Dir, NativeFilter, &Selected);
    Ok = !Name.isEmpty();
    if (Ok) {
      Chosen = S(Name);
      int Index = int(Filters.indexOf(Selected));
      if (Index >= 0) FFilterIndex = Index + 1;
    }
  }
  if (!Ok || Chosen.empty()) return false;
  QFileInfo Info(Q(Chosen));
  if (Info.suffix().isEmpty() && !FDefaultExt.empty() && !Info.exists()) {
    String WithExt = Chosen + "." + FDefaultExt;
    if (QFileInfo(Q(WithExt)).isFile()) Chosen = WithExt;
  }
  QFileInfo Final(Q(Chosen));
  if (FOptions.Contains(TOpenOption::ofFileMustExist) && !Final.isFile()) return false;
  if (FOptions.Contains(TOpenOption::ofPathMustExist) && !Final.absoluteDir().exists()) return false;
  FFileName = Chosen;
  return true;
}

// ---------------------------------------------------------------------------------------------
// TImageList

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}
TImageList::~TImageList() = default;

int TImageList::Add(const TBitmap& Image) {
  TOwned<TBitmap> B(new TBitmap());
  B->Assign(const_cast<TBitmap*>(&Image));
  FImages.push_back(std::move(B));
  return GetCount() - 1;
}

int TImageList::AddFromBytes(const std::vector<std::uint8_t>& Png) {
  TOwned<TBitmap> B(new TBitmap());
  B->LoadFromBytes(Png);
  FImages.push_back(std::move(B));
  return GetCount() - 1;
}

const TBitmap* TImageList::GetBitmap(int Index) const {
  if (Index < 0 || Index >= GetCount()) return nullptr;
  return FImages[static_cast<std::size_t>(Index)].get();
}

void TImageList::Clear() { FImages.clear(); }

namespace {
int CheckedImageSize(int V) {
  if (V < 0 || V > TImageList::MaxImageSize)
    throw EInvalidOperation("Invalid image size " + std::to_string(V) + ": it must be 0 to " +
                            std::to_string(TImageList::MaxImageSize));
  return V;
}
}  // namespace

void TImageList::SetWidth(int V) { FWidth = CheckedImageSize(V); }
void TImageList::SetHeight(int V) { FHeight = CheckedImageSize(V); }

TSizeF TImageList::GetDrawSize(int Index) const {
  const TBitmap* B = GetBitmap(Index);
  if (!B) return {};
  return {float(FWidth > 0 ? FWidth : B->GetWidth()), float(FHeight > 0 ? FHeight : B->GetHeight())};
}

void TImageList::Draw(TCanvas* Canvas, float X, float Y, int Index, float Opacity) const {
  const TBitmap* B = GetBitmap(Index);
  if (!Canvas || !B || B->IsEmpty()) return;
  const TSizeF Size = GetDrawSize(Index);
  Canvas->DrawBitmap(B, TRectF(0, 0, float(B->GetWidth()), float(B->GetHeight())),
                     TRectF(X, Y, X + Size.Width, Y + Size.Height), Opacity);
}

void TImageList::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Images",
      [this](TStream* S) {
        // All pictures are read before any replaces the list, so a damaged block loses nothing.
        const auto Bad = [](const String& Why) { throw EReadError("Invalid image list data: " + Why); };
        const auto ReadLength = [&](TStream* Src) {
          std::int32_t N = 0;
          if (Src->Read(&N, 4) != 4) Bad("the block ends early");
          if (N < 0 || N > Src->GetSize() - Src->GetPosition()) Bad("a length exceeds the block");
          return N;
        };
        const std::int32_t Count = ReadLength(S);
        std::vector<TOwned<TBitmap>> Images;
        for (std::int32_t I = 0; I < Count; ++I) {
          std::vector<std::uint8_t> Png(static_cast<std::size_t>(ReadLength(S)));
          if (!Png.empty() && S->Read(Png.data(), static_cast<Int64>(Png.size())) != static_cast<Int64>(Png.size()))
            Bad("the block ends early");
          TOwned<TBitmap> B(new TBitmap());
          try {
            B->LoadFromBytes(Png);
          } catch (const Exception& E) {
            Bad("picture " + std::to_string(I) + ": " + E.what());
          }
          Images.push_back(std::move(B));
        }
        if (S->GetPosition() != S->GetSize()) Bad("bytes after the last picture");
        FImages = std::move(Images);
      },
      [this](TStream* S) {
        const auto WriteInt = [S](std::int32_t V) { S->WriteBuffer(&V, 4); };
        WriteInt(GetCount());
        for (const TOwned<TBitmap>& B : FImages) {
          const std::vector<std::uint8_t> Png = B->SaveToBytes();
          WriteInt(static_cast<std::int32_t>(Png.size()));
          S->WriteBuffer(Png.data(), static_cast<Int64>(Png.size()));
        }
      },
      GetCount() > 0);
}

// ---------------------------------------------------------------------------------------------
// TToolBar

TToolBar::TToolBar(TComponent* AOwner) : TControl(AOwner) { InitSize(100, 40); }

void TToolBar::SetColor(TAlphaColor V) {
  if (V == FColor) return;
  FColor = V;
  Repaint();
}

void TToolBar::Paint() {
  TCanvas* C = GetCanvas();
  if (C) {
    TRectF R = GetClientRect();
    C->GetFill()->SetKind(TBrushKind::Solid);
    C->GetFill()->SetColor(FColor);
    C->FillRect(R, 0, 0, AllCorners, 1);
    C->GetStroke()->SetKind(TBrushKind::Solid);
    C->GetStroke()->SetColor(0xFFC8C8C8);
    C->GetStroke()->SetThickness(1);
    C->DrawLine(TPointF(R.Left, R.Bottom - 0.5f), TPointF(R.Right, R.Bottom - 0.5f), 1);
  }
  inherited::Paint();
}

// ---------------------------------------------------------------------------------------------
// TGridLayout

namespace {
float SaneItemSize(float V) {
  if (!std::isfinite(V) || V < 0) return 0;
  return std::min(V, 65536.0f);
}
}  // namespace

TGridLayout::TGridLayout(TComponent* AOwner) : TControl(AOwner) { InitSize(100, 100); }

void TGridLayout::SetItemWidth(float V) {
  V = SaneItemSize(V);
  if (V == FItemWidth) return;
  FItemWidth = V;
  Realign();
}

void TGridLayout::SetItemHeight(float V) {
  V = SaneItemSize(V);
  if (V == FItemHeight) return;
  FItemHeight = V;
  Realign();
}

void TGridLayout::SetOrientation(TOrientation V) {
  if (V == FOrientation) return;
  FOrientation = V;
  Realign();
}

void TGridLayout::DoRealign() {
  float X = 0, Y = 0;
  bool Horizontal = FOrientation == TOrientation::Horizontal;
  std::vector<TControl*> Children;
  for (int I = 0; I < GetControlCount(); ++I) Children.push_back(GetControl(I));
  for (TControl* C : Children) {
    if (!C->GetVisible()) continue;
    // Wrap to the next row (column) when the cell would stick out, unless it is the first.
    if (Horizontal && X > 0 && X + FItemWidth > GetWidth()) {
      X = 0;
      Y += FItemHeight;
    } else if (!Horizontal && Y > 0 && Y + FItemHeight > GetHeight()) {
      Y = 0;
      X += FItemWidth;
    }
    TRectF M = C->GetMargins();
    C->SetBounds(X + M.Left, Y + M.Top, FItemWidth - M.Left - M.Right, FItemHeight - M.Top - M.Bottom);
    if (Horizontal)
      X += FItemWidth;
    else
      Y += FItemHeight;
  }
}

// ---------------------------------------------------------------------------------------------
// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner) : TControl(AOwner) { InitSize(23, 22); }

TSpeedButton::~TSpeedButton() {
  if (FAction) FAction->UnregisterClient(this);
}

void TSpeedButton::SetAction(TAction* V) {
  if (V == FAction) return;
  if (FAction) {
    FAction->UnregisterClient(this);
    FAction->RemoveFreeNotification(this);
  }
  FAction = V;
  if (FAction) {
    FAction->RegisterClient(this);
    FAction->FreeNotification(this);
    ActionChanged(FAction);
  }
}

void TSpeedButton::ActionChanged(TAction* Action) {
  if (Action != FAction || !Action) return;
  SetText(Action->GetText());
  SetHint(Action->GetHint());
  SetEnabled(Action->GetEnabled());
  SetVisible(Action->GetVisible());
  SetImageIndex(Action->GetImageIndex());
  SetIsPressed(Action->GetChecked());
}

void TSpeedButton::SetText(const String& V) {
  if (V == FText) return;
  FText = V;
  Repaint();
}

void TSpeedButton::SetImages(TImageList* V) {
  if (V == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = V;
  if (FImages) FImages->FreeNotification(this);
  Repaint();
}

void TSpeedButton::SetImageIndex(int V) {
  if (V == FImageIndex) return;
  FImageIndex = V;
  Repaint();
}

void TSpeedButton::SetIsPressed(bool V) {
  if (V == FIsPressed) return;
  FIsPressed = V;
  Repaint();
}

void TSpeedButton::SetStaysPressed(bool V) { FStaysPressed = V; }

void TSpeedButton::Click() {
  if (!GetEnabled()) return;
  if (FStaysPressed && !FAction) SetIsPressed(!FIsPressed);
  if (FAction) {
    FAction->Update();
    if (FAction && FAction->GetEnabled()) FAction->Execute();
    return;
  }
  inherited::Click();
}

void TSpeedButton::DoMouseEnter() {
  FHot = true;
  Repaint();
  inherited::DoMouseEnter();
}

void TSpeedButton::DoMouseLeave() {
  FHot = false;
  Repaint();
  inherited::DoMouseLeave();
}

void TSpeedButton::Paint() {
  TCanvas* C = GetCanvas();
  if (C) {
    TRectF R = GetClientRect();
    if (FIsPressed || FHot) {
      C->GetFill()->SetKind(TBrushKind::Solid);
      C->GetFill()->SetColor(FIsPressed ? 0xFFCCE4F7 : 0xFFE5F1FB);
      C->FillRect(R, 2, 2, AllCorners, 1);
      C->GetStroke()->SetKind(TBrushKind::Solid);
      C->GetStroke()->SetColor(0xFF7EB4EA);
      C->GetStroke()->SetThickness(1);
      TRectF Frame(R.Left + 0.5f, R.Top + 0.5f, R.Right - 0.5f, R.Bottom - 0.5f);
      C->DrawRect(Frame, 2, 2, AllCorners, 1);
    }
    float Opacity = GetEnabled() ? 1.0f : 0.4f;
    float TextLeft = R.Left + 4;
    if (const TBitmap* Img = FImages ? FImages->GetBitmap(FImageIndex) : nullptr; Img && !Img->IsEmpty()) {
      const TSizeF Size = FImages->GetDrawSize(FImageIndex);
      FImages->Draw(C, R.Left + 4, R.Top + std::round((R.Height() - Size.Height) / 2), FImageIndex, Opacity);
      TextLeft += Size.Width + 4;
    }
    if (!FText.empty()) {
      C->GetFill()->SetKind(TBrushKind::Solid);
      C->GetFill()->SetColor(0xFF000000);
      TTextAlign H = TextLeft > R.Left + 4 ? TTextAlign::Leading : TTextAlign::Center;
      C->FillText(TRectF(TextLeft, R.Top, R.Right - 2, R.Bottom), FText, false, Opacity, {}, H, TTextAlign::Center);
    }
  }
  inherited::Paint();
}

void TSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove) return;
  if (AComponent == FAction) FAction = nullptr;
  if (AComponent == FImages) FImages = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TProgressBar

TProgressBar::TProgressBar(TComponent* AOwner) : TControl(AOwner) { InitSize(100, 20); }

void TProgressBar::Clamp() {
  double Lo = std::min(FMin, FMax), Hi = std::max(FMin, FMax);
  FValue = std::clamp(FValue, Lo, Hi);
}

void TProgressBar::SetMin(double V) {
  if (!std::isfinite(V) || V == FMin) return;
  FMin = V;
  Clamp();
  Repaint();
}

void TProgressBar::SetMax(double V) {
  if (!std::isfinite(V) || V == FMax) return;
  FMax = V;
  Clamp();
  Repaint();
}

void TProgressBar::SetValue(double V) {
  if (!std::isfinite(V)) return;
  double Old = FValue;
  FValue = V;
  Clamp();
  if (FValue == Old) return;
  Repaint();
  // A long task on the GUI thread handles no messages while it moves the bar: the bar shows
  // itself at once, alone, at most every ProgressShowInterval.
  ITimerService* Timer = TPlatformServices::Current().GetTimerService();
  const double Now = Timer ? Timer->GetTick() : 0;
  if (FShownAt && Now >= *FShownAt && Now - *FShownAt < ProgressShowInterval) return;
  if (PaintImmediately()) FShownAt = Now;
}

void TProgressBar::SetVisible(bool V) {
  // Shown again, the bar shows its first change at once.
  if (V && !GetVisible()) FShownAt.reset();
  inherited::SetVisible(V);
}

void TProgressBar::SetOrientation(TOrientation V) {
  if (V == FOrientation) return;
  FOrientation = V;
  Repaint();
}

double TProgressBar::GetFraction() const {
  if (FMax <= FMin) return 0;
  return (FValue - FMin) / (FMax - FMin);
}

void TProgressBar::Paint() {
  TCanvas* C = GetCanvas();
  if (C) {
    TRectF R = GetClientRect();
    C->GetFill()->SetKind(TBrushKind::Solid);
    C->GetFill()->SetColor(0xFFE6E6E6);
    C->FillRect(R, 0, 0, AllCorners, 1);
    double F = GetFraction();
    TRectF Bar = R;
    if (FOrientation == TOrientation::Horizontal)
      Bar.Right = R.Left + float(R.Width() * F);
    else
      Bar.Top = R.Bottom - float(R.Height() * F);
    if (Bar.Width() > 0 && Bar.Height() > 0) {
      C->GetFill()->SetColor(0xFF06B025);
      C->FillRect(Bar, 0, 0, AllCorners, 1);
    }
  }
  inherited::Paint();
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TAction)
  P::Prop("Text", &Self::GetText, &Self::SetText, Default(String())),
  P::Prop("Hint", &Self::GetHint, &Self::SetHint, Default(String())),
  P::Prop("ShortCut", &Self::GetShortCut, &Self::SetShortCut, Default(scNone)),
  P::Prop("Enabled", &Self::GetEnabled, &Self::SetEnabled, Default(true)),
  P::Prop("Checked", &Self::GetChecked, &Self::SetChecked, Default(false)),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, Default(true)),
  P::Prop("ImageIndex", &Self::GetImageIndex, &Self::SetImageIndex, Default(-1)),
  P::Event("OnExecute", &Self::OnExecute),
  P::Event("OnUpdate", &Self::OnUpdate),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TActionList)
  P::Prop("Images", &Self::GetImages, &Self::SetImages, Always),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TOpenDialog)
  P::Prop("DefaultExt", &Self::GetDefaultExt, &Self::SetDefaultExt, Default(String())),
  P::Prop("FileName", &Self::GetFileName, &Self::SetFileName, Default(String())),
  P::Prop("Filter", &Self::GetFilter, &Self::SetFilter, Default(String())),
  P::Prop("FilterIndex", &Self::GetFilterIndex, &Self::SetFilterIndex, Default(1)),
  P::Prop("InitialDir", &Self::GetInitialDir, &Self::SetInitialDir, Default(String())),
  P::Prop("Options", &Self::GetOptions, &Self::SetOptions,
          Default(TOpenOptions{TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing})),
  P::Prop("Title", &Self::GetTitle, &Self::SetTitle, Default(String())),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TImageList)
  P::Prop("Width", &Self::GetWidth, &Self::SetWidth, Default(0)),
  P::Prop("Height", &Self::GetHeight, &Self::SetHeight, Default(0)),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TToolBar)
  P::Prop("Color", &Self::GetColor, &Self::SetColor, Default(TAlphaColor(0xFFF0F0F0))),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TGridLayout)
  P::Prop("ItemWidth", &Self::GetItemWidth, &Self::SetItemWidth, Default(64.0f)),
  P::Prop("ItemHeight", &Self::GetItemHeight, &Self::SetItemHeight, Default(64.0f)),
  P::Prop("Orientation", &Self::GetOrientation, &Self::SetOrientation, Default(TOrientation::Horizontal)),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TSpeedButton)
  P::Prop("Action", &Self::GetAction, &Self::SetAction, Always),
  P::Prop("Text", &Self::GetText, &Self::SetText, Default(String())),
  P::Prop("Images", &Self::GetImages, &Self::SetImages, Always),
  P::Prop("ImageIndex", &Self::GetImageIndex, &Self::SetImageIndex, Default(-1)),
  P::Prop("StaysPressed", &Self::GetStaysPressed, &Self::SetStaysPressed, Default(false)),
  P::Prop("IsPressed", &Self::GetIsPressed, &Self::SetIsPressed, Default(false)),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TProgressBar)
  P::Prop("Min", &Self::GetMin, &Self::SetMin, Default(0.0)),
  P::Prop("Max", &Self::GetMax, &Self::SetMax, Default(100.0)),
  P::Prop("Value", &Self::GetValue, &Self::SetValue, Default(0.0)),
  P::Prop("Orientation", &Self::GetOrientation, &Self::SetOrientation, Default(TOrientation::Horizontal)),
ZEL_END_PUBLISHED

}  // namespace zel
