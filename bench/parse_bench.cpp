// Loading session files: records parsed into series through dataLineParse, against a baseline
// that reads the same file and parses every sample with std::from_chars into one vector.
//
// The session files are generated once per run, deterministically (fixed seed, own generator),
// into the system's temporary folder: a title line, a skipped line, then records
// "2016-04-25;13:45:10;1.2345;..." of noisy samples with 4 to 6 significant digits.
//
// Counters: points (samples loaded per iteration) and peak_bytes_per_point (the largest amount of
// heap memory in use during the load, above what was in use before it, per loaded point).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/LibraryMain.h"
#include "bench/SessionGenerator.h"
#include "platform/SysUtils.h"
#include "viewer/SessionParser.h"
#include "zelgraph/engine/Series.h"

// Heap accounting: live bytes and their peak, from the allocator's own block sizes.
namespace {
std::size_t LiveBytes = 0;
std::size_t PeakBytes = 0;

void* Allocate(std::size_t Size) {
  void* P = std::malloc(Size ? Size : 1);
  if (!P) throw std::bad_alloc();
  LiveBytes += malloc_usable_size(P);
  if (LiveBytes > PeakBytes) PeakBytes = LiveBytes;
  return P;
}

void Release(void* P) {
  if (!P) return;
  LiveBytes -= malloc_usable_size(P);
  std::free(P);
}
}  // namespace

void* operator new(std::size_t Size) { return Allocate(Size); }
void* operator new[](std::size_t Size) { return Allocate(Size); }
void operator delete(void* P) noexcept { Release(P); }
void operator delete[](void* P) noexcept { Release(P); }
void operator delete(void* P, std::size_t) noexcept { Release(P); }
void operator delete[](void* P, std::size_t) noexcept { Release(P); }

namespace {

using namespace zel;

std::string SessionFile(int Records, int Samples) {
  namespace fs = std::filesystem;
  fs::path Path = fs::temp_directory_path() /
                  ("zel_session_" + std::to_string(Records) + "x" + std::to_string(Samples) + ".csv");
  if (!zel::bench::WriteSessionFile(Path.string(), Records, Samples))
    throw std::runtime_error("cannot write " + Path.string());
  return Path.string();
}

const std::string& FileFor(int Records, int Samples) {
  static std::vector<std::pair<std::pair<int, int>, std::string>> Files;
  for (auto& F : Files)
    if (F.first == std::make_pair(Records, Samples)) return F.second;
  Files.push_back({{Records, Samples}, SessionFile(Records, Samples)});
  return Files.back().second;
}

void ReportMemory(benchmark::State& State, std::size_t Points, std::size_t PeakAbove) {
  State.counters["points"] = double(Points);
  State.counters["peak_bytes_per_point"] = Points ? double(PeakAbove) / double(Points) : 0.0;
  State.SetItemsProcessed(std::int64_t(State.iterations()) * std::int64_t(Points));
}

// Baseline: the same reading, every sample parsed with std::from_chars into one vector.
void BM_ParseBaseline(benchmark::State& State) {
  const std::string& Path = FileFor(int(State.range(0)), int(State.range(1)));
  std::size_t Points = 0, Peak = 0;
  for (auto _ : State) {
    const std::size_t Start = LiveBytes;
    PeakBytes = LiveBytes;
    std::vector<double> Values;
    {
      std::ifstream In(Path, std::ios::binary);
      std::string Line;
      std::getline(In, Line);
      std::getline(In, Line);
      while (std::getline(In, Line)) {
        const char* P = Line.data();
        const char* End = P + Line.size();
        int Field = 0;
        for (;;) {
          const char* Sep = static_cast<const char*>(std::memchr(P, ';', std::size_t(End - P)));
          if (!Sep) Sep = End;
          if (Field >= 2) {
            double V = 0;
            std::from_chars(P, Sep, V);
            Values.push_back(V);
          }
          ++Field;
          if (Sep == End) break;
          P = Sep + 1;
        }
      }
    }
    benchmark::DoNotOptimize(Values.data());
    Points = Values.size();
    Peak = PeakBytes - Start;
  }
  ReportMemory(State, Points, Peak);
}

// Records parsed into plain series through dataLineParse.
void BM_ParseIntoSeries(benchmark::State& State) {
  const std::string& Path = FileFor(int(State.range(0)), int(State.range(1)));
  const TFormatSettings FS = SessionFormatSettings();
  std::size_t Points = 0, Peak = 0;
  for (auto _ : State) {
    const std::size_t Start = LiveBytes;
    PeakBytes = LiveBytes;
    std::vector<TChartSeries*> Series;
    {
      std::ifstream In(Path, std::ios::binary);
      std::string Title, Line;
      std::getline(In, Title);
      std::getline(In, Line);
      double X0 = 0;
      while (std::getline(In, Line)) {
        TChartSeries* S = Create<TChartSeries>(nullptr);
        Series.push_back(S);
        dataLineParse(FS, Line, X0, S);
        X0 += 1000.0;
      }
    }
    Points = 0;
    for (TChartSeries* S : Series) Points += std::size_t(S->Count());
    Peak = PeakBytes - Start;
    State.PauseTiming();
    for (TChartSeries* S : Series) S->Free();
    State.ResumeTiming();
  }
  ReportMemory(State, Points, Peak);
}

void Sizes(benchmark::internal::Benchmark* B) {
  B->Args({10, 1000})->Args({100, 10000})->Args({200, 100000})->Unit(benchmark::kMillisecond)->MinTime(2.0);
}

BENCHMARK(BM_ParseBaseline)->Apply(Sizes);
BENCHMARK(BM_ParseIntoSeries)->Apply(Sizes);

}  // namespace

ZEL_BENCHMARK_MAIN()

