#include "support/help_version.h"

#include <cstdio>
#include <string>

#include "version.h"

namespace {

// Writes `text` whole to standard output and flushes it; false on any error.
bool write_stdout(std::string_view text) {
  bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

}  // namespace

int answer_help_or_version(int argc, const char* const* argv, std::string_view name, std::string_view help,
                           int failure_status) {
  if (argc != 2) return -1;
  std::string_view argument = argv[1];
  std::string text;
  if (argument == "--help") {
    text = help;
  } else if (argument == "--version") {
    text.append(name).append(" ").append(ORBA_VERSION).append("\n");
  } else {
    return -1;
  }
  if (write_stdout(text)) return 0;
  std::string message(name);
  message += ": cannot write to standard output\n";
  std::fwrite(message.data(), 1, message.size(), stderr);
  return failure_status;
}
