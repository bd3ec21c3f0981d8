#pragma once

#include <string>
#include <vector>

// One run of batchcheck on its command-line arguments (`program` is the name
// it was invoked by): checks the Request file, prints the findings and the
// verdict, writes the Response file, and returns the exit status. A run that
// fails as a machine (out of memory, standard output lost, the Request
// changed or unreadable while it is answered) removes the files it created,
// keeps the previous Response file and returns 2.
int run_batchcheck(const char* program, const std::vector<std::string>& args);
