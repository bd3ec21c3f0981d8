// Any bytes as batchcheck-make's table: either one message on bad input, or
// a batch of whole records, each 200 characters as batchcheck reads them,
// header first, footer last counting the body records.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "make_csv.h"
#include "make_table.h"
#include "batch/record_layout.h"
#include "batch/record_reader.h"

using namespace batch;
using namespace support;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BatchHeader header;
  header.merchant_id = "SHOP1";
  header.merchant_country = "FR";
  header.file_number = "000012";
  std::string err, batch;
  bool made = fuzz::write_from_stream(
      fuzz::bytes(data, size),
      [&](std::FILE* in, BlockWriter& output) {
        CsvReader reader = make_csv_reader(in);
        reader.input.buffer.resize(64);  // small blocks, so that rows and quotes straddle them
        return make_from_table(reader, header, size % 2 ? CRLF : LF, output, &err);
      },
      batch);
  fuzz::require(made || !err.empty(), "refused without a message");
  if (!made) return 0;
  std::FILE* written = fuzz::stream_of(batch);
  RecordReader records = make_record_reader(written);
  std::string record, footer;
  int64_t count = 0;
  RecordKind last = RecordKind::OTHER;
  while (read_record(records, record)) {
    fuzz::require(record.size() == RECORD_LENGTH && record.back() == '\n', "a record not of 200 characters");
    last = record_kind(record);
    footer = record;
    fuzz::require(count == 0 ? last == RecordKind::HEADER : last != RecordKind::HEADER, "header out of place");
    ++count;
  }
  std::fclose(written);
  fuzz::require(count >= 2 && last == RecordKind::FOOTER, "no footer at the end");
  fuzz::require(numeric_value(field_of(footer, request::NB_RECORD)) == count - 2, "nb_record not the count");
  return 0;
}
