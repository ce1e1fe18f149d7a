#include "cabrillo/cabrillo_writer.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace velkaro {
namespace {

using testing::DayCount;
using testing::ReadBytes;

TEST(CabrilloModeCodeTest, Table) {
  const std::pair<const char*, const char*> cases[] = {
      {"CW", "CW"}, {"BPSK63", "PM"}, {"BPSK62", "PM"}, {"SSB", "PH"}, {"RTTY", "RY"},
      {"cw", "??"}, {"PSK31", "??"},  {"", "??"},       {"FT8", "??"}, {"SSB ", "??"}};
  for (const auto& [mode, code] : cases) EXPECT_EQ(CabrilloModeCode(mode), code) << mode;
}

TEST(MakeFileStemTest, Table) {
  const std::pair<const char*, const char*> cases[] = {
      {"N0CALL/P", "N0CALL_P"},    {"   ", "VARNO"}, {"", "VARNO"}, {"ua9abc", "ua9abc"},
      {" \tR1A\\M \r\n", "R1A_M"}, {"A B", "A B"},   {"//", "__"},  {"\v\f", "VARNO"}};
  for (const auto& [call, stem] : cases) EXPECT_EQ(MakeFileStem(call), stem) << call;
}

TEST(HostVersionTest, MajorTwoShowsTwoPartsElseThree) {
  EXPECT_EQ(FormatHostVersion({2, 20, 0, 0}), "2.20");
  EXPECT_EQ(FormatHostVersion({2, 5, 7, 9}), "2.5");
  EXPECT_EQ(FormatHostVersion({3, 1, 2, 0}), "3.1.2");
  EXPECT_EQ(FormatHostVersion({10, 0, 65535, 4}), "10.0.65535");
}

class QsoLineTest : public ::testing::Test {
 protected:
  std::string Line(uint32_t khz, const std::string& code, OleDate time,
                   const std::string& call = "R9XYZ", const std::string& nr_sent = "001",
                   const std::string& nr_rcvd = "PW") {
    session_.CabrilloLines.clear();
    AppendQsoLine(session_, call, khz, code, time, "59", nr_sent, "59", nr_rcvd);
    return std::string(session_.CabrilloLines.at(0));
  }
  ContestSession session_;
  OleDate time_{DayCount(2015, 5, 28, 14, 30), OleDate::kValid};
};

TEST_F(QsoLineTest, ColumnsWhenValuesFit) {
  session_.callsign = "UA9OWN";
  const std::string line = Line(7012, "PH", time_);
  EXPECT_EQ(
      line,
      "QSO:  7012 PH 2015-05-28 1430 UA9OWN        59  001    R9XYZ         59  PW\r\n");
  // Columns counted from 1.
  EXPECT_EQ(line.substr(5, 5), " 7012");
  EXPECT_EQ(line.substr(11, 2), "PH");
  EXPECT_EQ(line.substr(14, 15), "2015-05-28 1430");
  EXPECT_EQ(line.substr(30, 13), "UA9OWN       ");
  EXPECT_EQ(line.substr(44, 3), "59 ");
  EXPECT_EQ(line.substr(48, 6), "001   ");
  EXPECT_EQ(line.substr(55, 13), "R9XYZ        ");
  EXPECT_EQ(line.substr(69, 3), "59 ");
  EXPECT_EQ(line.substr(73, 2), "PW");
}

TEST_F(QsoLineTest, LongValuesPushTheRestAndNothingIsCut) {
  session_.callsign = "UA9OWN";
  EXPECT_EQ(Line(100000, "??", time_, "R9XYZ/QRP/MM/1", "1234567", "0011"),
            "QSO: 100000 ?? 2015-05-28 1430 UA9OWN        59  1234567 R9XYZ/QRP/MM/1 59  "
            "0011\r\n");
  EXPECT_EQ(Line(7, "CW", time_).substr(0, 13), "QSO:     7 CW");
}

TEST_F(QsoLineTest, InvalidAndNullDates) {
  session_.callsign = "A";
  EXPECT_EQ(
      Line(7012, "CW", OleDate{1.0, OleDate::kInvalid}),
      "QSO:  7012 CW Invalid DateTime A             59  001    R9XYZ         59  PW\r\n");
  EXPECT_EQ(Line(7012, "CW", OleDate{1.0, OleDate::kNull}),
            "QSO:  7012 CW  A             59  001    R9XYZ         59  PW\r\n");
}

TEST_F(QsoLineTest, TheOwnCallIsTheSessionsAtTheTimeOfBuilding) {
  session_.callsign = "FIRST";
  AppendQsoLine(session_, "X", 7000, "CW", time_, "", "", "", "");
  session_.callsign = "SECOND";
  AppendQsoLine(session_, "X", 7000, "CW", time_, "", "", "", "");
  EXPECT_NE(session_.CabrilloLines[0].find(" FIRST "), std::string::npos);
  EXPECT_NE(session_.CabrilloLines[1].find(" SECOND "), std::string::npos);
}

class CabrilloFileTest : public testing::ScratchDirTest {
 protected:
  testing::FakePlatform platform_;
};

TEST_F(CabrilloFileTest, WholeFileBytes) {
  ContestSession s;
  s.callsign = "UA9OWN";
  s.categoryOperator = "SINGLE-OP";
  s.categoryMode = "CW";
  s.location = "RU";
  s.club = "RCC";
  s.email = "op@example.org";
  s.name = "Ivan";
  s.address = "Lenina 1";
  s.city = "Omsk";
  s.postalCode = "644000";
  s.country = "Russia";
  s.operators = "UA9OWN UA9TWO";
  s.soapbox = "line one\r\nSOAPBOX: line two";
  s.fileStem = "UA9OWN";
  s.CabrilloLines = {"QSO: first\r\n", "QSO: second\r\n"};
  WriteCabrilloLog(platform_, s, -3);
  EXPECT_EQ(ReadBytes("UA9OWN.cbr"),
            "START-OF-LOG: 3.0\r\n"
            "CONTEST: \xC4\xC5\xCD\xDC \xC2\xC5\xCB\xCA\xC0\xD0\xCE\r\n"
            "CALLSIGN: UA9OWN\r\n"
            "CATEGORY-OPERATOR: SINGLE-OP\r\n"
            "CATEGORY-MODE: CW\r\n"
            "LOCATION: RU\r\n"
            "CLAIMED-SCORE: -3\r\n"
            "CLUB: RCC\r\n"
            "CREATED-BY: Zelvo \r\n"
            "E-MAIL: op@example.org\r\n"
            "NAME: Ivan\r\n"
            "ADDRESS: Lenina 1\r\n"
            "ADDRESS-CITY: Omsk\r\n"
            "ADDRESS-POSTALCODE: 644000\r\n"
            "ADDRESS-COUNTRY: Russia\r\n"
            "OPERATORS: UA9OWN UA9TWO\r\n"
            "SOAPBOX: line one\r\n"
            "SOAPBOX: line two\r\n"
            "QSO: first\r\n"
            "QSO: second\r\n"
            "END-OF-LOG:\r\n");
  EXPECT_FALSE(testing::Exists("UA9OWN.cbr.velkaro-new"));
}

TEST_F(CabrilloFileTest, EmptyHeaderAndNoQsos) {
  ContestSession s;
  s.fileStem = "VARNO";
  WriteCabrilloLog(platform_, s, 0);
  EXPECT_EQ(
      ReadBytes("VARNO.cbr"),
      "START-OF-LOG: 3.0\r\nCONTEST: \xC4\xC5\xCD\xDC \xC2\xC5\xCB\xCA\xC0\xD0\xCE\r\n"
      "CALLSIGN: \r\nCATEGORY-OPERATOR: \r\nCATEGORY-MODE: \r\nLOCATION: \r\n"
      "CLAIMED-SCORE: 0\r\nCLUB: \r\nCREATED-BY: Zelvo \r\nE-MAIL: \r\nNAME: \r\n"
      "ADDRESS: \r\nADDRESS-CITY: \r\nADDRESS-POSTALCODE: \r\nADDRESS-COUNTRY: \r\n"
      "OPERATORS: \r\nSOAPBOX: \r\nEND-OF-LOG:\r\n");
}

TEST_F(CabrilloFileTest, AFileThatCannotBeWrittenIsSkippedSilently) {
  std::filesystem::create_directory("BAD.cbr");
  ContestSession s;
  s.fileStem = "BAD";
  WriteCabrilloLog(platform_, s, 1);
  EXPECT_TRUE(std::filesystem::is_directory("BAD.cbr"));
  EXPECT_FALSE(testing::Exists("BAD.cbr.velkaro-new"));
  EXPECT_TRUE(platform_.messages.empty());
}

// A platform whose executables carry known versions.
class VersionedPlatform : public testing::FakePlatform {
 public:
  std::optional<FileVersion> GetFileVersion(const std::string& path) override {
    asked.push_back(path);
    if (path == "Zelvo2.exe") return FileVersion{2, 20, 0, 0};
    if (path == "Zelvo3.exe") return FileVersion{3, 1, 2, 0};
    return std::nullopt;
  }
  std::vector<std::string> asked;
};

TEST_F(CabrilloFileTest, VersionComesFromZelvo2WhenItExistsElseZelvo3) {
  VersionedPlatform platform;
  EXPECT_EQ(HostVersionText(platform), "3.1.2");
  testing::WriteBytes("Zelvo2.exe", "MZ");
  EXPECT_EQ(HostVersionText(platform), "2.20");
  EXPECT_EQ(platform.asked, (std::vector<std::string>{"Zelvo3.exe", "Zelvo2.exe"}));
}

}  // namespace
}  // namespace velkaro
