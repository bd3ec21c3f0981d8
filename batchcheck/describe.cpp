#include "describe.h"

#include <nlohmann/json.hpp>
#include <span>
#include <vector>

#include "platform.h"
#include "request_record.h"
#include "verify.h"

namespace {

using Json = nlohmann::ordered_json;

// `text` read as ISO-8859-1, in UTF-8, into `out`, which it replaces: bytes
// 0x80-0xFF become U+0080-U+00FF, so any record gives valid JSON.
void latin1_to_utf8(std::string_view text, std::string& out) {
  out.clear();
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xc0 | (byte >> 6)));
      out.push_back(static_cast<char>(0x80 | (byte & 0x3f)));
    }
  }
}

// The same, as a new string.
std::string latin1_to_utf8(std::string_view text) {
  std::string out;
  latin1_to_utf8(text, out);
  return out;
}

// The meaning of a verification result, as the views show it.
std::string_view result_meaning(int result) {
  switch (result) {
    case VERIFY_OK:
      return "valid";
    case VERIFY_CONTENT_ERROR:
      return "content error";
    case VERIFY_ALREADY_TREATED:
      return "file already treated or unreadable";
    case VERIFY_FILE_SEQUENCE_GAP:
      return "file sequence interrupted";
    case VERIFY_STRUCTURE_ERROR:
      return "structure error";
    default:
      return "unknown";
  }
}

// The findings on records, kept on disk until the file is read again: a
// batch can draw one for each of its million records. The verification
// hands them over in file order, then the repeated ids in file order again:
// each stretch in order is a run, and the second reading merges the runs.
// The file sits beside the batch as the TID file does, created by this run
// alone, removed at the end and should the run be interrupted.
struct FindingSpill {
  std::string name;
  FILE* file = nullptr;
  bool created = false;  // by this run, so that it removes the file
  std::string failure;   // why the findings could not be kept, once they cannot
  std::vector<uint64_t> run_starts;
  uint64_t written = 0;
  int64_t last_record = 0;
};

// One finding as the spill file holds it: the record, the text's length, then the text.
struct SpilledHead {
  int64_t record;
  uint32_t length;
  uint32_t unused = 0;  // written as zeros, not as whatever the padding held
};

// The start of the names of this run's temporary files beside the batch:
// the Request file's path, ".describe-" and the process number. Names of its
// own: a batchcheck checking the same batch meanwhile finds its <request>.TID
// free, and two descriptions of one batch never meet.
std::string temporary_stem(const std::string& request_path) {
  return request_path + ".describe-" + std::to_string(process_id());
}

// Creates the spill file at the first finding on a record; false (the
// reason kept in `failure`) when it cannot.
bool open_spill(FindingSpill& spill) {
  CreateResult created = create_temporary(spill.name, spill.file, create_private);
  if (created == CreateResult::CREATED) {
    spill.created = true;
    return true;
  }
  // An existing file of that name may be the merchant's: never empty it.
  spill.failure = created == CreateResult::EXISTS ? "Error : the temporary file " + spill.name + " already exists\n"
                                                  : "Error : can't write into the temporary file " + spill.name + "\n";
  return false;
}

// Appends one finding, starting a new run when it comes before the last one.
void spill_finding(FindingSpill& spill, int64_t record, std::string_view text) {
  if (!spill.failure.empty() || (!spill.file && !open_spill(spill))) return;
  if (spill.run_starts.empty() || record < spill.last_record) spill.run_starts.push_back(spill.written);
  spill.last_record = record;
  SpilledHead head{record, static_cast<uint32_t>(text.size()), 0};
  bool ok = std::fwrite(&head, sizeof head, 1, spill.file) == 1 &&
            std::fwrite(text.data(), 1, text.size(), spill.file) == text.size();
  spill.written += sizeof head + text.size();
  if (!ok) spill.failure = "Error : can't write into the temporary file " + spill.name + "\n";
}

// Closes the spill file once every finding is in; false when it could not be written whole.
bool close_spill(FindingSpill& spill) {
  if (!spill.file) return spill.failure.empty();
  if (std::fclose(spill.file) != 0 && spill.failure.empty())
    spill.failure = "Error : can't write into the temporary file " + spill.name + "\n";
  spill.file = nullptr;
  return spill.failure.empty();
}

// Removes the spill file, if this run created it.
void remove_spill(FindingSpill& spill) {
  if (spill.file) std::fclose(spill.file);
  spill.file = nullptr;
  if (!spill.created) return;
  remove_temporary(spill.name);
}

