#include "tools/cp1251.h"

#include <cstdint>

namespace velkaro::replay {
namespace {

// Unicode code points of the bytes 0x80 to 0xBF; 0xC0 to 0xFF are the 64
// letters from U+0410 on. 0 marks the unassigned 0x98.
constexpr char32_t kUpperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

char32_t CodePointOf(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
  const char32_t point = kUpperHalf[byte - 0x80];
  return point == 0 ? 0xFFFD : point;
}

// The Windows-1251 byte of a code point, or '?' when there is none.
char ByteOf(char32_t point) {
  if (point < 0x80) return static_cast<char>(point);
  if (point >= 0x0410 && point <= 0x044F)
    return static_cast<char>(0xC0 + (point - 0x0410));
  for (int i = 0; i < 64; ++i) {
    if (kUpperHalf[i] == point) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void AppendUtf8(char32_t point, std::string* out) {
  if (point < 0x80) {
    out->push_back(static_cast<char>(point));
  } else if (point < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (point >> 6)));
    out->push_back(static_cast<char>(0x80 | (point & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xE0 | (point >> 12)));
    out->push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (point & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at text[*pos] and advances *pos past it. A
// malformed sequence (bad lead byte, missing or bad continuation, overlong
// form, surrogate, beyond U+10FFFF) yields no code point and consumes one byte.
bool NextCodePoint(std::string_view text, size_t* pos, char32_t* point) {
  const auto lead = static_cast<unsigned char>(text[*pos]);
  int length;
  char32_t value;
  char32_t minimum;
  if (lead < 0x80) {
    *point = lead;
    ++*pos;
    return true;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    ++*pos;
    return false;
  }
  if (text.size() - *pos < static_cast<size_t>(length)) {
    ++*pos;
    return false;
  }
  for (int i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[*pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++*pos;
      return false;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++*pos;
    return false;
  }
  *pos += length;
  *point = value;
  return true;
}

}  // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t point;
    out.push_back(NextCodePoint(utf8, &pos, &point) ? ByteOf(point) : '?');
  }
  return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char c : cp1251) AppendUtf8(CodePointOf(static_cast<unsigned char>(c)), &out);
  return out;
}

}  // namespace velkaro::replay
