#include "json_view.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "batch/record_json.h"
#include "support/text.h"

using namespace batch;
using support::latin1_to_utf8;

namespace {

// The JSON library's object, its members kept in the order they are put in.
using Json = nlohmann::ordered_json;

// The key of a member, as the library takes it.
std::string key(std::string_view name) { return std::string(name); }

// A finding as the JSON views give it.
Json finding_json(const Finding& finding) {
  Json object = {{key(json_member::RULE), finding.rule}, {key(json_member::TEXT), latin1_to_utf8(finding.text)}};
  if (finding.field) {
    object[key(json_member::FIELD)] = finding.field->name;
    object[key(json_member::OFFSET)] = finding.field->offset;
    object[key(json_member::LENGTH)] = finding.field->width;
  }
  return object;
}

// The findings as a JSON array.
Json findings_json(std::span<const Finding> findings) {
  Json array = Json::array();
  for (const Finding& finding : findings) array.push_back(finding_json(finding));
  return array;
}

}  // namespace

// The object of a kind's records, and where each record puts its values.
struct JsonKindObject {
  std::string_view name;
  bool has_outcome;
  bool has_line_end;
  Json line;
  Json::number_integer_t* record = nullptr;
  Json::number_unsigned_t* length = nullptr;
  std::string* line_end = nullptr;
  std::vector<std::string*> values;  // one per field, in layout order
  std::string* outcome = nullptr;
  Json* findings = nullptr;
};

JsonRecords::JsonRecords() = default;
JsonRecords::~JsonRecords() = default;

namespace {

// The object of a kind's records, its values empty.
std::unique_ptr<JsonKindObject> make_json_kind(const ShownRecord& shown) {
  auto view = std::make_unique<JsonKindObject>();
  view->name = shown.kind;
  view->has_outcome = !shown.outcome.empty();
  view->has_line_end = shown.line_end.has_value();
  Json fields = Json::object();
  for (const Field& field : shown.fields) fields[key(field.name)] = "";
  Json& line = view->line;
  line = {{key(json_member::RECORD), Json::number_integer_t{0}},
          {key(json_member::KIND), shown.kind},
          {key(json_member::LENGTH), Json::number_unsigned_t{0}}};
  if (view->has_line_end) line[key(json_member::LINE_END)] = "";
  line[key(json_member::FIELDS)] = std::move(fields);
  if (view->has_outcome) line[key(json_member::OUTCOME)] = "";
  line[key(json_member::FINDINGS)] = Json::array();
  view->record = &line[key(json_member::RECORD)].get_ref<Json::number_integer_t&>();
  view->length = &line[key(json_member::LENGTH)].get_ref<Json::number_unsigned_t&>();
  if (view->has_line_end) view->line_end = &line[key(json_member::LINE_END)].get_ref<std::string&>();
  for (auto& value : line[key(json_member::FIELDS)]) view->values.push_back(&value.get_ref<std::string&>());
  if (view->has_outcome) view->outcome = &line[key(json_member::OUTCOME)].get_ref<std::string&>();
  view->findings = &line[key(json_member::FINDINGS)];
  return view;
}

// The object of the kind of `shown`, made at its kind's first record.
JsonKindObject& kind_object(JsonRecords& views, const ShownRecord& shown) {
  auto found = std::find_if(views.kinds.begin(), views.kinds.end(), [&](const std::unique_ptr<JsonKindObject>& kind) {
    return kind->name == shown.kind && kind->has_outcome == !shown.outcome.empty() &&
           kind->has_line_end == shown.line_end.has_value();
  });
  if (found != views.kinds.end()) return **found;
  views.kinds.push_back(make_json_kind(shown));
  return *views.kinds.back();
}

}  // namespace

void append_json_record(std::string& out, JsonRecords& views, const ShownRecord& shown) {
  JsonKindObject& view = kind_object(views, shown);
  *view.record = shown.position;
  *view.length = shown.record.size();
  if (view.line_end) view.line_end->assign(*shown.line_end);
  for (size_t i = 0; i < shown.fields.size(); ++i)
    latin1_to_utf8(field_of(shown.record, shown.fields[i]), *view.values[i]);
  if (view.outcome) view.outcome->assign(shown.outcome);
  *view.findings = findings_json(shown.findings);
  out.append(view.line.dump());
  out.push_back('\n');
}

void append_json_closing(std::string& out, const Closing& closing, std::span<const Finding> on_file) {
  Json end = Json::object();
  end[key(json_member::LAYOUT)] = closing.layout;
  if (closing.form) end[key(json_member::FORM)] = *closing.form;
  end[key(json_member::RESULT)] = closing.result;
  end[key(json_member::FINDINGS)] = findings_json(on_file);
  Json counts = nullptr;
  if (closing.counts) {
    counts = Json::object();
    for (const auto& [name, count] : *closing.counts) counts[key(name)] = count;
  }
  end[key(json_member::COUNTS)] = std::move(counts);
  if (closing.layout == json_layout::REQUEST)
    end[key(json_member::FILE_NUMBER_CHECKED)] = closing.file_number_checked;
  else
    end[key(json_member::REQUEST)] =
        closing.paired_request ? Json(latin1_to_utf8(*closing.paired_request)) : Json(nullptr);
  out.append(end.dump());
  out.push_back('\n');
}
