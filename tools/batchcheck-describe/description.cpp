#include "description.h"

#include "batch/messages.h"
#include "json_view.h"

using namespace batch;
using namespace support;

void show_records(const DescribeOptions& options, RecordSource& source, JunitReport* junit, BlockWriter& out) {
  std::string record;
  std::string text;
  std::vector<Finding> found;
  JsonRecords views;
  for (int64_t position = 1; source.next(record); ++position) {
    ShownRecord shown;
    shown.position = position;
    shown.record = record;
    bool more = source.examine(position, record, found, shown);
    shown.findings = found;
    if (junit) report_record(*junit, position, record, found);
    if (position >= options.first_record && position <= options.last_record &&
        (!options.only_findings || !found.empty())) {
      text.clear();
      if (options.json)
        append_json_record(text, views, shown);
      else
        append_text_record(text, shown, source.name_column);
      write_bytes(out, text);
    }
    if (source.reads_all) continue;
    // The records shown are out, and so are those the report needs.
    bool showing = position < options.last_record && (more || !options.only_findings);
    if (!showing && !(junit && more)) break;
  }
}

bool close_description(const DescribeOptions& options, const Closing& closing, std::span<const Finding> on_file,
                       JunitReport* junit, BlockWriter& out, std::string* err) {
  std::string text;
  if (options.json)
    append_json_closing(text, closing, on_file);
  else
    append_text_closing(text, closing, on_file);
  write_bytes(out, text);
  if (!junit) return true;
  report_file(*junit, on_file, closing.result == 0, result_line(closing));
  if (close_junit_report(*junit)) return true;
  flush_block_writer(out);  // the view is whole: it goes out before the run fails
  *err = message_text(Message::CANNOT_WRITE_FILE, {*options.junit_file});
  return false;
}
