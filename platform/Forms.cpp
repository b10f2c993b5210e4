// Forms and the application object on Qt.
#include "platform/Forms.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

#include "platform/Dialogs.h"
#include "platform/PainterCanvas.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TForm, TControl)
ZEL_DEFINE_CLASS(TApplication, TComponent)

namespace {

QString Q(const String& S) { return QString::fromUtf8(S.data(), qsizetype(S.size())); }

String ExceptionClassName(const std::exception& E) {
  const char* Raw = typeid(E).name();
  int Status = 0;
  char* Demangled = abi::__cxa_demangle(Raw, nullptr, nullptr, &Status);
  String Name = (Status == 0 && Demangled) ? Demangled : Raw;
  std::free(Demangled);
  auto Pos = Name.rfind("::");
  if (Pos != String::npos) Name = Name.substr(Pos + 2);
  return Name;
}

TApplication* GApplication = nullptr;

// The window a message box belongs over: the active one, else the main form while it is shown.
QWidget* MessageParent() {
  if (QWidget* Active = QApplication::activeWindow()) return Active;
  TForm* Main = GApplication ? GApplication->GetMainForm() : nullptr;
  return Main && Main->GetShowing() ? Main->GetWidget() : nullptr;
}

// The caption of a message box: the main window's title, else the application's title.
QString MessageCaption() {
  const TForm* Main = GApplication ? GApplication->GetMainForm() : nullptr;
  if (Main && !Main->GetCaption().empty()) return Q(Main->GetCaption());
  if (GApplication && !GApplication->GetTitle().empty()) return Q(GApplication->GetTitle());
  return QCoreApplication::applicationName();
}

void DefaultShowException(const String& ClassName, const String& Message) {
  if (HasDisplay()) {
    QMessageBox::critical(MessageParent(), MessageCaption(), Q(Message));
    return;
  }
  std::fprintf(stderr, "%s: %s\n", ClassName.c_str(), Message.c_str());
  std::fflush(stderr);
}

}  // namespace

bool HasDisplay() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  QString P = QGuiApplication::platformName();
  return P != "offscreen" && P != "minimal";
}

// ---------------------------------------------------------------------------------------------
// Choosing the display

namespace {

// The choice made when the window system started, and what it was made from.
struct TStartChoice {
  bool Made = false;
  TDisplayEnvironment Env;
  TDisplayChoice Choice;
};
TStartChoice& StartChoice() {
  static TStartChoice C;
  return C;
}

bool Contains(const std::vector<String>& List, const char* Name) {
  return std::find(List.begin(), List.end(), Name) != List.end();
}

String Quoted(const String& S) { return "\"" + S + "\""; }

}  // namespace

