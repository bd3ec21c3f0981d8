// batchcheck: checks a subscription batch (the Request file) the way the
// payment server will, and writes the Response file the server would return.
#include <string>
#include <vector>

#include "platform.h"
#include "run.h"

int main(int argc, char** argv) {
  prepare_stdout();
  install_interrupt_cleanup();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return run_batchcheck(argc > 0 ? argv[0] : "batchcheck", args);
}
