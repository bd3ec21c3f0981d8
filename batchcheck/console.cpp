#include "console.h"

#include <cstdio>
#include <string>

void say(std::initializer_list<std::string_view> pieces) {
  // One write per message: a batch can draw a message for each of its
  // million records. The room is kept from one message to the next.
  static std::string message;
  message.clear();
  for (std::string_view piece : pieces) message.append(piece);
  if (message.empty()) return;
  if (std::fwrite(message.data(), 1, message.size(), stdout) != message.size() || std::ferror(stdout))
    throw ConsoleWriteError{};
}

void flush_console() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) throw ConsoleWriteError{};
}

std::string decimal(int64_t value) { return std::to_string(value); }
