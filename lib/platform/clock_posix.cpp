#include "platform/clock.h"

#include <time.h>

namespace {

// Narrows a time value to time_t, refusing what the system cannot hold.
bool to_time_t(int64_t seconds, time_t& out) {
  out = static_cast<time_t>(seconds);
  return static_cast<int64_t>(out) == seconds;
}

}  // namespace

bool to_local_time(int64_t seconds, std::tm& out) {
  time_t t;
  return to_time_t(seconds, t) && localtime_r(&t, &out) != nullptr;
}

bool to_utc_time(int64_t seconds, std::tm& out) {
  time_t t;
  return to_time_t(seconds, t) && gmtime_r(&t, &out) != nullptr;
}
