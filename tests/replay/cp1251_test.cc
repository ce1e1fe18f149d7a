// The Windows-1251 <-> UTF-8 tables.

#include "tools/cp1251.h"

#include <gtest/gtest.h>

namespace velkaro::replay {
namespace {

TEST(Cp1251Test, KnownCharacters) {
  struct Case {
    std::string cp1251;
    std::string utf8;
  } cases[] = {
      {"\xC4\xE5\xED\xFC", "\xD0\x94\xD0\xB5\xD0\xBD\xD1\x8C"},  // День
      {"\xC0\xDF\xE0\xFF", "\xD0\x90\xD0\xAF\xD0\xB0\xD1\x8F"},  // АЯая
      {"\xA8\xB8", "\xD0\x81\xD1\x91"},                          // Ёё
      {"\xB9", "\xE2\x84\x96"},                                  // №
      {"\x88", "\xE2\x82\xAC"},                                  // €
      {"\xAB\xBB", "\xC2\xAB\xC2\xBB"},                          // «»
      {"\xA0", "\xC2\xA0"},                                      // no-break space
      {"\xB2\xB3\xAA\xBA\xAF\xBF", "\xD0\x86\xD1\x96\xD0\x84\xD1\x94\xD0\x87\xD1\x97"},
      {"\xA5\xB4", "\xD2\x90\xD2\x91"},  // Ґґ
      {"R3AB 599\r\n", "R3AB 599\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Cp1251ToUtf8(c.cp1251), c.utf8);
    EXPECT_EQ(Utf8ToCp1251(c.utf8), c.cp1251);
  }
}

TEST(Cp1251Test, EveryAssignedByteSurvivesTheRoundTrip) {
  for (int byte = 1; byte < 256; ++byte) {
    if (byte == 0x98) continue;  // unassigned
    SCOPED_TRACE(byte);
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(one)), one);
  }
  EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
}

TEST(Cp1251Test, WhatWindows1251CannotHoldBecomesAQuestionMark) {
  struct Case {
    std::string utf8;
    std::string cp1251;
  } cases[] = {
      {"\xE4\xB8\xAD", "?"},      // a CJK character
      {"\xF0\x9F\x98\x80", "?"},  // an emoji
      {"\xC3\xA9", "?"},          // é
      {"a\xC3", "a?"},            // a sequence cut short
      {"\xC0\x80", "??"},         // an overlong NUL
      {"\xED\xA0\x80", "???"},    // a surrogate
      {"\xFF\xFE", "??"},         // no UTF-8 at all
      {"\xD0\x9F\xD0", "\xCF?"},  // П, then a cut sequence
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8ToCp1251(c.utf8), c.cp1251);
  }
}

}  // namespace
}  // namespace velkaro::replay
