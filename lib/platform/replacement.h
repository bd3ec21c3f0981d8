#pragma once

#include <cstdio>
#include <string>

// What a replacement does with a symbolic link at its path: write the file
// the link names, the link staying (the Response: the merchant's link to the
// place the server's files go), or put a regular file in the link's own place
// and never write through it (the gallery's files, in a folder where anyone
// who may write could have planted a link to a file elsewhere).
enum class AtLink { REPLACE_TARGET, REPLACE_LINK };

// Whether an existing regular file that no temporary file can replace (its
// folder lets none be made beside it, or renamed onto it) is written in
// place, as a plain open would write it (the Response: the old file is then
// not kept should the run fail), or refused (a made batch: the merchant's
// file stays whole whatever happens to the run).
enum class InPlace { ALLOWED, FORBIDDEN };

// A file that is replaced whole or not at all: the bytes go to a temporary
// file beside the target, which takes the target's place only once complete.
// A target that is not a regular file (a device, a pipe), a name of an open
// descriptor (/dev/stdout, /dev/fd/N) and the file standard output goes to
// are written directly. The temporary file is never a new refusal unless
// in_place is FORBIDDEN: when none can be made beside the target, or renamed
// onto it, the target is written in place as a plain open would write it.
struct Replacement {
  FILE* file = nullptr;
  std::string target;     // the file replaced: the path, or a link's target
  std::string temporary;  // empty when the target is written directly
  AtLink at_link = AtLink::REPLACE_TARGET;
  InPlace in_place = InPlace::ALLOWED;
  // Set when the replacement failed for the one reason that in_place
  // FORBIDDEN adds: only a write in place was left.
  bool in_place_refused = false;
};

// Opens a replacement of `path`. An existing target keeps its permissions, a
// new one gets those of a plain creation. False when the target cannot be
// written (an empty path, a directory, a pipe nobody reads, a file the user
// may not write, a file a plain open could not create), or, with in_place
// FORBIDDEN, when an existing regular file could only be written in place.
bool open_replacement(const std::string& path, Replacement& replacement, AtLink at_link = AtLink::REPLACE_TARGET,
                      InPlace in_place = InPlace::ALLOWED);

// Closes the replacement's file; false when a write failed. The target is
// not touched yet.
bool close_replacement(Replacement& replacement);

// Puts the closed replacement in the target's place; false when it cannot.
// A target that refuses the rename (another user's file in a sticky folder)
// is written in place with the replacement's bytes, unless at_link is
// REPLACE_LINK (writing in place could then go through a link) or in_place
// FORBIDDEN.
bool install_replacement(Replacement& replacement);

// Closes the replacement if it is open and removes its temporary file: the
// target stays as it was.
void discard_replacement(Replacement& replacement);
