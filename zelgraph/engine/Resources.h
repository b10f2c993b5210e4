// The library's small resource pictures (scroll-bar arrows and thumbs) read from device-independent
// bitmaps, a few processor queries, and a parallel for-loop over an index range.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "platform/Classes.h"
#include "platform/Types.h"

namespace zel {

class TBitmap;
class TStream;

// Reads a device-independent bitmap (a 40-byte or longer info header, the palette and the
// uncompressed pixels, no file header) from Stream's position into Bitmap. 1, 4, 8, 24 and 32 bits
// per pixel, rows bottom-up (positive height) or top-down (negative height). A palette colour of
// opaque white reads as fully transparent. A stream shorter than the header raises EReadError;
// a header that is not a readable picture raises EReadError with SInvalidDIB and leaves Bitmap
// as it was. Pixels missing at the end of a short stream stay transparent.
void ReadDIBFromStream(TBitmap* Bitmap, TStream* Stream);

inline const char* const SInvalidDIB = "Bitmap data is not a readable device-independent bitmap";

// The bitmap resources of the program: the library's own six pictures ("ZELARROWDOWN",
// "ZELARROWUP", "ZELTHUMB1" to "ZELTHUMB4"), plus any a host registers. Names match without
// regard to ASCII case.
// Registers (or replaces) a resource of the program: the bytes of a DIB without file header.
void ZelRegisterBitmapResource(const String& Name, std::vector<Byte> DIB);
void ZelUnregisterBitmapResource(const String& Name);
// The bytes of a resource; false when the program has none of that name.
bool ZelFindBitmapResource(const String& Name, std::vector<Byte>& DIB);

// Loads the resource Name1 (when not empty), else Name2 (when not empty), into Bitmap; Bitmap
// stays as it was when neither exists.
void ZelLoadBitmap(TBitmap* Bitmap, const String& Name1, const String& Name2 = String());

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The loop body of ParallelFor: called once per index.
using TParallelProc = std::function<void(int Index)>;

class TParallelGroup;

// One worker of a parallel loop.
class TParallel : public TObject {
  ZEL_CLASS(TParallel, TObject)
 public:
  TParallel(TParallelGroup* AOwner, TThreadPriority APriority, int AThreadID, TParallelProc AProc);
  ~TParallel() override;
  // Starts the worker thread.
  void Start();
  void WaitFor();

  TParallelProc FProc;
  // The index being run.
  std::atomic<std::int64_t> Current{0};
  int FThreadID = 0;
  TParallelGroup* Owner = nullptr;
  TThreadPriority Priority = TThreadPriority::tpNormal;

 private:
  void Execute();
  std::thread FThread;
};

// One run of a parallel loop: workers take indexes from a shared counter until it passes MaxPos.
class TParallelGroup : public TObject {
  ZEL_CLASS(TParallelGroup, TObject)
 public:
  TParallelGroup(int AMin, int AMax);
  ~TParallelGroup() override;

  // Runs Proc over the range on Threads workers and returns when all have ended. When a body
  // raised, the first such error is raised here after every worker ended.
  void Run(int Threads, TThreadPriority Priority, const TParallelProc& Proc);

  // The next index to take minus one (64 bits, so that passing the end never overflows).
  std::atomic<std::int64_t> Current{0};
  int MaxPos = 0;
  std::vector<std::atomic<TParallel*>> threads;
  std::atomic<int> LiveCount{0};

 private:
  friend class TParallel;
  void WorkerFailed(std::exception_ptr E);
  int FMin = 0;
  std::atomic<bool> FFailed{false};
  std::exception_ptr FError;
};

class TZelCPU : public TObject {
  ZEL_CLASS(TZelCPU, TObject)
 public:
  // Feature bits of the processor (false on processors without the x86 feature query).
  static bool HasMMX();
  static bool HasSSE();
  static bool HasSSE2();
  // AVX reported by the processor and its registers saved by the operating system.
  static bool HasAVX();
  // Processors this process may run on (among the first 32); at least 1.
  static int NumberOfProcessors();
  // The processor's identifier, name and speed in MHz: from the settings key of the first
  // processor, else from the operating system's description; empty or 0 when unknown.
  static String Identifier();
  static String Name();
  static int Speed();

  // Proc(i) for every i in Min..Max: nothing when Max < Min; in order on the calling thread
  // when Threads is 1 or less; otherwise on Threads worker threads at once (Proc must be safe to
  // run concurrently). A body that raises ends its worker; the other workers take the remaining
  // indexes, and the first error is raised to the caller once all workers ended.
  static void ParallelFor(int Min, int Max, int Threads, const TParallelProc& Proc,
                          TThreadPriority Priority = TThreadPriority::tpNormal);
  static void ParallelFor(int Min, int Max, const TParallelProc& Proc);
};

}  // namespace zel
