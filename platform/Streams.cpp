#include "platform/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace zel {

namespace {

String FileMessage(const char* Pattern, const String& FileName, int Err) {
  String Msg = Pattern;
  auto P = Msg.find("%s");
  Msg.replace(P, 2, FileName);
  P = Msg.find("%s", P + FileName.size());
  Msg.replace(P, 2, std::strerror(Err));
  return Msg;
}

String NotRegularMessage(const String& FileName) {
  String Msg = SNotRegularFile;
  Msg.replace(Msg.find("%s"), 2, FileName);
  return Msg;
}

Int64 NewPosition(Int64 Current, Int64 End, Int64 Offset, TSeekOrigin Origin) {
  Int64 Base = Origin == soBeginning ? 0 : Origin == soCurrent ? Current : End;
  if ((Offset > 0 && Base > std::numeric_limits<Int64>::max() - Offset) || Base + Offset < 0)
    throw EStreamError(SSeekError);
  return Base + Offset;
}

}  // namespace

// TStream

ZEL_DEFINE_CLASS(TStream, TObject)

Int64 TStream::GetSize() {
  Int64 Pos = Seek(0, soCurrent);
  Int64 Size = Seek(0, soEnd);
  Seek(Pos, soBeginning);
  return Size;
}

void TStream::SetSize(Int64) { throw EStreamError("Stream cannot change its size"); }

void TStream::ReadBuffer(void* Buffer, Int64 Count) {
  if (Count < 0 || (Count > 0 && Read(Buffer, Count) != Count)) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* Buffer, Int64 Count) {
  if (Count < 0 || (Count > 0 && Write(Buffer, Count) != Count)) throw EWriteError(SWriteError);
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
  if (!Source || Count < 0) throw EReadError(SReadError);
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->GetSize();
  }
  constexpr Int64 ChunkSize = 64 * 1024;
  std::vector<Byte> Chunk(static_cast<std::size_t>(std::min(Count, ChunkSize)));
  Int64 Left = Count;
  while (Left > 0) {
    Int64 N = std::min(Left, ChunkSize);
    Source->ReadBuffer(Chunk.data(), N);
    WriteBuffer(Chunk.data(), N);
    Left -= N;
  }
  return Count;
}

// TMemoryStream

ZEL_DEFINE_CLASS(TMemoryStream, TStream)

Int64 TMemoryStream::Read(void* Buffer, Int64 Count) {
  Int64 Size = GetSize();
  if (Count <= 0 || FPosition >= Size) return 0;
  Int64 N = std::min(Count, Size - FPosition);
  std::memcpy(Buffer, FData.data() + FPosition, static_cast<std::size_t>(N));
  FPosition += N;
  return N;
}

bool TMemoryStream::Reserve(Int64 Capacity) {
  try {
    FData.reserve(static_cast<std::size_t>(Capacity));
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

bool TMemoryStream::Grow(Int64 End) {
  const Int64 Capacity = GetCapacity();
  if (End <= Capacity) return true;
  return Reserve(std::max(End, Capacity > std::numeric_limits<Int64>::max() / 2 ? End : 2 * Capacity));
}

Int64 TMemoryStream::Write(const void* Buffer, Int64 Count) {
  if (Count <= 0) return 0;
  if (FPosition > std::numeric_limits<Int64>::max() - Count) return 0;
  const Int64 End = FPosition + Count;
  const Int64 Size = GetSize();
  if (End > Size) {
    if (!Grow(End)) return 0;
    // Within the room reserved, neither the zeros of a gap nor the appended bytes can fail.
    if (FPosition > Size) FData.resize(static_cast<std::size_t>(FPosition));
    const Byte* B = static_cast<const Byte*>(Buffer);
    const Int64 Inside = std::max<Int64>(Size - FPosition, 0);
    if (Inside > 0) std::memcpy(FData.data() + FPosition, B, static_cast<std::size_t>(Inside));
    FData.insert(FData.end(), B + Inside, B + Count);
  } else {
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
  }
  FPosition = End;
  return Count;
}

Int64 TMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  FPosition = NewPosition(FPosition, GetSize(), Offset, Origin);
  return FPosition;
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0) throw EStreamError(SMemoryStreamError);
  try {
    FData.resize(static_cast<std::size_t>(NewSize));
  } catch (const std::bad_alloc&) {
    throw EStreamError(SMemoryStreamError);
  } catch (const std::length_error&) {
    throw EStreamError(SMemoryStreamError);
  }
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::SetCapacity(Int64 NewCapacity) {
  if (NewCapacity > GetCapacity() && !Reserve(NewCapacity)) throw EStreamError(SMemoryStreamError);
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  Int64 Count = Stream->GetSize();
  SetSize(Count);
  FPosition = 0;
  if (Count > 0) Stream->ReadBuffer(FData.data(), Count);
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&File);
}

void TMemoryStream::SaveToStream(TStream* Stream) const {
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), static_cast<Int64>(FData.size()));
}

