#include "log/qso_checks.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velkaro {
namespace {

TEST(IsValidExchangeTest, Table) {
  struct Case {
    std::string text;
    int valid;
  } cases[] = {
      {"599", 0},
      {"001", 1},
      {"123", 1},
      {"0599", 1},
      {"5990", 1},
      {"PW", 1},
      {"12", 0},
      {"7", 0},
      {"12345", 0},
      {"", 0},
      {"pw", 0},
      {"P1", 0},
      {"12a", 0},
      {" 123", 0},
      {"PW ", 0},
      {"\xB9\xB9\xB9", 0},
      {"9999", 1},
      {std::string("1\0"
                   "3",
                   3),
       0},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidExchange(c.text), c.valid) << c.text;
}

class CheckCallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(exchange_, '#', sizeof exchange_);
    std::memset(notice_, '#', sizeof notice_);
  }
  void Log(const std::string& call, const std::string& mode, int dupe = 0) {
    CInfo r;
    r.call = call;
    r.band = "40m";
    r.mode = mode;
    r.isDupe = dupe;
    log_.Append(r);
  }
  int Check(const std::string& call, const std::string& mode = "CW",
            const std::string& band = "40m", bool with_exchange = true) {
    return CheckCall(log_, stations_, call, band, mode,
                     with_exchange ? exchange_ : nullptr, notice_);
  }
  bool Untouched(const char* buffer, size_t size) {
    for (size_t i = 0; i < size; ++i) {
      if (buffer[i] != '#') return false;
    }
    return true;
  }

  QsoLogStore log_;
  std::vector<std::string> stations_;
  char exchange_[16];
  char notice_[40];
};

TEST_F(CheckCallTest, Duplicates) {
  EXPECT_NE(Check("UA1A"), kCheckDupe);  // an empty log has no duplicates
  Log("UA1A", "CW");
  Log("UA1B", "CW", /*dupe=*/1);
  stations_ = {"X"};
  EXPECT_EQ(Check("UA1A"), kCheckDupe);
  EXPECT_EQ(Check("UA1B"), kCheckDupe);  // marked duplicates still count
  EXPECT_EQ(Check("UA1A", "SSB"), kCheckNew);
  EXPECT_EQ(Check("ua1a"), kCheckNew);
  EXPECT_EQ(Check("UA1A", "CW", "20m"), kCheckNew);
  EXPECT_TRUE(Untouched(notice_, sizeof notice_));
  EXPECT_TRUE(Untouched(exchange_, sizeof exchange_));
}

TEST_F(CheckCallTest, SpecialStations) {
  stations_ = {"R1AB", "RK9XYZ", "RK9XYZ"};
  EXPECT_EQ(Check("RK9XYZ"), kCheckSpecial);
  EXPECT_STREQ(notice_, "RK9XYZ - \xC2\xE5\xEB\xEA\xE0\xF0\xED\xE0\xF2\xEE\xF0 !");
  EXPECT_STREQ(exchange_, "PW");
  EXPECT_TRUE(Untouched(exchange_ + 3, sizeof exchange_ - 3));
  EXPECT_TRUE(Untouched(notice_ + 23, sizeof notice_ - 23));

  SetUp();
  EXPECT_EQ(Check("R1AB", "CW", "40m", /*with_exchange=*/false), kCheckSpecial);
  EXPECT_STREQ(notice_, "R1AB - \xC2\xE5\xEB\xEA\xE0\xF0\xED\xE0\xF2\xEE\xF0 !");

  SetUp();
  EXPECT_EQ(Check("R1ABC"), kCheckNew);
  EXPECT_TRUE(Untouched(notice_, sizeof notice_));

  // A listed station already worked is a duplicate, and nothing is written.
  Log("RK9XYZ", "CW");
  SetUp();
  EXPECT_EQ(Check("RK9XYZ"), kCheckDupe);
  EXPECT_TRUE(Untouched(notice_, sizeof notice_));
}

TEST_F(CheckCallTest, AnEmptyListGivesTwoAndWritesNothing) {
  EXPECT_EQ(Check("ANY"), kCheckSpecial);
  EXPECT_TRUE(Untouched(notice_, sizeof notice_));
  EXPECT_TRUE(Untouched(exchange_, sizeof exchange_));
}

TEST_F(CheckCallTest, LongCallsAreCutToTheBuffer) {
  for (const std::string call : {"RK9XYZA", "R1234567890123456789012345"}) {
    stations_ = {call};
    SetUp();
    EXPECT_EQ(Check(call), kCheckSpecial);
    const std::string full = call + " - \xC2\xE5\xEB\xEA\xE0\xF0\xED\xE0\xF2\xEE\xF0 !";
    EXPECT_EQ(std::string(notice_), full.substr(0, 22));
    EXPECT_TRUE(Untouched(notice_ + 23, sizeof notice_ - 23));
  }
}

}  // namespace
}  // namespace velkaro
