#pragma once

#include <string_view>

// Answers a command line made of `--help` or `--version` alone: writes `help`
// (the program's command line, one line per argument, the exit statuses and
// where the manual is, as "Manual: man NAME": the install test looks for it),
// or "NAME VERSION" and a line end, to standard output. Returns the exit
// status for the program to end with (0, or `failure_status` after one line
// on standard error when standard output cannot be written), or -1 for any
// other command line, which the program then treats as it always has. Every
// program calls it first thing:
//   if (int status = answer_help_or_version(argc, argv, "pagesim", HELP, 1); status >= 0) return status;
int answer_help_or_version(int argc, const char* const* argv, std::string_view name, std::string_view help,
                           int failure_status);
