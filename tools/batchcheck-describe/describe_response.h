#pragma once

#include <string>

#include "support/block_writer.h"
#include "describe.h"

// Tells in *response whether the file of `options` is to be described as a
// Response file: as --as says, or by what its first bytes say it is
// (content_kind); first bytes that read either way are a Response when
// --request names the Request it answers. A file that cannot be read is left
// to the Request's description, which reports it. False (why in *err) when
// neither the content nor the command line tells: read as a batch, a damaged
// Response could pass as a valid one.
bool describes_response(const DescribeOptions& options, bool* response, std::string* err);

// Checks the Response file of `options` against its own rules (and against
// its Request with --request) and writes to `out` each record asked for
// with its fields by name, its outcome and the findings on it, then the
// counts, the findings on the whole file and the result; with --junit it
// writes the report too; *verdict receives what it found (a file that
// cannot be read is described too, with its finding). False (the message in
// *err) when the description cannot be made whole: the paired Request cannot
// be read, the file or the report fails on the way; the end is not written
// then. One reading of the file, each record checked as it is read: memory
// does not grow with the file.
bool describe_response_file(const DescribeOptions& options, support::BlockWriter& out, Verdict* verdict,
                            std::string* err);
