#include "log/qso_log.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <type_traits>

namespace velkaro {
namespace {

static_assert(std::is_nothrow_move_constructible_v<CInfo>);

MatchKey KeyOf(const CInfo& record) { return {record.call, record.band, record.mode}; }

template <typename T>
void MakeRoomForOneMore(std::vector<T>* list) {
  if (list->size() == list->capacity()) {
    list->reserve(list->empty() ? 64 : list->size() * 2);
  }
}

}  // namespace

QsoLogStore::BandTallies* QsoLogStore::TalliesOf(const std::string& band) {
  for (BandTallies& entry : tallies_) {
    if (entry.band == band) return &entry;
  }
  return nullptr;
}

BandCounts QsoLogStore::CountsOf(const std::string& band) const {
  for (const BandTallies& entry : tallies_) {
    if (entry.band == band) return entry.counts;
  }
  return {};
}

void QsoLogStore::Tally(const CInfo& record, int step) {
  if (record.call.empty() || record.isDupe != 0) return;
  BandCounts& counts = TalliesOf(record.band)->counts;
  counts.qsos += step;
  if (record.nrRcvd == "PW") counts.special += step;
  if (record.mode == "CW")
    counts.cw += step;
  else if (record.mode == "SSB")
    counts.ssb += step;
  else if (record.mode == "RTTY")
    counts.rtty += step;
}

void QsoLogStore::Append(CInfo record) {
  if (records_.size() >= static_cast<size_t>(INT_MAX)) {
    throw std::length_error("QSO log full");  // the count must fit an int
  }
  // Everything that can fail comes first and leaves no trace that matters:
  // room in the lists, an empty tally for a new band, then the index, which
  // undoes itself when it fails.
  MakeRoomForOneMore(&records_);
  MakeRoomForOneMore(&serials_);
  if (TalliesOf(record.band) == nullptr) {
    MakeRoomForOneMore(&tallies_);
    tallies_.push_back({record.band, {}});
  }
  index_.Add(KeyOf(record), next_serial_);
  // Neither can fail now: the room is there and CInfo moves without throwing.
  records_.push_back(std::move(record));
  serials_.push_back(next_serial_);
  Tally(records_.back(), 1);
  ++next_serial_;
}

int QsoLogStore::IndexOfSerial(uint64_t serial) const {
  return static_cast<int>(std::lower_bound(serials_.begin(), serials_.end(), serial) -
                          serials_.begin());
}

std::vector<int> QsoLogStore::FindMatches(const std::string& call,
                                          const std::string& band,
                                          const std::string& mode) const {
  std::vector<int> indices;
  if (const auto* serials = index_.Find({call, band, mode})) {
    indices.reserve(serials->size());
    for (uint64_t serial : *serials) indices.push_back(IndexOfSerial(serial));
  }
  return indices;
}

int QsoLogStore::CountMatches(const std::string& call, const std::string& band,
                              const std::string& mode) const {
  const auto* serials = index_.Find({call, band, mode});
  return serials ? static_cast<int>(serials->size()) : 0;
}

int QsoLogStore::FirstMatch(const std::string& call, const std::string& band,
                            const std::string& mode) const {
  const auto* serials = index_.Find({call, band, mode});
  return serials ? IndexOfSerial(serials->front()) : -1;
}

void QsoLogStore::RemoveAt(int index) {
  const CInfo& record = records_[index];
  index_.Remove(KeyOf(record), serials_[index]);
  Tally(record, -1);
  records_.erase(records_.begin() + index);
  serials_.erase(serials_.begin() + index);
}

void QsoLogStore::Clear() {
  records_.clear();
  serials_.clear();
  index_.Clear();
  tallies_.clear();
}

}  // namespace velkaro