// Reads one run of the spill file back, one finding ahead.
struct RunCursor {
  FILE* file = nullptr;
  uint64_t left = 0;  // bytes of the run not read yet
  bool has_head = false;
  int64_t record = 0;
  std::string text;
};

// Moves to the next finding of the run; false at its end or on a read error.
bool advance(RunCursor& cursor, bool& read_failed) {
  cursor.has_head = false;
  if (cursor.left < sizeof(SpilledHead)) return false;
  SpilledHead head;
  if (std::fread(&head, sizeof head, 1, cursor.file) != 1 || cursor.left - sizeof head < head.length) {
    read_failed = true;
    return false;
  }
  cursor.text.resize(head.length);
  if (head.length > 0 && std::fread(cursor.text.data(), 1, head.length, cursor.file) != head.length) {
    read_failed = true;
    return false;
  }
  cursor.left -= sizeof head + head.length;
  cursor.record = head.record;
  cursor.has_head = true;
  return true;
}

// What the verification told, for the views.
struct Findings {
  FindingSpill spill;
  std::vector<std::string> on_file;
  std::optional<VerificationCounts> counts;
  ReadTally read;  // the bytes the verification checked
  int result = VERIFY_OK;
  bool ids_lost = false;  // the repeat check could not read its own files back
};

// Output in blocks, the record views being small and many.
struct Output {
  FILE* file;
  std::string pending;
};

// How much output is queued before one write.
constexpr size_t OUTPUT_BLOCK = 1 << 16;

// Queues `text`, writing the queue out once it fills a block.
void emit(Output& out, std::string_view text) {
  out.pending.append(text);
  if (out.pending.size() >= OUTPUT_BLOCK) {
    std::fwrite(out.pending.data(), 1, out.pending.size(), out.file);
    out.pending.clear();
  }
}

// False when the output could not be written whole.
bool finish_output(Output& out) {
  std::fwrite(out.pending.data(), 1, out.pending.size(), out.file);
  out.pending.clear();
  return std::fflush(out.file) == 0 && !std::ferror(out.file);
}

// Appends `text` with every byte outside printable ASCII escaped (\r, \n,
// \t, \xNN), and the quote and the backslash too when `escape_quoting`.
void append_escaped(std::string& out, std::string_view text, bool escape_quoting) {
  static const char DIGITS[] = "0123456789abcdef";
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if ((c == '"' || c == '\\') && escape_quoting) {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\r') {
      out.append("\\r");
    } else if (c == '\n') {
      out.append("\\n");
    } else if (c == '\t') {
      out.append("\\t");
    } else if (byte < 0x20 || byte > 0x7e) {
      out.append("\\x");
      out.push_back(DIGITS[byte >> 4]);
      out.push_back(DIGITS[byte & 0xf]);
    } else {
      out.push_back(c);
    }
  }
}

// A kind as both views name it.
std::string_view kind_name(RecordKind kind) {
  switch (kind) {
    case RecordKind::HEADER:
      return "header";
    case RecordKind::BODY:
      return "body";
    case RecordKind::FOOTER:
      return "footer";
    case RecordKind::OTHER:
      break;
  }
  return "other";
}

