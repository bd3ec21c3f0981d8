#include "platform/clock.h"

#include <time.h>

namespace {

// Narrows a time value to the 64-bit time of the C runtime.
bool to_time64(int64_t seconds, __time64_t& out) {
  out = static_cast<__time64_t>(seconds);
  return static_cast<int64_t>(out) == seconds;
}

}  // namespace

bool to_local_time(int64_t seconds, std::tm& out) {
  __time64_t t;
  return to_time64(seconds, t) && _localtime64_s(&out, &t) == 0;
}

bool to_utc_time(int64_t seconds, std::tm& out) {
  __time64_t t;
  return to_time64(seconds, t) && _gmtime64_s(&out, &t) == 0;
}
