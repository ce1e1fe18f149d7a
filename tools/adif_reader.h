// A reader for ADIF 3 logs in the tagged form (.adi): bytes in, records and
// diagnostics out, with no I/O, so that the replay tool, the tests and the
// fuzz target share it.
//
// A file that does not start with '<' begins with a header, which ends at
// <EOH>; a file that starts with '<' has none. A record is a run of fields
// <NAME:LEN>value or <NAME:LEN:TYPE>value ended by <EOR>. Tag names are matched
// without regard to case; LEN counts bytes; text between fields is ignored.
//
// Example:
//   ReadResult log = ReadAdif("x<EOH><CALL:4>R3AB<EOR>");
//   log.records[0].Find("CALL")  // -> "R3AB"

#ifndef VELKARO_TOOLS_ADIF_READER_H_
#define VELKARO_TOOLS_ADIF_READER_H_

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::adif {

struct Field {
  std::string name;   // upper-case
  std::string type;   // the data-type indicator, upper-case; often empty
  std::string value;  // the LEN bytes exactly as in the file
};

struct Record {
  int number = 0;  // 1 for the first record of the file, counting skipped ones
  std::vector<Field> fields;

  // The value of the first field of that (upper-case) name, or null.
  const std::string* Find(std::string_view name) const;
};

struct Diagnostic {
  int record = 0;     // the record it concerns; 0 for the header or the file
  std::string field;  // upper-case field name, empty when about a whole record
  std::string message;
  bool skipped = false;  // the record was left out of ReadResult::records
};

struct ReadResult {
  std::vector<Record> records;  // complete records, in file order
  std::vector<Diagnostic> diagnostics;
};

// Reads a whole log. Never fails: whatever cannot be read is described in
// the diagnostics. A record that is cut short (a field length running past
// the end of the data, no <EOR> before the end) or holds a malformed tag is
// skipped; the records around it are kept.
ReadResult ReadAdif(std::string_view bytes);

}  // namespace velkaro::adif

#endif  // VELKARO_TOOLS_ADIF_READER_H_
