// The plug-in's entry points as the host calls them, declared here from the
// host's side: full argument lists, C calling convention, and the host's
// COleDateTime layout. The replay host uses nothing else of the plug-in.

#ifndef VELKARO_TOOLS_PLUGIN_API_H_
#define VELKARO_TOOLS_PLUGIN_API_H_

#include <cstdint>

#if defined(_WIN32)
#define HOST_CALL __cdecl
#else
#define HOST_CALL
#endif

namespace velkaro::replay {

// The host's COleDateTime: day count since 1899-12-30, then the status.
struct HostDate {
  double days = 0.0;
  int32_t status = 0;  // 0 valid, 1 invalid, 2 null
};
inline constexpr int32_t kDateValid = 0;
inline constexpr int32_t kDateNull = 2;

using Text = const char*;

// 33 arguments: own call, call, time, three unused dates, an unused number,
// frequency in Hz, mode, RST sent and received, exchange sent and received,
// ten texts, three ints, two doubles, three texts, band, a last text.
using AddDataFn = int(HOST_CALL*)(Text, Text, HostDate*, HostDate*, HostDate*, HostDate*,
                                  unsigned int, unsigned int, Text, Text, Text, Text,
                                  Text, Text, Text, Text, Text, Text, Text, Text, Text,
                                  Text, Text, int, int, int, double, double, Text, Text,
                                  Text, Text, Text);

// 23 arguments: a text, the Cabrillo switch, own call, contest start and end,
// ten texts, three ints, two doubles, three texts.
using ResetStatsFn = int(HOST_CALL*)(Text, int, Text, HostDate*, HostDate*, Text, Text,
                                     Text, Text, Text, Text, Text, Text, Text, Text, int,
                                     int, int, double, double, Text, Text, Text);

// 28 arguments: call, two numbers, mode, ten texts, three ints, two doubles,
// five texts, band, a text, the exchange buffer (10 bytes) and the notice
// buffer (23 bytes).
using CheckCallFn = int(HOST_CALL*)(Text, unsigned int, unsigned int, Text, Text, Text,
                                    Text, Text, Text, Text, Text, Text, Text, Text, int,
                                    int, int, double, double, Text, Text, Text, Text,
                                    Text, Text, Text, char*, char*);

// 7 arguments: the received exchange, three texts, three ints.
using IsValidExchgFn = int(HOST_CALL*)(Text, Text, Text, Text, int, int, int);

using GetResultFn = const char*(HOST_CALL*)(int*);

inline constexpr int kExchangeBufferSize = 10;
inline constexpr int kNoticeBufferSize = 23;

// The five entry points a contest replay goes through.
struct PluginApi {
  ResetStatsFn reset_stats = nullptr;
  CheckCallFn check_call = nullptr;
  IsValidExchgFn is_valid_exchange = nullptr;
  AddDataFn add_data = nullptr;
  GetResultFn get_result = nullptr;
};

// Results of CheckCall0.
inline constexpr int kCheckDupe = 0;
inline constexpr int kCheckSpecial = 2;

}  // namespace velkaro::replay

#endif  // VELKARO_TOOLS_PLUGIN_API_H_
