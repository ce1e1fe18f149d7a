#include "score/score.h"

#include <unordered_map>
#include <utility>

namespace velkaro {
namespace {

std::string SortKey(const std::string& band) {
  constexpr size_t kKeyLength = 20;
  if (band.size() >= kKeyLength) return band;
  return std::string(kKeyLength - band.size(), '0') + band;
}

constexpr size_t kNoRow = static_cast<size_t>(-1);

// The row of a band text. The contest has one band, so a short list is
// searched directly and a long one through the map.
size_t RowOf(const std::string& band, const std::vector<std::string>& bands,
             const std::unordered_map<std::string, size_t>& row_of) {
  constexpr size_t kShortList = 8;
  if (bands.size() <= kShortList) {
    for (size_t i = 0; i < bands.size(); ++i) {
      if (bands[i] == band) return i;
    }
    return kNoRow;
  }
  auto found = row_of.find(band);
  return found == row_of.end() ? kNoRow : found->second;
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
  // The band texts are distinct (a band enters the list once), so one pass
  // over the log can fill every row.
  std::unordered_map<std::string, size_t> row_of;
  for (size_t i = 0; i < bands->size(); ++i) {
    table.rows[i].label = (*bands)[i];
    row_of.emplace((*bands)[i], i);
  }
  std::vector<int32_t> special(bands->size(), 0);
  const int count = log.Count();
  for (int r = 0; r < count; ++r) {
    const CInfo& qso = log.At(r);
    if (qso.call.empty() || qso.isDupe != 0) continue;
    const size_t at = RowOf(qso.band, *bands, row_of);
    if (at == kNoRow) continue;
    BandTally& row = table.rows[at];
    ++row.qsos;
    if (qso.nrRcvd == "PW") ++special[at];
    if (qso.mode == "CW")
      ++row.cw;
    else if (qso.mode == "SSB")
      ++row.ssb;
    else if (qso.mode == "RTTY")
      ++row.rtty;
  }
  for (size_t i = 0; i < table.rows.size(); ++i) {
    BandTally& row = table.rows[i];
    row.points = (row.qsos - special[i]) + 3 * special[i];
    table.total_points += row.points;
    table.total_cw += row.cw;
    table.total_ssb += row.ssb;
    table.total_rtty += row.rtty;
  }
  table.total_qsos = count;
  return table;
}

}  // namespace velkaro
