#include "support/escaped_text.h"

void append_escaped(std::string& out, std::string_view text, bool escape_quoting) {
  static const char DIGITS[] = "0123456789abcdef";
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if ((c == '"' || c == '\\') && escape_quoting) {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\r') {
      out.append("\\r");
    } else if (c == '\n') {
      out.append("\\n");
    } else if (c == '\t') {
      out.append("\\t");
    } else if (byte < 0x20 || byte > 0x7e) {
      out.append("\\x");
      out.push_back(DIGITS[byte >> 4]);
      out.push_back(DIGITS[byte & 0xf]);
    } else {
      out.push_back(c);
    }
  }
}

void append_quoted(std::string& out, std::string_view text) {
  out.push_back('"');
  append_escaped(out, text, true);
  out.push_back('"');
}

std::string quoted_in_message(std::string_view text, size_t most) {
  std::string out;
  append_quoted(out, text.substr(0, most));
  if (text.size() > most) out.append("...");
  return out;
}
