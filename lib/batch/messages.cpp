#include "batch/messages.h"

#include <array>
#include <utility>

namespace batch {

namespace {

// Every text, in the order of Message.
constexpr std::array<std::pair<Message, std::string_view>, 36> TEXTS{{
    {Message::VERIFICATION_STARTS, "Global verification of the request file\n"},
    {Message::VERIFICATION_FAILED, "\nError in the global verification of the request file (%s)\n"},
    {Message::VERIFICATION_PASSED, "\nGlobal verification of the request file (%s) is OK\n"},
    {Message::RESPONSE_CREATION, "\nCreation of the response file (%s)\n"},
    {Message::RESPONSE_CREATED, "\nResponse file (%s) created\n"},
    {Message::RESPONSE_NOT_CREATED, "Error during the creation of the response file (%s)\n"},
    {Message::CANNOT_READ_FILE, "Error : can't read the file %s"},
    {Message::CANNOT_WRITE_FILE, "Error : can't write into the file %s"},
    {Message::RESPONSE_IS_REQUEST, "Error : the response file %s is the request file\n"},
    {Message::RESPONSE_IS_TID_FILE, "Error : the response file %s is the temporary file of the request file\n"},
    {Message::REQUEST_CHANGED, "Error : the request file %s changed during the run\n"},
    {Message::CONSOLE_LOST, "Error : can't write the messages on the standard output\n"},
    {Message::OUT_OF_MEMORY, "Error : not enough memory to check the request file\n"},
    {Message::UNEXPECTED_ERROR, "Error : %s\n"},
    {Message::WRONG_RECORD_LENGTH, "error length in record %s\n"},
    {Message::FIRST_RECORD_NOT_HEADER, "error in first record\n"},
    {Message::MERCHANT_COUNTRY_DIFFERS, "The merchant_country in header file (%s) is not the same that in line %s \n"},
    {Message::MERCHANT_ID_DIFFERS, "The in merchant_id in header file (%s) is not the same that in line %s \n"},
    {Message::FOOTER_NOT_CONSISTENT, "First and last record are not consistent:\n First (%s)\n last  (%s)\n"},
    {Message::UNKNOWN_RECORD_CODE, "Error in code enregistrement (%s)\n"},
    {Message::SUMMARY,
     "\nnumber of the tested file = %s\nnumber of recordings = %s\nnumber of errors = %s\n"
     "number of heading recording = %s\nnumber of end recording = %s\n\n"},
    {Message::INCORRECT_SIZE, "Error : incorrect size file (%s)!\n"},
    {Message::RECORD_NUMBERS_INTERRUPTED, "Error : recordings sequence interrupted\n"},
    {Message::ALREADY_TREATED, "Error : File already treated !\n"},
    {Message::FILE_SEQUENCE_INTERRUPTED,
     "Error : file sequence interrupted : file number (%s) is supperior to file number transmitted (%s)\n"},
    {Message::NB_RECORD_DIFFERS, "Error in the number of recordings, nb_record = %s !\n"},
    {Message::TEMPORARY_FILE_EXISTS, "Error : the temporary file %s already exists"},
    {Message::CANNOT_WRITE_TEMPORARY_FILE, "Error : can't write into the temporary file %s"},
    {Message::CANNOT_READ_BACK, "Error fopen (r) file %s"},
    {Message::TRANSACTION_ID_REPEATED, "The transaction_id (%s) is present in several lines\n"},
    {Message::MERCHANT_ID_WARNING, "WARNING: the merchant_id set (%s) is not the same in the %s file (%s)\n"},
    {Message::MERCHANT_COUNTRY_WARNING, "WARNING: the merchant_country set (%s) is not the same in the %s file (%s)\n"},
    {Message::FIRST_RECORD_UNREADABLE, "Error during the read of the first record\n"},
    {Message::VERSION_UNKNOWN, " Error : file Version unknown (%s)\n"},
    {Message::HEADER_NOT_TREATED, "Error during the treatment of the header file\n"},
    {Message::ERROR_RESPONSE_VERSION_UNKNOWN, "Error creation of the response file : file Version unknown (%s)\n"},
}};

// True when every "%" of the texts begins a "%s" mark.
constexpr bool only_marks() {
  for (const auto& [message, text] : TEXTS)
    for (size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at + 1))
      if (text.substr(at, 2) != "%s") return false;
  return true;
}
static_assert(only_marks());

// True when each message has its text, in the order of Message.
constexpr bool in_order() {
  for (size_t i = 0; i < TEXTS.size(); ++i)
    if (TEXTS[i].first != static_cast<Message>(i)) return false;
  return true;
}
static_assert(in_order() && TEXTS.back().first == Message::ERROR_RESPONSE_VERSION_UNKNOWN,
              "one text for each message, in the order of Message");

}  // namespace

std::string_view message_format(Message message) { return TEXTS[static_cast<size_t>(message)].second; }

void append_message(std::string& out, Message message, std::initializer_list<std::string_view> values) {
  std::string_view format = message_format(message);
  const std::string_view* value = values.begin();
  // No text holds a "%" but in its marks.
  for (size_t at; (at = format.find('%')) != std::string_view::npos;) {
    out.append(format.substr(0, at));
    if (value != values.end()) out.append(*value++);
    format.remove_prefix(at + 2);
  }
  out.append(format);
}

std::string message_text(Message message, std::initializer_list<std::string_view> values) {
  std::string text;
  append_message(text, message, values);
  return text;
}

}  // namespace batch
