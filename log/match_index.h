// The log's index: for each distinct call, band and mode, the serials of the
// records that carry them, in increasing order.
//
// An open-addressing hash table with linear probing. Beside the slots runs a
// list of 16-bit tags, one per slot, small enough to stay in the processor's
// cache for any log a contest makes: a key that is absent (a new call) is
// mostly told from the tags alone. A slot holds the key itself when it is
// short (a contest call, "40m" and the mode always are), so a present key
// costs one more cache line; the serials sit in a separate list of groups.
//
// Thread safety: none.

#ifndef VELKARO_LOG_MATCH_INDEX_H_
#define VELKARO_LOG_MATCH_INDEX_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

// The call, band and mode a record is found by, compared byte for byte.
struct MatchKey {
  std::string_view call;
  std::string_view band;
  std::string_view mode;
};

class MatchIndex {
 public:
  // The serials of the records with `key`, ascending; null when there are none.
  const std::vector<uint64_t>* Find(const MatchKey& key) const;
  bool Contains(const MatchKey& key) const { return FindSlot(key, Hash(key)) != kNoSlot; }

  // Records `serial`, which must exceed every serial given before. Strong
  // guarantee: when memory runs out the index is unchanged and
  // std::bad_alloc propagates.
  void Add(const MatchKey& key, uint64_t serial);
  // Forgets `serial` under `key`; does nothing when it is not there. Never
  // allocates, so it cannot fail.
  void Remove(const MatchKey& key, uint64_t serial) noexcept;
  void Clear() noexcept;

 private:
  static constexpr uint16_t kEmpty = 0;       // the tag of a free slot
  static constexpr uint8_t kLongKey = 0xFF;  // the key is in the group only
  static constexpr size_t kInlineKey = 23;
  static constexpr size_t kNoSlot = static_cast<size_t>(-1);

  // 32 bytes: two slots to a cache line.
  struct Slot {
    char key[kInlineKey];  // call NUL band NUL mode, when it fits
    uint8_t length = 0;
    uint32_t hash = 0;  // the low half of the key's hash: its home slot
    uint32_t group = 0;
  };
  struct Group {
    std::string key;  // call NUL band NUL mode: texts from the host hold no NUL
    uint64_t hash = 0;
    std::vector<uint64_t> serials;
  };

  static uint64_t Hash(const MatchKey& key);
  static uint16_t TagOf(uint64_t hash);
  static size_t KeyLength(const MatchKey& key);
  static bool SameKey(const char* stored, size_t length, const MatchKey& key);
  bool SlotHolds(const Slot& slot, uint32_t hash, const MatchKey& key) const;
  size_t FindSlot(const MatchKey& key, uint64_t hash) const;
  size_t FindSlotOfGroup(uint32_t group) const;
  void Place(const Slot& slot, uint16_t tag);
  void Grow();
  void EraseSlot(size_t at) noexcept;

  std::vector<Slot> slots_;  // a power of two long, at most half full
  std::vector<uint16_t> tags_;  // tags_[i] belongs to slots_[i]; kEmpty: free
  std::vector<Group> groups_;
};

}  // namespace velkaro

#endif  // VELKARO_LOG_MATCH_INDEX_H_
