#include "batch/rules.h"

#include <array>

#include "batch/request_layout.h"
#include "batch/response_layout.h"

namespace batch {

namespace {

// Every rule, in the order the manual page lists them.
constexpr std::array RULES{
    Rule{rule::FILE_UNREADABLE, "the file cannot be read"},
    Rule{rule::TEMPORARY_FILE_UNUSABLE,
         "a temporary file beside the batch exists already, or cannot be written or read back"},
    Rule{rule::RECORD_LENGTH, "a record of a version 02 or 03 batch is not 200 characters, line end included"},
    Rule{rule::FIRST_RECORD_NOT_HEADER, "the first record's code is not 00", request::RECORD_CODE},
    Rule{rule::MERCHANT_COUNTRY_DIFFERS, "a body record's merchant_country is not the header's", request::MERCHANT_COUNTRY},
    Rule{rule::MERCHANT_ID_DIFFERS, "a body record's merchant_id is not the header's", request::MERCHANT_ID},
    Rule{rule::FILE_IDENTITY_DIFFERS, "the footer's file_identity is not the header's", request::FILE_IDENTITY},
    Rule{rule::RECORD_CODE_UNKNOWN, "a record after the first has a code other than 03 and 09", request::RECORD_CODE},
    Rule{rule::TRANSACTION_ID_REPEATED, "a transaction_id comes again in a later body record", request::TRANSACTION_ID},
    Rule{rule::INCORRECT_SIZE_FILE, "the verdict on records of the wrong length"},
    Rule{rule::RECORD_NUMBERS_INTERRUPTED, "the body records' record_number values are not 1, 2, 3, ..."},
    Rule{rule::FILE_ALREADY_TREATED, "the header's file_number is below the file number given"},
    Rule{rule::FILE_SEQUENCE_INTERRUPTED, "the header's file_number is above the file number given"},
    Rule{rule::NB_RECORD_DIFFERS, "the footer's nb_record is not the number of body records"},
    Rule{rule::RECORD_CUT_SHORT, "the last record of a Response is shorter than 200 characters"},
    Rule{rule::RECORD_NOT_BODY, "a record between the header and the footer of a Response has a code other than 03"},
    Rule{rule::LAST_RECORD_NOT_FOOTER, "the record that ends a Response (the second of an error response) is not 09"},
    Rule{rule::RECORD_AFTER_FOOTER, "an error response holds more than two records"},
    Rule{rule::FOOTER_MISSING, "a Response holds fewer than two records"},
    Rule{rule::RESPONSE_CODE_REPEAT_DIFFERS, "a body's response_code_repeat is not its response_code"},
    Rule{rule::REPLY_BLOCK_MISSING, "a body whose response_code is not 14 has a blank reply block"},
    Rule{rule::REPLY_BLOCK_WITH_CODE_14, "a body whose response_code is 14 has a reply block that is not blank"},
    Rule{rule::AUTHORISATION_MISSING, "an accepted body (code 00) has a blank authorisation_number or approval_reference"},
    Rule{rule::AUTHORISATION_UNEXPECTED, "a refused body has an authorisation_number or approval_reference"},
    Rule{rule::RESPONSE_DATE_INVALID, "a body's response_date is not a date DDMMYYYY"},
    Rule{rule::RESPONSE_TIME_INVALID, "a body's response_time is not a time HHMMSS"},
    Rule{rule::BODY_COUNT_DIFFERS, "the footer's body_count is not the number of body records"},
    Rule{rule::ACCEPTED_COUNT_DIFFERS, "the footer's accepted_count is not the number of bodies with code 00"},
    Rule{rule::REFUSED_COUNT_DIFFERS, "the footer's refused_count is not the number of bodies with another code"},
    Rule{rule::VERIFICATION_CODE_UNKNOWN, "an error response's verification_code is not 01 to 04"},
    Rule{rule::CARRIED_FIELD_DIFFERS, "a field the Response carries over is not the Request's"},
    Rule{rule::BODY_MISSING_IN_RESPONSE, "body records of the Request have no answer in the Response"},
    Rule{rule::BODY_MISSING_IN_REQUEST, "a body record of the Response answers no body record of the Request"},
};

}  // namespace

std::span<const Rule> rule_list() { return RULES; }

size_t rule_index(std::string_view id) {
  size_t index = 0;
  while (index < RULES.size() && RULES[index].id != id) ++index;
  return index;
}

}  // namespace batch
