#include "console.h"

#include <cstdio>

void say(std::initializer_list<std::string_view> pieces) {
  for (std::string_view piece : pieces)
    if (!piece.empty()) std::fwrite(piece.data(), 1, piece.size(), stdout);
}

std::string decimal(int64_t value) { return std::to_string(value); }
