#pragma once

#include <string>

#include "support/block_writer.h"
#include "describe.h"

// True when the file of `options` is to be described as a Response file:
// --as says so, or its first bytes look like one (looks_like_response). A
// file that cannot be read is left to the Request's description, which
// reports it.
bool describes_response(const DescribeOptions& options);

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