TDisplayChoice ChooseDisplay(const TDisplayEnvironment& Env) {
  TDisplayChoice C;
  if (!Env.Platform.empty()) {
    // The user's own list, in its order (an entry is "name" or "name:arguments"), less the
    // platforms whose plugin is not installed: the window system would end the process on
    // those. Off the screen comes last, where it lands when no platform of the list opens.
    String Kept;
    std::vector<String> Missing;  // platforms with windows whose plugin is not installed
    bool Windows = false, Offscreen = false;
    for (const QString& Entry : Q(Env.Platform).split(';', Qt::SkipEmptyParts)) {
      const String Name = Entry.trimmed().section(':', 0, 0).toLower().toStdString();
      if (Name.empty()) continue;
      const bool Headless = Name == "offscreen" || Name == "minimal";
      if (!Contains(Env.Plugins, Name.c_str())) {
        if (!Headless && !Contains(Missing, Name.c_str())) Missing.push_back(Name);
        continue;
      }
      Kept += Entry.trimmed().toStdString() + ";";
      Windows |= !Headless;
      Offscreen |= Name == "offscreen";
    }
    C.Platform = Offscreen ? Kept.substr(0, Kept.size() - 1) : Kept + "offscreen";
    if (Windows) return C;
    if (Missing.empty()) {
      C.WhyNoDisplay = "no display to show the window on: QT_QPA_PLATFORM is " + Quoted(Env.Platform) +
                       ", which shows no window";
      return C;
    }
    String Names;
    for (std::size_t I = 0; I < Missing.size(); ++I) {
      Names += (I == 0 ? "" : I + 1 == Missing.size() ? " and " : ", ") + Quoted(Missing[I]);
      if (Missing[I].rfind("wayland", 0) == 0) Names += " (package qt6-wayland)";
    }
    const bool One = Missing.size() == 1;
    C.WhyNoDisplay = String("Qt's platform plugin") + (One ? " " : "s ") + Names + (One ? " is" : " are") +
                     " not installed, so the window cannot open on what QT_QPA_PLATFORM names (" +
                     Quoted(Env.Platform) + "); install " + (One ? "it" : "one") +
                     ", or change or unset QT_QPA_PLATFORM";
    return C;
  }
  const char* Wayland = Contains(Env.Plugins, "wayland")       ? "wayland"
                        : Contains(Env.Plugins, "wayland-egl") ? "wayland-egl"
                                                               : nullptr;
  const bool X = Contains(Env.Plugins, "xcb");
  const bool UseWayland = !Env.Wayland.empty() && Wayland;
  const bool UseX = !Env.X.empty() && X;
  C.Platform = String(UseWayland ? Wayland + String(";") : "") + (UseX ? "xcb;" : "") + "offscreen";
  if (UseWayland || UseX) return C;
  const String OnWayland = "the Wayland display " + Quoted(Env.Wayland) + " (WAYLAND_DISPLAY)";
  const String OnX = "the X display " + Quoted(Env.X) + " (DISPLAY)";
  if (Env.Wayland.empty() && Env.X.empty())
    C.WhyNoDisplay = "no display to show the window on: neither DISPLAY (an X server) nor WAYLAND_DISPLAY (a "
                     "Wayland compositor) is set";
  else if (Env.X.empty())
    C.WhyNoDisplay = "Qt's Wayland plugin is not installed (package qt6-wayland), so the window cannot open on " +
                     OnWayland + "; install it, or set DISPLAY to a running X server";
  else if (Env.Wayland.empty())
    C.WhyNoDisplay = "Qt's X plugin (xcb) is not installed (package libqt6gui6), so the window cannot open on " +
                     OnX + "; install it";
  else
    C.WhyNoDisplay = "neither Qt's Wayland plugin (package qt6-wayland) nor its X plugin (xcb, package libqt6gui6) "
                     "is installed, so the window cannot open on " + OnWayland + " or " + OnX + "; install one";
  return C;
}

