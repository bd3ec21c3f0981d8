#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "batch/record_layout.h"

namespace batch {

// The rules whose findings batchcheck-describe gives as data. A job that
// gates on a batch reads the rule's id rather than the sentence: an id
// never changes once released, and a new rule gets a new id.
namespace rule {

// Request file: the files of the verification.
constexpr std::string_view FILE_UNREADABLE = "file_unreadable";
constexpr std::string_view TEMPORARY_FILE_UNUSABLE = "temporary_file_unusable";
// Request file: its records.
constexpr std::string_view RECORD_LENGTH = "record_length";
constexpr std::string_view FIRST_RECORD_NOT_HEADER = "first_record_not_header";
constexpr std::string_view MERCHANT_COUNTRY_DIFFERS = "merchant_country_differs";
constexpr std::string_view MERCHANT_ID_DIFFERS = "merchant_id_differs";
constexpr std::string_view FILE_IDENTITY_DIFFERS = "file_identity_differs";
constexpr std::string_view RECORD_CODE_UNKNOWN = "record_code_unknown";
constexpr std::string_view TRANSACTION_ID_REPEATED = "transaction_id_repeated";
// Request file: the verdict on the whole file.
constexpr std::string_view INCORRECT_SIZE_FILE = "incorrect_size_file";
constexpr std::string_view RECORD_NUMBERS_INTERRUPTED = "record_numbers_interrupted";
constexpr std::string_view FILE_ALREADY_TREATED = "file_already_treated";
constexpr std::string_view FILE_SEQUENCE_INTERRUPTED = "file_sequence_interrupted";
constexpr std::string_view NB_RECORD_DIFFERS = "nb_record_differs";
// Response file: its records (first_record_not_header too).
constexpr std::string_view RECORD_CUT_SHORT = "record_cut_short";
constexpr std::string_view RECORD_NOT_BODY = "record_not_body";
constexpr std::string_view LAST_RECORD_NOT_FOOTER = "last_record_not_footer";
constexpr std::string_view RECORD_AFTER_FOOTER = "record_after_footer";
constexpr std::string_view FOOTER_MISSING = "footer_missing";
constexpr std::string_view RESPONSE_CODE_REPEAT_DIFFERS = "response_code_repeat_differs";
constexpr std::string_view REPLY_BLOCK_MISSING = "reply_block_missing";
constexpr std::string_view REPLY_BLOCK_WITH_CODE_14 = "reply_block_with_code_14";
constexpr std::string_view AUTHORISATION_MISSING = "authorisation_missing";
constexpr std::string_view AUTHORISATION_UNEXPECTED = "authorisation_unexpected";
constexpr std::string_view RESPONSE_DATE_INVALID = "response_date_invalid";
constexpr std::string_view RESPONSE_TIME_INVALID = "response_time_invalid";
constexpr std::string_view BODY_COUNT_DIFFERS = "body_count_differs";
constexpr std::string_view ACCEPTED_COUNT_DIFFERS = "accepted_count_differs";
constexpr std::string_view REFUSED_COUNT_DIFFERS = "refused_count_differs";
constexpr std::string_view VERIFICATION_CODE_UNKNOWN = "verification_code_unknown";
// A Response against the Request it answers.
constexpr std::string_view CARRIED_FIELD_DIFFERS = "carried_field_differs";
constexpr std::string_view BODY_MISSING_IN_RESPONSE = "body_missing_in_response";
constexpr std::string_view BODY_MISSING_IN_REQUEST = "body_missing_in_request";

}  // namespace rule

// One rule of the list: its id, what a finding of it means, and the field
// that every finding of it concerns, when there is one such field.
struct Rule {
  std::string_view id;
  std::string_view meaning;
  std::optional<Field> field = std::nullopt;
};

// Every rule, in the order the manual page lists them.
std::span<const Rule> rule_list();

// The place of the rule `id` in rule_list(), or rule_list().size() for an unknown id.
size_t rule_index(std::string_view id);

// One finding: the rule it breaks, its words, and the field it concerns when
// it concerns one (a finding on a whole record or file has none).
struct Finding {
  std::string_view rule;
  std::string text;
  std::optional<Field> field;
};

}  // namespace batch
