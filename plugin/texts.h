// The plug-in's fixed texts. The Russian ones are Windows-1251 bytes, spelled
// as escapes so that the binary holds them whatever the source encoding.

#ifndef VELKARO_PLUGIN_TEXTS_H_
#define VELKARO_PLUGIN_TEXTS_H_

namespace velkaro::texts {

// "День велкаро (C)"
inline constexpr char kSetName[] = "\xC4\xE5\xED\xFC \xE2\xE5\xEB\xEA\xE0\xF0\xEE (C)";
// "%s - Велкарнатор !"
inline constexpr char kSpecialNoticeTail[] =
    " - \xC2\xE5\xEB\xEA\xE0\xF0\xED\xE0\xF2\xEE\xF0 !";
// "День велкаро UBN file "
inline constexpr char kErrorReportHeader[] =
    "\xC4\xE5\xED\xFC \xE2\xE5\xEB\xEA\xE0\xF0\xEE UBN file ";
// "День велкаро"
inline constexpr char kResultTitle[] = "\xC4\xE5\xED\xFC \xE2\xE5\xEB\xEA\xE0\xF0\xEE";
// "ДЕНЬ ВЕЛКАРО"
inline constexpr char kContestName[] = "\xC4\xC5\xCD\xDC \xC2\xC5\xCB\xCA\xC0\xD0\xCE";

inline constexpr char kSetupMessage[] = "No additional setup for this contest";

}  // namespace velkaro::texts

#endif  // VELKARO_PLUGIN_TEXTS_H_
