// The contest score, from the tallies the log keeps per band.

#ifndef VELKARO_SCORE_SCORE_H_
#define VELKARO_SCORE_SCORE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "log/qso_log.h"

namespace velkaro {

struct BandTally {
  std::string label;
  int32_t qsos = 0;
  int32_t points = 0;
  int32_t cw = 0;
  int32_t ssb = 0;
  int32_t rtty = 0;
  bool operator==(const BandTally&) const = default;
};

struct ScoreTable {
  std::vector<BandTally> rows;  // in band order
  int32_t total_qsos = 0;       // every record of the log, duplicates included
  int32_t total_points = 0;
  int32_t total_cw = 0;
  int32_t total_ssb = 0;
  int32_t total_rtty = 0;
  int32_t score() const { return total_points; }
};

// Sorts band texts in place, descending by the text left-padded with "0" to
// 20 bytes (unsigned bytes): 160m, 80m, 40m, 20m ... and 70cm before 160m.
void SortBands(std::vector<std::string>* bands);

// Sorts `bands` and tallies one row per band. A record scores in the row of
// its band unless it is a duplicate or has an empty call: 1 point, 3 when the
// exchange received is exactly "PW".
ScoreTable ComputeScore(const QsoLogStore& log, std::vector<std::string>* bands);

}  // namespace velkaro

#endif  // VELKARO_SCORE_SCORE_H_
