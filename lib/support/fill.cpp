#include "support/fill.h"

namespace support {

void append_filled(std::string& out, std::string_view format, std::initializer_list<std::string_view> values) {
  const std::string_view* value = values.begin();
  for (std::size_t at; (at = format.find("%s")) != std::string_view::npos;) {
    out.append(format.substr(0, at));
    if (value != values.end()) out.append(*value++);
    format.remove_prefix(at + 2);
  }
  out.append(format);
}

std::string fill(std::string_view format, std::initializer_list<std::string_view> values) {
  std::string out;
  append_filled(out, format, values);
  return out;
}

}  // namespace support
