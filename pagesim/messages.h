#pragma once

#include <string_view>

// Number of entries in each language row of the catalogue (0 is the text for
// an unknown number, 1 to 64 the page texts).
inline constexpr int kMessageCount = 65;

// The visible wording of every page, in English (language 0) or French
// (language 1): catalogue entry `number`, or entry 0 when the number is
// outside the table. Any language other than French reads the English row.
std::string_view message_text(int number, int language);
