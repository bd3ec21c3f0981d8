#include "platform/watch.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "platform/cleanup.h"
#include "platform/windows_internal.h"

using windows_internal::on_console_event;

namespace {

// Set once a stop was requested; the event wakes wait_unless_stopped.
std::atomic<bool> stop_asked{false};
HANDLE stop_wakeup = nullptr;

// How long the console's close waits for the run to end by itself; Windows
// ends the process itself five seconds after the event.
constexpr DWORD CLOSE_GRACE_MS = 4000;

BOOL WINAPI on_stop_request(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT && event != CTRL_LOGOFF_EVENT &&
      event != CTRL_SHUTDOWN_EVENT)
    return FALSE;
  // A second request is impatience: clean up and end now.
  if (stop_asked.exchange(true)) return on_console_event(event);
  SetEvent(stop_wakeup);
  // The process ends as soon as this handler returns from a close, logoff or
  // shutdown event: wait here for end_stopped_run, which ends it with the
  // files whole.
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
    Sleep(CLOSE_GRACE_MS);
    return on_console_event(event);
  }
  return TRUE;
}

}  // namespace

FileStamp file_stamp(const std::string& path) {
  BY_HANDLE_FILE_INFORMATION info;
  FileStamp stamp;
  if (!windows_internal::file_identity(path, info)) return stamp;
  stamp.exists = true;
  stamp.identity = (static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow) ^
                   (static_cast<uint64_t>(info.dwVolumeSerialNumber) << 40);
  stamp.size = static_cast<uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
  stamp.changed = static_cast<int64_t>(static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32 |
                                       info.ftLastWriteTime.dwLowDateTime);
  return stamp;
}

void catch_stop_requests() {
  stop_wakeup = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  // Called before the cleanup handler, which was installed first.
  SetConsoleCtrlHandler(on_stop_request, TRUE);
}

bool wait_unless_stopped(int milliseconds) {
  if (stop_asked.load()) return true;
  if (stop_wakeup) WaitForSingleObject(stop_wakeup, static_cast<DWORD>(milliseconds));
  else Sleep(static_cast<DWORD>(milliseconds));
  return stop_asked.load();
}

void end_stopped_run() {
  std::fflush(stdout);
  remove_registered_files();
  ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}
