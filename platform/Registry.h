// A read-only registry over an INI file: the user's configuration folder's
// "Zelgraph/registry.ini". Keys are written with backslashes as on the original platform
// ("SOFTWARE\\Maker\\Product\\Editor") and are INI sections of the same name:
//
//   [SOFTWARE\Maker\Product\Editor]
//   DefaultPalette=3
//   DefaultCanvas=Some canvas
//
// Key and value names match without regard to ASCII case; '/' counts as '\'. A key exists when
// its section or a section below it exists. Lines starting with ';' or '#' are comments; a value
// in double quotes loses them. Only HKEY_CURRENT_USER has content. Nothing is ever written: a
// key that does not exist cannot be opened, also with CanCreate.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/Classes.h"
#include "platform/Exceptions.h"

namespace zel {

using HKEY = std::uintptr_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr Cardinal KEY_READ = 0x20019u;
inline constexpr Cardinal KEY_ALL_ACCESS = 0xF003Fu;

inline const char* const SInvalidRegType = "Invalid data type for '%s'";
inline const char* const SRegGetDataFailed = "Failed to get data for '%s'";

// The INI file read by TRegistry; an empty path restores the default location.
void SetRegistryFileName(const String& Path);
String GetRegistryFileName();

class TRegistry : public TObject {
  ZEL_CLASS(TRegistry, TObject)
 public:
  TRegistry();
  explicit TRegistry(Cardinal AAccess);
  ~TRegistry() override;

  HKEY GetRootKey() const { return FRootKey; }
  // Changing the root closes the open key.
  void SetRootKey(HKEY Value);
  Cardinal GetAccess() const { return FAccess; }
  void SetAccess(Cardinal Value) { FAccess = Value; }
  // The open key's path ("" when none).
  const String& GetCurrentPath() const { return FCurrentPath; }
  bool HasCurrentKey() const { return FOpen; }

  // Opens Key (relative to the open key unless it starts with '\'); false when it does not
  // exist or the file is missing or unreadable.
  bool OpenKeyReadOnly(const String& Key);
  bool OpenKey(const String& Key, bool CanCreate);
  void CloseKey();
  bool KeyExists(const String& Key);
  bool ValueExists(const String& Name) const;

  // The value as a 32-bit integer (decimal, or hexadecimal after "0x" or "$"; unsigned 32-bit
  // values wrap as the original's DWORD does). Raises ERegistryException "Invalid data type for
  // '<name>'" when the text is not such an integer, "Failed to get data for '<name>'" when the
  // value (or an open key) is missing.
  std::int32_t ReadInteger(const String& Name) const;
  // The value's text; "" when it is missing.
  String ReadString(const String& Name) const;

 private:
  String ResolveKey(const String& Key) const;
  bool Load(std::map<String, std::map<String, String>>& Sections) const;

  HKEY FRootKey = HKEY_CURRENT_USER;
  Cardinal FAccess = KEY_ALL_ACCESS;
  bool FOpen = false;
  String FCurrentPath;
  std::map<String, String> FValues;  // the open key's values, by upper-cased name
};

}  // namespace zel
