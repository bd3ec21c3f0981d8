// batchcheck: checks a subscription batch (the Request file) the way the
// payment server will, and writes the Response file the server would return.
#include <cstdio>
#include <string>

#include "console.h"
#include "platform.h"
#include "response_writer.h"
#include "verify.h"

namespace {

// Widths of the identity the server accepts on the command line.
constexpr size_t MERCHANT_ID_WIDTH = 15;
constexpr size_t MERCHANT_COUNTRY_WIDTH = 3;
constexpr size_t FILE_NUMBER_WIDTH = 7;

int usage(const char* program) {
  say({"Error  : usage is ", program, " <merchant_id> <merchant_country> <request_file> <response_file> <file_number>\n"});
  return 1;
}

// Everything the command line gives.
struct Arguments {
  std::string merchant_id;
  std::string merchant_country;
  std::string request_file;
  std::string response_file;
  std::string file_number;
};

int run(const Arguments& args) {
  FILE* request = open_for_reading(args.request_file);
  if (!request) {
    say({"Error : can't read the file ", args.request_file});
    return 2;
  }
  // Opening the response would empty the request before it is checked.
  if (same_file(args.request_file, args.response_file)) {
    std::fclose(request);
    say({"Error : the response file ", args.response_file, " is the request file\n"});
    return 2;
  }
  FILE* response = open_for_writing(args.response_file);
  if (!response) {
    std::fclose(request);
    say({"Error : can't write into the file ", args.response_file});
    return 2;
  }

  say({"Global verification of the request file\n"});
  int result = verify_request_file(args.request_file, args.file_number);
  int written;
  if (result != VERIFY_OK) {
    say({"\nError in the global verification of the request file (", args.request_file, ")\n"});
    written = write_error_response(request, response, decimal(result));
  } else {
    say({"\nGlobal verification of the request file (", args.request_file, ") is OK\n"});
    say({"\nCreation of the response file (", args.response_file, ")\n"});
    written = write_response_file(args.merchant_id, args.merchant_country, request, response);
  }
  std::fclose(request);
  // A full disk must never pass for a Response file written whole.
  bool stored = std::fflush(response) == 0 && !std::ferror(response);
  if (std::fclose(response) != 0) stored = false;
  if (!stored) {
    say({"Error during the creation of the response file (", args.response_file, ")\n"});
    return 2;
  }
  if (result == VERIFY_OK) {
    if (written != 0)
      say({"Error during the creation of the response file (", args.response_file, ")\n"});
    else
      say({"\nResponse file (", args.response_file, ") created\n"});
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  prepare_stdout();
  install_interrupt_cleanup();
  const char* program = argc > 0 ? argv[0] : "batchcheck";
  if (argc != 6) return usage(program);
  Arguments args{argv[1], argv[2], argv[3], argv[4], argv[5]};
  if (args.merchant_id.size() > MERCHANT_ID_WIDTH || args.merchant_country.size() > MERCHANT_COUNTRY_WIDTH ||
      args.file_number.size() > FILE_NUMBER_WIDTH)
    return usage(program);
  int status = run(args);
  std::fflush(stdout);
  return status;
}
