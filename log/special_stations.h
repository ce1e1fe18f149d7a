// The special-station list ".\Plugins\velkar.dat": one station per line, the
// call sign its second word.

#ifndef VELKARO_LOG_SPECIAL_STATIONS_H_
#define VELKARO_LOG_SPECIAL_STATIONS_H_

#include <string>
#include <vector>

namespace velkaro {

inline constexpr char kSpecialStationsPath[] = ".\\Plugins\\velkar.dat";

// Splits file bytes into lines as the platform's text mode reads them: CR LF
// reads as LF, a Ctrl-Z ends the text, the line feed is not part of the line,
// a last line without one counts, and an empty file has no lines.
std::vector<std::string> SplitTextLines(const std::string& bytes);

// The call sign of one line: the text between the first and the second blank.
// A line without a blank, or one that begins with a blank, stays whole. A line
// of exactly two words (no blank after the call sign) gives its second word.
std::string ExtractCallSign(const std::string& line);

// Both steps for a whole file.
std::vector<std::string> ParseSpecialStations(const std::string& bytes);

}  // namespace velkaro

#endif  // VELKARO_LOG_SPECIAL_STATIONS_H_
