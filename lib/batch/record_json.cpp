#include "batch/record_json.h"

namespace batch {

namespace {

// Every kind of Request record, in the order a batch holds them, with the
// fields of its layout.
const std::array<JsonKind, 4> REQUEST_KINDS{{
    {json_kind::HEADER, RecordKind::HEADER, fields_of_kind(RecordKind::HEADER)},
    {json_kind::BODY, RecordKind::BODY, fields_of_kind(RecordKind::BODY)},
    {json_kind::FOOTER, RecordKind::FOOTER, fields_of_kind(RecordKind::FOOTER)},
    {json_kind::OTHER, RecordKind::OTHER, fields_of_kind(RecordKind::OTHER)},
}};

}  // namespace

const JsonKind& request_json_kind(RecordKind kind) {
  for (const JsonKind& candidate : REQUEST_KINDS)
    if (candidate.kind == kind) return candidate;
  return REQUEST_KINDS.back();
}

const JsonKind* request_json_kind_named(std::string_view name) {
  for (const JsonKind& candidate : REQUEST_KINDS)
    if (candidate.name == name) return &candidate;
  return nullptr;
}

std::string request_json_kind_list() {
  std::string list;
  for (size_t i = 0; i < REQUEST_KINDS.size(); ++i) {
    if (i > 0) list += i + 1 == REQUEST_KINDS.size() ? " and " : ", ";
    list += REQUEST_KINDS[i].name;
  }
  return list;
}

}  // namespace batch
