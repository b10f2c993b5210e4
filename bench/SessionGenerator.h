// Deterministic session files for timing runs: a title line, a skipped line, then records
// "2016-04-25;hh:mm:ss;sample;..." of a noisy sine with 4 to 6 significant digits per sample.
// The same (Records, Samples) always gives the same file (fixed seed, own generator).
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace zel::bench {

// splitmix64: small, fast and the same on every platform.
struct TSessionRandom {
  std::uint64_t State;
  std::uint64_t Next() {
    std::uint64_t Z = (State += 0x9E3779B97F4A7C15ull);
    Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
    Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
    return Z ^ (Z >> 31);
  }
  double Uniform() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
};

// Writes the session file to Path; false when it cannot be written.
inline bool WriteSessionFile(const std::string& Path, int Records, int Samples) {
  std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
  if (!Out) return false;
  Out << "Bench session " << Records << " x " << Samples << "\n";
  Out << "Date;Time;Samples\n";
  TSessionRandom R{0x5EED0000u + std::uint64_t(Records) * 7919u + std::uint64_t(Samples)};
  char Buf[64];
  std::string Line;
  for (int Rec = 0; Rec < Records; ++Rec) {
    Line.clear();
    std::snprintf(Buf, sizeof Buf, "2016-04-25;%02d:%02d:%02d", 13 + Rec / 3600 % 10, Rec / 60 % 60, Rec % 60);
    Line += Buf;
    const double Amplitude = 1 + 9 * R.Uniform();
    const double Phase = 6.283185307179586 * R.Uniform();
    for (int S = 0; S < Samples; ++S) {
      double V = Amplitude * std::sin(Phase + S * 0.01) + 0.05 * (R.Uniform() - 0.5) + 0.3 * R.Uniform();
      int Digits = 4 + int(R.Next() % 3);
      auto Res = std::to_chars(Buf, Buf + sizeof Buf, V, std::chars_format::general, Digits);
      Line += ';';
      Line.append(Buf, Res.ptr);
    }
    Line += '\n';
    Out << Line;
  }
  return static_cast<bool>(Out.flush());
}

}  // namespace zel::bench
