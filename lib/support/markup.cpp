#include "support/markup.h"

#include <cstddef>

namespace {

// The length of the UTF-8 sequence that starts `bytes` at `at`, or 0 when no
// valid one does: no overlong form, no surrogate, nothing past U+10FFFF, and
// neither U+FFFE nor U+FFFF, which XML does not take as characters.
std::size_t utf8_length(std::string_view bytes, std::size_t at) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
  unsigned char lead = byte(0);
  std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead <= 0xDF ? 2 : 0;
  if (length == 0 || at + length > bytes.size()) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((byte(i) & 0xC0) != 0x80) return 0;
  // The second byte's range that the lead allows.
  unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
  unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  if (byte(1) < low || byte(1) > high) return 0;
  if (lead == 0xEF && byte(1) == 0xBF && byte(2) >= 0xBE) return 0;
  return length;
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
    if (std::size_t length = utf8_length(bytes, at)) {
      text.append(bytes.substr(at, length));
      at += length - 1;
      continue;
    }
    text += static_cast<char>(0xC0 | (c >> 6));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
  return text;
}
