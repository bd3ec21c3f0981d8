#include "platform/lock.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/windows_internal.h"

LockResult lock_folder(const std::string& path, FolderLock& lock) {
  lock = FolderLock{};
  // Shared with no one while held; the system deletes it when the handle
  // closes, also when the run is killed. A link at the path is opened as
  // itself, never written through.
  DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT;
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_SHARING_VIOLATION ? LockResult::HELD_ELSEWHERE : LockResult::FAILED;
  lock.file = windows_internal::as_stream(handle, _O_RDWR, "r+b");
  if (!lock.file) return LockResult::FAILED;
  lock.path = path;
  return LockResult::LOCKED;
}

bool still_holds(const FolderLock& lock) {
  if (!lock.file) return false;
  BY_HANDLE_FILE_INFORMATION held;
  BY_HANDLE_FILE_INFORMATION named;
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(lock.file)));
  return GetFileInformationByHandle(handle, &held) && windows_internal::file_identity(lock.path, named) &&
         held.dwVolumeSerialNumber == named.dwVolumeSerialNumber && held.nFileIndexHigh == named.nFileIndexHigh &&
         held.nFileIndexLow == named.nFileIndexLow;
}

void unlock_folder(FolderLock& lock) {
  // The system deletes the file the handle holds, wherever it now lies,
  // never another file at its path.
  if (lock.file) std::fclose(lock.file);
  lock = FolderLock{};
}
