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
#include <unordered_map>
#include <vector>

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

// The log `QsoLog`: CInfo records indexed from 0 in order of acceptance.
class QsoLogStore {
 public:
  int Count() const { return static_cast<int>(records_.size()); }
  // REQUIRES: 0 <= index < Count().
  const CInfo& At(int index) const { return records_[index].info; }
  // A number that stays with the record while it is in the log, never comes
  // back after it left, and increases with the index.
  // REQUIRES: 0 <= index < Count().
  uint64_t SerialAt(int index) const { return records_[index].serial; }

  // Appends a copy of `record`. Strong guarantee: when memory runs out the log
  // is unchanged and std::bad_alloc propagates.
  void Append(const CInfo& record);

  // Indices of all records whose call, band and mode equal the given texts
  // (byte for byte), in increasing order.
  std::vector<int> FindMatches(const std::string& call, const std::string& band,
                               const std::string& mode) const;
  // The number of such records, without building the list.
  int CountMatches(const std::string& call, const std::string& band,
                   const std::string& mode) const;
  // The lowest such index, or -1.
  int FirstMatch(const std::string& call, const std::string& band,
                 const std::string& mode) const;

  // Removes the record at `index`; later records move down by one.
  // REQUIRES: 0 <= index < Count().
  void RemoveAt(int index);
  void Clear();

 private:
  struct Entry {
    CInfo info;
    uint64_t serial;  // increases with every append, so ordered like indices
  };
  static std::string Key(const std::string& call, const std::string& band,
                         const std::string& mode);
  const std::vector<uint64_t>* SerialsOf(const std::string& call, const std::string& band,
                                         const std::string& mode) const;
  int IndexOfSerial(uint64_t serial) const;

  std::vector<Entry> records_;
  // Key of call, band and mode -> serials of the matching records, ascending.
  std::unordered_map<std::string, std::vector<uint64_t>> index_;
  uint64_t next_serial_ = 0;
};

}  // namespace velkaro

#endif  // VELKARO_LOG_QSO_LOG_H_
