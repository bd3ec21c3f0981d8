#include "date.h"
// Not written yet.
int format_now(int64_t, std::string_view, std::string& output) { output.clear(); return 0; }
