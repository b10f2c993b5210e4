// Byte streams: TStream (the abstract sequential and seekable stream), TMemoryStream (bytes in
// memory) and TFileStream (a file on disk).
//
// Read and Write move as many bytes as they can and return that number; ReadBuffer and
// WriteBuffer move all or raise EReadError "Stream read error" / EWriteError "Stream write error".
// A position may lie past the end: reading there gives 0 bytes, writing there fills the gap
// with zeros (memory) or a hole (files). Seeking before the start raises EStreamError.
#pragma once

#include <cstdio>
#include <vector>

#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Types.h"

namespace zel {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };
inline constexpr TSeekOrigin soBeginning = TSeekOrigin::soBeginning;
inline constexpr TSeekOrigin soCurrent = TSeekOrigin::soCurrent;
inline constexpr TSeekOrigin soEnd = TSeekOrigin::soEnd;
inline constexpr TSeekOrigin soFromBeginning = TSeekOrigin::soBeginning;
inline constexpr TSeekOrigin soFromCurrent = TSeekOrigin::soCurrent;
inline constexpr TSeekOrigin soFromEnd = TSeekOrigin::soEnd;

inline const char* const SReadError = "Stream read error";
inline const char* const SWriteError = "Stream write error";
inline const char* const SFOpenErrorEx = "Cannot open file \"%s\". %s";
inline const char* const SFCreateErrorEx = "Cannot create file \"%s\". %s";
inline const char* const SNotRegularFile = "\"%s\" is not a regular file";
inline const char* const SSeekError = "Stream seek error";
inline const char* const SMemoryStreamError = "Out of memory while expanding memory stream";

class TStream : public TObject {
  ZEL_CLASS(TStream, TObject)
 public:
  // Reads up to Count bytes into Buffer; returns the number read (0 at the end or for Count <= 0).
  virtual Int64 Read(void* Buffer, Int64 Count) = 0;
  // Writes up to Count bytes; returns the number written.
  virtual Int64 Write(const void* Buffer, Int64 Count) = 0;
  // Moves the position and returns the new one. Raises EStreamError for a negative result.
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

  Int64 GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
  virtual Int64 GetSize();
  // Changes the size; the base stream cannot and raises EStreamError.
  virtual void SetSize(Int64 NewSize);

  void ReadBuffer(void* Buffer, Int64 Count);
  void WriteBuffer(const void* Buffer, Int64 Count);
  // Copies Count bytes from Source's position; Count 0 copies all of Source from its start.
  // Returns the number of bytes copied.
  Int64 CopyFrom(TStream* Source, Int64 Count);

  // Component streaming (Filer.h): Instance and its tree at the position; reading into Instance,
  // or into a new component of the stream's class when it is nullptr.
  void WriteComponent(TComponent* Instance);
  TComponent* ReadComponent(TComponent* Instance);
};

class TMemoryStream : public TStream {
  ZEL_CLASS(TMemoryStream, TStream)
 public:
  TMemoryStream() = default;

  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Write(const void* Buffer, Int64 Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 GetSize() override { return static_cast<Int64>(FData.size()); }
  // Grows with zeros or truncates; a position past the new end moves to the end.
  void SetSize(Int64 NewSize) override;
  // The bytes the memory holds room for. Writing past it at least doubles it, so that a stream
  // written piece by piece copies each byte a bounded number of times; a writer that knows its
  // size sets it once beforehand. Never below the size: a smaller value is ignored.
  Int64 GetCapacity() const { return static_cast<Int64>(FData.capacity()); }
  void SetCapacity(Int64 NewCapacity);

  // The bytes; valid until the next change of size.
  Byte* GetMemory() { return FData.data(); }
  const Byte* GetMemory() const { return FData.data(); }
  const std::vector<Byte>& GetBytes() const { return FData; }

  void Clear();
  // Replaces the contents with all of Stream (from its start); position 0 afterwards.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  // Writes the whole contents to Stream at its position.
  void SaveToStream(TStream* Stream) const;
  void SaveToFile(const String& FileName) const;

 private:
  // Room for End bytes, by the growth rule of GetCapacity; false when the memory is not there.
  // Room for Capacity bytes; false when it cannot be had.
  bool Reserve(Int64 Capacity);
  bool Grow(Int64 End);

  std::vector<Byte> FData;
  Int64 FPosition = 0;
};

// Open modes. The share flags are accepted and have no effect here.
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;
// Creates the file, or empties it when it exists; the stream can read and write.
inline constexpr Word fmCreate = 0xFF00;

class TFileStream : public TStream {
  ZEL_CLASS(TFileStream, TStream)
 public:
  // Raises EFOpenError "Cannot open file "<name>". <reason>" or, with fmCreate,
  // EFCreateError "Cannot create file "<name>". <reason>". An existing file opens only when it
  // is a regular file (not a directory, FIFO, socket or device): EFOpenError
  // ""<name>" is not a regular file", without waiting for a FIFO's writer.
  TFileStream(const String& FileName, Word Mode);
  ~TFileStream() override;

  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Write(const void* Buffer, Int64 Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 GetSize() override;
  void SetSize(Int64 NewSize) override;

  const String& GetFileName() const { return FFileName; }

 private:
  enum class TLastOp { None, Read, Write };
  void Switch(TLastOp Op);

  String FFileName;
  std::FILE* FFile = nullptr;
  bool FCanRead = false;
  bool FCanWrite = false;
  TLastOp FLastOp = TLastOp::None;
};

}  // namespace zel
