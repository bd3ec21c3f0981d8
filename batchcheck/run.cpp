#include "run.h"

#include <cstdio>
#include <exception>
#include <new>

#include "console.h"
#include "platform.h"
#include "response_writer.h"
#include "tid_file.h"
#include "verify.h"

namespace {

// Widths of the identity the server accepts on the command line.
constexpr size_t MERCHANT_ID_WIDTH = 15;
constexpr size_t MERCHANT_COUNTRY_WIDTH = 3;

// Everything the command line gives.
struct Arguments {
  std::string merchant_id;
  std::string merchant_country;
  std::string request_file;
  std::string response_file;
  std::string file_number;
};

// The exit status of a run that cannot be carried out: a file that cannot be
// opened, or a failure of the machine.
constexpr int STATUS_FAILED = 2;

int usage(const char* program) {
  say({"Error  : usage is ", program, " <merchant_id> <merchant_country> <request_file> <response_file> <file_number>\n"});
  return 1;
}

// Prints the creation error line; the previous Response stays as it was.
int response_not_created(Replacement& response, const Arguments& args) {
  discard_replacement(response);
  say({"Error during the creation of the response file (", args.response_file, ")\n"});
  return STATUS_FAILED;
}

int check_and_answer(const Arguments& args) {
  // The verification creates and deletes that file: as the Response it would
  // be emptied under the verification, or deleted once written.
  if (same_place(args.response_file, tid_file_name(args.request_file))) {
    say({"Error : the response file ", args.response_file, " is the temporary file of the request file\n"});
    return STATUS_FAILED;
  }
  FILE* request = open_for_reading(args.request_file);
  if (!request) {
    say({"Error : can't read the file ", args.request_file});
    return STATUS_FAILED;
  }
  // Opening the response would empty the request before it is checked.
  if (same_file(args.request_file, args.response_file)) {
    std::fclose(request);
    say({"Error : the response file ", args.response_file, " is the request file\n"});
    return STATUS_FAILED;
  }
  Replacement response;
  if (!open_replacement(args.response_file, response)) {
    std::fclose(request);
    say({"Error : can't write into the file ", args.response_file});
    return STATUS_FAILED;
  }

  say({"Global verification of the request file\n"});
  ReadTally verified;
  int result = verify_request_file(args.request_file, args.file_number, &verified);
  RecordReader reader = make_record_reader(request);
  int written;
  if (result != VERIFY_OK) {
    say({"\nError in the global verification of the request file (", args.request_file, ")\n"});
    written = write_error_response(reader, response.file, decimal(result));
  } else {
    say({"\nGlobal verification of the request file (", args.request_file, ") is OK\n"});
    say({"\nCreation of the response file (", args.response_file, ")\n"});
    written = write_response_file(args.merchant_id, args.merchant_country, reader, response.file);
  }
  // The answer stands only on the bytes the verification checked: the rest
  // of the file is read too, and both readings must agree to the byte.
  read_to_end(reader);
  std::fclose(request);
  if (reader.failed) return response_not_created(response, args);
  if (verified.whole && !same_bytes(verified, reader.tally)) {
    discard_replacement(response);
    say({"Error : the request file ", args.request_file, " changed during the run\n"});
    return STATUS_FAILED;
  }
  // A full disk must never pass for a Response file written whole.
  if (!close_replacement(response)) return response_not_created(response, args);
  // The report must reach the merchant before the Response takes its place;
  // "created" is said only once it is there.
  flush_console();
  if (!install_replacement(response)) return response_not_created(response, args);
  if (result == VERIFY_OK) {
    if (written != 0)
      say({"Error during the creation of the response file (", args.response_file, ")\n"});
    else
      say({"\nResponse file (", args.response_file, ") created\n"});
  }
  return 0;
}

}  // namespace

int run_batchcheck(const char* program, const std::vector<std::string>& args) {
  try {
    if (args.size() != 5) return usage(program);
    Arguments arguments{args[0], args[1], args[2], args[3], args[4]};
    if (arguments.merchant_id.size() > MERCHANT_ID_WIDTH || arguments.merchant_country.size() > MERCHANT_COUNTRY_WIDTH ||
        arguments.file_number.size() > FILE_NUMBER_ARGUMENT_WIDTH)
      return usage(program);
    int status = check_and_answer(arguments);
    flush_console();
    return status;
  } catch (const ConsoleWriteError&) {
    remove_registered_files();
    std::fputs("Error : can't write the messages on the standard output\n", stderr);
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    // No allocation from here: the message is a literal.
    std::fputs("Error : not enough memory to check the request file\n", stdout);
    std::fflush(stdout);
  } catch (const std::exception& error) {
    remove_registered_files();
    std::fputs("Error : ", stdout);
    std::fputs(error.what(), stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
  }
  return STATUS_FAILED;
}
