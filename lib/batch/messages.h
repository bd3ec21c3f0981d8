#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace batch {

// batchcheck's console texts, each written once, named by what it says.
// Merchants and their scripts read these very words, so they never change,
// faults of spelling included. In a text, each "%s" marks where a value
// goes, in order; values go in as they stand and are never read as formats.
enum class Message {
  // The run.
  VERIFICATION_STARTS,
  VERIFICATION_FAILED,
  VERIFICATION_PASSED,
  RESPONSE_CREATION,
  RESPONSE_CREATED,
  RESPONSE_NOT_CREATED,
  CANNOT_READ_FILE,
  CANNOT_WRITE_FILE,
  RESPONSE_IS_REQUEST,
  RESPONSE_IS_TID_FILE,
  REQUEST_CHANGED,
  CONSOLE_LOST,
  OUT_OF_MEMORY,
  UNEXPECTED_ERROR,
  // The verification: findings on records, the summary, the decision.
  WRONG_RECORD_LENGTH,
  FIRST_RECORD_NOT_HEADER,
  MERCHANT_COUNTRY_DIFFERS,
  MERCHANT_ID_DIFFERS,
  FOOTER_NOT_CONSISTENT,
  UNKNOWN_RECORD_CODE,
  SUMMARY,
  INCORRECT_SIZE,
  RECORD_NUMBERS_INTERRUPTED,
  ALREADY_TREATED,
  FILE_SEQUENCE_INTERRUPTED,
  NB_RECORD_DIFFERS,
  // The TID file and the repeat check.
  TEMPORARY_FILE_EXISTS,
  CANNOT_WRITE_TEMPORARY_FILE,
  CANNOT_READ_BACK,
  TRANSACTION_ID_REPEATED,
  // The Response writer.
  MERCHANT_ID_WARNING,
  MERCHANT_COUNTRY_WARNING,
  FIRST_RECORD_UNREADABLE,
  VERSION_UNKNOWN,
  HEADER_NOT_TREATED,
  ERROR_RESPONSE_VERSION_UNKNOWN,
};

// The text of `message`, its "%s" marks as they stand.
std::string_view message_format(Message message);

// Appends the text of `message` with `values` in place of its marks.
void append_message(std::string& out, Message message, std::initializer_list<std::string_view> values = {});

// The text of `message` with `values` in place of its marks.
std::string message_text(Message message, std::initializer_list<std::string_view> values = {});

}  // namespace batch
