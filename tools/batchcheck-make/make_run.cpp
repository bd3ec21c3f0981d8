#include "make_run.h"

#include <cstdio>

#include "make_csv.h"
#include "make_json.h"
#include "make_table.h"
#include "platform/platform.h"

using namespace support;

namespace {

// False, with `why` in *err.
bool refuse(const std::string& why, std::string* err) {
  *err = why;
  return false;
}

}  // namespace

bool make_request_file(const MakeArguments& args, std::string* err) {
  bool from_stdin = args.input == "-";
  std::string input_name = from_stdin ? "standard input" : args.input;
  FILE* in = from_stdin ? binary_stdin() : open_for_reading(args.input);
  if (!in) return refuse("can't read the file " + args.input, err);
  if (!from_stdin && same_file(args.input, args.output)) {
    std::fclose(in);
    return refuse("the output file " + args.output + " is the input file", err);
  }
  Replacement output;
  if (!open_replacement(args.output, output)) {
    if (!from_stdin) std::fclose(in);
    return refuse("can't write into the file " + args.output, err);
  }
  BlockWriter out = make_block_writer(output.file);
  std::string why;
  bool made;
  bool read_failed;
  if (args.json) {
    made = make_from_json(in, JsonOptions{args.line_end, args.renumber}, out, &why);
    read_failed = !made && why.empty();
  } else {
    CsvReader reader = make_csv_reader(in);
    made = make_from_table(reader, args.header, args.line_end, out, &why);
    read_failed = reader.input.failed;
  }
  if (!from_stdin) std::fclose(in);
  if (!made) {
    discard_replacement(output);
    if (read_failed) return refuse("can't read the file " + args.input, err);
    return refuse(input_name + ", " + why, err);
  }
  // A full disk must never pass for a batch written whole.
  if (!flush_block_writer(out) || !close_replacement(output) || !install_replacement(output)) {
    discard_replacement(output);
    return refuse("can't write into the file " + args.output, err);
  }
  return true;
}
