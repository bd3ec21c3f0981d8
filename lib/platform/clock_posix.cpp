#include "platform/clock.h"

#include <time.h>

#include "platform/clock_internal.h"

bool system_calendar(int64_t seconds, CalendarZone zone, std::tm& out) {
  time_t t;
  if (!narrow_time(seconds, t)) return false;
  return (zone == CalendarZone::LOCAL ? localtime_r(&t, &out) : gmtime_r(&t, &out)) != nullptr;
}
