#include "platform/console.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

void prepare_stdout(StdoutRole role) {
  // open() takes the lowest free descriptor: a closed 0, 1 or 2 is taken by
  // the null device before any file of the run could take it.
  for (int fd = 0; fd <= 2; ++fd)
    if (fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
      int opened = open("/dev/null", fd == STDOUT_FILENO && role == StdoutRole::PRODUCT ? O_RDONLY : O_RDWR);
      if (opened >= 0 && opened != fd) {
        dup2(opened, fd);
        close(opened);
      }
    }
  static char buffer[1 << 16];
  if (isatty(STDOUT_FILENO))
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  else
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

bool is_terminal(FILE* file) { return isatty(fileno(file)) == 1; }
