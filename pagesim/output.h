#pragma once

#include <string>
#include <string_view>

// Appends bytes to the page being written: standard output in the program, a
// string while capture_output is in force (tests). Text is always data, never
// a format, so a "%" in an option or a template prints as itself.
void emit(std::string_view bytes);

// Sends every later emit into `sink`; nullptr goes back to standard output.
void capture_output(std::string* sink);

// Flushes standard output; false when anything written to it was lost (a full
// disk, /dev/full).
bool finish_output();
