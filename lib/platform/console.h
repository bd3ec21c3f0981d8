#pragma once

#include <cstdio>

// The standard streams a program writes to, as the system gives them.

// What standard output is to a program: where its messages go (batchcheck,
// whose product is the Response file), or its product itself (a page, a
// description, the gallery's closing line), which must not go nowhere.
enum class StdoutRole { MESSAGES, PRODUCT };

// Opens any of standard input, output and error that the run was started
// without on the null device, so no file the run opens takes their place
// (standard output of a PRODUCT for reading only, so that every write to it
// fails as a lost product must); puts standard output in binary mode, so
// every byte reaches the file as written; and buffers it: in large blocks for
// a file or a pipe, so big reports stay fast, not at all for a terminal, so
// each message shows at once.
void prepare_stdout(StdoutRole role = StdoutRole::MESSAGES);

// True when `file` is a terminal (progress lines are shown only there).
bool is_terminal(FILE* file);
