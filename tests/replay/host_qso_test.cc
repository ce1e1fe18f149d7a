// From an ADIF record to the QSO as the host reports it: names, units and
// encodings, and the records that cannot be replayed.

#include "tools/host_qso.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/adif_reader.h"

namespace velkaro::replay {
namespace {

// One record from its ADIF text.
adif::Record RecordOf(const std::string& fields) {
  adif::ReadResult log = adif::ReadAdif(fields + "<EOR>");
  EXPECT_EQ(log.records.size(), 1u);
  return log.records.empty() ? adif::Record() : log.records[0];
}

const std::string kBase = "<CALL:5>R3ABC<QSO_DATE:8>20150528<TIME_ON:4>0930";

HostQso Convert(const std::string& extra) {
  std::vector<FieldProblem> problems;
  std::optional<HostQso> qso = HostQsoFromRecord(RecordOf(kBase + extra), &problems);
  EXPECT_TRUE(problems.empty())
      << problems.front().field << ": " << problems.front().message;
  return qso.value_or(HostQso());
}

TEST(HostQsoTest, ModeAsTheHostNamesIt) {
  struct Case {
    std::string fields;
    std::string mode;
  } cases[] = {
      {"<MODE:2>CW", "CW"},
      {"<MODE:2>cw", "CW"},
      {"<MODE:4>RTTY", "RTTY"},
      {"<MODE:3>SSB<SUBMODE:3>USB", "SSB"},
      {"<MODE:3>SSB<SUBMODE:3>LSB", "SSB"},
      {"<MODE:3>SSB", "SSB"},
      {"<MODE:3>LSB", "SSB"},
      {"<MODE:3>usb", "SSB"},
      {"<MODE:3>FT8", "FT8"},
      {"<MODE:4>MFSK<SUBMODE:3>FT4", "FT4"},
      {"<MODE:3>PSK<SUBMODE:6>BPSK63", "BPSK63"},
      {"<MODE:2>CW<SUBMODE:3>PCW", "CW"},
      {"<MODE:6>Olivia", "Olivia"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields);
    EXPECT_EQ(Convert(c.fields).mode, c.mode);
  }
}

TEST(HostQsoTest, BandFromBandOrFrequency) {
  struct Case {
    std::string fields;
    std::string band;
    uint32_t hz;
  } cases[] = {
      {"<BAND:3>40M", "40m", 0},
      {"<BAND:3>40m<FREQ:6>14.025", "40m", 14'025'000},  // the log's band wins
      {"<FREQ:8:N>7.012345", "40m", 7'012'345},
      {"<FREQ:5>7.300", "40m", 7'300'000},
      {"<FREQ:8>7.300001", "", 7'300'001},
      {"<FREQ:6>14.025", "20m", 14'025'000},
      {"<FREQ:4>1.81", "160m", 1'810'000},
      {"<FREQ:7>432.100", "70cm", 432'100'000},
      {"<BAND:4>70CM", "70cm", 0},
      {"<FREQ:9>7.0123455", "40m", 7'012'346},  // to the nearest Hz
      {"<FREQ:10>7.01234549", "40m", 7'012'345},
      {"<FREQ:7>  7.01 ", "40m", 7'010'000},
      {"", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields);
    const HostQso qso = Convert(c.fields);
    EXPECT_EQ(qso.band, c.band);
    EXPECT_EQ(qso.freq_hz, c.hz);
  }
}

TEST(HostQsoTest, ExchangesReportsAndStationCall) {
  const HostQso qso = Convert(
      "<RST_SENT:3>599<RST_RCVD:3>579<STX:1>7<STX_STRING:3>007<SRX:2>12"
      "<OPERATOR:5>R3XYZ<STATION_CALLSIGN:6>UA3VLK");
  EXPECT_EQ(qso.call, "R3ABC");
  EXPECT_EQ(qso.rst_sent, "599");
  EXPECT_EQ(qso.rst_rcvd, "579");
  EXPECT_EQ(qso.nr_sent, "007");  // STX_STRING before STX
  EXPECT_EQ(qso.nr_rcvd, "12");   // SRX when there is no SRX_STRING
  EXPECT_EQ(qso.station_call, "UA3VLK");
  EXPECT_EQ(Convert("<OPERATOR:5>R3XYZ").station_call, "R3XYZ");
  EXPECT_EQ(Convert("<SRX_STRING:2>PW<SRX:1>5").nr_rcvd, "PW");
  EXPECT_EQ(Convert("").nr_rcvd, "");
}

TEST(HostQsoTest, TextsGoToWindows1251) {
  // "ПВ" in UTF-8; an emoji has no Windows-1251 byte.
  EXPECT_EQ(Convert("<SRX_STRING:4>\xD0\x9F\xD0\x92").nr_rcvd, "\xCF\xC2");
  EXPECT_EQ(Convert("<SRX_STRING:6>1\xF0\x9F\x98\x80"
                    "2")
                .nr_rcvd,
            "1?2");
}

TEST(HostQsoTest, TimeIsTheOleDayCount) {
  // 28 May 2015 is day 42152 of the OLE calendar.
  EXPECT_DOUBLE_EQ(Convert("").ole_days, 42152 + (9 * 60 + 30) / 1440.0);
  std::vector<FieldProblem> problems;
  const auto qso = HostQsoFromRecord(
      RecordOf("<CALL:1>X<QSO_DATE:8>18991230<TIME_ON:6>180000"), &problems);
  EXPECT_FALSE(qso);  // before ADIF's first date
  const auto midday = HostQsoFromRecord(
      RecordOf("<CALL:1>X<QSO_DATE:8>19300101<TIME_ON:6>120030"), &problems);
  ASSERT_TRUE(midday);
  EXPECT_DOUBLE_EQ(midday->ole_days, 10959 + (12 * 3600 + 30) / 86400.0);
}

TEST(HostQsoTest, RecordsThatCannotBeReplayed) {
  struct Case {
    std::string fields;
    std::vector<std::string> problem_fields;
  } cases[] = {
      {"<QSO_DATE:8>20150528<TIME_ON:4>0930", {"CALL"}},
      {"<CALL:2>  <QSO_DATE:8>20150528<TIME_ON:4>0930", {"CALL"}},
      {"<CALL:5>R3ABC<TIME_ON:4>0930", {"QSO_DATE"}},
      {"<CALL:5>R3ABC<QSO_DATE:8>20150230<TIME_ON:4>0930", {"QSO_DATE"}},
      {"<CALL:5>R3ABC<QSO_DATE:8>20151301<TIME_ON:4>0930", {"QSO_DATE"}},
      {"<CALL:5>R3ABC<QSO_DATE:10>2015-05-28<TIME_ON:4>0930", {"QSO_DATE"}},
      {"<CALL:5>R3ABC<QSO_DATE:8>20150528", {"TIME_ON"}},
      {"<CALL:5>R3ABC<QSO_DATE:8>20150528<TIME_ON:4>2400", {"TIME_ON"}},
      {"<CALL:5>R3ABC<QSO_DATE:8>20150528<TIME_ON:4>0960", {"TIME_ON"}},
      {"<CALL:5>R3ABC<QSO_DATE:8>20150528<TIME_ON:3>930", {"TIME_ON"}},
      {"<CALL:5>R3ABC<QSO_DATE:8>20150528<TIME_ON:6>093061", {"TIME_ON"}},
      {"<CALL:5>R3ABC<QSO_DATE:8>20150528<TIME_ON:4>0930<FREQ:5>seven", {"FREQ"}},
      {"<CALL:5>R3ABC<QSO_DATE:8>20150528<TIME_ON:4>0930<FREQ:3>7,1", {"FREQ"}},
      {"<CALL:5>R3ABC<QSO_DATE:8>20150528<TIME_ON:4>0930<FREQ:2>-7", {"FREQ"}},
      {"<CALL:5>R3ABC<QSO_DATE:8>20150528<TIME_ON:4>0930<FREQ:5>10368", {"FREQ"}},
      {"<MODE:2>CW", {"CALL", "QSO_DATE", "TIME_ON"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields);
    std::vector<FieldProblem> problems;
    EXPECT_FALSE(HostQsoFromRecord(RecordOf(c.fields), &problems));
    std::vector<std::string> fields;
    for (const FieldProblem& p : problems) fields.push_back(p.field);
    EXPECT_EQ(fields, c.problem_fields);
  }
}

TEST(HostQsoTest, LeapDays) {
  EXPECT_TRUE(OleDayOfDate(2024, 2, 29));
  EXPECT_FALSE(OleDayOfDate(2023, 2, 29));
  EXPECT_FALSE(OleDayOfDate(1900, 2, 29));
  EXPECT_TRUE(OleDayOfDate(2000, 2, 29));
  EXPECT_EQ(*OleDayOfDate(1899, 12, 30), 0);
  EXPECT_EQ(*OleDayOfDate(1900, 3, 1), 61);
}

TEST(HostQsoTest, MegahertzEdges) {
  EXPECT_EQ(ParseMegahertz("7"), 7'000'000u);
  EXPECT_EQ(ParseMegahertz("7."), 7'000'000u);
  EXPECT_EQ(ParseMegahertz(".5"), 500'000u);
  EXPECT_EQ(ParseMegahertz("4294.967295"), 4'294'967'295u);
  EXPECT_FALSE(ParseMegahertz(""));
  EXPECT_FALSE(ParseMegahertz("."));
  EXPECT_FALSE(ParseMegahertz("7.0.1"));
  EXPECT_FALSE(ParseMegahertz("7e3"));
  EXPECT_FALSE(ParseMegahertz("99999999999999999999999"));
}

}  // namespace
}  // namespace velkaro::replay
