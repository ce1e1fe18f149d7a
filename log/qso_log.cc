#include "log/qso_log.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace velkaro {

std::string QsoLogStore::Key(const std::string& call, const std::string& band,
                             const std::string& mode) {
  // Host texts are NUL-terminated, so NUL cannot occur inside them and joins
  // the three without ambiguity.
  std::string key;
  key.reserve(call.size() + band.size() + mode.size() + 2);
  key += call;
  key += '\0';
  key += band;
  key += '\0';
  key += mode;
  return key;
}

void QsoLogStore::Append(const CInfo& record) {
  if (records_.size() >= static_cast<size_t>(INT_MAX)) {
    throw std::length_error("QSO log full");  // the count must fit an int
  }
  std::string key = Key(record.call, record.band, record.mode);
  if (records_.size() == records_.capacity()) {
    // Grow geometrically here, where a failure changes nothing yet.
    records_.reserve(records_.empty() ? 64 : records_.size() * 2);
  }
  auto [slot, inserted] = index_.try_emplace(std::move(key));
  try {
    slot->second.push_back(next_serial_);
  } catch (...) {
    if (inserted) index_.erase(slot);
    throw;
  }
  try {
    records_.push_back(Entry{record, next_serial_});
  } catch (...) {
    slot->second.pop_back();
    if (slot->second.empty()) index_.erase(slot);
    throw;
  }
  ++next_serial_;
}

const std::vector<uint64_t>* QsoLogStore::SerialsOf(const std::string& call,
                                                    const std::string& band,
                                                    const std::string& mode) const {
  auto found = index_.find(Key(call, band, mode));
  return found == index_.end() ? nullptr : &found->second;
}

int QsoLogStore::IndexOfSerial(uint64_t serial) const {
  auto at =
      std::lower_bound(records_.begin(), records_.end(), serial,
                       [](const Entry& entry, uint64_t s) { return entry.serial < s; });
  return static_cast<int>(at - records_.begin());
}

std::vector<int> QsoLogStore::FindMatches(const std::string& call,
                                          const std::string& band,
                                          const std::string& mode) const {
  std::vector<int> indices;
  if (const auto* serials = SerialsOf(call, band, mode)) {
    indices.reserve(serials->size());
    for (uint64_t serial : *serials) indices.push_back(IndexOfSerial(serial));
  }
  return indices;
}

int QsoLogStore::CountMatches(const std::string& call, const std::string& band,
                              const std::string& mode) const {
  const auto* serials = SerialsOf(call, band, mode);
  return serials ? static_cast<int>(serials->size()) : 0;
}

int QsoLogStore::FirstMatch(const std::string& call, const std::string& band,
                            const std::string& mode) const {
  const auto* serials = SerialsOf(call, band, mode);
  return serials ? IndexOfSerial(serials->front()) : -1;
}

void QsoLogStore::RemoveAt(int index) {
  const Entry& entry = records_[index];
  auto found = index_.find(Key(entry.info.call, entry.info.band, entry.info.mode));
  if (found != index_.end()) {
    auto& serials = found->second;
    serials.erase(std::lower_bound(serials.begin(), serials.end(), entry.serial));
    if (serials.empty()) index_.erase(found);
  }
  records_.erase(records_.begin() + index);
}

void QsoLogStore::Clear() {
  records_.clear();
  index_.clear();
}

}  // namespace velkaro
