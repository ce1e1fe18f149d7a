// The ADIF reader on a table of small logs: what records come out, and what
// is reported about the rest.

#include "tools/adif_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace velkaro::adif {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

struct Expected {
  int number;
  Fields fields;
};

struct ExpectedDiagnostic {
  int record;
  std::string field;
  bool skipped;
  std::string text;  // a part of the message
};

struct Case {
  const char* name;
  std::string input;
  std::vector<Expected> records;
  std::vector<ExpectedDiagnostic> diagnostics;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"upper-case tags, no header",
       "<CALL:4>R3AB<QSO_DATE:8>20250525<EOR>",
       {{1, {{"CALL", "R3AB"}, {"QSO_DATE", "20250525"}}}},
       {}},
      {"lower- and mixed-case tags",
       "<call:4>R3AB <Qso_Date:8>20250525 <eOr>",
       {{1, {{"CALL", "R3AB"}, {"QSO_DATE", "20250525"}}}},
       {}},
      {"header with text",
       "Log of R3AB\n<ADIF_VER:5>3.1.4\n<PROGRAMID:4>Test\n<EOH>\n<CALL:4>R3CD<EOR>\n",
       {{1, {{"CALL", "R3CD"}}}},
       {}},
      {"header text holding a '<' that opens no tag",
       "Made by <me> & a < b\n<eoh><CALL:4>R3CD<EOR>",
       {{1, {{"CALL", "R3CD"}}}},
       {}},
      {"header of tags only, without leading text",
       "<ADIF_VER:5>3.1.4<EOH><CALL:4>R3CD<EOR>",
       {{1, {{"CALL", "R3CD"}}}},
       {}},
      {"missing EOH: records read from the first tag",
       "Log of R3AB\n<CALL:4>R3CD<EOR><CALL:4>R3EF<EOR>",
       {{1, {{"CALL", "R3CD"}}}, {2, {{"CALL", "R3EF"}}}},
       {{0, "", false, "no <EOH>"}}},
      {"extra and application fields are kept",
       "<APP_ZELVO_X:2>ab<CALL:4>R3AB<GRIDSQUARE:4>KO85<EOR>",
       {{1, {{"APP_ZELVO_X", "ab"}, {"CALL", "R3AB"}, {"GRIDSQUARE", "KO85"}}}},
       {}},
      {"typed fields",
       "<FREQ:5:N>7.012<QSO_DATE:8:d>20250525<EOR>",
       {{1, {{"FREQ", "7.012"}, {"QSO_DATE", "20250525"}}}},
       {}},
      {"length counts the bytes of multibyte UTF-8",
       "<NAME:12>\xD0\xA1\xD0\xB5\xD1\x80\xD0\xB3\xD0\xB5\xD0\xB9<CALL:4>R3AB<EOR>",
       {{1,
         {{"NAME", "\xD0\xA1\xD0\xB5\xD1\x80\xD0\xB3\xD0\xB5\xD0\xB9"},
          {"CALL", "R3AB"}}}},
       {}},
      {"a length given in characters takes that many bytes",
       "<NAME:6>\xD0\xA1\xD0\xB5\xD1\x80\xD0\xB3\xD0\xB5\xD0\xB9<CALL:4>R3AB<EOR>",
       {{1, {{"NAME", "\xD0\xA1\xD0\xB5\xD1\x80"}, {"CALL", "R3AB"}}}},
       {}},
      {"a value holding tag text is taken by its length",
       "<COMMENT:11><EOR> a > b<CALL:4>R3AB<EOR>",
       {{1, {{"COMMENT", "<EOR> a > b"}, {"CALL", "R3AB"}}}},
       {}},
      {"zero length gives an empty value",
       "<SRX_STRING:0><CALL:4>R3AB<EOR>",
       {{1, {{"SRX_STRING", ""}, {"CALL", "R3AB"}}}},
       {}},
      {"SSB with SUBMODE USB",
       "<CALL:4>R3AB<MODE:3>SSB<SUBMODE:3>USB<EOR>",
       {{1, {{"CALL", "R3AB"}, {"MODE", "SSB"}, {"SUBMODE", "USB"}}}},
       {}},
      {"CR LF and blanks between fields",
       "x<EOH>\r\n<CALL:4>R3AB\r\n  <MODE:2>CW\r\n<EOR>\r\n",
       {{1, {{"CALL", "R3AB"}, {"MODE", "CW"}}}},
       {}},
      {"a repeated field keeps its first value",
       "<CALL:4>R3AB<CALL:4>R3CD<EOR>",
       {{1, {{"CALL", "R3AB"}}}},
       {{1, "CALL", false, "repeated"}}},
      {"a tag without a length is ignored",
       "<CALL:4>R3AB<EOR><APP_LOTW_EOF>",
       {{1, {{"CALL", "R3AB"}}}},
       {{2, "APP_LOTW_EOF", false, "without a length"}}},
      {"truncated file: the last record has no EOR",
       "<CALL:4>R3AB<EOR><CALL:4>R3CD<MODE:2>CW",
       {{1, {{"CALL", "R3AB"}}}},
       {{2, "", true, "no <EOR>"}}},
      {"truncated file: the data ends inside a tag",
       "<CALL:4>R3AB<EOR><CALL:4>R3CD<MOD",
       {{1, {{"CALL", "R3AB"}}}},
       {{2, "", true, "inside a tag"}}},
      {"a length running past the end",
       "<CALL:4>R3AB<EOR><CALL:4>R3CD<NAME:40>Ivan<EOR>",
       {{1, {{"CALL", "R3AB"}}}},
       {{2, "NAME", true, "runs past the end"}}},
      {"a huge length runs past the end",
       "<CALL:99999999999999>R3AB<EOR>",
       {},
       {{1, "CALL", true, "runs past the end"}}},
      {"a length that is no number skips its record only",
       "<CALL:x4>R3AB<EOR><CALL:4>R3CD<EOR>",
       {{2, {{"CALL", "R3CD"}}}},
       {{1, "CALL", true, "not a number"}}},
      {"a tag with three colons skips its record",
       "<CALL:4:S:X>R3AB<EOR><CALL:4>R3CD<EOR>",
       {{2, {{"CALL", "R3CD"}}}},
       {{1, "CALL", true, "colons"}}},
      {"an empty record is passed on",
       "<EOR><CALL:4>R3AB<EOR>",
       {{1, {}}, {2, {{"CALL", "R3AB"}}}},
       {}},
      {"empty input", "", {}, {}},
      {"header only", "Log\n<ADIF_VER:5>3.1.4<EOH>\n", {}, {}},
  };
  return cases;
}

