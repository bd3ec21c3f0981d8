// gen_request: writes a valid Request file of N body records, for trying
// batchcheck on big batches. The body records take every response code path
// in turn; --foreign-bodies makes each of them name another merchant, so the
// verification prints one message per body record.
#include <cstdio>
#include <string>
#include <string_view>

#include "request_generator.h"

namespace {

int usage() {
  std::fputs("usage: gen_request [--foreign-bodies] <body_records (0-999999)> <request_file>\n"
             "Writes a batch for merchant SHOP1, country FR, file number 12.\n",
             stderr);
  return 1;
}

// A whole decimal count, or -1.
long long parse_count(std::string_view text) {
  if (text.empty() || text.size() > 6) return -1;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  BatchShape shape;
  int arg = 1;
  if (arg < argc && std::string_view(argv[arg]) == "--foreign-bodies") {
    shape.foreign_bodies = true;
    ++arg;
  }
  if (argc - arg != 2) return usage();
  shape.body_records = parse_count(argv[arg]);
  if (shape.body_records < 0) return usage();
  std::FILE* out = std::fopen(argv[arg + 1], "wb");
  if (!out) {
    std::fprintf(stderr, "gen_request: cannot write %s\n", argv[arg + 1]);
    return 2;
  }
  bool ok = write_request(shape, out);
  if (std::fclose(out) != 0) ok = false;
  if (!ok) {
    std::fprintf(stderr, "gen_request: writing %s failed\n", argv[arg + 1]);
    return 2;
  }
  return 0;
}
