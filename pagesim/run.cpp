// The whole pagesim run, from the command line's words to the exit status.
#include "run.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "output.h"
#include "page_options.h"
#include "page_types.h"
#include "platform.h"
#include "template.h"
#include "text_file.h"

namespace {

// Tells how to call the program; the merchant sees it on the console, so it
// is plain text, not HTML.
void print_usage() {
  emit("usage is: \n");
  emit("pagesim \"template_name\" \"page_type\" > test.html\n");
  emit("Example:\n");
  emit("pagesim merchant_template RECORD_CAPTURE > test.html\n\n");
  emit("Look at the pagesim documentation for more informations.\n");
}

// Opens the document; every page and every diagnostic shares this head.
void print_html_head() { emit("<html><head><title>ORBA</title></head>\n"); }

// Closes the document, on success and failure alike.
void print_html_tail() { emit("</body></html>\n"); }

// Ends the run with `status`, or with 1 when the page did not fully reach
// standard output (a full disk): the merchant must not trust a cut preview.
int finish(int status) {
  if (finish_output()) return status;
  std::fputs("pagesim: cannot write the page to standard output\n", stderr);
  return 1;
}

}  // namespace

int run_pagesim(const std::vector<std::string>& args) {
  if (args.size() < 2) {
    print_usage();
    return finish(1);
  }
  PageOptions options;
  init_page_options(options);
  options.template_name = args[0];
  options.page_type = args[1];
  print_html_head();
  if (!read_parameters(options)) {
    print_html_tail();
    return finish(1);
  }
  if (!is_known_page_type(options.page_type)) {
    emit("<body>\n");
    emit("The keyword ");
    emit(options.page_type);
    emit(" doesn't exist\n");
    print_html_tail();
    return finish(1);
  }
  // The template is read once; the check and the split both work on the text.
  std::string text;
  std::FILE* template_file = open_for_reading(options.template_name);
  bool readable = template_file && read_whole_file(template_file, text);
  if (template_file) std::fclose(template_file);
  if (!readable) {
    emit("<body>\n");
    emit("Can't read the template file (");
    emit(options.template_name);
    emit(")\n");
    print_html_tail();
    return finish(1);
  }
  if (!check_template(text)) {
    emit("Your template contains errors, look at the pagesim documentation for more informations.\n");
    print_html_tail();
    return finish(1);
  }
  std::string_view before;
  std::string_view after;
  split_template(text, before, after);
  emit(before);
  find_page_renderer(options.page_type)(options);
  emit(after);
  if (!options.NO_COPYRIGHT) emit("<br><center><font size=-2>Preview of an ORBA payment page</font></center>");
  print_html_tail();
  return finish(0);
}
