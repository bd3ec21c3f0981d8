#include "platform/clock.h"

#include <time.h>

#include "platform/clock_internal.h"

// Through the C runtime's 64-bit time, whatever the width of its time_t.
bool system_calendar(int64_t seconds, CalendarZone zone, std::tm& out) {
  __time64_t t;
  if (!narrow_time(seconds, t)) return false;
  return (zone == CalendarZone::LOCAL ? _localtime64_s(&out, &t) : _gmtime64_s(&out, &t)) == 0;
}
