// The QSOs the benchmarks log: distinct call signs in the three modes, all
// valid for the contest, through the host's full argument lists.

#ifndef VELKARO_BENCH_CONTEST_DATA_H_
#define VELKARO_BENCH_CONTEST_DATA_H_

#include <string>

#include "tests/fault/host_calls.h"

namespace velkaro::bench {

using testing::HostQso;

inline const std::string kOwnCall = "N0CALL";
inline const std::string kCabrilloFile = "N0CALL.cbr";

// A call sign of the usual length, different for every i.
inline std::string CallOf(int i) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string call = "U" + std::to_string(i % 10);
  for (int rest = i / 10, n = 0; n < 3; ++n, rest /= 26) call += kLetters[rest % 26];
  if (i >= 10 * 26 * 26 * 26) call += std::to_string(i / (10 * 26 * 26 * 26));
  return call;
}

inline const char* ModeOf(int i) {
  static const char* const kModes[] = {"CW", "SSB", "RTTY"};
  return kModes[i % 3];
}

inline HostQso QsoOf(int i) {
  HostQso q;
  q.call = CallOf(i);
  q.mode = ModeOf(i);
  q.nr_sent = std::to_string(1000 + i % 9000);
  q.nr_rcvd = i % 17 == 0 ? "PW" : std::to_string(100 + i % 900);
  q.freq_hz = 7000000 + static_cast<unsigned>(i % 200) * 1000 + 123;
  q.time.days = 42152.5 + i / 1440.0 / 10;
  return q;
}

}  // namespace velkaro::bench

#endif  // VELKARO_BENCH_CONTEST_DATA_H_
