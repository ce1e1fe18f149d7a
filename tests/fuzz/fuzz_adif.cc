// Fuzzes the ADIF reader of the replay tool. Besides memory safety it checks
// that names come out upper-case, values are the file's own bytes, skipped
// records stay out, and that the records read, written back as ADIF, read
// back to the same records.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "tools/adif_reader.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_adif: %s\n", what);
  std::abort();
}

std::string Written(const velkaro::adif::ReadResult& log) {
  std::string out;
  for (const auto& record : log.records) {
    for (const auto& field : record.fields) {
      out += "<" + field.name + ":" + std::to_string(field.value.size());
      if (!field.type.empty()) out += ":" + field.type;
      out += ">" + field.value;
    }
    out += "<EOR>\n";
  }
  return out;
}

bool SameFields(const velkaro::adif::Record& a, const velkaro::adif::Record& b) {
  if (a.fields.size() != b.fields.size()) return false;
  for (size_t i = 0; i < a.fields.size(); ++i) {
    const auto& x = a.fields[i];
    const auto& y = b.fields[i];
    if (x.name != y.name || x.type != y.type || x.value != y.value) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const velkaro::adif::ReadResult log = velkaro::adif::ReadAdif(bytes);

  std::set<int> skipped;
  for (const auto& d : log.diagnostics) {
    if (d.skipped) skipped.insert(d.record);
  }
  int previous = 0;
  for (const auto& record : log.records) {
    Require(record.number > previous, "record numbers do not increase");
    previous = record.number;
    Require(skipped.count(record.number) == 0, "a skipped record was kept");
    std::set<std::string> names;
    for (const auto& field : record.fields) {
      Require(!field.name.empty(), "a field without a name");
      for (char c : field.name + field.type) {
        Require(!(c >= 'a' && c <= 'z'), "a name or type is not upper-case");
      }
      Require(names.insert(field.name).second, "a field name repeats in a record");
      Require(bytes.find(field.value) != std::string_view::npos,
              "a value is not taken from the data");
    }
  }

  const velkaro::adif::ReadResult again = velkaro::adif::ReadAdif(Written(log));
  Require(again.records.size() == log.records.size(), "records lost when written back");
  for (size_t i = 0; i < log.records.size(); ++i) {
    Require(SameFields(log.records[i], again.records[i]),
            "a record changed when written back");
  }
  return 0;
}
