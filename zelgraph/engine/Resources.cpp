#include "zelgraph/engine/Resources.h"

#include <algorithm>
#include <cerrno>
#include <bit>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Registry.h"
#include "platform/Scope.h"
#include "platform/Streams.h"
#include "platform/SysUtils.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define ZEL_HAVE_CPUID 1
#endif
#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace zel {

ZEL_DEFINE_CLASS(TParallel, TObject)
ZEL_DEFINE_CLASS(TParallelGroup, TObject)
ZEL_DEFINE_CLASS(TZelCPU, TObject)

// ---------------------------------------------------------------------------------------------
// DIB reader

namespace {

std::uint32_t LE32(const Byte* P) {
  return std::uint32_t(P[0]) | std::uint32_t(P[1]) << 8 | std::uint32_t(P[2]) << 16 |
         std::uint32_t(P[3]) << 24;
}
std::uint16_t LE16(const Byte* P) { return std::uint16_t(P[0] | P[1] << 8); }

[[noreturn]] void InvalidDIB() { throw EReadError(SInvalidDIB); }

}  // namespace

void ReadDIBFromStream(TBitmap* Bitmap, TStream* Stream) {
  Int64 Remaining = Stream->GetSize() - Stream->GetPosition();
  Byte SizeBytes[4];
  Stream->ReadBuffer(SizeBytes, 4);
  const std::uint32_t HeaderSize = LE32(SizeBytes);
  // Only the info header and its longer successors (the 12-byte core header is not supported).
  if (HeaderSize < 40 || HeaderSize > 1024) InvalidDIB();
  std::vector<Byte> Header(HeaderSize);
  std::memcpy(Header.data(), SizeBytes, 4);
  Stream->ReadBuffer(Header.data() + 4, HeaderSize - 4);
  Remaining -= HeaderSize;

  const std::int32_t Width = static_cast<std::int32_t>(LE32(&Header[4]));
  const std::int32_t RawHeight = static_cast<std::int32_t>(LE32(&Header[8]));
  const int BitCount = LE16(&Header[14]);
  const std::uint32_t Compression = LE32(&Header[16]);
  std::uint32_t ImageSize = LE32(&Header[20]);
  std::uint32_t ColorCount = LE32(&Header[32]);

  const bool TopDown = RawHeight < 0;
  const Int64 Height = TopDown ? -Int64(RawHeight) : Int64(RawHeight);
  if (Width <= 0 || Height <= 0 || Width > 65536 || Height > 65536) InvalidDIB();
  if (BitCount != 1 && BitCount != 4 && BitCount != 8 && BitCount != 24 && BitCount != 32)
    InvalidDIB();
  if (Compression != 0) InvalidDIB();
  if (ColorCount == 0 && BitCount <= 8) ColorCount = 1u << BitCount;
  if (ColorCount > 256) InvalidDIB();

  // Palette; pictures of more than 8 bits may carry one, which is skipped.
  std::vector<TAlphaColor> Palette(ColorCount);
  if (ColorCount > 0) {
    std::vector<Byte> Raw(ColorCount * 4);
    Stream->ReadBuffer(Raw.data(), static_cast<Int64>(Raw.size()));
    for (std::uint32_t I = 0; I < ColorCount; ++I) {
      const Byte* E = &Raw[I * 4];
      TAlphaColor C = 0xFF000000u | TAlphaColor(E[2]) << 16 | TAlphaColor(E[1]) << 8 | E[0];
      Palette[I] = C == 0xFFFFFFFFu ? 0 : C;
    }
    Remaining -= Int64(ColorCount) * 4;
  }

  const Int64 RowLength = ((Int64(Width) * BitCount + 31) & ~Int64(31)) / 8;
  Int64 Size = ImageSize ? Int64(ImageSize) : Height * RowLength;
  Size = std::max<Int64>(0, std::min(Remaining, Size));
  std::vector<Byte> Pixels(static_cast<std::size_t>(Size));
  if (Size > 0) Stream->ReadBuffer(Pixels.data(), Size);

  Bitmap->SetSize(Width, static_cast<int>(Height));
  Bitmap->Clear(0);
  TBitmapData Data;
  if (!Bitmap->Map(TMapAccess::Write, Data)) return;
  TRestoreOnExit Unmap([&] { Bitmap->Unmap(Data); });
  auto PaletteColor = [&](unsigned Index) -> TAlphaColor {
    return Index < Palette.size() ? Palette[Index] : 0;
  };
  for (Int64 Row = 0; Row < Height; ++Row) {
    const Int64 Start = Row * RowLength;
    if (Start >= Size) break;
    const Byte* Line = Pixels.data() + Start;
    const Int64 Avail = std::min(RowLength, Size - Start);
    const int Y = static_cast<int>(TopDown ? Row : Height - 1 - Row);
    for (int X = 0; X < Width; ++X) {
      const Int64 BitPos = Int64(X) * BitCount;
      const Int64 BytePos = BitPos / 8;
      const Int64 Need = BitCount >= 8 ? BitCount / 8 : 1;
      if (BytePos + Need > Avail) break;
      TAlphaColor C;
      switch (BitCount) {
        case 1: C = PaletteColor((Line[BytePos] >> (7 - (X & 7))) & 1); break;
        case 4: C = PaletteColor((X & 1) ? (Line[BytePos] & 0x0F) : (Line[BytePos] >> 4)); break;
        case 8: C = PaletteColor(Line[BytePos]); break;
        default: {
          const Byte* P = Line + BytePos;
          const TAlphaColor A = BitCount == 32 ? P[3] : 0xFF;
          C = A << 24 | TAlphaColor(P[2]) << 16 | TAlphaColor(P[1]) << 8 | P[0];
        }
      }
      Data.SetPixel(X, Y, C);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The library's own pictures, drawn here as DIBs

namespace {

// Builds a DIB of the given size and depth; Pixel(x, y) gives a palette index (up to 8 bits) or
// an 0xRRGGBB colour (24 bits), y counted from the top.
std::vector<Byte> MakeDIB(int Width, int Height, int Bits, const std::vector<TAlphaColor>& Palette,
                          const std::function<std::uint32_t(int X, int Y)>& Pixel) {
  const int RowLength = ((Width * Bits + 31) & ~31) / 8;
  const int Colors = Bits <= 8 ? static_cast<int>(Palette.size()) : 0;
  std::vector<Byte> D(40 + Colors * 4 + RowLength * Height, 0);
  auto Put32 = [&](int At, std::uint32_t V) {
    for (int I = 0; I < 4; ++I) D[At + I] = Byte(V >> (8 * I));
  };
  Put32(0, 40);
  Put32(4, static_cast<std::uint32_t>(Width));
  Put32(8, static_cast<std::uint32_t>(Height));
  D[12] = 1;
  D[14] = Byte(Bits);
  Put32(20, static_cast<std::uint32_t>(RowLength * Height));
  Put32(32, static_cast<std::uint32_t>(Colors));
  for (int I = 0; I < Colors; ++I) {
    D[40 + I * 4] = Byte(Palette[I]);
    D[40 + I * 4 + 1] = Byte(Palette[I] >> 8);
    D[40 + I * 4 + 2] = Byte(Palette[I] >> 16);
  }
  const int Base = 40 + Colors * 4;
  for (int Row = 0; Row < Height; ++Row) {
    Byte* Line = &D[Base + Row * RowLength];
    const int Y = Height - 1 - Row;  // bottom-up
    for (int X = 0; X < Width; ++X) {
      const std::uint32_t V = Pixel(X, Y);
      switch (Bits) {
        case 4: Line[X / 2] |= Byte((V & 0x0F) << ((X & 1) ? 0 : 4)); break;
        case 8: Line[X] = Byte(V); break;
        default:
          Line[X * 3] = Byte(V);
          Line[X * 3 + 1] = Byte(V >> 8);
          Line[X * 3 + 2] = Byte(V >> 16);
      }
    }
  }
  return D;
}

// Palette: 0 white (transparent), 1 black, 2 dark grey, 3 grey, 4 light grey, 5 face.
const std::vector<TAlphaColor> GreyPalette = {0xFFFFFF, 0x000000, 0x404040, 0x808080,
                                              0xC0C0C0, 0xE0E0E0};

std::vector<Byte> ArrowDIB(bool Down) {
  return MakeDIB(24, 14, 4, GreyPalette, [Down](int X, int Y) -> std::uint32_t {
    // A filled triangle 9 rows high, centred, tip down or up.
    const int Row = Down ? Y - 3 : 10 - Y;  // 0 at the wide edge
    if (Row < 0 || Row > 7) return 0;
    const int Half = 8 - Row;
    return (X >= 12 - Half && X < 12 + Half) ? 2 : 0;
  });
}

// A raised grip: face colour, light top-left edge, dark bottom-right edge, grip lines.
std::uint32_t Grip(int X, int Y, int W, int H, bool Vertical, std::uint32_t Light,
                   std::uint32_t Face, std::uint32_t Dark, std::uint32_t Line) {
  if (X == W - 1 || Y == H - 1) return Dark;
  if (X == 0 || Y == 0) return Light;
  const int C = Vertical ? Y - H / 2 : X - W / 2;
  const int Across = Vertical ? X : Y;
  const int Size = Vertical ? W : H;
  if ((C == -2 || C == 0 || C == 2) && Across > 2 && Across < Size - 3) return Line;
  return Face;
}

std::map<String, std::vector<Byte>>& Resources() {
  static std::map<String, std::vector<Byte>> R;
  return R;
}
std::mutex& ResourceLock() {
  static std::mutex M;
  return M;
}

void EnsureBuiltIn() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  auto& R = Resources();
  R.emplace("ZELARROWDOWN", ArrowDIB(true));
  R.emplace("ZELARROWUP", ArrowDIB(false));
  R.emplace("ZELTHUMB1", MakeDIB(17, 16, 8, GreyPalette, [](int X, int Y) {
              return Grip(X, Y, 17, 16, false, 5, 4, 3, 2);
            }));
  R.emplace("ZELTHUMB2", MakeDIB(12, 12, 24, {}, [](int X, int Y) {
              return Grip(X, Y, 12, 12, true, 0xF0F0F0, 0xC8C8C8, 0x707070, 0x505050);
            }));
  R.emplace("ZELTHUMB3", MakeDIB(29, 13, 8, GreyPalette, [](int X, int Y) {
              return Grip(X, Y, 29, 13, false, 5, 4, 3, 2);
            }));
  R.emplace("ZELTHUMB4", MakeDIB(9, 10, 24, {}, [](int X, int Y) {
              return Grip(X, Y, 9, 10, true, 0xF0F0F0, 0xC8C8C8, 0x707070, 0x505050);
            }));
}

}  // namespace

void ZelRegisterBitmapResource(const String& Name, std::vector<Byte> DIB) {
  std::lock_guard<std::mutex> L(ResourceLock());
  EnsureBuiltIn();
  Resources()[UpperCase(Name)] = std::move(DIB);
}

void ZelUnregisterBitmapResource(const String& Name) {
  std::lock_guard<std::mutex> L(ResourceLock());
  EnsureBuiltIn();
  Resources().erase(UpperCase(Name));
}

bool ZelFindBitmapResource(const String& Name, std::vector<Byte>& DIB) {
  std::lock_guard<std::mutex> L(ResourceLock());
  EnsureBuiltIn();
  auto It = Resources().find(UpperCase(Name));
  if (It == Resources().end()) return false;
  DIB = It->second;
  return true;
}

void ZelLoadBitmap(TBitmap* Bitmap, const String& Name1, const String& Name2) {
  std::vector<Byte> DIB;
  for (const String* Name : {&Name1, &Name2}) {
    if (Name->empty() || !ZelFindBitmapResource(*Name, DIB)) continue;
    TMemoryStream S;
    S.WriteBuffer(DIB.data(), static_cast<Int64>(DIB.size()));
    S.SetPosition(0);
    ReadDIBFromStream(Bitmap, &S);
    return;
  }
}

// ---------------------------------------------------------------------------------------------
// Processor queries

namespace {

#ifdef ZEL_HAVE_CPUID
bool CpuId(unsigned Leaf, unsigned& A, unsigned& B, unsigned& C, unsigned& D) {
  return __get_cpuid(Leaf, &A, &B, &C, &D) != 0;
}
bool Feature1EDX(int Bit) {
  unsigned A, B, C, D;
  return CpuId(1, A, B, C, D) && ((D >> Bit) & 1u);
}
#endif

// A "key : value" line of the operating system's processor description.
String CpuInfoField(const String& Key) {
#if defined(__linux__)
  std::ifstream F("/proc/cpuinfo");
  String Line;
  while (std::getline(F, Line)) {
    const auto Colon = Line.find(':');
    if (Colon == String::npos) continue;
    if (Trim(Line.substr(0, Colon)) == Key) return Trim(Line.substr(Colon + 1));
  }
#else
  (void)Key;
#endif
  return String();
}

constexpr const char* CpuKey = "\\Hardware\\Description\\System\\CentralProcessor\\0";

bool OpenCpuKey(TRegistry& R) {
  R.SetRootKey(HKEY_LOCAL_MACHINE);
  return R.OpenKeyReadOnly(CpuKey);
}

}  // namespace

bool TZelCPU::HasMMX() {
#ifdef ZEL_HAVE_CPUID
  return Feature1EDX(23);
#else
  return false;
#endif
}

bool TZelCPU::HasSSE() {
#ifdef ZEL_HAVE_CPUID
  return Feature1EDX(25);
#else
  return false;
#endif
}

bool TZelCPU::HasSSE2() {
#ifdef ZEL_HAVE_CPUID
  return Feature1EDX(26);
#else
  return false;
#endif
}

bool TZelCPU::HasAVX() {
#ifdef ZEL_HAVE_CPUID
  unsigned A, B, C, D;
  if (!CpuId(0, A, B, C, D) || A < 1) return false;
  if (!CpuId(1, A, B, C, D)) return false;
  constexpr unsigned OSXSave = 1u << 27, AVX = 1u << 28;
  if ((C & (OSXSave | AVX)) != (OSXSave | AVX)) return false;
  unsigned Lo, Hi;
  __asm__ volatile("xgetbv" : "=a"(Lo), "=d"(Hi) : "c"(0));
  (void)Hi;
  return (Lo & 6u) == 6u;
#else
  return false;
#endif
}

int TZelCPU::NumberOfProcessors() {
#if defined(__linux__)
  cpu_set_t Set;
  CPU_ZERO(&Set);
  if (sched_getaffinity(0, sizeof(Set), &Set) == 0) {
    int N = 0;
    for (int I = 0; I < 32; ++I)
      if (CPU_ISSET(I, &Set)) ++N;
    if (N > 0) return N;
  }
#endif
  const unsigned N = std::thread::hardware_concurrency();
  return N > 0 ? static_cast<int>(N) : 1;
}

String TZelCPU::Identifier() {
  TRegistry R(KEY_READ);
  if (OpenCpuKey(R)) return R.ReadString("Identifier");
  const String Family = CpuInfoField("cpu family");
  if (Family.empty()) return String();
  return CpuInfoField("vendor_id") + " Family " + Family + " Model " + CpuInfoField("model") +
         " Stepping " + CpuInfoField("stepping");
}

String TZelCPU::Name() {
  TRegistry R(KEY_READ);
  if (OpenCpuKey(R)) return R.ReadString("ProcessorNameString");
  return CpuInfoField("model name");
}

int TZelCPU::Speed() {
  TRegistry R(KEY_READ);
  if (OpenCpuKey(R)) return R.ValueExists("~MHz") ? R.ReadInteger("~MHz") : 0;
  const String MHz = CpuInfoField("cpu MHz");
  if (MHz.empty()) return 0;
  try {
    return static_cast<int>(StrToFloat(MHz) + 0.5);
  } catch (const Exception&) {
    return 0;
  }
}

// ---------------------------------------------------------------------------------------------
// Parallel loop

TParallel::TParallel(TParallelGroup* AOwner, TThreadPriority APriority, int AThreadID,
                     TParallelProc AProc)
    : FProc(std::move(AProc)), FThreadID(AThreadID), Owner(AOwner), Priority(APriority) {}

TParallel::~TParallel() { WaitFor(); }

void TParallel::Start() { FThread = std::thread([this] { Execute(); }); }

void TParallel::WaitFor() {
  if (FThread.joinable()) FThread.join();
}

namespace {
// Gives the calling thread the priority, as far as the system lets an unprivileged program: on
// Linux a thread's nice value (a lower priority: a higher nice value, always allowed; a higher
// priority needs the right to lower it, and without that right the thread keeps the priority it
// has), and the idle policy for tpIdle. Elsewhere the priority is left as it is.
void ApplyThreadPriority(TThreadPriority Priority) {
#if defined(__linux__)
  if (Priority == TThreadPriority::tpIdle) {
    sched_param P{};
    P.sched_priority = 0;
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &P);
    return;
  }
  static constexpr int Nice[] = {0, 10, 5, 0, -5, -10, -20};  // by TThreadPriority
  const int Delta = Nice[static_cast<int>(Priority)];
  if (Delta == 0) return;
  const id_t Self = static_cast<id_t>(gettid());
  errno = 0;
  const int Base = getpriority(PRIO_PROCESS, Self);
  if (errno != 0) return;
  setpriority(PRIO_PROCESS, Self, std::clamp(Base + Delta, -20, 19));  // refused: stays as it was
#else
  (void)Priority;
#endif
}
}  // namespace

void TParallel::Execute() {
  ApplyThreadPriority(Priority);
  try {
    for (;;) {
      const std::int64_t I = Owner->Current.fetch_add(1) + 1;
      if (I > Owner->MaxPos) break;
      Current = I;
      FProc(static_cast<int>(I));
    }
  } catch (...) {
    Owner->WorkerFailed(std::current_exception());
  }
  Owner->threads[static_cast<std::size_t>(FThreadID)] = nullptr;
  Owner->LiveCount.fetch_sub(1);
}

TParallelGroup::TParallelGroup(int AMin, int AMax) : MaxPos(AMax), FMin(AMin) {}

TParallelGroup::~TParallelGroup() = default;

void TParallelGroup::WorkerFailed(std::exception_ptr E) {
  bool Expected = false;
  if (FFailed.compare_exchange_strong(Expected, true)) FError = E;
}

void TParallelGroup::Run(int Threads, TThreadPriority Priority, const TParallelProc& Proc) {
  std::vector<TOwned<TParallel>> Workers;
  Workers.reserve(static_cast<std::size_t>(Threads));
  threads = std::vector<std::atomic<TParallel*>>(static_cast<std::size_t>(Threads));
  for (int K = 0; K < Threads; ++K) {
    Workers.emplace_back(Create<TParallel>(this, Priority, K, Proc));
    threads[static_cast<std::size_t>(K)] = Workers.back().get();
  }
  LiveCount = Threads;
  // The first index taken is FMin.
  Current = std::int64_t(FMin) - 1;
  int Started = 0;
  {
    // A thread that could not start takes nothing; the started ones finish the range.
    TCloseOnExit WaitForAll([&](bool Failed) {
      if (Failed) LiveCount.fetch_sub(Threads - Started);
      for (auto& W : Workers) W->WaitFor();
    });
    for (auto& W : Workers) {
      W->Start();
      ++Started;
    }
  }
  if (FError) std::rethrow_exception(FError);
}

void TZelCPU::ParallelFor(int Min, int Max, int Threads, const TParallelProc& Proc,
                          TThreadPriority Priority) {
  if (Max < Min) return;
  if (Threads <= 1) {
    for (std::int64_t I = Min; I <= Max; ++I) Proc(static_cast<int>(I));
    return;
  }
  // Workers beyond the number of indexes would find nothing to do.
  const std::int64_t Count = std::int64_t(Max) - Min + 1;
  if (Threads > Count) Threads = static_cast<int>(Count);
  TOwned<TParallelGroup> Group(Create<TParallelGroup>(Min, Max));
  Group->Run(Threads, Priority, Proc);
}

void TZelCPU::ParallelFor(int Min, int Max, const TParallelProc& Proc) {
  ParallelFor(Min, Max, NumberOfProcessors(), Proc, TThreadPriority::tpNormal);
}

}  // namespace zel
