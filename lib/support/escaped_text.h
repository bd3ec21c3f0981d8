#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Bytes of a merchant's file shown in a line of text: batchcheck-describe's
// views and batchcheck-make's messages show them alike, so that no byte of a
// file can move the cursor, end the line or colour the terminal.

// Appends `text` with every byte outside printable ASCII escaped (\r, \n,
// \t, \xNN), and the quote and the backslash too when `escape_quoting`.
void append_escaped(std::string& out, std::string_view text, bool escape_quoting);

// Appends `text` escaped, between double quotes.
void append_quoted(std::string& out, std::string_view text);

// A value of the merchant's as a one-line message names it: between double
// quotes, escaped as append_quoted does, and cut after its first `most`
// bytes with "..." after the closing quote, so that a value of a megabyte
// still makes a short line.
std::string quoted_in_message(std::string_view text, size_t most = 40);
