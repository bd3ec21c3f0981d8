#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace support {

// The merchant's files hold ISO-8859-1, one byte a character; what the
// programs write and read around them (JSON, HTML, XML, a command line) is
// UTF-8. The conversions between the two and the check of UTF-8, once.

// One character of UTF-8: how many bytes it takes, 0 where no valid
// sequence starts (an overlong form, a surrogate, a value past U+10FFFF, a
// byte that leads no sequence, or one cut short), and its value.
struct Utf8Character {
  size_t length = 0;
  uint32_t code_point = 0;
};

// The character of UTF-8 that starts at byte `at` of `bytes`.
Utf8Character utf8_character_at(std::string_view bytes, size_t at);

// Appends `byte`, read as the ISO-8859-1 letter the merchant's files mean
// by it, in UTF-8.
inline void append_latin1_byte(std::string& out, unsigned char byte) {
  if (byte < 0x80) {
    out.push_back(static_cast<char>(byte));
    return;
  }
  out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
  out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
}

// `text` read as ISO-8859-1, in UTF-8, into `out`, which it replaces: bytes
// 0x80-0xFF become U+0080-U+00FF, so any record gives valid UTF-8 and a
// script gets the exact bytes back.
void latin1_to_utf8(std::string_view text, std::string& out);

// The same, as a new string.
std::string latin1_to_utf8(std::string_view text);

// `text`, UTF-8, as ISO-8859-1 in `out`, which it replaces. False (why in
// *err, in the words of batchcheck-make's messages: "invalid UTF-8", "the
// character U+20AC has no ISO-8859-1 form") at the first character that is
// no UTF-8 or has no ISO-8859-1 form; `out` then holds the text before it.
bool utf8_to_latin1(std::string_view text, std::string& out, std::string* err);

}  // namespace support
