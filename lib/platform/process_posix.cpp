#include "platform/process.h"

#include <unistd.h>

uint64_t process_id() { return static_cast<uint64_t>(getpid()); }