TDisplayEnvironment CurrentDisplayEnvironment() {
  TDisplayEnvironment E;
  E.Platform = qEnvironmentVariable("QT_QPA_PLATFORM").toStdString();
  E.Wayland = qEnvironmentVariable("WAYLAND_DISPLAY").toStdString();
  E.X = qEnvironmentVariable("DISPLAY").toStdString();
  // Where the window system looks for its platform plugins: its own folder, QT_PLUGIN_PATH and
  // QT_QPA_PLATFORM_PLUGIN_PATH. A plugin names its platforms in its metadata, read without
  // loading it.
  QStringList Dirs{QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms"};
  for (const QString& D : qEnvironmentVariable("QT_PLUGIN_PATH").split(':', Qt::SkipEmptyParts))
    Dirs << D + "/platforms";
  if (const QString D = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"); !D.isEmpty()) Dirs << D;
  for (const QString& D : Dirs) {
    for (const QFileInfo& F : QDir(D).entryInfoList({"*.so"}, QDir::Files)) {
      const QJsonObject Meta = QPluginLoader(F.absoluteFilePath()).metaData();
      if (!Meta.value("IID").toString().contains("QPlatformIntegrationFactoryInterface")) continue;
      for (const QJsonValue& K : Meta.value("MetaData").toObject().value("Keys").toArray()) {
        const String Name = K.toString().toLower().toStdString();
        if (!Name.empty() && !Contains(E.Plugins, Name.c_str())) E.Plugins.push_back(Name);
      }
    }
  }
  return E;
}

void ChooseDisplayAtStart() {
  TStartChoice& S = StartChoice();
  S.Env = CurrentDisplayEnvironment();
  S.Choice = ChooseDisplay(S.Env);
  S.Made = true;
  if (!S.Choice.Platform.empty()) qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(S.Choice.Platform));
}

String NoDisplayReason() {
  if (HasDisplay()) return String();
  const TStartChoice& S = StartChoice();
  if (!S.Made) return "no display to show the window on: the window system has not started";
  if (!S.Choice.WhyNoDisplay.empty()) return S.Choice.WhyNoDisplay;
  // A display was chosen, yet the window system ended off the screen.
  String Tried;
  if (!S.Env.Platform.empty())
    Tried = "the platform QT_QPA_PLATFORM asks for (" + Quoted(S.Env.Platform) + ")";
  else if (S.Choice.Platform.find("wayland") != String::npos && S.Choice.Platform.find("xcb") != String::npos)
    Tried = "neither the Wayland display " + Quoted(S.Env.Wayland) + " nor the X display " + Quoted(S.Env.X);
  else if (S.Choice.Platform.find("wayland") != String::npos)
    Tried = "the Wayland display " + Quoted(S.Env.Wayland);
  else
    Tried = "the X display " + Quoted(S.Env.X);
  return "no display to show the window on: " + Tried + " could not be reached";
}

// ---------------------------------------------------------------------------------------------
// TForm

TForm::TForm(TComponent* AOwner) : TControl(AOwner) {
  InitSize(640, 480);
  GetWidget()->setAttribute(Qt::WA_DeleteOnClose, false);
}

TForm::~TForm() = default;

TForm* TForm::CreateNew(TComponent* AOwner) { return Create<TForm>(AOwner); }

void TForm::Destroying() {
  inherited::Destroying();
  if (FShowing) {
    FShowing = false;
    if (QWidget* W = GetWidget()) W->hide();
  }
  if (GApplication && GApplication->GetMainForm() == this) GApplication->Terminate();
}

void TForm::SetParent(TControl* AParent) {
  if (AParent) throw EInvalidOperation("A form cannot be placed inside another control");
}

void TForm::SetCaption(const String& V) {
  FCaption = V;
  if (QWidget* W = GetWidget()) W->setWindowTitle(Q(V));
}

void TForm::SetBorderStyle(TFormBorderStyle V) {
  FBorderStyle = V;
  QWidget* W = GetWidget();
  if (!W) return;
  bool WasVisible = W->isVisible();
  Qt::WindowFlags F = Qt::Window;
  switch (V) {
    case TFormBorderStyle::None: F |= Qt::FramelessWindowHint; break;
    case TFormBorderStyle::ToolWindow:
    case TFormBorderStyle::SizeToolWin: F = Qt::Tool; break;
    case TFormBorderStyle::Dialog: F = Qt::Dialog; break;
    default: break;
  }
  W->setWindowFlags(F);
  if (WasVisible) W->show();
}

void TForm::Show() {
  if (IsDestroying()) return;
  SetVisible(true);
  FShowing = true;
  if (QWidget* W = GetWidget()) {
    W->show();
    if (HasDisplay()) W->raise();
  }
  if (TNotifyEvent H = OnShow) H(this);
}

void TForm::Hide() {
  bool Was = FShowing;
  FShowing = false;
  if (QWidget* W = GetWidget()) W->hide();
  if (TNotifyEvent H = OnHide; Was && H) H(this);
}

bool TForm::WaitUntilPainted(int TimeoutMs) {
  if (!FShowing || IsDestroying()) return false;
  if (GetPaintCount() > 0) return true;
  QElapsedTimer Clock;
  Clock.start();
  // Wakes the wait regularly to look at the clock.
  QTimer Wake;
  Wake.start(10);
  while (GetPaintCount() == 0 && FShowing && !IsDestroying() && Clock.elapsed() < TimeoutMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return GetPaintCount() > 0;
}

bool TForm::PaintWindowImmediately() {
  QWidget* W = GetWidget();
  if (!FShowing || IsDestroying() || !W || !W->isVisible()) return false;
  const QWindow* Window = W->windowHandle();
  if (!Window || !Window->isExposed()) return false;
  // Controls that paint opaque are left alone by a repaint of what lies beneath them: they are
  // asked for one too.
  for (QWidget* C : W->findChildren<QWidget*>())
    if (C->testAttribute(Qt::WA_OpaquePaintEvent)) C->update();
  W->repaint();  // paints the window's widgets and flushes the window, at once
  return true;
}

namespace {

// Notices when a component is freed.
class TFreeFlag : public TComponent {
 public:
  explicit TFreeFlag(TComponent* Watched) : TComponent(nullptr), FWatched(Watched) { Watched->FreeNotification(this); }
  ~TFreeFlag() override {
    if (FWatched) FWatched->RemoveFreeNotification(this);
  }
  bool Freed() const { return FWatched == nullptr; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FWatched) FWatched = nullptr;
  }

 private:
  TComponent* FWatched;
};

}  // namespace

TModalResult TForm::ShowModal() {
  if (FInModal) throw EInvalidOperation("The form is already shown modally");
  EnsureQtApplication();
  // The form may be freed by a handler while the loop runs.
  TFreeFlag Alive(this);
  QWidget* W = GetWidget();
  FModalResult = mrNone;
  FInModal = true;
  W->setWindowModality(Qt::ApplicationModal);
  {
    TUndoOnFailure NotModal([&] {
      FInModal = false;
      W->setWindowModality(Qt::NonModal);
    });
    Show();
  }
  // The loop wakes at least every 20 ms to look at ModalResult.
  QTimer Wake;
  Wake.start(20);
  while (!Alive.Freed() && FModalResult == mrNone && FShowing && !IsDestroying())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  if (Alive.Freed()) return mrCancel;
  TModalResult R = FModalResult == mrNone ? mrCancel : FModalResult;
  FInModal = false;
  W->setWindowModality(Qt::NonModal);
  if (FShowing) Hide();
  return R;
}

namespace {

// What closing a form leads to: whether the window goes away and whether it is then freed.
struct TCloseOutcome {
  bool Close = false;
  bool Free = false;
};

TCloseOutcome AskClose(TForm* Form) {
  bool CanClose = true;
  if (TCloseQueryEvent Query = Form->OnCloseQuery) Query(Form, CanClose);
  if (!CanClose) return {};
  TCloseAction Action = TCloseAction::caHide;
  if (TCloseEvent OnClose = Form->OnClose) OnClose(Form, Action);
  if (Action == TCloseAction::caNone) return {};
  return {true, Action == TCloseAction::caFree};
}

void FreeLater(TForm* Form) {
  QWidget* W = Form->GetWidget();
  if (!W) return;
  // Freed when control is back in the loop; nothing happens when it was freed before.
  QMetaObject::invokeMethod(
      W,
      [Form] {
        try {
          Form->Free();
        } catch (...) {
          HandleEventException();
        }
      },
      Qt::QueuedConnection);
}

}  // namespace

void TForm::Close() {
  TCloseOutcome O = AskClose(this);
  if (!O.Close) return;
  if (FInModal && FModalResult == mrNone) FModalResult = mrCancel;
  Hide();
  if (GApplication && GApplication->GetMainForm() == this) GApplication->Terminate();
  if (O.Free) FreeLater(this);
}

bool TForm::HandleCloseRequest() {
  TCloseOutcome O = AskClose(this);
  if (!O.Close) return false;
  if (FInModal && FModalResult == mrNone) FModalResult = mrCancel;
  bool Was = FShowing;
  FShowing = false;
  if (TNotifyEvent H = OnHide; Was && H) H(this);
  if (GApplication && GApplication->GetMainForm() == this) GApplication->Terminate();
  if (O.Free) FreeLater(this);
  return true;
}

void TForm::AddShortCutHandler(TComponent* Owner, TShortCutHandler Handler) {
  RemoveShortCutHandler(Owner);
  if (!Owner || !Handler) return;
  FShortCuts.emplace_back(Owner, std::move(Handler));
  Owner->FreeNotification(this);
}

void TForm::RemoveShortCutHandler(TComponent* Owner) {
  for (auto It = FShortCuts.begin(); It != FShortCuts.end(); ++It)
    if (It->first == Owner) {
      FShortCuts.erase(It);
      return;
    }
}

bool TForm::IsShortCut(Word Key, TShiftState Shift) {
  // A copy: a handler may free components.
  auto Handlers = FShortCuts;
  for (auto& H : Handlers)
    if (H.second(Key, Shift)) return true;
  return false;
}

void TForm::KeyDown(Word& Key, char32_t& KeyChar, TShiftState Shift) {
  inherited::KeyDown(Key, KeyChar, Shift);
  if (Key != 0 && IsShortCut(Key, Shift)) {
    Key = 0;
    KeyChar = 0;
  }
}

void TForm::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove) RemoveShortCutHandler(AComponent);
}

