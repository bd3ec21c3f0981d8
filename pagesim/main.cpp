// pagesim: previews one of the payment server's subscription pages inside
// the merchant's own HTML template, as one HTML document on standard output.
#include <string>
#include <vector>

#include "platform.h"
#include "run.h"

int main(int argc, char** argv) {
  prepare_stdout();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return run_pagesim(args);
}
