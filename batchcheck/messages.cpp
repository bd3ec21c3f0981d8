#include "messages.h"

std::string_view message_format(Message message) {
  switch (message) {
    case Message::VERIFICATION_STARTS:
      return "Global verification of the request file\n";
    case Message::VERIFICATION_FAILED:
      return "\nError in the global verification of the request file (%s)\n";
    case Message::VERIFICATION_PASSED:
      return "\nGlobal verification of the request file (%s) is OK\n";
    case Message::RESPONSE_CREATION:
      return "\nCreation of the response file (%s)\n";
    case Message::RESPONSE_CREATED:
      return "\nResponse file (%s) created\n";
    case Message::RESPONSE_NOT_CREATED:
      return "Error during the creation of the response file (%s)\n";
    case Message::CANNOT_READ_FILE:
      return "Error : can't read the file %s";
    case Message::CANNOT_WRITE_FILE:
      return "Error : can't write into the file %s";
    case Message::RESPONSE_IS_REQUEST:
      return "Error : the response file %s is the request file\n";
    case Message::RESPONSE_IS_TID_FILE:
      return "Error : the response file %s is the temporary file of the request file\n";
    case Message::REQUEST_CHANGED:
      return "Error : the request file %s changed during the run\n";
    case Message::CONSOLE_LOST:
      return "Error : can't write the messages on the standard output\n";
    case Message::OUT_OF_MEMORY:
      return "Error : not enough memory to check the request file\n";
    case Message::UNEXPECTED_ERROR:
      return "Error : %s\n";
    case Message::WRONG_RECORD_LENGTH:
      return "error length in record %s\n";
    case Message::FIRST_RECORD_NOT_HEADER:
      return "error in first record\n";
    case Message::MERCHANT_COUNTRY_DIFFERS:
      return "The merchant_country in header file (%s) is not the same that in line %s \n";
    case Message::MERCHANT_ID_DIFFERS:
      return "The in merchant_id in header file (%s) is not the same that in line %s \n";
    case Message::FOOTER_NOT_CONSISTENT:
      return "First and last record are not consistent:\n First (%s)\n last  (%s)\n";
    case Message::UNKNOWN_RECORD_CODE:
      return "Error in code enregistrement (%s)\n";
    case Message::SUMMARY:
      return "\nnumber of the tested file = %s\nnumber of recordings = %s\nnumber of errors = %s\n"
             "number of heading recording = %s\nnumber of end recording = %s\n\n";
    case Message::INCORRECT_SIZE:
      return "Error : incorrect size file (%s)!\n";
    case Message::RECORD_NUMBERS_INTERRUPTED:
      return "Error : recordings sequence interrupted\n";
    case Message::ALREADY_TREATED:
      return "Error : File already treated !\n";
    case Message::FILE_SEQUENCE_INTERRUPTED:
      return "Error : file sequence interrupted : file number (%s) is supperior to file number transmitted (%s)\n";
    case Message::NB_RECORD_DIFFERS:
      return "Error in the number of recordings, nb_record = %s !\n";
    case Message::TEMPORARY_FILE_EXISTS:
      return "Error : the temporary file %s already exists";
    case Message::CANNOT_WRITE_TEMPORARY_FILE:
      return "Error : can't write into the temporary file %s";
    case Message::CANNOT_READ_BACK:
      return "Error fopen (r) file %s";
    case Message::TRANSACTION_ID_REPEATED:
      return "The transaction_id (%s) is present in several lines\n";
    case Message::MERCHANT_ID_WARNING:
      return "WARNING: the merchant_id set (%s) is not the same in the %s file (%s)\n";
    case Message::MERCHANT_COUNTRY_WARNING:
      return "WARNING: the merchant_country set (%s) is not the same in the %s file (%s)\n";
    case Message::FIRST_RECORD_UNREADABLE:
      return "Error during the read of the first record\n";
    case Message::VERSION_UNKNOWN:
      return " Error : file Version unknown (%s)\n";
    case Message::HEADER_NOT_TREATED:
      return "Error during the treatment of the header file\n";
    case Message::ERROR_RESPONSE_VERSION_UNKNOWN:
      return "Error creation of the response file : file Version unknown (%s)\n";
  }
  return "";
}

void append_message(std::string& out, Message message, std::initializer_list<std::string_view> values) {
  constexpr std::string_view MARK = "%s";
  std::string_view format = message_format(message);
  const std::string_view* value = values.begin();
  for (size_t at; (at = format.find(MARK)) != std::string_view::npos;) {
    out.append(format.substr(0, at));
    if (value != values.end()) out.append(*value++);
    format.remove_prefix(at + MARK.size());
  }
  out.append(format);
}

std::string message_text(Message message, std::initializer_list<std::string_view> values) {
  std::string text;
  append_message(text, message, values);
  return text;
}