// A finding's text as marked lines of the text view: one per line of the
// message, its bytes escaped but for the quote and the backslash, which are
// the message's own.
void emit_marked(Output& out, std::string_view text, std::string_view indent) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  size_t start = 0;
  for (;;) {
    size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    out.pending.append(indent).append("!! ");
    append_escaped(out.pending, line, false);
    emit(out, "\n");
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

// Appends `text` and blanks up to `width`.
void append_padded(std::string& out, std::string_view text, size_t width) {
  out.append(text);
  if (text.size() < width) out.append(width - text.size(), ' ');
}

// Appends `text` escaped, between double quotes.
void append_quoted(std::string& out, std::string_view text) {
  out.push_back('"');
  append_escaped(out, text, true);
  out.push_back('"');
}

// Widths of the text view's columns: the longest field name
// (merchant_country) and the widest offsets (104-135), each and a blank.
constexpr size_t NAME_COLUMN = 17;
constexpr size_t OFFSETS_COLUMN = 9;

// One record in the text view: its line, a line per field, its findings.
void emit_text_record(Output& out, int64_t position, std::string_view record, const std::vector<std::string>& found) {
  RecordKind kind = record_kind(record);
  std::string& text = out.pending;
  text.append("record ").append(std::to_string(position)).append(": ").append(kind_name(kind));
  if (kind == RecordKind::OTHER) {
    text.append(" (code ");
    append_quoted(text, trim_trailing_blanks(field_of(record, request::RECORD_CODE)));
    text.append(")");
  }
  text.append(", length ").append(std::to_string(record.size())).append("\n");
  for (const Field& field : fields_of_kind(kind)) {
    text.append("  ");
    append_padded(text, field.name, NAME_COLUMN);
    append_padded(text, std::to_string(field.offset) + "-" + std::to_string(field.offset + field.width - 1),
                  OFFSETS_COLUMN);
    append_quoted(text, field_of(record, field));
    text.append("\n");
  }
  for (const std::string& finding : found) emit_marked(out, finding, "  ");
  emit(out, "");
}

// The JSON object of one record kind, built once: each record only puts its
// values in place, so a million records cost no million objects.
struct JsonRecord {
  Json line;
  Json::number_integer_t* record = nullptr;
  Json::number_unsigned_t* length = nullptr;
  std::string* line_end = nullptr;
  std::vector<std::string*> values;  // one per field of the kind, in layout order
  Json* findings = nullptr;
};

// The object of a kind's records, its values empty.
JsonRecord make_json_record(RecordKind kind) {
  JsonRecord view;
  Json fields = Json::object();
  for (const Field& field : fields_of_kind(kind)) fields[std::string(field.name)] = "";
  view.line = {{"record", Json::number_integer_t{0}},
               {"kind", kind_name(kind)},
               {"length", Json::number_unsigned_t{0}},
               {"line_end", ""},
               {"fields", std::move(fields)},
               {"findings", Json::array()}};
  view.record = &view.line["record"].get_ref<Json::number_integer_t&>();
  view.length = &view.line["length"].get_ref<Json::number_unsigned_t&>();
  view.line_end = &view.line["line_end"].get_ref<std::string&>();
  for (auto& value : view.line["fields"]) view.values.push_back(&value.get_ref<std::string&>());
  view.findings = &view.line["findings"];
  return view;
}

// The line end a record has in the file: the reader hands CR LF over as
// "\n", so the count of bytes it took tells the two apart. The JSON carries
// it, so that batchcheck-make writes the file back byte for byte.
std::string_view line_end_in_file(std::string_view record, uint64_t bytes_taken) {
  if (record.empty() || record.back() != '\n') return "";
  return bytes_taken > record.size() ? "\r\n" : "\n";
}

// The bytes of its file a reader has handed out so far.
uint64_t bytes_taken(const RecordReader& reader) { return reader.tally.bytes - (reader.end - reader.position); }

// One record as one line of JSON.
void emit_json_record(Output& out, std::vector<JsonRecord>& views, int64_t position, std::string_view record,
                      uint64_t record_bytes, const std::vector<std::string>& found) {
  RecordKind kind = record_kind(record);
  JsonRecord& view = views[static_cast<size_t>(kind)];
  *view.record = position;
  *view.length = record.size();
  *view.line_end = line_end_in_file(record, record_bytes);
  std::span<const Field> fields = fields_of_kind(kind);
  for (size_t i = 0; i < fields.size(); ++i) latin1_to_utf8(field_of(record, fields[i]), *view.values[i]);
  view.findings->clear();
  for (const std::string& text : found) view.findings->push_back(latin1_to_utf8(text));
  emit(out, view.line.dump());
  emit(out, "\n");
}

// The end of either view: the summary, the findings on the whole file, the result.
void emit_end(Output& out, const DescribeOptions& options, const Findings& findings) {
  std::string checked = options.file_number ? "" : " (file number not checked)";
  if (options.json) {
    Json texts = Json::array();
    for (const std::string& text : findings.on_file) texts.push_back(latin1_to_utf8(text));
    Json counts = nullptr;
    if (findings.counts)
      counts = {{"file_number", findings.counts->file_number},
                {"records", findings.counts->records},
                {"errors", findings.counts->errors},
                {"header_records", findings.counts->header_records},
                {"footer_records", findings.counts->footer_records},
                {"body_records", findings.counts->body_records}};
    Json end = {{"result", findings.result},
                {"findings", std::move(texts)},
                {"counts", std::move(counts)},
                {"file_number_checked", options.file_number.has_value()}};
    emit(out, end.dump());
    emit(out, "\n");
    return;
  }
  if (findings.counts) emit(out, summary_text(*findings.counts));
  for (const std::string& text : findings.on_file) emit_marked(out, text, "");
  emit(out, "result " + std::to_string(findings.result) + ": " + std::string(result_meaning(findings.result)) +
                checked + "\n");
}

// Says on standard error why the run stops as a machine.
int failed(const std::string& message) {
  std::fwrite(message.data(), 1, message.size(), stderr);
  return DESCRIBE_FAILED;
}

// Reads the Request file again and writes the records asked for, each with
// the findings the spill file holds for it. Returns 0 or DESCRIBE_FAILED.
int emit_records(Output& out, const DescribeOptions& options, Findings& findings) {
  FindingSpill& spill = findings.spill;
  // Only records with a finding are shown and none has one: nothing to read.
  if (options.only_findings && spill.run_starts.empty()) return 0;
  std::vector<RunCursor> cursors(spill.run_starts.size());
  bool spill_unreadable = false;
  for (size_t i = 0; i < cursors.size(); ++i) {
    uint64_t end = i + 1 < cursors.size() ? spill.run_starts[i + 1] : spill.written;
    cursors[i].left = end - spill.run_starts[i];
    cursors[i].file = open_for_reading(spill.name);
    if (!cursors[i].file || !seek_to(cursors[i].file, spill.run_starts[i]))
      spill_unreadable = true;
    else
      advance(cursors[i], spill_unreadable);
  }
  FILE* request = spill_unreadable ? nullptr : open_for_reading(options.request_file);
  int status = 0;
  if (spill_unreadable)
    status = failed("Error fopen (r) file " + spill.name + "\n");
  else if (!request)
    status = failed("Error : can't read the file " + options.request_file + "\n");
  if (status == 0) {
    RecordReader reader = make_record_reader(request);
    std::string record;
    std::vector<std::string> found;
    std::vector<JsonRecord> views;
    if (options.json)
      for (RecordKind kind : {RecordKind::HEADER, RecordKind::BODY, RecordKind::FOOTER, RecordKind::OTHER})
        views.push_back(make_json_record(kind));
    int64_t position = 0;
    uint64_t taken = 0;
    while (position < options.last_record && !spill_unreadable && read_record(reader, record)) {
      ++position;
      uint64_t record_bytes = bytes_taken(reader) - taken;
      taken += record_bytes;
      found.clear();
      bool more = false;
      for (RunCursor& cursor : cursors) {
        while (cursor.has_head && cursor.record < position) advance(cursor, spill_unreadable);
        while (cursor.has_head && cursor.record == position) {
          found.push_back(cursor.text);
          advance(cursor, spill_unreadable);
        }
        more = more || cursor.has_head;
      }
      if (position >= options.first_record && (!options.only_findings || !found.empty())) {
        if (options.json)
          emit_json_record(out, views, position, record, record_bytes, found);
        else
          emit_text_record(out, position, record, found);
      }
      if (options.only_findings && !more) break;
    }
    // Findings placed on records other than those checked would mislead:
    // the whole file must read as the verification read it.
    read_to_end(reader);
    if (reader.failed)
      status = failed("Error : can't read the file " + options.request_file + "\n");
    else if (spill_unreadable)
      status = failed("Error fopen (r) file " + spill.name + "\n");
    else if (!same_bytes(reader.tally, findings.read))
      status = failed("Error : the request file " + options.request_file + " changed during the run\n");
  }
  if (request) std::fclose(request);
  for (RunCursor& cursor : cursors)
    if (cursor.file) std::fclose(cursor.file);
  return status;
}

}  // namespace

