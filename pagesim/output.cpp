#include "output.h"

#include <cstdio>

namespace {
std::string* capture = nullptr;
bool write_failed = false;
}  // namespace

void emit(std::string_view bytes) {
  if (capture) {
    capture->append(bytes);
    return;
  }
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) write_failed = true;
}

void capture_output(std::string* sink) { capture = sink; }

bool finish_output() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) write_failed = true;
  return !write_failed;
}
