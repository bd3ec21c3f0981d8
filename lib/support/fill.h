#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace support {

// Appends `format` to `out` with each "%s" replaced, in order, by the next of
// `values`; a mark left without a value gives nothing. The format is always
// one of the program's own literals: a value goes in as it stands, so a "%"
// that a merchant wrote is never read as a mark.
void append_filled(std::string& out, std::string_view format, std::initializer_list<std::string_view> values);

// `format` with its "%s" marks filled as append_filled fills them.
std::string fill(std::string_view format, std::initializer_list<std::string_view> values);

}  // namespace support
