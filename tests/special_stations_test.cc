#include "log/special_stations.h"

#include <gtest/gtest.h>

namespace velkaro {
namespace {

using Lines = std::vector<std::string>;

TEST(SpecialStationsTest, LinesReadAsInTextMode) {
  struct Case {
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"A\r\nB\r\n", {"A", "B"}},
      {"A\nB\n", {"A", "B"}},
      {"A\r\nB", {"A", "B"}},        // no line feed at the end
      {"A\n\nB\n", {"A", "", "B"}},  // an empty line is an empty entry
      {"\n", {""}},
      {"A\rB\r\n", {"A\rB"}},  // a lone CR stays
      {"A\r\r\nB", {"A\r", "B"}},
      {"A\nB\x1A"
       "C\n",
       {"A", "B"}},  // Ctrl-Z ends the text
      {std::string("A\0B\n", 4), {std::string("A\0B", 3)}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitTextLines(c.bytes), c.lines) << c.bytes;
}

TEST(SpecialStationsTest, CallSignExtraction) {
  struct Case {
    const char* line;
    const char* call;
  } cases[] = {
      {"12 R9XYZ Remark text", "R9XYZ"},
      {"R9XYZ", "R9XYZ"},
      {"", ""},
      {" R9XYZ remark", " R9XYZ remark"},  // leading blank: unchanged
      {"12  R9XYZ remark", ""},            // two blanks after the first word
      {"12 R9XYZ", "R9XYZ"},               // exactly two words: the second
      {"12 R9XYZ ", "R9XYZ"},
      {"12\tR9XYZ remark", "remark"},  // only the blank separates words
      {"1 r9xyz/p x", "r9xyz/p"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExtractCallSign(c.line), c.call) << c.line;
}

TEST(SpecialStationsTest, WholeFileKeepsOrderAndRepeats) {
  EXPECT_EQ(ParseSpecialStations("1 R1A x\r\n2 R1B y\r\n3 R1A z\r\nR1C"),
            (Lines{"R1A", "R1B", "R1A", "R1C"}));
}

}  // namespace
}  // namespace velkaro
