#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Appends one entry to the TID file: the trimmed transaction_id and a
// carriage return and line feed.
void write_tid_entry(FILE* tid_file, std::string_view transaction_id);

// Reports every transaction_id of the TID file that a later entry repeats,
// then deletes the TID file. Returns 0 when all are unique, 1 when one
// repeats, 2 when the TID file cannot be read (it is then left in place).
int check_duplicate_transactions(const std::string& tid_name);

// The positions (0-based, in file order) of the entries that a later entry
// repeats: a value present k times is listed at each occurrence but the last.
std::vector<size_t> repeated_entries(const std::vector<std::string_view>& entries);
