#include "support/text.h"

namespace support {

namespace {

// The reason a character has no place in a record of the merchant's.
std::string no_latin1_form(uint32_t code_point) {
  static const char DIGITS[] = "0123456789ABCDEF";
  std::string hex;
  for (int shift = code_point > 0xFFFF ? 20 : 12; shift >= 0; shift -= 4)
    hex.push_back(DIGITS[(code_point >> shift) & 15]);
  return "the character U+" + hex + " has no ISO-8859-1 form";
}

}  // namespace

Utf8Character utf8_character_at(std::string_view bytes, size_t at) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
  unsigned char lead = byte(0);
  size_t length = lead >= 0xF0 && lead <= 0xF4   ? 4
                  : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xC2 && lead <= 0xDF ? 2
                                                 : 0;
  if (length == 0 || at + length > bytes.size()) return {};
  uint32_t value = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {};
    value = (value << 6) | (byte(i) & 0x3F);
  }
  // The second byte's range that the lead allows: no overlong form, no
  // surrogate, nothing past U+10FFFF.
  unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
  unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  if (byte(1) < low || byte(1) > high) return {};
  return {length, value};
}

void latin1_to_utf8(std::string_view text, std::string& out) {
  out.clear();
  for (char c : text) append_latin1_byte(out, static_cast<unsigned char>(c));
}

std::string latin1_to_utf8(std::string_view text) {
  std::string out;
  latin1_to_utf8(text, out);
  return out;
}

bool utf8_to_latin1(std::string_view text, std::string& out, std::string* err) {
  out.clear();
  size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      // Plain ASCII, the usual case, in one stretch.
      size_t end = i + 1;
      while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
      out.append(text.data() + i, end - i);
      i = end;
      continue;
    }
    Utf8Character character = utf8_character_at(text, i);
    if (character.length == 0) {
      *err = "invalid UTF-8";
      return false;
    }
    if (character.code_point > 0xFF) {
      *err = no_latin1_form(character.code_point);
      return false;
    }
    out.push_back(static_cast<char>(character.code_point));
    i += character.length;
  }
  return true;
}

}  // namespace support
