#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "platform/StringList.h"
#include "platform/Unicode.h"

using namespace zel;

TEST(Unicode, Utf16DecodesPairsAndReplacesWhatCannotBeDecoded) {
  struct Case {
    const char* Name;
    std::vector<Byte> LittleEndian;
    String Expected;
  };
  const Case Cases[] = {
      {"ascii", {'h', 0, 'i', 0}, "hi"},
      {"two and three bytes of UTF-8", {0xE9, 0x00, 0xAC, 0x20}, "\xC3\xA9\xE2\x82\xAC"},
      {"surrogate pair", {0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"},
      {"high surrogate at the end", {'a', 0, 0x3D, 0xD8}, "a\xEF\xBF\xBD"},
      {"high surrogate before a letter", {0x3D, 0xD8, 'a', 0}, "\xEF\xBF\xBD" "a"},
      {"lone low surrogate", {0x00, 0xDE, 'a', 0}, "\xEF\xBF\xBD" "a"},
      {"odd last byte", {'a', 0, 'b'}, "a\xEF\xBF\xBD"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(Utf16ToUtf8(C.LittleEndian.data(), C.LittleEndian.size(), false), C.Expected);
    std::vector<Byte> Swapped = C.LittleEndian;
    for (std::size_t I = 0; I + 1 < Swapped.size(); I += 2) std::swap(Swapped[I], Swapped[I + 1]);
    EXPECT_EQ(Utf16ToUtf8(Swapped.data(), Swapped.size(), true), C.Expected);
  }
}

TEST(Unicode, NextCodePointStepsOverMalformedBytesOneAtATime) {
  struct Case {
    const char* Name;
    std::string_view Text;
    std::vector<std::uint32_t> Expected;
  };
  const Case Cases[] = {
      {"mixed widths", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", {'a', 0xE9, 0x20AC, 0x1F600}},
      {"truncated at the end", "a\xE2\x82", {'a', 0xFFFD, 0xFFFD}},
      {"lead without continuation", "\xC3z", {0xFFFD, 'z'}},
      {"stray continuation", "\x80z", {0xFFFD, 'z'}},
      {"byte that starts nothing", "\xFFz", {0xFFFD, 'z'}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    std::vector<std::uint32_t> Got;
    for (std::size_t I = 0; I < C.Text.size();) Got.push_back(NextCodePoint(C.Text, I));
    EXPECT_EQ(Got, C.Expected);
  }
}

TEST(Unicode, ValidUtf8RefusesOverlongSurrogatesAndValuesBeyondTheRange) {
  struct Case {
    std::string_view Text;
    bool Valid;
  } Cases[] = {
      {"", true},
      {"plain", true},
      {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", true},
      {"\xC0\xAF", false},          // overlong '/'
      {"\xE0\x80\xAF", false},      // overlong, three bytes
      {"\xED\xA0\x80", false},      // encoded surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\xE2\x82", false},          // truncated
      {"\xC3z", false},
      {"\x80", false},
  };
  for (const Case& C : Cases) EXPECT_EQ(IsValidUtf8(C.Text), C.Valid) << testing::PrintToString(std::string(C.Text));
}

TEST(Unicode, Utf16EncodingWritesPairsBeyondTheBasicPlane) {
  const String Text = "a\xC3\xA9\xF0\x9F\x98\x80";
  const std::vector<Byte> Bytes = {'a', 0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE};
  EXPECT_EQ(TEncoding::Unicode()->GetBytes(Text), Bytes);
  EXPECT_EQ(TEncoding::Unicode()->GetString(Bytes.data(), Bytes.size()), Text);
}