TEST(AdifReaderTest, TableOfLogs) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    const ReadResult result = ReadAdif(c.input);
    ASSERT_EQ(result.records.size(), c.records.size());
    for (size_t i = 0; i < c.records.size(); ++i) {
      const Record& got = result.records[i];
      EXPECT_EQ(got.number, c.records[i].number);
      Fields fields;
      for (const Field& f : got.fields) fields.emplace_back(f.name, f.value);
      EXPECT_EQ(fields, c.records[i].fields);
    }
    ASSERT_EQ(result.diagnostics.size(), c.diagnostics.size());
    for (size_t i = 0; i < c.diagnostics.size(); ++i) {
      const Diagnostic& got = result.diagnostics[i];
      const ExpectedDiagnostic& want = c.diagnostics[i];
      EXPECT_EQ(got.record, want.record);
      EXPECT_EQ(got.field, want.field);
      EXPECT_EQ(got.skipped, want.skipped);
      EXPECT_NE(got.message.find(want.text), std::string::npos) << got.message;
    }
  }
}

TEST(AdifReaderTest, TypeIndicatorIsKeptInUpperCase) {
  const ReadResult result = ReadAdif("<FREQ:5:n>7.012<EOR>");
  ASSERT_EQ(result.records.size(), 1u);
  EXPECT_EQ(result.records[0].fields[0].type, "N");
}

TEST(AdifReaderTest, FindGivesTheFirstFieldOfAName) {
  const ReadResult result = ReadAdif("<CALL:4>R3AB<STX:3>001<EOR>");
  ASSERT_EQ(result.records.size(), 1u);
  ASSERT_NE(result.records[0].Find("STX"), nullptr);
  EXPECT_EQ(*result.records[0].Find("STX"), "001");
  EXPECT_EQ(result.records[0].Find("SRX"), nullptr);
}

// Every prefix of a log reads without fault, and keeps exactly the records
// whose <EOR> it holds.
TEST(AdifReaderTest, EveryTruncationKeepsTheCompleteRecords) {
  const std::string log =
      "Log\n<EOH>\n<CALL:4>R3AB<NAME:4>Ivan<EOR>\n<CALL:4>R3CD<FREQ:5:N>7.012<EOR>\n";
  const size_t first_end = log.find("<EOR>") + 5;
  const size_t second_end = log.rfind("<EOR>") + 5;
  for (size_t n = 0; n <= log.size(); ++n) {
    SCOPED_TRACE(n);
    const ReadResult result = ReadAdif(std::string_view(log).substr(0, n));
    const size_t complete = n >= second_end ? 2 : n >= first_end ? 1 : 0;
    EXPECT_EQ(result.records.size(), complete);
  }
}

}  // namespace
}  // namespace velkaro::adif
