#include "platform/Registry.h"

#include <QDir>
#include <QStandardPaths>
#include <QString>
#include <fstream>
#include <iterator>

namespace zel {

namespace {

String& RegistryFileOverride() {
  static String Path;
  return Path;
}

String UpperAscii(String S) {
  for (char& C : S)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 32);
  return S;
}

String TrimBlanks(const String& S) {
  std::size_t B = S.find_first_not_of(" \t");
  if (B == String::npos) return String();
  std::size_t E = S.find_last_not_of(" \t");
  return S.substr(B, E - B + 1);
}

// "\a\\b/c\" -> "a\b\c": '/' is '\', empty parts are dropped.
String NormalisePath(const String& Path) {
  String R, Part;
  auto Flush = [&] {
    if (Part.empty()) return;
    if (!R.empty()) R += '\\';
    R += Part;
    Part.clear();
  };
  for (char C : Path) {
    if (C == '\\' || C == '/')
      Flush();
    else
      Part += C;
  }
  Flush();
  return R;
}

String FormatName(const char* Pattern, const String& Name) {
  String Msg = Pattern;
  auto P = Msg.find("%s");
  if (P != String::npos) Msg.replace(P, 2, Name);
  return Msg;
}

// Decimal or hexadecimal ("0x", "$") 32-bit integer; unsigned values above INT32_MAX wrap.
bool ParseRegInteger(const String& Text, std::int32_t& Value) {
  String S = TrimBlanks(Text);
  std::size_t I = 0;
  bool Negative = false;
  if (I < S.size() && (S[I] == '+' || S[I] == '-')) Negative = S[I++] == '-';
  int Base = 10;
  if (I < S.size() && S[I] == '$') {
    Base = 16;
    ++I;
  } else if (I + 1 < S.size() && S[I] == '0' && (S[I + 1] == 'x' || S[I + 1] == 'X')) {
    Base = 16;
    I += 2;
  }
  if (I >= S.size()) return false;
  std::uint64_t Mag = 0;
  for (; I < S.size(); ++I) {
    char C = S[I];
    int D;
    if (C >= '0' && C <= '9')
      D = C - '0';
    else if (Base == 16 && C >= 'a' && C <= 'f')
      D = C - 'a' + 10;
    else if (Base == 16 && C >= 'A' && C <= 'F')
      D = C - 'A' + 10;
    else
      return false;
    Mag = Mag * static_cast<std::uint64_t>(Base) + static_cast<std::uint64_t>(D);
    if (Mag > 0xFFFFFFFFull) return false;
  }
  if (Negative) {
    if (Mag > 0x80000000ull) return false;
    Value = static_cast<std::int32_t>(-static_cast<std::int64_t>(Mag));
  } else {
    Value = static_cast<std::int32_t>(static_cast<std::uint32_t>(Mag));
  }
  return true;
}

}  // namespace

void SetRegistryFileName(const String& Path) { RegistryFileOverride() = Path; }

String GetRegistryFileName() {
  if (!RegistryFileOverride().empty()) return RegistryFileOverride();
  QString Dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (Dir.isEmpty()) Dir = QDir::homePath() + QStringLiteral("/.config");
  return (Dir + QStringLiteral("/Zelgraph/registry.ini")).toStdString();
}

ZEL_DEFINE_CLASS(TRegistry, TObject)

TRegistry::TRegistry() = default;

TRegistry::TRegistry(Cardinal AAccess) : FAccess(AAccess) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY Value) {
  if (Value == FRootKey) return;
  CloseKey();
  FRootKey = Value;
}

bool TRegistry::Load(std::map<String, std::map<String, String>>& Sections) const {
  if (FRootKey != HKEY_CURRENT_USER) return false;
  std::ifstream In(GetRegistryFileName(), std::ios::binary);
  if (!In) return false;
  String Text((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  if (In.bad()) return false;
  if (Text.compare(0, 3, "\xEF\xBB\xBF") == 0) Text.erase(0, 3);
  String Section;  // values before any section belong to the root key
  Sections[Section];
  std::size_t Pos = 0;
  while (Pos <= Text.size()) {
    std::size_t End = Text.find_first_of("\r\n", Pos);
    if (End == String::npos) End = Text.size();
    String Line = TrimBlanks(Text.substr(Pos, End - Pos));
    Pos = End + 1;
    if (Line.empty() || Line[0] == ';' || Line[0] == '#') continue;
    if (Line[0] == '[') {
      std::size_t Close = Line.rfind(']');
      if (Close == String::npos || Close == 0) continue;  // not a section header: ignored
      Section = UpperAscii(NormalisePath(Line.substr(1, Close - 1)));
      Sections[Section];
      continue;
    }
    std::size_t Eq = Line.find('=');
    if (Eq == String::npos) continue;
    String Name = TrimBlanks(Line.substr(0, Eq));
    String Value = TrimBlanks(Line.substr(Eq + 1));
    if (Value.size() >= 2 && Value.front() == '"' && Value.back() == '"') Value = Value.substr(1, Value.size() - 2);
    if (!Name.empty()) Sections[Section][UpperAscii(Name)] = Value;
  }
  return true;
}

String TRegistry::ResolveKey(const String& Key) const {
  bool Absolute = !Key.empty() && (Key[0] == '\\' || Key[0] == '/');
  if (!Absolute && FOpen && !FCurrentPath.empty()) return NormalisePath(FCurrentPath + "\\" + Key);
  return NormalisePath(Key);
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
  std::map<String, std::map<String, String>> Sections;
  if (!Load(Sections)) return false;
  String Path = ResolveKey(Key);
  String Upper = UpperAscii(Path);
  auto It = Sections.find(Upper);
  if (It == Sections.end()) {
    // A key exists also when only keys below it have sections.
    bool Below = false;
    for (const auto& [Name, Values] : Sections)
      if (Name.size() > Upper.size() && Name.compare(0, Upper.size(), Upper) == 0 &&
          (Upper.empty() || Name[Upper.size()] == '\\')) {
        Below = true;
        break;
      }
    if (!Below) return false;
  }
  CloseKey();
  FOpen = true;
  FCurrentPath = Path;
  if (It != Sections.end()) FValues = It->second;
  return true;
}

bool TRegistry::OpenKey(const String& Key, bool) { return OpenKeyReadOnly(Key); }

void TRegistry::CloseKey() {
  FOpen = false;
  FCurrentPath.clear();
  FValues.clear();
}

bool TRegistry::KeyExists(const String& Key) {
  // Opens with a scratch registry so the open key stays as it is.
  TRegistry Probe(FAccess);
  Probe.FRootKey = FRootKey;
  return Probe.OpenKeyReadOnly(ResolveKey(Key).insert(0, "\\"));
}

bool TRegistry::ValueExists(const String& Name) const {
  return FOpen && FValues.count(UpperAscii(Name)) > 0;
}

std::int32_t TRegistry::ReadInteger(const String& Name) const {
  auto It = FValues.find(UpperAscii(Name));
  if (!FOpen || It == FValues.end()) throw ERegistryException(FormatName(SRegGetDataFailed, Name));
  std::int32_t Value;
  if (!ParseRegInteger(It->second, Value)) throw ERegistryException(FormatName(SInvalidRegType, Name));
  return Value;
}

String TRegistry::ReadString(const String& Name) const {
  auto It = FValues.find(UpperAscii(Name));
  if (!FOpen || It == FValues.end()) return String();
  return It->second;
}

}  // namespace zel