void TMemoryStream::SaveToFile(const String& FileName) const {
  TFileStream File(FileName, fmCreate);
  SaveToStream(&File);
}

// TFileStream

ZEL_DEFINE_CLASS(TFileStream, TStream)

TFileStream::TFileStream(const String& FileName, Word Mode) : FFileName(FileName) {
  const char* OpenMode;
  bool Creating = (Mode & fmCreate) == fmCreate;
  if (Creating) {
    OpenMode = "w+b";
    FCanRead = FCanWrite = true;
  } else {
    switch (Mode & 0x0003) {
      case fmOpenWrite:
        OpenMode = "r+b";
        FCanWrite = true;
        break;
      case fmOpenReadWrite:
        OpenMode = "r+b";
        FCanRead = FCanWrite = true;
        break;
      default:
        OpenMode = "rb";
        FCanRead = true;
        break;
    }
  }
  const char* Pattern = Creating ? SFCreateErrorEx : SFOpenErrorEx;
  auto Fail = [&](int Err) -> void {
    if (Creating) throw EFCreateError(FileMessage(Pattern, FileName, Err));
    throw EFOpenError(FileMessage(Pattern, FileName, Err));
  };
  if (Creating) {
    FFile = std::fopen(FileName.c_str(), OpenMode);
    if (!FFile) Fail(errno);
    return;
  }
  // Only regular files are opened: a directory cannot be read, a FIFO or a device may block
  // or never end. The name is looked at before opening, and the opened file again (it may
  // have been replaced meanwhile), which is opened without blocking for that reason.
  auto RefuseIrregular = [&](const struct stat& St, int Fd) {
    if (S_ISREG(St.st_mode)) return;
    if (Fd >= 0) ::close(Fd);
    throw EFOpenError(NotRegularMessage(FileName));
  };
  struct stat St;
  if (::stat(FileName.c_str(), &St) == 0) RefuseIrregular(St, -1);
  const int Fd = ::open(FileName.c_str(), (FCanWrite ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
  if (Fd < 0) Fail(errno);
  auto CloseAndFail = [&] {
    const int Err = errno;
    ::close(Fd);
    Fail(Err);
  };
  if (::fstat(Fd, &St) != 0) CloseAndFail();
  RefuseIrregular(St, Fd);
  const int Flags = ::fcntl(Fd, F_GETFL);
  if (Flags < 0 || ::fcntl(Fd, F_SETFL, Flags & ~O_NONBLOCK) != 0) CloseAndFail();
  FFile = ::fdopen(Fd, OpenMode);
  if (!FFile) CloseAndFail();
}

TFileStream::~TFileStream() {
  if (FFile) std::fclose(FFile);
}

void TFileStream::Switch(TLastOp Op) {
  // stdio needs a positioning call between a write and a read on the same stream.
  if (FLastOp != TLastOp::None && FLastOp != Op) ::fseeko(FFile, 0, SEEK_CUR);
  FLastOp = Op;
}

Int64 TFileStream::Read(void* Buffer, Int64 Count) {
  if (Count <= 0 || !FCanRead) return 0;
  Switch(TLastOp::Read);
  std::size_t N = std::fread(Buffer, 1, static_cast<std::size_t>(Count), FFile);
  std::clearerr(FFile);
  return static_cast<Int64>(N);
}

Int64 TFileStream::Write(const void* Buffer, Int64 Count) {
  if (Count <= 0 || !FCanWrite) return 0;
  Switch(TLastOp::Write);
  std::size_t N = std::fwrite(Buffer, 1, static_cast<std::size_t>(Count), FFile);
  std::clearerr(FFile);
  return static_cast<Int64>(N);
}

Int64 TFileStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  Int64 Current = ::ftello(FFile);
  Int64 End = Current;
  if (Origin == soEnd) End = GetSize();
  Int64 Pos = NewPosition(Current, End, Offset, Origin);
  if (Pos != Current || Origin != soCurrent) {
    if (::fseeko(FFile, static_cast<off_t>(Pos), SEEK_SET) != 0) throw EStreamError(SSeekError);
    FLastOp = TLastOp::None;
  }
  return Pos;
}

Int64 TFileStream::GetSize() {
  if (FLastOp == TLastOp::Write) std::fflush(FFile);
  struct stat St;
  if (::fstat(::fileno(FFile), &St) != 0) return 0;
  return static_cast<Int64>(St.st_size);
}

void TFileStream::SetSize(Int64 NewSize) {
  if (NewSize < 0 || !FCanWrite) throw EStreamError("Stream cannot change its size");
  Int64 Pos = ::ftello(FFile);
  std::fflush(FFile);
  if (::ftruncate(::fileno(FFile), static_cast<off_t>(NewSize)) != 0)
    throw EStreamError(std::strerror(errno));
  if (Pos > NewSize) Pos = NewSize;
  ::fseeko(FFile, static_cast<off_t>(Pos), SEEK_SET);
  FLastOp = TLastOp::None;
}

}  // namespace zel
