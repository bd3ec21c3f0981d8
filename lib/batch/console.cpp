#include "batch/console.h"

#include <cstdio>
#include <string>

namespace batch {

void say(std::string_view text) {
  if (text.empty()) return;
  // One write per message: a batch can draw a message for each of its
  // million records.
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::ferror(stdout))
    throw ConsoleWriteError{};
}

void say(Message message, std::initializer_list<std::string_view> values) {
  // The room is kept from one message to the next.
  static std::string text;
  text.clear();
  append_message(text, message, values);
  say(text);
}

void flush_console() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) throw ConsoleWriteError{};
}

std::string decimal(int64_t value) { return std::to_string(value); }

}  // namespace batch
