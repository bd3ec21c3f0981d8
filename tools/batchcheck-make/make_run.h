#pragma once

#include <string>
#include <string_view>

#include "batch/request_writer.h"

// Everything batchcheck-make's command line gives.
struct MakeArguments {
  std::string input;
  std::string output;
  bool json = false;
  bool renumber = false;
  std::string_view line_end = batch::CRLF;
  batch::BatchHeader header;
  bool merchant_id_given = false;
  bool country_given = false;
  bool file_number_given = false;
  bool header_given = false;  // any option of the header or the footer
};

// Reads INPUT (a table, or describe's JSON Lines) into a replacement of
// OUTPUT, then puts it in place. False (why in *err, as the merchant reads
// it) when the batch cannot be made: OUTPUT is then left as it was.
bool make_request_file(const MakeArguments& args, std::string* err);
