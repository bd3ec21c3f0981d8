#pragma once

#include <array>

#include "batch/request_layout.h"

namespace batch {

// The records of the Response file: 200 characters each, written back to
// back with no line end. Fields carried from the Request file name the
// request field they come from.
namespace response {

constexpr Field RECORD_CODE = request::RECORD_CODE;

// Header record of the full response: the request header's prefix, the
// code, then the request's header_rest without its first character.
constexpr Field HEADER_PREFIX = request::HEADER_PREFIX;
constexpr Field HEADER_RESPONSE_CODE{"response_code", 41, 2};
constexpr Field HEADER_REST{"header_rest", 43, 157};
// The part of the request's header_rest that HEADER_REST carries.
constexpr Field CARRIED_HEADER_REST{"header_rest", request::HEADER_REST.offset + 1, HEADER_REST.width};

// Body record: up to body_zone_5 the request body record's own fields, at
// their own places; then the answer; then the request's body_zone_6.
constexpr Field ANSWERED_FIELDS = spanning("answered_fields", request::MERCHANT_COUNTRY, request::BODY_ZONE_5);
constexpr Field RESPONSE_CODE{"response_code", 136, 2};
constexpr Field AUTHORISATION_NUMBER{"authorisation_number", 138, 6};
constexpr Field APPROVAL_REFERENCE{"approval_reference", 144, 12};
constexpr Field RESPONSE_DATE{"response_date", 156, 8};
constexpr Field RESPONSE_TIME{"response_time", 164, 6};
constexpr Field CARD_TYPE{"card_type", 170, 12};
constexpr Field MASKED_CARD_NUMBER{"masked_card_number", 182, 7};
constexpr Field CARD_EXPIRY{"card_expiry", 189, 6};
constexpr Field RESPONSE_CODE_REPEAT{"response_code_repeat", 195, 2};
constexpr Field BODY_ZONE_6{"body_zone_6", 197, 3};
// Authorisation number to the repeated code; blanks for code "14".
constexpr Field REPLY_BLOCK = spanning("reply_block", AUTHORISATION_NUMBER, RESPONSE_CODE_REPEAT);

// Footer record of the full response.
constexpr Field FILE_IDENTITY = request::FILE_IDENTITY;
constexpr Field BODY_COUNT{"body_count", 41, 6};
constexpr Field ACCEPTED_COUNT{"accepted_count", 47, 6};
constexpr Field REFUSED_COUNT{"refused_count", 53, 6};
constexpr Field FOOTER_REST{"footer_rest", 59, 141};
// The start of the request's footer_rest that FOOTER_REST carries.
constexpr Field CARRIED_FOOTER_REST{"footer_rest", request::FOOTER_REST.offset, FOOTER_REST.width};

// Error response: the first record repeats the first request record's
// prefix and carries the verification result, the second repeats its
// file_identity; blanks fill both.
constexpr Field ERROR_PREFIX = request::HEADER_PREFIX;
constexpr Field VERIFICATION_CODE{"verification_code", 41, 2};

// Every field of each record kind, one by one and in file order, as
// batchcheck-describe shows them; together they cover the record.
constexpr std::array HEADER_FIELDS{request::RECORD_CODE,   request::MERCHANT_COUNTRY, request::MERCHANT_ID,
                                   request::HEADER_ZONE_1, request::HEADER_ZONE_2,    request::FILE_NUMBER,
                                   request::VERSION,       HEADER_RESPONSE_CODE,      HEADER_REST};
constexpr std::array BODY_FIELDS{request::RECORD_CODE,   request::MERCHANT_COUNTRY, request::MERCHANT_ID,
                                 request::RECORD_NUMBER, request::BODY_ZONE_1,      request::TRANSACTION_ID,
                                 request::BODY_ZONE_2,   request::BODY_ZONE_3,      request::BODY_ZONE_4,
                                 request::BODY_ZONE_5,   RESPONSE_CODE,             AUTHORISATION_NUMBER,
                                 APPROVAL_REFERENCE,     RESPONSE_DATE,             RESPONSE_TIME,
                                 CARD_TYPE,              MASKED_CARD_NUMBER,        CARD_EXPIRY,
                                 RESPONSE_CODE_REPEAT,   BODY_ZONE_6};
constexpr std::array FOOTER_FIELDS{RECORD_CODE, FILE_IDENTITY, BODY_COUNT, ACCEPTED_COUNT, REFUSED_COUNT, FOOTER_REST};
constexpr std::array ERROR_FIRST_FIELDS{request::RECORD_CODE,   request::MERCHANT_COUNTRY, request::MERCHANT_ID,
                                        request::HEADER_ZONE_1, request::HEADER_ZONE_2,    request::FILE_NUMBER,
                                        request::VERSION,       VERIFICATION_CODE,         Field{"blanks", 43, 157}};
constexpr std::array ERROR_SECOND_FIELDS{RECORD_CODE, FILE_IDENTITY, Field{"blanks", 41, 159}};
static_assert(covers_record(HEADER_FIELDS) && covers_record(BODY_FIELDS) && covers_record(FOOTER_FIELDS) &&
              covers_record(ERROR_FIRST_FIELDS) && covers_record(ERROR_SECOND_FIELDS));

// Record codes (the request's).
constexpr std::string_view HEADER_CODE = request::HEADER_CODE;
constexpr std::string_view BODY_CODE = request::BODY_CODE;
constexpr std::string_view FOOTER_CODE = request::FOOTER_CODE;

// The response code of an accepted body, and the one that comes without a reply block.
constexpr std::string_view CODE_ACCEPTED = "00";
constexpr std::string_view CODE_NO_REPLY = "14";

}  // namespace response

}  // namespace batch
