#pragma once

#include <string>
#include <vector>

// Runs pagesim on the command line's arguments (the program name left out):
// writes the HTML document to standard output and returns the exit status.
int run_pagesim(const std::vector<std::string>& args);