void SimulateWindowClose(TForm* Form) {
  if (!Form || !Form->GetWidget()) throw EArgumentException("No form to close");
  Form->GetWidget()->close();
}

// ---------------------------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() {
  if (GApplication == this) GApplication = nullptr;
}

void TApplication::Initialize() {
  EnsureQtApplication();
  if (!FTitle.empty()) QCoreApplication::setApplicationName(Q(FTitle));
  if (HasDisplay())
    SetShowMessageHook([](const String& Msg) {
      QMessageBox::information(MessageParent(), MessageCaption(), Q(Msg));
    });
}

void TApplication::AddForm(TForm* Form) {
  if (!Form) return;
  if (!FMainForm) {
    FMainForm = Form;
    Form->FreeNotification(this);
  }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FMainForm) FMainForm = nullptr;
}

void TApplication::Run() {
  EnsureQtApplication();
  if (FRunning) throw EInvalidOperation("The application is already running");
  if (!FMainForm || FTerminated) return;
  FRunning = true;
  {
    TUndoOnFailure NotRunning([this] { FRunning = false; });
    FMainForm->Show();
  }
  QTimer IdleTimer;
  QObject::connect(&IdleTimer, &QTimer::timeout, [this] { Idle(); });
  IdleTimer.start(100);
  // Wakes the loop regularly so that Terminate is seen.
  while (!FTerminated && FMainForm && FMainForm->GetShowing())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  FRunning = false;
}

