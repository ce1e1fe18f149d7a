// The parts of the host's 33-argument QSO report that the rules read.

#ifndef VELKARO_LOG_QSO_ARGUMENTS_H_
#define VELKARO_LOG_QSO_ARGUMENTS_H_

#include <cstdint>
#include <string>

#include "plugin/date_text.h"

namespace velkaro {

struct QsoArguments {
  std::string own_call;  // 1
  std::string call;      // 2
  OleDate time;          // 3
  uint32_t freq_hz = 0;  // 8: the host passes the frequency in Hz
  std::string mode;      // 9
  std::string rst_sent;  // 10
  std::string rst_rcvd;  // 11
  std::string nr_sent;   // 12
  std::string nr_rcvd;   // 13
  std::string band;      // 32
};

}  // namespace velkaro

#endif  // VELKARO_LOG_QSO_ARGUMENTS_H_
