#include "score/score.h"

#include <algorithm>
#include <utility>

namespace velkaro {
namespace {

std::string SortKey(const std::string& band) {
  constexpr size_t kKeyLength = 20;
  if (band.size() >= kKeyLength) return band;
  return std::string(kKeyLength - band.size(), '0') + band;
}

}  // namespace

void SortBands(std::vector<std::string>* bands) {
  // An exchange sort: equal keys never swap, so the order of equal keys is
  // the one this sort has always produced. std::string compares char_traits
  // <char>, which orders bytes as unsigned values.
  std::vector<std::string> keys;
  keys.reserve(bands->size());
  for (const std::string& band : *bands) keys.push_back(SortKey(band));
  const size_t n = bands->size();
  for (size_t i = 0; i + 1 < n; ++i) {
    for (size_t j = i + 1; j < n; ++j) {
      if (keys[i] < keys[j]) {
        std::swap(keys[i], keys[j]);
        std::swap((*bands)[i], (*bands)[j]);
      }
    }
  }
}

ScoreTable ComputeScore(const QsoLogStore& log, std::vector<std::string>* bands) {
  SortBands(bands);
  ScoreTable table;
  table.rows.resize(bands->size());
  for (size_t i = 0; i < bands->size(); ++i) {
    BandTally& row = table.rows[i];
    row.label = (*bands)[i];
    // A band text enters the list once; should it stand there twice, its
    // QSOs count in the first row only.
    const auto first = std::find(bands->begin(), bands->begin() + i, row.label);
    if (first != bands->begin() + i) continue;
    const BandCounts counts = log.CountsOf(row.label);
    row.qsos = counts.qsos;
    row.cw = counts.cw;
    row.ssb = counts.ssb;
    row.rtty = counts.rtty;
    row.points = (counts.qsos - counts.special) + 3 * counts.special;
    table.total_points += row.points;
    table.total_cw += row.cw;
    table.total_ssb += row.ssb;
    table.total_rtty += row.rtty;
  }
  table.total_qsos = log.Count();
  return table;
}

}  // namespace velkaro
