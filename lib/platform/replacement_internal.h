#pragma once

#include <string>

#include "platform/replacement.h"

// Private to the platform's own source files, never included by a header of
// its users: what the replacement shared by both systems asks of each
// system's own source file, and what it gives them back.

// Moves the closed temporary file onto the target in one step; false when
// the system or the folder refuses it (the target then stays as it was).
bool move_into_place(const Replacement& replacement);

// Opens `path` for writing as a plain open would, the replacement writing it
// directly.
bool write_directly(const std::string& path, Replacement& replacement);
