#include "batch/record_layout.h"

namespace batch {

int64_t numeric_value(std::string_view text) {
  size_t i = 0;
  auto is_space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t MAX_VALUE = INT32_MAX;  // wider texts saturate instead of wrapping
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > MAX_VALUE) value = MAX_VALUE;
  }
  return negative ? -value : value;
}

std::string zero_padded(int64_t value, size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

std::string_view last_two_chars(std::string_view text) {
  return text.size() < 2 ? std::string_view() : text.substr(text.size() - 2);
}

bool is_all_digits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace batch
