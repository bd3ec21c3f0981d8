#pragma once

#include <cstdint>

// The number of this process, which names files of this run alone.
uint64_t process_id();
