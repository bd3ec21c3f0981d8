#pragma once

#include <string>

// Everything batchcheck's command line gives.
struct BatchcheckArguments {
  std::string merchant_id;
  std::string merchant_country;
  std::string request_file;
  std::string response_file;
  std::string file_number;
};

// One run of batchcheck: checks the Request file, prints the findings and
// the verdict, writes the Response file. True when the run reached its end,
// whatever the verdict. False when it could not be carried out, after saying
// why: a file that cannot be opened, the Request changed or unreadable while
// it is answered, the Response not written whole; the previous Response file
// is then kept. Standard output lost (ConsoleWriteError) or memory run out
// (std::bad_alloc) throw: the driver removes the files the run created.
bool run_batchcheck(const BatchcheckArguments& args);
