#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Appends one entry to the TID file: the trimmed transaction_id and a
// carriage return and line feed.
void write_tid_entry(FILE* tid_file, std::string_view transaction_id);

// The entry a message of the check is printed for when it concerns no entry.
constexpr int64_t NO_ENTRY = -1;

// Receives each message of the check: the entry it is printed for (0 for
// the first entry of the file) or NO_ENTRY, and its exact text.
using TidReport = std::function<void(int64_t entry, std::string_view text)>;

// Reports every transaction_id of the TID file that a later entry repeats,
// then deletes the TID file. Returns 0 when all are unique, 1 when one
// repeats, 2 when the TID file cannot be read (it is then left in place).
int check_duplicate_transactions(const std::string& tid_name, const TidReport& report);

// The same, printing each message at once.
int check_duplicate_transactions(const std::string& tid_name);

// The positions (0-based, in file order) of the entries that a later entry
// repeats: a value present k times is listed at each occurrence but the last.
std::vector<size_t> repeated_entries(const std::vector<std::string_view>& entries);
