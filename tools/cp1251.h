// Conversion between UTF-8, the encoding of ADIF logs and of the terminal, and
// Windows-1251, the single-byte encoding in which the plug-in takes and gives
// every text.

#ifndef VELKARO_TOOLS_CP1251_H_
#define VELKARO_TOOLS_CP1251_H_

#include <string>
#include <string_view>

namespace velkaro::replay {

// UTF-8 to Windows-1251. A character that Windows-1251 cannot hold, and every
// byte of a malformed UTF-8 sequence, becomes "?". ASCII passes unchanged.
std::string Utf8ToCp1251(std::string_view utf8);

// Windows-1251 to UTF-8. The one unassigned byte, 0x98, becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view cp1251);

}  // namespace velkaro::replay

#endif  // VELKARO_TOOLS_CP1251_H_
