// The host's side of the entry points, for tests that link the plug-in
// statically: each helper passes the host's full argument list, with junk in
// the positions the plug-in ignores.

#ifndef VELKARO_TESTS_FAULT_HOST_CALLS_H_
#define VELKARO_TESTS_FAULT_HOST_CALLS_H_

#include <cmath>
#include <string>

#include "plugin/exports.h"

namespace velkaro::testing {

inline constexpr char kIgnored[] = "\xFF\x80 ignored";

struct HostQso {
  std::string call;
  std::string mode = "CW";
  std::string nr_sent = "001";
  std::string nr_rcvd = "002";
  std::string band = "40m";
  std::string rst_sent = "599";
  std::string rst_rcvd = "579";
  unsigned freq_hz = 7012345;
  OleDate time{42152.6041666, OleDate::kValid};
};

inline int HostReset(int cabrillo, const std::string& own_call,
                     OleDate start = {42152.0, OleDate::kValid}) {
  OleDate end{start.days + 1.0, OleDate::kValid};
  const char* x = kIgnored;
  return ResetStats0(x, cabrillo, own_call.c_str(), &start, &end, x, x, x, x, x, x, x, x,
                     x, x, -1, 7, 1 << 30, NAN, 1e308, x, x, x);
}

// AddData0 or RemoveData0, which take the same 33 arguments.
// Takes everything by reference, so a call allocates nothing of its own.
inline int HostQsoCall(decltype(&AddData0) entry, const std::string& own_call,
                       const HostQso& q) {
  const char* x = kIgnored;
  OleDate time = q.time;
  OleDate junk{-1e300, OleDate::kInvalid};
  return entry(own_call.c_str(), q.call.c_str(), &time, &junk, &junk, &junk, 0xFFFFFFFFu,
               q.freq_hz, q.mode.c_str(), q.rst_sent.c_str(), q.rst_rcvd.c_str(),
               q.nr_sent.c_str(), q.nr_rcvd.c_str(), x, x, x, x, x, x, x, x, x, x, -1,
               0x5A5A, 123456, NAN, -0.0, x, x, x, q.band.c_str(), x);
}
inline int HostAdd(const std::string& own_call, const HostQso& q) {
  return HostQsoCall(&AddData0, own_call, q);
}
inline int HostRemove(const std::string& own_call, const HostQso& q) {
  return HostQsoCall(&RemoveData0, own_call, q);
}

inline int HostCheckCall(const std::string& call, const std::string& mode,
                         const std::string& band, char* exchange, char* notice) {
  const char* x = kIgnored;
  return CheckCall0(call.c_str(), 77, 88, mode.c_str(), x, x, x, x, x, x, x, x, x, x, 1,
                    2, 3, NAN, 4.5, x, x, x, x, x, band.c_str(), x, exchange, notice);
}

inline int HostExchangeCheck(const std::string& exchange) {
  const char* x = kIgnored;
  return IsValidExchg0(exchange.c_str(), x, x, x, 1, 2, 3);
}

}  // namespace velkaro::testing

#endif  // VELKARO_TESTS_FAULT_HOST_CALLS_H_
