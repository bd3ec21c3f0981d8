#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "batch/messages.h"

namespace batch {

// Thrown when standard output refuses a message (a full disk, /dev/full): a
// run whose report is lost must not pass for one that was read.
struct ConsoleWriteError {};

// Writes `text` to standard output byte for byte: a field holding "%" or NUL
// bytes is printed as it stands. Throws ConsoleWriteError when the output
// fails.
void say(std::string_view text);

// Writes `message` with `values` in place of its marks, the same way.
void say(Message message, std::initializer_list<std::string_view> values = {});

// Hands everything said so far to standard output; throws ConsoleWriteError
// when it fails.
void flush_console();

// A number in decimal, as the messages show it.
std::string decimal(int64_t value);

}  // namespace batch
