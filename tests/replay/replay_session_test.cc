// The replay's calling sequence and argument positions, against recording
// stand-ins for the plug-in's entry points.

#include "tools/replay_session.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace velkaro::replay {
namespace {

// What the stand-ins saw and what they answer.
struct Recorder {
  std::vector<std::string> calls;  // "reset", "check R3AB", ...
  // ResetStats0
  int cabrillo = -1;
  std::string reset_call;
  HostDate reset_start, reset_end;
  // CheckCall0
  std::vector<std::string> check_args;  // call|mode|band per call
  bool buffers_zeroed = true;
  int check_answer = 1;
  const char* notice_text = nullptr;
  size_t notice_bytes = 0;  // bytes written into the notice buffer
  // IsValidExchg0
  int exchange_answer = 1;
  // AddData0
  std::vector<std::string> add_args;
  int add_answer = 1;
  // GetResult0
  const char* result = "table";
  int result_int = 7;
};
Recorder* recorder = nullptr;

int HOST_CALL FakeReset(Text, int cabrillo, Text own, HostDate* start, HostDate* end,
                        Text, Text, Text, Text, Text, Text, Text, Text, Text, Text, int,
                        int, int, double, double, Text, Text, Text) {
  recorder->calls.push_back("reset");
  recorder->cabrillo = cabrillo;
  recorder->reset_call = own;
  recorder->reset_start = *start;
  recorder->reset_end = *end;
  return 1;
}

int HOST_CALL FakeCheck(Text call, unsigned, unsigned, Text mode, Text, Text, Text, Text,
                        Text, Text, Text, Text, Text, Text, int, int, int, double, double,
                        Text, Text, Text, Text, Text, Text band, Text, char* exchange,
                        char* notice) {
  recorder->calls.push_back(std::string("check ") + call);
  recorder->check_args.push_back(std::string(call) + "|" + mode + "|" + band);
  for (int i = 0; i < kExchangeBufferSize; ++i)
    recorder->buffers_zeroed &= exchange[i] == 0;
  for (int i = 0; i < kNoticeBufferSize; ++i) recorder->buffers_zeroed &= notice[i] == 0;
  if (recorder->notice_text != nullptr) {
    std::memcpy(notice, recorder->notice_text, recorder->notice_bytes);
    std::memcpy(exchange, "PW", 3);
  }
  return recorder->check_answer;
}

int HOST_CALL FakeIsValid(Text exchange, Text, Text, Text, int, int, int) {
  recorder->calls.push_back(std::string("valid ") + exchange);
  return recorder->exchange_answer;
}

int HOST_CALL FakeAdd(Text own, Text call, HostDate* time, HostDate* d4, HostDate* d5,
                      HostDate* d6, unsigned, unsigned freq, Text mode, Text rst_sent,
                      Text rst_rcvd, Text nr_sent, Text nr_rcvd, Text t14, Text, Text,
                      Text, Text, Text, Text, Text, Text, Text t23, int, int, int, double,
                      double, Text, Text, Text, Text band, Text t33) {
  recorder->calls.push_back(std::string("add ") + call);
  recorder->add_args.push_back(
      std::string(own) + "|" + call + "|" + std::to_string(time->days) + "/" +
      std::to_string(time->status) + "|" + std::to_string(freq) + "|" + mode + "|" +
      rst_sent + "|" + rst_rcvd + "|" + nr_sent + "|" + nr_rcvd + "|" + band + "|" + t14 +
      t23 + t33 + "|" + std::to_string(d4 != nullptr && d5 != nullptr && d6 != nullptr));
  return recorder->add_answer;
}

const char* HOST_CALL FakeResult(int* points) {
  recorder->calls.push_back("result");
  *points = recorder->result_int;
  return recorder->result;
}

class ReplaySessionTest : public ::testing::Test {
 protected:
  void SetUp() override { recorder = &seen_; }
  void TearDown() override { recorder = nullptr; }

  static PluginApi Api() {
    return PluginApi{FakeReset, FakeCheck, FakeIsValid, FakeAdd, FakeResult};
  }
  static HostQso Qso(const std::string& call, const std::string& nr_rcvd) {
    HostQso qso;
    qso.call = call;
    qso.mode = "CW";
    qso.band = "40m";
    qso.rst_sent = "599";
    qso.rst_rcvd = "579";
    qso.nr_sent = "001";
    qso.nr_rcvd = nr_rcvd;
    qso.freq_hz = 7'012'900;
    qso.ole_days = 42152.25;
    return qso;
  }

