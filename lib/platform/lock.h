#pragma once

#include <cstdio>
#include <string>

// An exclusive hold on a folder for a whole run, so that two runs never
// write into it at once: a lock file in the folder, locked by the system for
// as long as the run holds it open.
struct FolderLock {
  FILE* file = nullptr;
  std::string path;
};

// Outcome of lock_folder.
enum class LockResult { LOCKED, HELD_ELSEWHERE, FAILED };

// Takes the lock file `path`, creating it when missing (never through a
// link). HELD_ELSEWHERE while another run holds it; a lock file left by a
// run that was killed holds nothing and is taken over. The file is removed
// by unlock_folder and should the run be interrupted, in both cases only
// while it is still the file the run holds.
LockResult lock_folder(const std::string& path, FolderLock& lock);

// True while the file at lock.path is the lock file the run holds: false
// once the folder was removed (another run may have made it anew and hold
// the lock there), moved away with the lock file, or replaced by a link to
// another folder. A run that writes into the folder again and again checks
// it before each writing.
bool still_holds(const FolderLock& lock);

// Lets the lock go, removing the lock file while still_holds: never one that
// another run holds, nor the file a path names once the lock moved away.
void unlock_folder(FolderLock& lock);
