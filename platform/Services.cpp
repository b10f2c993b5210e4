#include "platform/Services.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <chrono>

#include "platform/PainterCanvas.h"

namespace zel {

namespace {

// A fixed family and size, so that drawings do not depend on the desktop's settings.
class TSystemFontService : public ISystemFontService {
 public:
  String GetDefaultFontFamilyName() override { return "DejaVu Sans"; }
  float GetDefaultFontSize() override { return 12; }
};

class TScreenService : public IScreenService {
 public:
  void GetScreenSize(float& Width, float& Height) override {
    Width = Height = 0;
    EnsureQtApplication();
    auto* App = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!App) return;
    if (QScreen* S = QGuiApplication::primaryScreen()) {
      Width = float(S->size().width());
      Height = float(S->size().height());
    }
  }
};

// Records the cursor the library asks for; windows read it when the mouse is over them.
class TCursorService : public ICursorService {
 public:
  void SetCursor(TCursor Cursor) override { FCursor = Cursor; }
  TCursor GetCursor() override { return FCursor; }

 private:
  TCursor FCursor = crDefault;
};

class TMouseService : public IMouseService {
 public:
  void GetMousePos(float& X, float& Y) override {
    X = Y = 0;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    QPoint P = QCursor::pos();
    X = float(P.x());
    Y = float(P.y());
  }
};

class TTimerService : public ITimerService {
 public:
  double GetTick() override {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
  }
};

TSystemFontService GSystemFont;
TScreenService GScreen;
TCursorService GCursor;
TMouseService GMouse;
TTimerService GTimer;

}  // namespace

TPlatformServices::TPlatformServices()
    : FSystemFont(&GSystemFont), FScreen(&GScreen), FCursor(&GCursor), FMouse(&GMouse),
      FTimer(&GTimer) {}

TPlatformServices& TPlatformServices::Current() {
  static TPlatformServices S;
  return S;
}

}  // namespace zel
