#include "finding_spill.h"

#include <cstdio>

#include "batch/messages.h"
#include "platform/files.h"

using namespace batch;
using namespace support;

namespace {

// One finding as the spill file holds it: the record, the text's length,
// the rule's place in the rule list, then the text.
struct SpilledHead {
  int64_t record;
  uint32_t length;
  uint32_t rule;
};

// Creates the spill file at the first finding on a record; false (the
// reason kept) when it cannot.
bool open_spill(FindingSpill& spill) { return create_temporary_file(spill.name, spill, &spill.failure); }

// Moves to the next finding of the run; false at its end or on a read error.
bool advance(RunCursor& cursor, bool& read_failed) {
  cursor.has_head = false;
  if (cursor.left < sizeof(SpilledHead)) return false;
  SpilledHead head;
  if (std::fread(&head, sizeof head, 1, cursor.file) != 1 || cursor.left - sizeof head < head.length) {
    read_failed = true;
    return false;
  }
  if (head.rule >= rule_list().size()) {
    read_failed = true;
    return false;
  }
  const Rule& rule = rule_list()[head.rule];
  cursor.finding.rule = rule.id;
  cursor.finding.field = rule.field;
  std::string& text = cursor.finding.text;
  text.resize(head.length);
  if (head.length > 0 && std::fread(text.data(), 1, head.length, cursor.file) != head.length) {
    read_failed = true;
    return false;
  }
  cursor.left -= sizeof head + head.length;
  cursor.record = head.record;
  cursor.has_head = true;
  return true;
}

}  // namespace

void spill_finding(FindingSpill& spill, int64_t record, std::string_view rule, std::string_view text) {
  if (!spill.failure.empty() || (!spill.out.file && !open_spill(spill))) return;
  if (spill.run_starts.empty() || record < spill.last_record) spill.run_starts.push_back(spill.out.size);
  spill.last_record = record;
  SpilledHead head{record, static_cast<uint32_t>(text.size()), static_cast<uint32_t>(rule_index(rule))};
  write_bytes(spill.out, std::string_view(reinterpret_cast<const char*>(&head), sizeof head));
  write_bytes(spill.out, text);
}

bool close_spill(FindingSpill& spill, std::string* err) {
  std::string unwritten;
  if (spill.out.file && !close_temporary_file(spill, &unwritten) && spill.failure.empty()) spill.failure = unwritten;
  if (spill.failure.empty()) return true;
  *err = spill.failure;
  return false;
}

void remove_spill(FindingSpill& spill) { discard_temporary_file(spill); }

bool open_spill_reading(const FindingSpill& spill, SpillReading& reading, std::string* err) {
  reading.cursors.resize(spill.run_starts.size());
  for (size_t i = 0; i < reading.cursors.size(); ++i) {
    RunCursor& cursor = reading.cursors[i];
    uint64_t end = i + 1 < reading.cursors.size() ? spill.run_starts[i + 1] : spill.out.size;
    cursor.left = end - spill.run_starts[i];
    cursor.file = open_for_reading(spill.name);
    if (!cursor.file || !seek_to(cursor.file, spill.run_starts[i]))
      reading.failed = true;
    else
      advance(cursor, reading.failed);
  }
  if (reading.failed) *err = message_text(Message::CANNOT_READ_BACK, {spill.name});
  return !reading.failed;
}

bool take_findings(SpillReading& reading, int64_t position, std::vector<Finding>& found) {
  found.clear();
  bool more = false;
  for (RunCursor& cursor : reading.cursors) {
    while (cursor.has_head && cursor.record < position) advance(cursor, reading.failed);
    while (cursor.has_head && cursor.record == position) {
      found.push_back(cursor.finding);
      advance(cursor, reading.failed);
    }
    more = more || cursor.has_head;
  }
  return more;
}

void close_spill_reading(SpillReading& reading) {
  for (RunCursor& cursor : reading.cursors)
    if (cursor.file) std::fclose(cursor.file);
  reading.cursors.clear();
}