int describe_request_file(const DescribeOptions& options, FILE* out_file) {
  Findings findings;
  std::string stem = temporary_stem(options.request_file);
  findings.spill.name = stem + ".FINDINGS";
  VerificationSink sink;
  sink.finding = [&findings](int64_t record, std::string_view text) {
    if (record == NO_RECORD)
      findings.on_file.emplace_back(text);
    else
      spill_finding(findings.spill, record, text);
  };
  sink.summary = [&findings](const VerificationCounts& counts) { findings.counts = counts; };
  sink.repeat_check_failed = [&findings] { findings.ids_lost = true; };
  findings.result =
      verify_request_file(options.request_file, options.file_number, sink, &findings.read, stem + ".TID");

  Output out{out_file, {}};
  int status = close_spill(findings.spill) ? 0 : failed(findings.spill.failure);
  // Without the summary the file could not be read whole: no record to show.
  if (status == 0 && findings.counts) status = emit_records(out, options, findings);
  remove_spill(findings.spill);
  if (status != 0) return status;
  emit_end(out, options, findings);
  if (!finish_output(out)) return failed("batchcheck-describe: cannot write to standard output\n");
  // A file of the run's own failed: the result says nothing of the batch.
  if (!findings.counts || findings.ids_lost) return DESCRIBE_FAILED;
  return findings.result == VERIFY_OK ? DESCRIBE_VALID : DESCRIBE_INVALID;
}
