#include "junit_report.h"

#include <algorithm>
#include <vector>

#include "batch/record_layout.h"
#include "support/escaped_text.h"
#include "support/markup.h"

using namespace batch;
using namespace support;

namespace {

// Queues `text` for the report's file.
void queue(JunitReport& report, std::string_view text) { write_bytes(report.out, text); }

// A finding's lines in a failure: its rule, its record, its field and its
// text, each byte outside printable ASCII escaped as the text view does.
std::string failure_lines(int64_t position, std::string_view record, const Finding& finding) {
  std::string lines = "rule: " + std::string(finding.rule) + "\n";
  if (position > 0) lines += "record: " + std::to_string(position) + "\n";
  if (finding.field) {
    const Field& field = *finding.field;
    lines += "field: " + std::string(field.name) + ", offsets " + std::to_string(field.offset) + "-" +
             std::to_string(field.offset + field.width - 1) + ", ";
    append_quoted(lines, field_of(record, field));
    lines += "\n";
  }
  lines += "text: ";
  std::string_view text = finding.text;
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  append_escaped(lines, text, false);
  return lines + "\n";
}

// One test case that fails with these findings.
void failed_case(JunitReport& report, std::string_view name, int64_t position, std::string_view record,
                 std::span<const Finding> findings) {
  std::string rules;
  std::string body;
  for (const Finding& finding : findings) {
    if (!rules.empty()) rules += " ";
    rules += finding.rule;
    if (!body.empty()) body += "\n";
    body += failure_lines(position, record, finding);
  }
  std::string message;
  std::string_view first = findings.front().text;
  append_escaped(message, first.substr(0, first.find('\n')), false);
  queue(report, "    <testcase classname=\"" + report.suite + "\" name=\"" + markup_text(name) +
                    "\">\n      <failure type=\"" + markup_text(rules) + "\" message=\"" + markup_text(message) +
                    "\">" + markup_text(body) + "</failure>\n    </testcase>\n");
}

}  // namespace

bool open_junit_report(const std::string& path, std::string_view described, JunitReport& report) {
  if (!open_replacement(path, report.file)) return false;
  report.out = make_block_writer(report.file.file);
  report.suite = markup_text(described);
  queue(report, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"batchcheck-describe\">\n"
                "  <testsuite name=\"" + report.suite + "\">\n");
  return true;
}

void report_record(JunitReport& report, int64_t position, std::string_view record, std::span<const Finding> findings) {
  if (!findings.empty()) failed_case(report, "record " + std::to_string(position), position, record, findings);
}

void report_file(JunitReport& report, std::span<const Finding> on_file, bool valid, std::string_view result) {
  std::vector<std::string_view> rules;
  for (const Finding& finding : on_file)
    if (std::find(rules.begin(), rules.end(), finding.rule) == rules.end()) rules.push_back(finding.rule);
  for (std::string_view rule : rules) {
    std::vector<Finding> of_rule;
    for (const Finding& finding : on_file)
      if (finding.rule == rule) of_rule.push_back(finding);
    failed_case(report, rule, 0, {}, of_rule);
  }
  std::string text;
  append_escaped(text, result, false);
  if (valid)
    queue(report, "    <testcase classname=\"" + report.suite + "\" name=\"result\"/>\n");
  else
    queue(report, "    <testcase classname=\"" + report.suite + "\" name=\"result\">\n      <failure type=\"result\" "
                  "message=\"" + markup_text(text) + "\">" + markup_text(text) + "</failure>\n    </testcase>\n");
  queue(report, "  </testsuite>\n</testsuites>\n");
}

bool close_junit_report(JunitReport& report) {
  bool written = flush_block_writer(report.out);
  if (written && close_replacement(report.file) && install_replacement(report.file)) return true;
  discard_junit_report(report);
  return false;
}

void discard_junit_report(JunitReport& report) { discard_replacement(report.file); }
