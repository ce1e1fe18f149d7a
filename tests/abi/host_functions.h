// The plug-in's entry points as the host declares them, for the tests that
// load the built library and call it: full argument lists, the host's
// COleDateTime layout, and the C calling convention (the compilers' default
// in both builds). Shared by the ABI suite and the Windows suite.

#ifndef VELKARO_TESTS_ABI_HOST_FUNCTIONS_H_
#define VELKARO_TESTS_ABI_HOST_FUNCTIONS_H_

#include <cstdint>

namespace velkaro::host_api {

// The host's COleDateTime: day count since 1899-12-30, then the status
// (0 valid, 1 invalid, 2 null).
struct HostDate {
  double days;
  int32_t status;
};

using Text = const char*;

// AddData0 and RemoveData0: own call, call, time, three unused dates, an
// unused number, frequency in Hz, mode, RST sent and received, exchange sent
// and received, ten texts, three ints, two doubles, three texts, band, a
// last text.
using AddFn = int(Text, Text, HostDate*, HostDate*, HostDate*, HostDate*, unsigned,
                  unsigned, Text, Text, Text, Text, Text, Text, Text, Text, Text, Text,
                  Text, Text, Text, Text, Text, int, int, int, double, double, Text, Text,
                  Text, Text, Text);
// ResetStats0: a text, the Cabrillo switch, own call, contest start and end,
// ten texts, three ints, two doubles, three texts.
using ResetFn = int(Text, int, Text, HostDate*, HostDate*, Text, Text, Text, Text, Text,
                    Text, Text, Text, Text, Text, int, int, int, double, double, Text,
                    Text, Text);
// CheckCall0: call, two numbers, mode, ten texts, three ints, two doubles,
// five texts, band, a text, the exchange buffer and the notice buffer.
using CheckCallFn = int(Text, unsigned, unsigned, Text, Text, Text, Text, Text, Text, Text,
                        Text, Text, Text, Text, int, int, int, double, double, Text, Text,
                        Text, Text, Text, Text, Text, char*, char*);
// IsValidExchg0: the received exchange, three texts, three ints.
using ExchangeFn = int(Text, Text, Text, Text, int, int, int);
// GetResult0: the claimed points come back through the pointer.
using ResultFn = const char*(int*);
// GetNumberOfSets.
using CountFn = int();
// GetExchgCount0.
using CountWithArgsFn = int(Text, Text, Text);
// GetSetName.
using SetNameFn = const char*(int);
// SetupSet0.
using SetupFn = void();

}  // namespace velkaro::host_api

#endif  // VELKARO_TESTS_ABI_HOST_FUNCTIONS_H_
