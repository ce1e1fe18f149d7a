#include "cabrillo/header_form.h"

#include <gtest/gtest.h>

#include "log/contest_reset.h"
#include "score/result_text.h"
#include "test_support.h"

namespace velkaro {
namespace {

using testing::ReadBytes;

const std::string kContest = "\xC4\xC5\xCD\xDC \xC2\xC5\xCB\xCA\xC0\xD0\xCE";

class HeaderFormTest : public testing::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    std::filesystem::create_directory("Plugins");
  }
  int Run(const std::string& call = "N0CALL/P") {
    return RunHeaderForm(state_, call, start_, end_);
  }
  std::string Ini() { return ReadBytes("Plugins/Velkaro.ini"); }

  testing::FakePlatform platform_;
  PluginState state_{platform_};
  OleDate start_{42152.0, OleDate::kValid};
  OleDate end_{42153.0, OleDate::kValid};
};

TEST_F(HeaderFormTest, FirstStartWithoutSettingsFile) {
  EXPECT_EQ(Run(), 1);
  HeaderFormFields expected;
  expected.contest = kContest;
  expected.callsign = "N0CALL/P";
  expected.category_operator = "SINGLE-OP";
  expected.category_band = "40M";
  expected.category_mode = "MIXED";
  expected.category_transmitter = "ONE";
  expected.operators = "N0CALL/P";
  EXPECT_EQ(platform_.shown_fields, expected);
  EXPECT_EQ(state_.Session.fileStem, "N0CALL_P");
  EXPECT_EQ(state_.Session.startTime.days, 42152.0);
  EXPECT_EQ(state_.Session.endTime.days, 42153.0);
  // The keys of the first OK, in their order.
  EXPECT_EQ(Ini(),
            "[Settings]\r\nBand=40M\r\nPower=MIXED\r\nOperators=N0CALL/P\r\nName=\r\n"
            "Address=\r\nAddress-City=\r\nAddress-PostalCode=\r\nAddress-Country=\r\n"
            "Category=SINGLE-OP\r\nContest=" +
                kContest +
                "\r\nEmail=\r\nClub=\r\n"
                "SoapBox=\r\nLoc=\r\n");
}

TEST_F(HeaderFormTest, StoredValuesFillTheFormButBandAndPowerNever) {
  testing::WriteBytes("Plugins/Velkaro.ini",
                      "[Settings]\r\nOperators=\r\nName=Ivan\r\nAddress=Lenina 1\r\n"
                      "Address-City=Omsk\r\nAddress-PostalCode=644000\r\n"
                      "Address-Country=Russia\r\nClaimed=77\r\nBand=80M\r\nPower=CW\r\n"
                      "Loc=RU\r\nEmail=a@b\r\nClub=RCC\r\nSoapBox=hi<CR><LF>there\r\n"
                      "Category=CHECKLOG\r\nContest=OTHER\r\n");
  platform_.form_result = FormResult::kCancel;
  EXPECT_EQ(Run(), 0);
  const HeaderFormFields& f = platform_.shown_fields;
  EXPECT_EQ(f.operators, "");  // present and empty: not the call sign
  EXPECT_EQ(f.name, "Ivan");
  EXPECT_EQ(f.address, "Lenina 1");
  EXPECT_EQ(f.city, "Omsk");
  EXPECT_EQ(f.postal_code, "644000");
  EXPECT_EQ(f.country, "Russia");
  EXPECT_EQ(f.claimed, "77");
  EXPECT_EQ(f.location, "RU");
  EXPECT_EQ(f.email, "a@b");
  EXPECT_EQ(f.club, "RCC");
  EXPECT_EQ(f.soapbox, "hi\r\nthere");
  EXPECT_EQ(f.category_band, "40M");
  EXPECT_EQ(f.category_mode, "MIXED");
  EXPECT_EQ(f.category_operator, "SINGLE-OP");
  EXPECT_EQ(f.contest, kContest);
  // Cancel: nothing written, the soapbox in file form anyway.
  EXPECT_EQ(state_.Session.soapbox, "hi\r\nSOAPBOX: there");
  EXPECT_EQ(state_.Session.name, "Ivan");
}

