#include "batch/request_layout.h"

namespace batch {

RecordKind record_kind(std::string_view record) {
  std::string_view code = trimmed_field(record, request::RECORD_CODE);
  if (code == request::HEADER_CODE) return RecordKind::HEADER;
  if (code == request::BODY_CODE) return RecordKind::BODY;
  if (code == request::FOOTER_CODE) return RecordKind::FOOTER;
  return RecordKind::OTHER;
}

std::span<const Field> fields_of_kind(RecordKind kind) {
  switch (kind) {
    case RecordKind::HEADER:
      return request::HEADER_FIELDS;
    case RecordKind::BODY:
      return request::BODY_FIELDS;
    case RecordKind::FOOTER:
      return request::FOOTER_FIELDS;
    case RecordKind::OTHER:
      break;
  }
  return request::OTHER_FIELDS;
}

}  // namespace batch
