// Two checks of batchcheck-make's JSON Lines reader. Any bytes as JSON
// Lines: a batch or one message, never a crash. Any bytes as a Request file:
// batchcheck-describe --json, then batchcheck-make --json, give the same
// bytes back (an empty file, no record, is refused instead).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "describe.h"
#include "fuzz_support.h"
#include "make_json.h"

using namespace batch;
using namespace support;

namespace {

// make_from_json on `lines`; the batch, or false.
bool make(std::string_view lines, bool renumber, std::string& batch, std::string& err) {
  std::FILE* in = fuzz::stream_of(lines);
  char* buffer = nullptr;
  size_t buffer_size = 0;
  std::FILE* out = open_memstream(&buffer, &buffer_size);
  if (!out) std::abort();
  BlockWriter output = make_block_writer(out);
  bool made = make_from_json(in, JsonOptions{lines.size() % 2 ? CRLF : LF, renumber}, output, &err) &&
              flush_block_writer(output);
  std::fclose(in);
  std::fclose(out);
  batch.assign(buffer, buffer_size);
  std::free(buffer);
  return made;
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
  char* buffer = nullptr;
  size_t buffer_size = 0;
  std::FILE* described = open_memstream(&buffer, &buffer_size);
  if (!described) std::abort();
  BlockWriter writer = make_block_writer(described);
  Verdict verdict = Verdict::FILE_FAILED;
  bool whole = describe_request_file(options, writer, &verdict, &err) && flush_block_writer(writer);
  std::fclose(described);
  std::string lines(buffer, buffer_size);
  std::free(buffer);
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
