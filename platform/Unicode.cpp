#include "platform/Unicode.h"

namespace zel {

void AppendUtf8(String& S, std::uint32_t CP) {
  if (CP < 0x80) {
    S += static_cast<char>(CP);
  } else if (CP < 0x800) {
    S += static_cast<char>(0xC0 | (CP >> 6));
    S += static_cast<char>(0x80 | (CP & 0x3F));
  } else if (CP < 0x10000) {
    S += static_cast<char>(0xE0 | (CP >> 12));
    S += static_cast<char>(0x80 | ((CP >> 6) & 0x3F));
    S += static_cast<char>(0x80 | (CP & 0x3F));
  } else {
    S += static_cast<char>(0xF0 | (CP >> 18));
    S += static_cast<char>(0x80 | ((CP >> 12) & 0x3F));
    S += static_cast<char>(0x80 | ((CP >> 6) & 0x3F));
    S += static_cast<char>(0x80 | (CP & 0x3F));
  }
}

std::uint32_t NextCodePoint(std::string_view S, std::size_t& I) {
  const unsigned char C = static_cast<unsigned char>(S[I]);
  if (C < 0x80) {
    ++I;
    return C;
  }
  // Continuation bytes after the lead: 1, 2 or 3; anything else cannot start a sequence.
  const std::size_t N = (C >> 5) == 6 ? 1 : (C >> 4) == 14 ? 2 : (C >> 3) == 30 ? 3 : 0;
  if (N == 0 || I + N >= S.size()) {
    ++I;
    return 0xFFFD;
  }
  std::uint32_t CP = N == 1 ? (C & 0x1F) : N == 2 ? (C & 0x0F) : (C & 0x07);
  for (std::size_t K = 1; K <= N; ++K) {
    const unsigned char Cont = static_cast<unsigned char>(S[I + K]);
    if ((Cont & 0xC0) != 0x80) {
      ++I;
      return 0xFFFD;
    }
    CP = (CP << 6) | (Cont & 0x3F);
  }
  I += N + 1;
  return CP;
}

bool IsValidUtf8(std::string_view S) {
  std::size_t I = 0, N = S.size();
  while (I < N) {
    unsigned char C = static_cast<unsigned char>(S[I]);
    std::size_t Len;
    std::uint32_t CP;
    if (C < 0x80) {
      ++I;
      continue;
    } else if ((C & 0xE0) == 0xC0) {
      Len = 2;
      CP = C & 0x1F;
    } else if ((C & 0xF0) == 0xE0) {
      Len = 3;
      CP = C & 0x0F;
    } else if ((C & 0xF8) == 0xF0) {
      Len = 4;
      CP = C & 0x07;
    } else {
      return false;
    }
    if (I + Len > N) return false;
    for (std::size_t K = 1; K < Len; ++K) {
      unsigned char D = static_cast<unsigned char>(S[I + K]);
      if ((D & 0xC0) != 0x80) return false;
      CP = (CP << 6) | (D & 0x3F);
    }
    static const std::uint32_t MinForLen[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (CP < MinForLen[Len] || CP > 0x10FFFF || (CP >= 0xD800 && CP <= 0xDFFF)) return false;
    I += Len;
  }
  return true;
}

String Utf16ToUtf8(const Byte* Bytes, std::size_t Count, bool BigEndian) {
  String S;
  const std::size_t N = Count / 2;
  auto Unit = [&](std::size_t K) -> std::uint32_t {
    return BigEndian ? (std::uint32_t(Bytes[2 * K]) << 8) | Bytes[2 * K + 1]
                     : (std::uint32_t(Bytes[2 * K + 1]) << 8) | Bytes[2 * K];
  };
  for (std::size_t I = 0; I < N; ++I) {
    std::uint32_t U = Unit(I);
    if (U >= 0xD800 && U <= 0xDBFF && I + 1 < N) {
      const std::uint32_t L = Unit(I + 1);
      if (L >= 0xDC00 && L <= 0xDFFF) {
        AppendUtf8(S, 0x10000 + ((U - 0xD800) << 10) + (L - 0xDC00));
        ++I;
        continue;
      }
    }
    if (U >= 0xD800 && U <= 0xDFFF) U = 0xFFFD;
    AppendUtf8(S, U);
  }
  if (Count % 2) AppendUtf8(S, 0xFFFD);
  return S;
}

}  // namespace zel
