#pragma once

#include <cstdint>
#include <ctime>

#include "platform/clock.h"

// Private to the platform's own source files, never included by a header of
// its users: what the clock shared by both systems asks of each system's own
// source file.

// The calendar a time value is read on.
enum class CalendarZone { LOCAL, UTC };

// The calendar `seconds` falls on in `zone`, by the system's own call; false
// when the system's time type cannot hold the value or the call refuses it.
bool system_calendar(int64_t seconds, CalendarZone zone, std::tm& out);

// Narrows a time value to the system's time type (`Time`), refusing what it
// cannot hold.
template <typename Time>
bool narrow_time(int64_t seconds, Time& out) {
  out = static_cast<Time>(seconds);
  return static_cast<int64_t>(out) == seconds;
}
