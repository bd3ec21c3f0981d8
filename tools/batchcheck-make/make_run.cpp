#include "make_run.h"

#include <cstdio>

#include "make_csv.h"
#include "make_json.h"
#include "make_table.h"
#include "platform/files.h"
#include "platform/replacement.h"

using namespace support;

namespace {

// False, with `why` in *err.
bool refuse(const std::string& why, std::string* err) {
  *err = why;
  return false;
}

// Why the replacement of OUTPUT failed, as the merchant reads it.
std::string cannot_replace(const MakeArguments& args, const Replacement& output, const char* in_place_refused) {
  if (output.in_place_refused) return "the file " + args.output + " can only be replaced whole, and " + in_place_refused;
  return "can't write into the file " + args.output;
}

}  // namespace

bool make_request_file(const MakeArguments& args, std::string* err) {
  bool from_stdin = args.input == "-";
  std::string input_name = from_stdin ? "standard input" : args.input;
  FILE* in = from_stdin ? binary_stdin() : open_for_reading(args.input);
  if (!in) return refuse("can't read the file " + args.input, err);
  if (from_stdin ? is_standard_input(args.output) : same_file(args.input, args.output)) {
    if (!from_stdin) std::fclose(in);
    return refuse("the output file " + args.output + " is the input file", err);
  }
  // A batch half written over the merchant's file is worse than none.
  Replacement output;
  if (!open_replacement(args.output, output, AtLink::REPLACE_TARGET, InPlace::FORBIDDEN)) {
    if (!from_stdin) std::fclose(in);
    return refuse(cannot_replace(args, output, "no temporary file can be made beside it"), err);
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
    // "table.csv, line 3, field ...", "standard input: no record ..."
    return refuse(input_name + (why.rfind("line ", 0) == 0 ? ", " : ": ") + why, err);
  }
  // A full disk must never pass for a batch written whole.
  if (!flush_block_writer(out) || !close_replacement(output) || !install_replacement(output)) {
    discard_replacement(output);
    return refuse(cannot_replace(args, output, "its folder refuses the temporary file in its place"), err);
  }
  return true;
}