void TApplication::Terminate() { FTerminated = true; }

void TApplication::ProcessMessages() {
  EnsureQtApplication();
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  Idle();
}

void TApplication::Idle() {
  if (FInIdle) return;
  FInIdle = true;
  auto Handlers = FIdleHandlers;
  for (auto& H : Handlers) {
    // A handler removed by an earlier one does not run.
    bool Present = false;
    for (auto& Cur : FIdleHandlers)
      if (Cur.first == H.first) Present = true;
    if (!Present) continue;
    try {
      H.second();
    } catch (...) {
      HandleException();
    }
  }
  FInIdle = false;
}

int TApplication::AddIdleHandler(std::function<void()> Handler) {
  int Id = FNextIdleId++;
  FIdleHandlers.emplace_back(Id, std::move(Handler));
  return Id;
}

void TApplication::RemoveIdleHandler(int Id) {
  for (auto It = FIdleHandlers.begin(); It != FIdleHandlers.end(); ++It)
    if (It->first == Id) {
      FIdleHandlers.erase(It);
      return;
    }
}

void TApplication::ShowException(const std::exception& E) {
  String Name = ExceptionClassName(E);
  String Msg = E.what();
  if (FHook)
    FHook(Name, Msg);
  else
    DefaultShowException(Name, Msg);
}

TShowExceptionHook TApplication::SetShowExceptionHook(TShowExceptionHook Hook) {
  TShowExceptionHook Old = std::move(FHook);
  FHook = std::move(Hook);
  return Old;
}

void TApplication::HandleException() {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const std::exception& E) {
    ShowException(E);
  } catch (...) {
    ShowException(Exception("Unknown exception"));
  }
}

TApplicationRef Application;

TApplication* TApplicationRef::Get() const {
  if (!GApplication) GApplication = Create<TApplication>(nullptr);
  return GApplication;
}

void TApplicationRef::Free() {
  TApplication* A = GApplication;
  GApplication = nullptr;
  if (A) A->Free();
}

bool TApplicationRef::Exists() const { return GApplication != nullptr; }

void TForm::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  if (Root == this)
    for (int I = 0; I < GetComponentCount(); ++I)
      if (TComponent* C = GetComponent(I); !C->HasParent()) Proc(C);
  TControl::GetChildren(Proc, Root);
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TForm)
  P::Prop("Caption", &Self::GetCaption, &Self::SetCaption, Default(String())),
  P::Prop("BorderStyle", &Self::GetBorderStyle, &Self::SetBorderStyle, Default(TFormBorderStyle::Sizeable)),
  P::Prop("ClientWidth", &Self::GetClientWidth, &Self::SetClientWidth, Never),
  P::Prop("ClientHeight", &Self::GetClientHeight, &Self::SetClientHeight, Never),
  P::Event("OnClose", &Self::OnClose),
  P::Event("OnCloseQuery", &Self::OnCloseQuery),
  P::Event("OnShow", &Self::OnShow),
  P::Event("OnHide", &Self::OnHide),
ZEL_END_PUBLISHED

}  // namespace zel
