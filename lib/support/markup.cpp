#include "support/markup.h"

#include <cstddef>

#include "support/text.h"

namespace {

// The length of the character of UTF-8 that starts `bytes` at `at`, or 0
// when none does that XML takes: neither U+FFFE nor U+FFFF are characters
// there.
std::size_t xml_character_length(std::string_view bytes, std::size_t at) {
  support::Utf8Character character = support::utf8_character_at(bytes, at);
  if (character.code_point == 0xFFFE || character.code_point == 0xFFFF) return 0;
  return character.length;
}

}  // namespace

std::string markup_text(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    unsigned char c = static_cast<unsigned char>(bytes[at]);
    switch (c) {
      case '&': text += "&amp;"; continue;
      case '<': text += "&lt;"; continue;
      case '>': text += "&gt;"; continue;
      case '"': text += "&quot;"; continue;
      case '\'': text += "&#39;"; continue;
      default: break;
    }
    if (c < 0x80) {
      // A control character other than a line end or a tab would not show.
      text += c < 0x20 && c != '\n' && c != '\t' ? std::string("\xEF\xBF\xBD") : std::string(1, static_cast<char>(c));
      continue;
    }
    if (std::size_t length = xml_character_length(bytes, at)) {
      text.append(bytes.substr(at, length));
      at += length - 1;
      continue;
    }
    support::append_latin1_byte(text, c);
  }
  return text;
}
