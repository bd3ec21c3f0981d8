#pragma once

#include <cstdint>
#include <ctime>

// The calendar a time value falls on where the run works (a page's date, the
// time a watch saw a change); false when the value cannot be converted.
bool to_local_time(int64_t seconds, std::tm& out);

// The calendar a time value falls on in UTC; false when the value cannot be
// converted.
bool to_utc_time(int64_t seconds, std::tm& out);
