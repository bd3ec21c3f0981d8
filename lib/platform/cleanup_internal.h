#pragma once

#include <cstdio>
#include <string>

#include "platform/cleanup.h"

// Private to the platform's own source files, never included by a header of
// its users: the step of create_temporary that both systems share.

// `create`, then `register_file` for the file it created. A file that cannot
// be registered would outlive an interrupt: it is closed and removed at once,
// and FAILED comes back as if it could not be created. The caller holds off
// the interrupt cleanup meanwhile, the system's own way.
CreateResult create_registered(const std::string& path, FILE*& file,
                               CreateResult (*create)(const std::string&, FILE*&),
                               bool (*register_file)(const std::string&));
