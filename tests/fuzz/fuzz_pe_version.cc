// Fuzzes the reader of an executable's fixed file-version record on
// arbitrary bytes: it must never read outside them, and it may only find a
// version where the bytes hold the record's signature.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "port/pe_version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly `size` bytes, so any read past them is caught.
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto version = velkaro::pe::ReadFixedFileVersion(bytes);
  if (version) {
    const bool signed_record =
        bytes.compare(0, 2, "MZ") == 0 &&
        bytes.find(std::string("\xBD\x04\xEF\xFE", 4)) != std::string::npos;
    if (!signed_record) {
      std::fprintf(stderr, "fuzz_pe_version: a version without a version record\n");
      std::abort();
    }
  }
  return 0;
}
