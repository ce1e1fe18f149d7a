#include "tools/adif_reader.h"

#include <cstdint>

namespace velkaro::adif {
namespace {

enum class Scan { kTag, kEnd, kCutTag };

struct Tag {
  size_t end = 0;  // just past the '>'
  std::string name;
  bool has_length = false;
  std::string length_text;
  std::string type;
  int colons = 0;
};

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// Text between '<' and '>' that can be a tag name: no blanks, no brackets.
bool IsNameChar(char c) {
  return c > ' ' && c != '<' && c != '>' && c != ':' && c != ',' && c != '{' &&
         c != '}' && c != 0x7F;
}

// Finds the next tag at or after `from`. A '<' that does not open a
// well-formed tag (a blank, an empty name) is free text and passed over.
Scan NextTag(std::string_view bytes, size_t from, Tag* tag) {
  size_t open = bytes.find('<', from);
  while (open != std::string_view::npos) {
    size_t i = open + 1;
    while (i < bytes.size() && IsNameChar(bytes[i])) ++i;
    if (i == bytes.size()) return Scan::kCutTag;
    if (i > open + 1 && (bytes[i] == '>' || bytes[i] == ':')) {
      *tag = Tag();
      tag->name = Upper(bytes.substr(open + 1, i - open - 1));
      size_t close = bytes.find_first_of("<>", i);
      if (close == std::string_view::npos) return Scan::kCutTag;
      if (bytes[close] == '>') {
        std::string_view length_part = bytes.substr(i, close - i);  // "" or ":LEN[:TYPE]"
        if (!length_part.empty()) {
          tag->has_length = true;
          length_part.remove_prefix(1);
          tag->colons = 1;
          const size_t colon = length_part.find(':');
          tag->length_text = std::string(length_part.substr(0, colon));
          if (colon != std::string_view::npos) {
            std::string_view rest = length_part.substr(colon + 1);
            tag->colons += 1;
            for (char c : rest) tag->colons += c == ':' ? 1 : 0;
            tag->type = Upper(rest);
          }
        }
        tag->end = close + 1;
        return Scan::kTag;
      }
      // A '<' before the '>': this one was free text.
      open = close;
      continue;
    }
    open = bytes.find('<', open + 1);
  }
  return Scan::kEnd;
}

// The decimal length of a field; false for anything but 1 to 18 digits.
bool ParseLength(const std::string& text, uint64_t* length) {
  if (text.empty() || text.size() > 18) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  *length = value;
  return true;
}

// Where the records begin: after <EOH> when the file has a header, else at 0.
size_t SkipHeader(std::string_view bytes, ReadResult* result) {
  if (bytes.empty() || bytes[0] == '<') return 0;
  size_t pos = 0;
  Tag tag;
  for (;;) {
    const Scan scan = NextTag(bytes, pos, &tag);
    if (scan == Scan::kTag && tag.name == "EOH") return tag.end;
    uint64_t length = 0;
    const bool field = scan == Scan::kTag && tag.name != "EOR" && tag.has_length &&
                       ParseLength(tag.length_text, &length) &&
                       length <= bytes.size() - tag.end;
    if (!field && !(scan == Scan::kTag && !tag.has_length && tag.name != "EOR")) break;
    pos = tag.end + (field ? static_cast<size_t>(length) : 0);
  }
  result->diagnostics.push_back(
      {0, "", "the header has no <EOH>; reading records from its first tag", false});
  const size_t first_tag = bytes.find('<');
  return first_tag == std::string_view::npos ? bytes.size() : first_tag;
}

class RecordBuilder {
 public:
  explicit RecordBuilder(ReadResult* result) : result_(result) { current_.number = 1; }

  int number() const { return current_.number; }
  bool empty() const { return current_.fields.empty() && !broken_; }
  bool any_complete() const { return current_.number > 1; }

  void Note(const std::string& field, const std::string& message) {
    result_->diagnostics.push_back({current_.number, field, message, false});
  }

  // The record cannot be trusted; it is dropped at its end.
  void Break(const std::string& field, const std::string& message) {
    result_->diagnostics.push_back(
        {current_.number, field, message + "; record skipped", true});
    broken_ = true;
  }

  void Add(Field field) {
    if (current_.Find(field.name) != nullptr) {
      Note(field.name, "the field is repeated; the first value is used");
      return;
    }
    current_.fields.push_back(std::move(field));
  }

  void Discard() { current_.fields.clear(); }

  void End() {
    if (!broken_) result_->records.push_back(std::move(current_));
    const int next = current_.number + 1;
    current_ = Record();
    current_.number = next;
    broken_ = false;
  }

  // End of data with a record open: it is incomplete.
  void Unfinished(const std::string& why) {
    if (empty()) return;
    if (!broken_) {
      result_->diagnostics.push_back(
          {current_.number, "", why + "; record skipped", true});
    }
  }

 private:
  ReadResult* result_;
  Record current_;
  bool broken_ = false;
};

}  // namespace

const std::string* Record::Find(std::string_view name) const {
  for (const Field& field : fields) {
    if (field.name == name) return &field.value;
  }
  return nullptr;
}

ReadResult ReadAdif(std::string_view bytes) {
  ReadResult result;
  size_t pos = SkipHeader(bytes, &result);
  const bool had_header = pos > 0;
  RecordBuilder record(&result);
  Tag tag;
  for (;;) {
    const Scan scan = NextTag(bytes, pos, &tag);
    if (scan == Scan::kEnd) {
      record.Unfinished("no <EOR> before the end of the data");
      break;
    }
    if (scan == Scan::kCutTag) {
      record.Break("", "the data ends inside a tag");
      break;
    }
    pos = tag.end;
    if (tag.name == "EOR") {
      record.End();
      continue;
    }
    if (tag.name == "EOH") {
      // A header written without leading text: what came before was header.
      if (!had_header && !record.any_complete()) {
        record.Discard();
      } else {
        record.Note("", "a stray <EOH> is ignored");
      }
      continue;
    }
    if (!tag.has_length) {
      record.Note(tag.name, "a tag without a length is ignored");
      continue;
    }
    uint64_t length = 0;
    if (tag.colons > 2) {
      record.Break(tag.name, "the tag has more than two colons");
      continue;
    }
    if (!ParseLength(tag.length_text, &length)) {
      record.Break(tag.name, "the length \"" + tag.length_text + "\" is not a number");
      continue;
    }
    const size_t left = bytes.size() - tag.end;
    if (length > left) {
      record.Break(tag.name, "the length " + std::to_string(length) +
                                 " runs past the end of the data (" +
                                 std::to_string(left) + " bytes left)");
      break;
    }
    Field field;
    field.name = tag.name;
    field.type = tag.type;
    field.value = std::string(bytes.substr(tag.end, static_cast<size_t>(length)));
    pos = tag.end + static_cast<size_t>(length);
    record.Add(std::move(field));
  }
  return result;
}

}  // namespace velkaro::adif
