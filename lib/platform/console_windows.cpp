#include "platform/console.h"

#include <fcntl.h>
#include <io.h>

void prepare_stdout(StdoutRole role) {
  // A stream the run was started without is opened on the null device; a
  // product's standard output for reading only, so every write to it fails.
  if (_fileno(stdin) < 0) std::freopen("NUL", "rb", stdin);
  if (_fileno(stdout) < 0) std::freopen("NUL", role == StdoutRole::PRODUCT ? "rb" : "wb", stdout);
  if (_fileno(stderr) < 0) std::freopen("NUL", "wb", stderr);
  // Without this the C runtime would write every "\n" as "\r\n".
  _setmode(_fileno(stdout), _O_BINARY);
  static char buffer[1 << 16];
  if (_isatty(_fileno(stdout)))
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  else
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

bool is_terminal(FILE* file) { return _isatty(_fileno(file)) != 0; }
