// One accepted QSO and the in-memory log of them, in order of acceptance.
//
// The log answers "which records have this call, band and mode" from an index
// kept exact under append, removal and clearing, so the checks stay fast as
// the log grows; the answers are those of a scan from index 0.
//
// Thread safety: none; only the host's thread touches the log.

#ifndef VELKARO_LOG_QSO_LOG_H_
#define VELKARO_LOG_QSO_LOG_H_

#include <cstdint>
#include <string>
#include <vector>

#include "log/match_index.h"
#include "plugin/date_text.h"

namespace velkaro {

struct CInfo {
  std::string call;
  std::string band;
  std::string mode;
  std::string rstRcvd;
  std::string rstSent;
  std::string nrRcvd;
  std::string nrSent;
  uint32_t freqKhz = 0;
  int32_t isDupe = 0;
  OleDate time;
};

// Running tallies, per band text, of the records that score: those with a
// call that are not marked as duplicates. A record's fields never change
// while it is in the log, so the log keeps these up to date as it changes,
// and a result request need not read every record.
struct BandCounts {
  int32_t qsos = 0;
  int32_t cw = 0;
  int32_t ssb = 0;
  int32_t rtty = 0;
  int32_t special = 0;  // received exchange "PW"
};

// The log `QsoLog`: CInfo records indexed from 0 in order of acceptance.
class QsoLogStore {
 public:
  int Count() const { return static_cast<int>(records_.size()); }
  // REQUIRES: 0 <= index < Count().
  const CInfo& At(int index) const { return records_[index]; }
  // A number that stays with the record while it is in the log, never comes
  // back after it left, and increases with the index.
  // REQUIRES: 0 <= index < Count().
  uint64_t SerialAt(int index) const { return serials_[index]; }

  // Appends `record`. Strong guarantee: when memory runs out the log is
  // unchanged and std::bad_alloc propagates.
  void Append(CInfo record);

  // Indices of all records whose call, band and mode equal the given texts
  // (byte for byte), in increasing order.
  std::vector<int> FindMatches(const std::string& call, const std::string& band,
                               const std::string& mode) const;
  // The number of such records, without building the list.
  int CountMatches(const std::string& call, const std::string& band,
                   const std::string& mode) const;
  // Whether there is any such record.
  bool HasMatch(const std::string& call, const std::string& band,
                const std::string& mode) const {
    return index_.Contains({call, band, mode});
  }
  // The lowest such index, or -1.
  int FirstMatch(const std::string& call, const std::string& band,
                 const std::string& mode) const;

  // The tallies of the records with this band text (all zero when none).
  BandCounts CountsOf(const std::string& band) const;

  // Removes the record at `index`; later records move down by one.
  // REQUIRES: 0 <= index < Count().
  void RemoveAt(int index);
  void Clear();

 private:
  struct BandTallies {
    std::string band;
    BandCounts counts;
  };
  BandTallies* TalliesOf(const std::string& band);
  // Adds `step` (1 or -1) to the tallies `record` belongs to, which exist.
  void Tally(const CInfo& record, int step);
  int IndexOfSerial(uint64_t serial) const;

  std::vector<CInfo> records_;
  std::vector<uint64_t> serials_;  // serials_[i] belongs to records_[i]
  MatchIndex index_;
  // One entry per band text ever appended since the last clear; the contest
  // has one band, so a list beats a map.
  std::vector<BandTallies> tallies_;
  uint64_t next_serial_ = 0;
};

}  // namespace velkaro

#endif  // VELKARO_LOG_QSO_LOG_H_
