#include "port/pe_version.h"

#include <cstdint>

namespace velkaro::pe {
namespace {

// Bounds-checked little-endian reads; every offset is checked before use.
class Bytes {
 public:
  explicit Bytes(const std::string& data) : data_(data) {}
  bool Has(uint64_t offset, uint64_t length) const {
    return offset <= data_.size() && length <= data_.size() - offset;
  }
  uint32_t U16(uint64_t at) const { return Byte(at) | Byte(at + 1) << 8; }
  uint32_t U32(uint64_t at) const { return U16(at) | U16(at + 2) << 16; }

 private:
  uint32_t Byte(uint64_t at) const { return static_cast<unsigned char>(data_[at]); }
  const std::string& data_;
};

constexpr uint32_t kResourceTypeVersion = 16;
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr int kMaxSections = 96;

struct Section {
  uint32_t address, size, raw_offset, raw_size;
};

// File offset of an address relative to the image, or nothing.
std::optional<uint64_t> OffsetOf(const Bytes& b, uint64_t table, int sections,
                                 uint32_t rva, uint32_t length) {
  for (int i = 0; i < sections; ++i) {
    const uint64_t at = table + 40ull * i;
    Section s{b.U32(at + 12), b.U32(at + 8), b.U32(at + 20), b.U32(at + 16)};
    const uint32_t extent = s.size > s.raw_size ? s.size : s.raw_size;
    if (rva >= s.address && uint64_t{rva} - s.address < extent) {
      const uint64_t offset = uint64_t{s.raw_offset} + (rva - s.address);
      if (b.Has(offset, length)) return offset;
      return std::nullopt;
    }
  }
  return std::nullopt;
}

// The first entry of a resource directory (ids follow names): its value.
std::optional<uint32_t> FirstEntry(const Bytes& b, uint64_t directory,
                                   std::optional<uint32_t> wanted_id) {
  if (!b.Has(directory, 16)) return std::nullopt;
  const uint32_t named = b.U16(directory + 12);
  const uint32_t ids = b.U16(directory + 14);
  for (uint32_t i = 0; i < named + ids; ++i) {
    const uint64_t entry = directory + 16 + 8ull * i;
    if (!b.Has(entry, 8)) return std::nullopt;
    const uint32_t name = b.U32(entry);
    if (wanted_id && ((name & 0x80000000u) || name != *wanted_id)) continue;
    return b.U32(entry + 4);
  }
  return std::nullopt;
}

}  // namespace

std::optional<FileVersion> ReadFixedFileVersion(const std::string& file) {
  const Bytes b(file);
  if (!b.Has(0, 64) || file[0] != 'M' || file[1] != 'Z') return std::nullopt;
  const uint64_t pe = b.U32(0x3C);
  if (!b.Has(pe, 24) || file.compare(pe, 4, std::string("PE\0\0", 4)) != 0) {
    return std::nullopt;
  }
  const int sections = static_cast<int>(b.U16(pe + 6));
  const uint64_t optional_size = b.U16(pe + 20);
  const uint64_t optional = pe + 24;
  if (sections > kMaxSections || optional_size < 2 || !b.Has(optional, optional_size)) {
    return std::nullopt;
  }
  const uint32_t magic = b.U16(optional);
  const uint64_t directories = optional + (magic == 0x20b   ? 112
                                           : magic == 0x10b ? 96
                                                            : 0);
  if (directories == optional) return std::nullopt;
  const uint64_t resource_entry = directories + 2 * 8;  // the resource directory
  if (resource_entry + 8 > optional + optional_size) return std::nullopt;
  const uint64_t table = optional + optional_size;
  if (!b.Has(table, 40ull * sections)) return std::nullopt;

  const uint32_t resource_rva = b.U32(resource_entry);
  const auto root = OffsetOf(b, table, sections, resource_rva, 16);
  if (!root) return std::nullopt;
  // Type RT_VERSION, then the first name, then the first language.
  auto type = FirstEntry(b, *root, kResourceTypeVersion);
  if (!type || !(*type & 0x80000000u)) return std::nullopt;
  auto name = FirstEntry(b, *root + (*type & 0x7FFFFFFFu), std::nullopt);
  if (!name || !(*name & 0x80000000u)) return std::nullopt;
  auto language = FirstEntry(b, *root + (*name & 0x7FFFFFFFu), std::nullopt);
  if (!language || (*language & 0x80000000u)) return std::nullopt;
  const uint64_t data_entry = *root + *language;
  if (!b.Has(data_entry, 16)) return std::nullopt;
  const uint32_t data_rva = b.U32(data_entry);
  const uint32_t data_size = b.U32(data_entry + 4);
  const auto data = OffsetOf(b, table, sections, data_rva, data_size);
  if (!data || data_size < 40) return std::nullopt;

  // VS_VERSIONINFO: three words, the key "VS_VERSION_INFO" in UTF-16 with its
  // NUL, padding to 32 bits, then VS_FIXEDFILEINFO.
  const uint64_t fixed = *data + 40;
  if (!b.Has(fixed, 16) || fixed + 16 > *data + data_size) return std::nullopt;
  if (b.U16(*data + 2) < 52 || b.U32(fixed) != kFixedInfoSignature) return std::nullopt;
  const uint32_t high = b.U32(fixed + 8);
  const uint32_t low = b.U32(fixed + 12);
  return FileVersion{static_cast<uint16_t>(high >> 16), static_cast<uint16_t>(high),
                     static_cast<uint16_t>(low >> 16), static_cast<uint16_t>(low)};
}

}  // namespace velkaro::pe
