// The entry points the host calls, with the host's argument lists. Every one
// uses the C calling convention (cdecl) and catches everything at this
// boundary: nothing the plug-in does can throw into the host.

#ifndef VELKARO_PLUGIN_EXPORTS_H_
#define VELKARO_PLUGIN_EXPORTS_H_

#include "plugin/date_text.h"

#if defined(_WIN32)
#define VELKARO_API extern "C"
#define VELKARO_CALL __cdecl
#else
#define VELKARO_API extern "C" __attribute__((visibility("default")))
#define VELKARO_CALL
#endif

using velkaro::OleDate;  // the host's COleDateTime
typedef const char* Text;

VELKARO_API int VELKARO_CALL AddData0(Text own_call, Text call, OleDate* time, OleDate*,
                                      OleDate*, OleDate*, unsigned int,
                                      unsigned int freq_hz, Text mode, Text rst_sent,
                                      Text rst_rcvd, Text nr_sent, Text nr_rcvd, Text,
                                      Text, Text, Text, Text, Text, Text, Text, Text,
                                      Text, int, int, int, double, double, Text, Text,
                                      Text, Text band, Text);

VELKARO_API int VELKARO_CALL RemoveData0(Text own_call, Text call, OleDate* time,
                                         OleDate*, OleDate*, OleDate*, unsigned int,
                                         unsigned int freq_hz, Text mode, Text rst_sent,
                                         Text rst_rcvd, Text nr_sent, Text nr_rcvd, Text,
                                         Text, Text, Text, Text, Text, Text, Text, Text,
                                         Text, int, int, int, double, double, Text, Text,
                                         Text, Text band, Text);

VELKARO_API int VELKARO_CALL ResetStats0(Text, int cabrillo_switch, Text own_call,
                                         OleDate* start, OleDate* end, Text, Text, Text,
                                         Text, Text, Text, Text, Text, Text, Text, int,
                                         int, int, double, double, Text, Text, Text);

VELKARO_API int VELKARO_CALL CheckCall0(Text call, unsigned int, unsigned int, Text mode,
                                        Text, Text, Text, Text, Text, Text, Text, Text,
                                        Text, Text, int, int, int, double, double, Text,
                                        Text, Text, Text, Text, Text band, Text,
                                        char* exchange, char* notice);

VELKARO_API int VELKARO_CALL IsValidExchg0(Text exchange, Text, Text, Text, int, int,
                                           int);

VELKARO_API const char* VELKARO_CALL GetResult0(int* points);

VELKARO_API int VELKARO_CALL GetNumberOfSets(void);
VELKARO_API int VELKARO_CALL GetExchgCount0(Text, Text, Text);
VELKARO_API const char* VELKARO_CALL GetSetName(int index);
VELKARO_API void VELKARO_CALL SetupSet0(void);

#endif  // VELKARO_PLUGIN_EXPORTS_H_
