#include "log/match_index.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace velkaro {
namespace {

// FNV-1a over the three texts and their separators, then a final mix so
// that the low bits, which choose the slot, depend on every byte.
uint64_t Mix(uint64_t h, std::string_view text) {
  for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ull;
  return h;
}

}  // namespace

uint64_t MatchIndex::Hash(const MatchKey& key) {
  uint64_t h = 0xcbf29ce484222325ull;
  h = Mix(h, key.call);
  h = (h ^ 0) * 0x100000001b3ull;
  h = Mix(h, key.band);
  h = (h ^ 0) * 0x100000001b3ull;
  h = Mix(h, key.mode);
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return h;
}

uint16_t MatchIndex::TagOf(uint64_t hash) {
  const auto tag = static_cast<uint16_t>(hash >> 48);  // bits the home slot never uses
  return tag == kEmpty ? 1 : tag;
}

size_t MatchIndex::KeyLength(const MatchKey& key) {
  return key.call.size() + key.band.size() + key.mode.size() + 2;
}

bool MatchIndex::SameKey(const char* stored, size_t length, const MatchKey& key) {
  if (length != KeyLength(key)) return false;
  const size_t call = key.call.size();
  const size_t band = key.band.size();
  return std::memcmp(stored, key.call.data(), call) == 0 && stored[call] == '\0' &&
         std::memcmp(stored + call + 1, key.band.data(), band) == 0 &&
         stored[call + 1 + band] == '\0' &&
         std::memcmp(stored + call + band + 2, key.mode.data(), key.mode.size()) == 0;
}

bool MatchIndex::SlotHolds(const Slot& slot, uint32_t hash, const MatchKey& key) const {
  if (slot.hash != hash) return false;
  if (slot.length != kLongKey) return SameKey(slot.key, slot.length, key);
  const std::string& stored = groups_[slot.group].key;
  return SameKey(stored.data(), stored.size(), key);
}

size_t MatchIndex::FindSlot(const MatchKey& key, uint64_t hash) const {
  if (slots_.empty()) return kNoSlot;
  const size_t mask = slots_.size() - 1;
  const uint16_t tag = TagOf(hash);
  const auto low = static_cast<uint32_t>(hash);
  for (size_t at = low & mask;; at = (at + 1) & mask) {
    if (tags_[at] == kEmpty) return kNoSlot;
    if (tags_[at] == tag && SlotHolds(slots_[at], low, key)) return at;
  }
}

size_t MatchIndex::FindSlotOfGroup(uint32_t group) const {
  const size_t mask = slots_.size() - 1;
  for (size_t at = groups_[group].hash & mask;; at = (at + 1) & mask) {
    if (tags_[at] != kEmpty && slots_[at].group == group) return at;
  }
}

const std::vector<uint64_t>* MatchIndex::Find(const MatchKey& key) const {
  const size_t at = FindSlot(key, Hash(key));
  return at == kNoSlot ? nullptr : &groups_[slots_[at].group].serials;
}

void MatchIndex::Place(const Slot& slot, uint16_t tag) {
  const size_t mask = slots_.size() - 1;
  size_t at = slot.hash & mask;
  while (tags_[at] != kEmpty) at = (at + 1) & mask;
  slots_[at] = slot;
  tags_[at] = tag;
}

void MatchIndex::Grow() {
  const size_t size = slots_.empty() ? 64 : slots_.size() * 2;
  // Both allocations come before the first change.
  std::vector<Slot> old_slots(size);
  std::vector<uint16_t> old_tags(size, kEmpty);
  old_slots.swap(slots_);  // the old table moves out, the empty one in
  old_tags.swap(tags_);
  for (size_t i = 0; i < old_slots.size(); ++i) {
    if (old_tags[i] != kEmpty) Place(old_slots[i], old_tags[i]);
  }
}

void MatchIndex::Add(const MatchKey& key, uint64_t serial) {
  const uint64_t hash = Hash(key);
  const size_t at = FindSlot(key, hash);
  if (at != kNoSlot) {
    groups_[slots_[at].group].serials.push_back(serial);
    return;
  }
  if (groups_.size() >= UINT32_MAX) throw std::length_error("match index full");
  // Growing first is harmless should the rest fail: the table is only larger.
  if ((groups_.size() + 1) * 2 > slots_.size()) Grow();
  Group group;
  group.key.reserve(KeyLength(key));
  group.key.append(key.call).append(1, '\0').append(key.band).append(1, '\0');
  group.key.append(key.mode);
  group.hash = hash;
  group.serials.push_back(serial);

  Slot slot;
  slot.hash = static_cast<uint32_t>(hash);
  slot.group = static_cast<uint32_t>(groups_.size());
  if (group.key.size() <= kInlineKey) {
    std::memcpy(slot.key, group.key.data(), group.key.size());
    slot.length = static_cast<uint8_t>(group.key.size());
  } else {
    slot.length = kLongKey;
  }
  groups_.push_back(std::move(group));
  Place(slot, TagOf(hash));
}

void MatchIndex::EraseSlot(size_t at) noexcept {
  // Backward-shift deletion: later slots of the same probe run move up, so
  // no search ever stops early at the hole.
  const size_t mask = slots_.size() - 1;
  for (size_t next = (at + 1) & mask; tags_[next] != kEmpty; next = (next + 1) & mask) {
    const size_t home = slots_[next].hash & mask;
    // The entry at `next` may fill the hole unless its home lies cyclically
    // in (at, next].
    const bool stays = at <= next ? (home > at && home <= next) : (home > at || home <= next);
    if (stays) continue;
    slots_[at] = slots_[next];
    tags_[at] = tags_[next];
    at = next;
  }
  tags_[at] = kEmpty;
}

void MatchIndex::Remove(const MatchKey& key, uint64_t serial) noexcept {
  const size_t at = FindSlot(key, Hash(key));
  if (at == kNoSlot) return;
  const uint32_t group = slots_[at].group;
  std::vector<uint64_t>& serials = groups_[group].serials;
  const auto found = std::lower_bound(serials.begin(), serials.end(), serial);
  if (found == serials.end() || *found != serial) return;
  serials.erase(found);
  if (!serials.empty()) return;

  EraseSlot(at);
  // The last group moves into the freed place, so the groups stay dense.
  const uint32_t last = static_cast<uint32_t>(groups_.size() - 1);
  if (group != last) {
    slots_[FindSlotOfGroup(last)].group = group;
    groups_[group] = std::move(groups_[last]);
  }
  groups_.pop_back();
}

void MatchIndex::Clear() noexcept {
  slots_.clear();
  tags_.clear();
  groups_.clear();
}

}  // namespace velkaro
