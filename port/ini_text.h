// Profile-string (INI) files as text, with the Windows profile semantics:
// sections and keys matched without regard to (ASCII) case, values trimmed of
// blanks and of one pair of enclosing quotes, every other line kept as it
// stands. Pure functions over the file's bytes; the port does the I/O.

#ifndef VELKARO_PORT_INI_TEXT_H_
#define VELKARO_PORT_INI_TEXT_H_

#include <optional>
#include <string>

namespace velkaro::ini {

// The value of `key` in the first section named `section`, or nothing when
// the section or the key is missing. Lines may end in LF or CR LF.
std::optional<std::string> FindValue(const std::string& file, const std::string& section,
                                     const std::string& key);

// The file with `key` set to `value`: an existing key is replaced in place
// (its spelling kept), a new one is appended after the last line of its
// section, and a missing section is appended at the end. Every line of the
// result ends in CR LF.
std::string SetValue(const std::string& file, const std::string& section,
                     const std::string& key, const std::string& value);

// What a read into a 100-byte buffer gives: at most 99 bytes of the value, or
// of the default with its trailing blanks removed.
std::string ProfileRead(const std::optional<std::string>& value,
                        const std::string& default_value);

}  // namespace velkaro::ini

#endif  // VELKARO_PORT_INI_TEXT_H_
