// UTF-8 and UTF-16 conversions shared by the text readers and writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Types.h"

namespace zel {

// True for a byte that continues a UTF-8 sequence (10xxxxxx); every other byte starts a code point.
inline bool IsUtf8Continuation(char C) { return (static_cast<unsigned char>(C) & 0xC0) == 0x80; }

// Appends code point CP (at most U+10FFFF) to S as UTF-8.
void AppendUtf8(String& S, std::uint32_t CP);

// Decodes the code point of UTF-8 that starts at S[I] (I < S.size()) and moves I past it. A
// malformed or truncated sequence gives U+FFFD and moves I by one byte. Lenient: overlong forms and
// encoded surrogates decode as they are written.
std::uint32_t NextCodePoint(std::string_view S, std::size_t& I);

// True when S is well-formed UTF-8 (no overlong forms, surrogates or values above U+10FFFF).
bool IsValidUtf8(std::string_view S);

// Count bytes of UTF-16 code units (big- or little-endian) as UTF-8. An unpaired surrogate, and a
// last byte that makes no whole unit, become U+FFFD.
String Utf16ToUtf8(const Byte* Bytes, std::size_t Count, bool BigEndian);

}  // namespace zel
