#pragma once

#include <cstddef>
#include <string>

#include "platform/replacement.h"

// Private to the platform's own source files, never included by a header of
// its users: what the replacement shared by both systems asks of each
// system's own source file, and what it gives them back.

// Moves the closed temporary file onto the target in one step; false when
// the system or the folder refuses it (the target then stays as it was).
bool move_into_place(const Replacement& replacement);

// Creates the replacement's temporary file beside its target, registered for
// removal should the run be interrupted: <target>.<pid>-<n>.tmp, or, when
// the target's name leaves no room for that suffix, the same with the name
// cut short (cut_name). False when neither can be made.
bool create_beside(Replacement& replacement);

// `target` with its name cut short enough that the name and a suffix of
// `suffix_size` characters make a name, and a path, the system takes: the
// folder's longest name on POSIX; 255 characters, and MAX_PATH for the
// whole path, on Windows. False when the name is no longer than that, so
// that no shorter name would help.
bool cut_name(const std::string& target, size_t suffix_size, std::string& stem);

// Opens `path` for writing as a plain open would, the replacement writing it
// directly.
bool write_directly(const std::string& path, Replacement& replacement);
