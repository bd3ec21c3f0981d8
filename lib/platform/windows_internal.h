#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

// Private to the platform's Windows source files, never included by a header
// of its users: what more than one of them needs.
namespace windows_internal {

// The volume and the file index of `path`, which tell one file from another
// whatever the letter case, the separators or the ".." steps of its name.
bool file_identity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info);

// Opens `path` with FILE_SHARE_DELETE, so that the interrupt cleanup can
// delete a file the run holds open.
HANDLE open_shared(const std::string& path, DWORD access, DWORD disposition);

// Hands an open handle to the C runtime; closes it on failure.
FILE* as_stream(HANDLE handle, int mode, const char* stream_mode);

// True when `path` names the file that the standard stream `which`
// (STD_INPUT_HANDLE, STD_OUTPUT_HANDLE) reads or writes.
bool is_standard_stream(const std::string& path, DWORD which);

// The console's control handler of the interrupt cleanup: removes the
// registered files and ends the run as Ctrl-C does.
BOOL WINAPI on_console_event(DWORD event);

}  // namespace windows_internal
