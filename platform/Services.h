// Platform services: system font, screen, cursor, mouse and timer. A service that is missing
// answers nullptr from its getter; callers then use 0 or do nothing.
#pragma once

#include "platform/Types.h"

namespace zel {

struct TPointF;

class ISystemFontService {
 public:
  virtual ~ISystemFontService() = default;
  virtual String GetDefaultFontFamilyName() = 0;
  virtual float GetDefaultFontSize() = 0;
};

class IScreenService {
 public:
  virtual ~IScreenService() = default;
  // Width and height of the primary screen in pixels.
  virtual void GetScreenSize(float& Width, float& Height) = 0;
};

class ICursorService {
 public:
  virtual ~ICursorService() = default;
  virtual void SetCursor(TCursor Cursor) = 0;
  virtual TCursor GetCursor() = 0;
};

class IMouseService {
 public:
  virtual ~IMouseService() = default;
  virtual void GetMousePos(float& X, float& Y) = 0;
};

class ITimerService {
 public:
  virtual ~ITimerService() = default;
  // Seconds since an arbitrary origin, with sub-millisecond resolution.
  virtual double GetTick() = 0;
};

// Cursor codes of the platform (crDefault 0, negative built-in shapes).
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;

class TPlatformServices {
 public:
  static TPlatformServices& Current();
  ISystemFontService* GetSystemFontService() const { return FSystemFont; }
  IScreenService* GetScreenService() const { return FScreen; }
  ICursorService* GetCursorService() const { return FCursor; }
  IMouseService* GetMouseService() const { return FMouse; }
  ITimerService* GetTimerService() const { return FTimer; }

  // Replace a service (tests install fakes; nullptr removes it). Returns the previous one.
  ISystemFontService* SetSystemFontService(ISystemFontService* S) { return Swap(FSystemFont, S); }
  IScreenService* SetScreenService(IScreenService* S) { return Swap(FScreen, S); }
  ICursorService* SetCursorService(ICursorService* S) { return Swap(FCursor, S); }
  IMouseService* SetMouseService(IMouseService* S) { return Swap(FMouse, S); }
  ITimerService* SetTimerService(ITimerService* S) { return Swap(FTimer, S); }

 private:
  TPlatformServices();
  template <typename T>
  static T* Swap(T*& Field, T* New) {
    T* Old = Field;
    Field = New;
    return Old;
  }
  ISystemFontService* FSystemFont = nullptr;
  IScreenService* FScreen = nullptr;
  ICursorService* FCursor = nullptr;
  IMouseService* FMouse = nullptr;
  ITimerService* FTimer = nullptr;
};

}  // namespace zel
