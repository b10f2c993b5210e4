// String lists: TStrings (the abstract list of lines with an object per line) and TStringList
// (lines in memory, optionally sorted), with text and file loading, and TEncoding for the byte
// forms of text.
//
// Line breaks: Text and loading split at CR, LF and CRLF; a final break makes no empty line.
// Text joins the lines with LineBreak ("\n" unless set) after each line.
// Change events: OnChanging before and OnChange after every change made outside an update
// bracket; inside BeginUpdate ... EndUpdate, OnChanging fires at the outermost BeginUpdate and
// OnChange at the outermost EndUpdate, once each.
#pragma once

#include <vector>

#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Streams.h"

namespace zel {

class EStringListError : public EListError {
 public:
  explicit EStringListError(String Msg) : EListError(std::move(Msg)) {}
};

inline const char* const SDuplicateString = "String list does not allow duplicates";
inline const char* const SSortedListError = "Operation not allowed on sorted list";

// Text encodings: the bytes of a String (UTF-8) in a given form, and back.
class TEncoding {
 public:
  virtual ~TEncoding() = default;
  static const TEncoding* UTF8();     // UTF-8; preamble EF BB BF
  static const TEncoding* Default();  // the system's code page: UTF-8 here, no preamble
  static const TEncoding* Unicode();  // UTF-16LE; preamble FF FE

  virtual std::vector<Byte> GetBytes(const String& S) const = 0;
  virtual String GetString(const Byte* Bytes, std::size_t Count) const = 0;
  virtual std::vector<Byte> GetPreamble() const = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  ZEL_CLASS(TStrings, TPersistent)
 public:
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  virtual int GetCount() const = 0;
  // The line at Index; raises EStringListError "List index out of bounds (%d)".
  virtual String GetStrings(int Index) const = 0;
  virtual void SetStrings(int Index, const String& S) = 0;
  virtual TObject* GetObjects(int Index) const = 0;
  virtual void SetObjects(int Index, TObject* AObject) = 0;
  String operator[](int Index) const { return GetStrings(Index); }

  virtual int Add(const String& S);
  int AddObject(const String& S, TObject* AObject);
  // Streams the lines as the property "Strings" (a list of strings), written when not empty.
  void DefineProperties(TFiler* Filer) override;
  virtual void Insert(int Index, const String& S) = 0;
  void InsertObject(int Index, const String& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  void AddStrings(const TStrings* Strings);
  virtual int IndexOf(const String& S) const;
  int IndexOfObject(const TObject* AObject) const;
  bool GetCaseSensitive() const { return FCaseSensitive; }
  virtual void SetCaseSensitive(bool Value);

  String GetText() const;
  // Replaces the lines with S split at CR, LF and CRLF.
  virtual void SetText(const String& S);
  const String& GetLineBreak() const { return FLineBreak; }
  void SetLineBreak(const String& Value) { FLineBreak = Value; }

  void BeginUpdate();
  void EndUpdate();
  int GetUpdateCount() const { return FUpdateCount; }

  // Reads the rest of Stream as text. Without Encoding: a UTF-8 byte-order mark is dropped, a
  // UTF-16 one selects UTF-16, anything else is UTF-8. With Encoding: its preamble is dropped
  // when present and the bytes are decoded with it.
  void LoadFromStream(TStream* Stream, const TEncoding* Encoding = nullptr);
  // Raises EFOpenError "Cannot open file "<name>". <reason>" when the file cannot be opened.
  void LoadFromFile(const String& FileName, const TEncoding* Encoding = nullptr);
  // Writes Text; without Encoding plain UTF-8, else Encoding's preamble and bytes.
  void SaveToStream(TStream* Stream, const TEncoding* Encoding = nullptr) const;
  void SaveToFile(const String& FileName, const TEncoding* Encoding = nullptr) const;

  // From other TStrings: the same lines and objects.
  void Assign(TPersistent* Source) override;

 protected:
  virtual void Changing();
  virtual void Changed();
  virtual int CompareStrings(const String& A, const String& B) const;
  // Replaces the lines (SetText and the loaders end here).
  virtual void SetTextLines(std::vector<String>&& Lines);
  [[noreturn]] void Error(const char* Msg, int Index) const;

 private:
  int FUpdateCount = 0;
  bool FCaseSensitive = false;
  String FLineBreak = "\n";
};

class TStringList : public TStrings {
  ZEL_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  explicit TStringList(bool AOwnsObjects) : FOwnsObjects(AOwnsObjects) {}
  ~TStringList() override;

  int GetCount() const override { return static_cast<int>(FList.size()); }
  String GetStrings(int Index) const override;
  // Raises EStringListError "Operation not allowed on sorted list" while Sorted.
  void SetStrings(int Index, const String& S) override;
  TObject* GetObjects(int Index) const override;
  void SetObjects(int Index, TObject* AObject) override;

  // Sorted: inserts in order; duplicates follow Duplicates (dupError raises
  // EStringListError "String list does not allow duplicates").
  int Add(const String& S) override;
  // Raises EStringListError "Operation not allowed on sorted list" while Sorted.
  void Insert(int Index, const String& S) override;
  void Delete(int Index) override;
  void Clear() override;
  void Exchange(int Index1, int Index2);
  int IndexOf(const String& S) const override;
  // Binary search of a sorted list: true when found; Index is the place of S either way.
  bool Find(const String& S, int& Index) const;
  void Sort();

  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates GetDuplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  // The list frees (Free) the objects of lines it deletes.
  bool GetOwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }
  void SetCaseSensitive(bool Value) override;

 protected:
  void SetTextLines(std::vector<String>&& Lines) override;

 private:
  struct TItem {
    String S;
    TObject* Obj = nullptr;
  };
  void CheckIndex(int Index) const;
  void InsertItem(int Index, const String& S, TObject* AObject);

  std::vector<TItem> FList;
  bool FSorted = false;
  bool FOwnsObjects = false;
  TDuplicates FDuplicates = TDuplicates::dupIgnore;
};

}  // namespace zel
