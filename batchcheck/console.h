#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Writes the pieces to standard output one after the other, byte for byte:
// a field holding "%" or NUL bytes is printed as it stands.
void say(std::initializer_list<std::string_view> pieces);

// A number in decimal, as the messages show it.
std::string decimal(int64_t value);
