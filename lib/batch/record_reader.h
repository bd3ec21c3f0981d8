#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "support/block_reader.h"
#include "support/fingerprint.h"

namespace batch {

// How the reader takes bytes from its file (support::ReadBytes).
using ReadBytes = support::ReadBytes;

// The reading every RecordReader uses: std::fread by default; tests put a
// failing one here.
extern ReadBytes read_request_bytes;

// Reads a Request file record by record, out of the blocks of its file. A
// record ends after its line end or at 200 characters, whichever comes
// first. A carriage return followed by a line feed is one line end, kept as
// a single "\n"; every other byte, NUL and lone carriage returns included,
// is an ordinary character.
struct RecordReader : support::BlockReader {
  Fingerprint fingerprint;  // of every byte read from the file so far
};

// Starts reading `file` at its current position.
RecordReader make_record_reader(FILE* file);

// Reads the next record into `record`; false at the end of the file.
bool read_record(RecordReader& reader, std::string& record);

// Reads the next 200 characters into `record`, line ends being characters
// like any other, the last record possibly shorter: a Response file has no
// line ends of its own. False at the end of the file.
bool read_fixed_record(RecordReader& reader, std::string& record);

// True when no byte follows those the reader has handed out.
bool at_end(RecordReader& reader);

// Reads the rest of the file without cutting it into records, so that the
// fingerprint covers the whole file.
void read_to_end(RecordReader& reader);

// True once the reader has met the end of the file with no read error: its
// fingerprint is then that of the whole file.
inline bool read_whole(const RecordReader& reader) { return reader.at_eof && !reader.failed; }

// The bytes of its file the reader has handed out so far.
inline uint64_t bytes_taken(const RecordReader& reader) {
  return reader.fingerprint.bytes - (reader.end - reader.position);
}

}  // namespace batch
