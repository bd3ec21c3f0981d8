// Two checks of batchcheck-make's JSON Lines reader. Any bytes as JSON
// Lines: a batch or one message, never a crash. Any bytes as a Request file:
// batchcheck-describe --json, then batchcheck-make --json, give the same
// bytes back (an empty file, no record, is refused instead).
#include <cstddef>
#include <cstdint>
#include <string>

#include "describe.h"
#include "fuzz_support.h"
#include "make_json.h"

using namespace batch;
using namespace support;

namespace {

// make_from_json on `lines`; the batch, or false.
bool make(std::string_view lines, bool renumber, std::string& batch, std::string& err) {
  return fuzz::write_from_stream(
      lines,
      [&](std::FILE* in, BlockWriter& output) {
        return make_from_json(in, JsonOptions{lines.size() % 2 ? CRLF : LF, renumber}, output, &err);
      },
      batch);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enter_private_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes = fuzz::bytes(data, size);
  std::string batch, err;
  fuzz::require(make(bytes, size % 3 == 0, batch, err) || !err.empty(), "refused without a message");

  fuzz::write_file("req", bytes);
  DescribeOptions options;
  options.file = "req";
  options.json = true;
  Verdict verdict = Verdict::FILE_FAILED;
  std::string lines;
  bool whole = fuzz::write_in_memory(
      [&](BlockWriter& writer) { return describe_request_file(options, writer, &verdict, &err); }, lines);
  fuzz::require(whole && verdict != Verdict::FILE_FAILED, "describe failed");
  err.clear();
  bool remade = make(lines, false, batch, err);
  // An empty file has no record to give back: its description makes no batch.
  if (bytes.empty()) {
    fuzz::require(!remade && !err.empty(), "an empty batch made from no record");
    return 0;
  }
  fuzz::require(remade, err.c_str());
  fuzz::require(batch == bytes, "the round trip changed the file");
  return 0;
}
