// Windows helper of the end-to-end runner: starts a program under the name a
// merchant would type.
//
// Usage: run_as NAME PROGRAM [ARGS...]
//
// Runs PROGRAM with a command line whose first word is NAME (the program's
// argv[0]) followed by ARGS unchanged, on the same standard handles, waits for
// it and exits with its exit status. A program started straight from Wine
// sees its full path as argv[0] instead, which batchcheck prints in its
// usage line.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

// Appends `arg` to `line` quoted so that the C runtime reads it back as one
// unchanged argument.
void append_argument(std::wstring& line, const std::wstring& arg) {
  if (!line.empty()) line += L' ';
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    line += arg;
    return;
  }
  line += L'"';
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes double only before a quote, which is escaped itself.
    if (c == L'"') line.append(backslashes + 1, L'\\');
    line.append(backslashes, L'\\');
    line += c;
    backslashes = 0;
  }
  // The closing quote follows: trailing backslashes double.
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 3) return 125;
  std::wstring line;
  append_argument(line, argv[1]);
  for (int i = 3; i < argc; ++i) append_argument(line, argv[i]);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(argv[2], line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
    return 126;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 126;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}
