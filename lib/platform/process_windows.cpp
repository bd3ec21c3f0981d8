#include "platform/process.h"

#include <windows.h>

uint64_t process_id() { return GetCurrentProcessId(); }