TEST_F(HeaderFormTest, EditsOnOk) {
  state_.Session.CabrilloLines = {"old line\r\n"};
  platform_.form_script = [](HeaderFormFields* f) {
    f->category_mode = "CW";
    f->category_operator = "MY OWN TEXT";
    f->soapbox = "first\r\nsecond\r\n";
    f->callsign = "EDITED";
    f->contest = "ANOTHER";
    f->claimed = "999999";
    f->name = "Petr";
    return FormResult::kOk;
  };
  EXPECT_EQ(Run("N0CALL"), 1);
  const ContestSession& s = state_.Session;
  EXPECT_EQ(s.categoryMode, "CW");
  EXPECT_EQ(s.categoryOperator, "MY OWN TEXT");
  EXPECT_EQ(s.callsign, "EDITED");
  EXPECT_EQ(s.fileStem, "N0CALL");  // the stem of the call the reset passed
  EXPECT_EQ(s.claimed, "");         // what is typed under CLAIMED is dropped
  EXPECT_EQ(s.soapbox, "first\r\nSOAPBOX: second\r\nSOAPBOX: ");
  EXPECT_TRUE(s.CabrilloLines.empty());
  const std::string ini = Ini();
  EXPECT_NE(ini.find("Power=CW\r\n"), std::string::npos);
  EXPECT_NE(ini.find("Category=MY OWN TEXT\r\n"), std::string::npos);
  EXPECT_NE(ini.find("Contest=ANOTHER\r\n"), std::string::npos);
  EXPECT_NE(ini.find("SoapBox=first<CR><LF>second<CR><LF>\r\n"), std::string::npos);
  EXPECT_EQ(ini.find("EDITED"), std::string::npos);
  EXPECT_EQ(ini.find("999999"), std::string::npos);

  // The next form starts from the fixed values again, with the soapbox back.
  platform_.form_script = nullptr;
  platform_.form_result = FormResult::kCancel;
  EXPECT_EQ(Run("N0CALL"), 0);
  EXPECT_EQ(platform_.shown_fields.category_mode, "MIXED");
  EXPECT_EQ(platform_.shown_fields.category_operator, "SINGLE-OP");
  EXPECT_EQ(platform_.shown_fields.contest, kContest);
  EXPECT_EQ(platform_.shown_fields.soapbox, "first\r\nsecond\r\n");
  EXPECT_EQ(platform_.shown_fields.name, "Petr");
}

TEST_F(HeaderFormTest, CancelAndAFailedFormWriteNothingAndKeepLines) {
  for (FormResult result : {FormResult::kCancel, FormResult::kFailed}) {
    state_.Session.CabrilloLines = {"kept\r\n"};
    platform_.form_script = [result](HeaderFormFields* f) {
      f->name = "typed but cancelled";
      return result;
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(testing::Exists("Plugins/Velkaro.ini"));
    EXPECT_EQ(state_.Session.CabrilloLines.size(), 1u);
    EXPECT_EQ(state_.Session.name, "");
    EXPECT_EQ(state_.Session.fileStem, "N0CALL_P");
  }
}

TEST_F(HeaderFormTest, TwoLineSoapboxRoundTripsThroughTheFile) {
  platform_.form_script = [](HeaderFormFields* f) {
    f->soapbox = "73 to all\r\nsee you";
    return FormResult::kOk;
  };
  Run();
  EXPECT_NE(Ini().find("SoapBox=73 to all<CR><LF>see you\r\n"), std::string::npos);
  EXPECT_EQ(state_.Session.soapbox, "73 to all\r\nSOAPBOX: see you");
  platform_.form_script = nullptr;
  Run();
  EXPECT_EQ(platform_.shown_fields.soapbox, "73 to all\r\nsee you");
}

// The form's values reach the Cabrillo file; a reset without the Cabrillo
// switch leaves them alone.
TEST_F(HeaderFormTest, EditedValuesReachTheFileAndSurviveAResetWithoutTheSwitch) {
  platform_.form_script = [](HeaderFormFields* f) {
    f->callsign = "EDITED";
    f->name = "Ivan";
    f->category_mode = "CW";
    return FormResult::kOk;
  };
  ResetContest(state_, 1, "N0CALL", start_, end_);
  ResetContest(state_, 0, "N0CALL", start_, end_);
  EXPECT_EQ(platform_.forms_shown, 1);
  state_.CabrilloEnabled = 1;  // export with what the form left
  int32_t points = 0;
  GetResult(state_, &points);
  const std::string file = ReadBytes("N0CALL.cbr");
  EXPECT_NE(file.find("CALLSIGN: EDITED\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("NAME: Ivan\r\n"), std::string::npos);
  EXPECT_NE(file.find("CATEGORY-MODE: CW\r\n"), std::string::npos);
  EXPECT_NE(file.find("CONTEST: " + kContest + "\r\n"), std::string::npos);
  state_.ModeWindow.Shutdown();
}

}  // namespace
}  // namespace velkaro
