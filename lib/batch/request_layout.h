#pragma once

#include <array>
#include <span>
#include <string_view>

#include "batch/record_layout.h"

namespace batch {

// The records of the Request file: a header, the body records, a footer.
namespace request {

constexpr Field RECORD_CODE{"record_code", 0, 2};
constexpr Field MERCHANT_COUNTRY{"merchant_country", 2, 2};
constexpr Field MERCHANT_ID{"merchant_id", 4, 15};

// Header record.
constexpr Field HEADER_ZONE_1{"header_zone_1", 19, 8};
constexpr Field HEADER_ZONE_2{"header_zone_2", 27, 6};
constexpr Field FILE_NUMBER{"file_number", 33, 6};
constexpr Field VERSION{"version", 39, 2};
constexpr Field HEADER_REST = rest_of_record("header_rest", 41);
// What the footer must repeat of the header, and all the header says before its rest.
constexpr Field FILE_IDENTITY = spanning("file_identity", MERCHANT_COUNTRY, VERSION);
constexpr Field HEADER_PREFIX = spanning("header_prefix", RECORD_CODE, VERSION);

// Body record.
constexpr Field RECORD_NUMBER{"record_number", 19, 6};
constexpr Field BODY_ZONE_1{"body_zone_1", 25, 8};
constexpr Field TRANSACTION_ID{"transaction_id", 33, 6};
constexpr Field BODY_ZONE_2{"body_zone_2", 39, 12};
constexpr Field BODY_ZONE_3{"body_zone_3", 51, 3};
constexpr Field BODY_ZONE_4{"body_zone_4", 54, 50};
constexpr Field BODY_ZONE_5{"body_zone_5", 104, 32};
constexpr Field BODY_ZONE_6{"body_zone_6", 136, 3};
constexpr Field BODY_REST = rest_of_record("body_rest", 139);

// Footer record (its file_identity sits where the header's does).
constexpr Field NB_RECORD{"nb_record", 41, 6};
constexpr Field FOOTER_REST = rest_of_record("footer_rest", 47);

// Every field of each record kind, in file order; together they cover the record.
constexpr std::array HEADER_FIELDS{RECORD_CODE,   MERCHANT_COUNTRY, MERCHANT_ID, HEADER_ZONE_1,
                                   HEADER_ZONE_2, FILE_NUMBER,      VERSION,     HEADER_REST};
constexpr std::array BODY_FIELDS{RECORD_CODE, MERCHANT_COUNTRY, MERCHANT_ID, RECORD_NUMBER, BODY_ZONE_1, TRANSACTION_ID,
                                 BODY_ZONE_2, BODY_ZONE_3,      BODY_ZONE_4, BODY_ZONE_5,   BODY_ZONE_6, BODY_REST};
constexpr std::array FOOTER_FIELDS{RECORD_CODE, FILE_IDENTITY, NB_RECORD, FOOTER_REST};
// A record of any other code has no layout beyond its code.
constexpr Field RECORD_REST = rest_of_record("record_rest", 2);
constexpr std::array OTHER_FIELDS{RECORD_CODE, RECORD_REST};
static_assert(covers_record(HEADER_FIELDS) && covers_record(BODY_FIELDS) && covers_record(FOOTER_FIELDS) &&
              covers_record(OTHER_FIELDS));

// Record codes.
constexpr std::string_view HEADER_CODE = "00";
constexpr std::string_view BODY_CODE = "03";
constexpr std::string_view FOOTER_CODE = "09";

}  // namespace request

// What a record is, by its record_code (trailing blanks removed).
enum class RecordKind { HEADER, BODY, FOOTER, OTHER };

// The kind of a Request record.
RecordKind record_kind(std::string_view record);

// The fields of a kind's layout, in file order.
std::span<const Field> fields_of_kind(RecordKind kind);

}  // namespace batch
