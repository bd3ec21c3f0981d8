#include "platform/clock.h"

#include "platform/clock_internal.h"

bool to_local_time(int64_t seconds, std::tm& out) { return system_calendar(seconds, CalendarZone::LOCAL, out); }

bool to_utc_time(int64_t seconds, std::tm& out) { return system_calendar(seconds, CalendarZone::UTC, out); }