  Recorder seen_;
};

TEST_F(ReplaySessionTest, CallsInTheHostsOrderWithTheHostsArguments) {
  const ContestSetup setup{"UA3VLK", HostDate{42152.0, kDateValid}, true};
  const ReplayOutcome outcome =
      PlayContest(Api(), setup, {Qso("R3AB", "017"), Qso("R3CD", "PW")});

  EXPECT_EQ(seen_.calls,
            (std::vector<std::string>{"reset", "check R3AB", "valid 017", "add R3AB",
                                      "check R3CD", "valid PW", "add R3CD", "result"}));
  EXPECT_EQ(seen_.cabrillo, 1);
  EXPECT_EQ(seen_.reset_call, "UA3VLK");
  EXPECT_EQ(seen_.reset_start.days, 42152.0);
  EXPECT_EQ(seen_.reset_start.status, kDateValid);
  EXPECT_EQ(seen_.reset_end.days, 42153.0);
  EXPECT_EQ(seen_.check_args[0], "R3AB|CW|40m");
  EXPECT_TRUE(seen_.buffers_zeroed);
  EXPECT_EQ(seen_.add_args[1], "UA3VLK|R3CD|" + std::to_string(42152.25) +
                                   "/0|7012900|CW|599|579|001|PW|40m||1");
  EXPECT_EQ(outcome.result_text, "table");
  EXPECT_EQ(outcome.result_int, 7);
  EXPECT_EQ(outcome.accepted, 2);
}

TEST_F(ReplaySessionTest, CountsWhatThePluginAnswered) {
  seen_.check_answer = kCheckDupe;
  seen_.add_answer = 1;
  ReplayOutcome outcome = PlayContest(Api(), {}, {Qso("R3AB", "017")});
  EXPECT_EQ(outcome.duplicates, 1);

  seen_.add_answer = 0;  // a rejected QSO is no duplicate, whatever the check said
  seen_.exchange_answer = 0;
  outcome = PlayContest(Api(), {}, {Qso("R3AB", "599")});
  EXPECT_EQ(outcome.duplicates, 0);
  EXPECT_EQ(outcome.rejected, 1);
  EXPECT_EQ(outcome.refused_exchanges, 1);
}

TEST_F(ReplaySessionTest, SpecialStationNeedsANotice) {
  seen_.check_answer = kCheckSpecial;  // an empty list answers 2 and writes nothing
  EXPECT_TRUE(PlayContest(Api(), {}, {Qso("R3AB", "017")}).specials.empty());

  seen_.notice_text = "R3VEL - notice";
  seen_.notice_bytes = std::strlen(seen_.notice_text) + 1;
  const ReplayOutcome outcome = PlayContest(Api(), {}, {Qso("R3VEL", "PW")});
  ASSERT_EQ(outcome.specials.size(), 1u);
  EXPECT_EQ(outcome.specials[0].call, "R3VEL");
  EXPECT_EQ(outcome.specials[0].notice, "R3VEL - notice");
  EXPECT_EQ(outcome.specials[0].exchange, "PW");
  EXPECT_TRUE(outcome.faults.empty());
}

TEST_F(ReplaySessionTest, ABufferOverrunIsReported) {
  const std::string full(kNoticeBufferSize - 1, 'N');  // fills the buffer exactly
  seen_.check_answer = kCheckSpecial;
  seen_.notice_text = full.c_str();
  seen_.notice_bytes = full.size() + 1;
  EXPECT_TRUE(PlayContest(Api(), {}, {Qso("R3VEL", "PW")}).faults.empty());

  const std::string too_long(kNoticeBufferSize + 4, 'N');
  seen_.notice_text = too_long.c_str();
  seen_.notice_bytes = too_long.size() + 1;
  const ReplayOutcome outcome = PlayContest(Api(), {}, {Qso("R3VEL", "PW")});
  ASSERT_EQ(outcome.faults.size(), 1u);
  EXPECT_NE(outcome.faults[0].find("23-byte notice"), std::string::npos);
  // What is read back never goes beyond the buffer.
  ASSERT_EQ(outcome.specials.size(), 1u);
  EXPECT_EQ(outcome.specials[0].notice, std::string(kNoticeBufferSize, 'N'));
}

TEST_F(ReplaySessionTest, ANullResultIsAFaultNotACrash) {
  seen_.result = nullptr;
  const ReplayOutcome outcome = PlayContest(Api(), {}, {});
  EXPECT_EQ(outcome.result_text, "");
  ASSERT_EQ(outcome.faults.size(), 1u);
  EXPECT_EQ(seen_.calls, (std::vector<std::string>{"reset", "result"}));
}

TEST_F(ReplaySessionTest, ANullContestDateStaysNull) {
  PlayContest(Api(), {"", HostDate{0.0, kDateNull}, false}, {});
  EXPECT_EQ(seen_.cabrillo, 0);
  EXPECT_EQ(seen_.reset_start.status, kDateNull);
  EXPECT_EQ(seen_.reset_end.status, kDateNull);
  EXPECT_EQ(seen_.reset_end.days, 0.0);
}

}  // namespace
}  // namespace velkaro::replay
