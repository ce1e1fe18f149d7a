// A scripted contest through the core's functions on a PluginState, for the
// fault tests that drive the core directly with a platform of their own.
// Every step's answer is written down as text, so two runs compare at once.

#ifndef VELKARO_TESTS_FAULT_CORE_DRIVER_H_
#define VELKARO_TESTS_FAULT_CORE_DRIVER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "log/contest_reset.h"
#include "log/qso_checks.h"
#include "log/qso_rules.h"
#include "plugin/plugin_state.h"
#include "score/result_text.h"

namespace velkaro::testing {

inline QsoArguments CoreQso(const std::string& call, const std::string& mode = "CW",
                            const std::string& nr_rcvd = "002",
                            const std::string& band = "40m") {
  QsoArguments q;
  q.own_call = "N0CALL/P";
  q.call = call;
  q.time = OleDate{42152.6041666, OleDate::kValid};
  q.freq_hz = 7012345;
  q.mode = mode;
  q.rst_sent = "599";
  q.rst_rcvd = "579";
  q.nr_sent = "001";
  q.nr_rcvd = nr_rcvd;
  q.band = band;
  return q;
}

class CoreContest {
 public:
  explicit CoreContest(PluginState& state) : state_(state) {}

  void Reset(int cabrillo, const std::string& own_call) {
    Note("reset", ResetContest(state_, cabrillo, own_call, {42152.0, OleDate::kValid},
                               {42153.0, OleDate::kValid}));
  }
  void Add(const QsoArguments& q) { Note("add " + q.call, AddQso(state_, q)); }
  void Remove(const QsoArguments& q) { Note("remove " + q.call, RemoveQso(state_, q)); }
  void CheckCall(const std::string& call, const std::string& mode) {
    char exchange[kExchangeBufferSize] = "#";
    char notice[kNoticeBufferSize] = "#";
    const int result = velkaro::CheckCall(state_.QsoLog, state_.SpecialStations, call,
                                          "40m", mode, exchange, notice);
    Note("check " + call + " " + notice + " " + exchange, result);
  }
  void Result() {
    int32_t points = 0;
    const std::string text = GetResult(state_, &points);
    Note("result " + text, points);
  }

  // Two contests: QSOs with a duplicate, a special station, rejections, a
  // removal and results, then a second start that reads the settings back.
  void Run() {
    Reset(1, "N0CALL/P");
    CheckCall("R9XYZ", "SSB");
    Add(CoreQso("UA3AAA"));
    Add(CoreQso("UA3AAA"));
    Add(CoreQso("R9XYZ", "SSB", "PW"));
    Add(CoreQso("UA3BBB", "cw"));
    Add(CoreQso("UA3BBB", "CW", "002", "20m"));
    Result();
    Remove(CoreQso("UA3AAA"));
    Add(CoreQso("RK1B", "RTTY"));
    CheckCall("UA3AAA", "CW");
    Result();
    Reset(1, "N0CALL/P");
    Add(CoreQso("UA3CCC"));
    Result();
  }

  const std::vector<std::string>& answers() const { return answers_; }

 private:
  void Note(const std::string& what, int result) {
    answers_.push_back(what + " -> " + std::to_string(result));
  }

  PluginState& state_;
  std::vector<std::string> answers_;
};

}  // namespace velkaro::testing

#endif  // VELKARO_TESTS_FAULT_CORE_DRIVER_H_
