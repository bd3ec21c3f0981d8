// Shared by the fuzz targets: a private working folder, a silenced standard
// output, files written from the fuzzer's bytes, and what a writer writes
// gathered in memory.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "support/block_writer.h"

namespace fuzz {

// The folder enter_private_folder made, removed when the fuzzer ends.
inline std::string& private_folder() {
  static std::string folder;
  return folder;
}

// Moves the process into a fresh folder of its own, so that the files a run
// writes (./parameters, <request>.TID) never meet anybody else's, and removes
// it with everything in it when the fuzzer ends its run. After a finding the
// process aborts instead, and the folder stays as the input left it.
inline void enter_private_folder() {
  std::string& folder = private_folder();
  folder = (std::filesystem::temp_directory_path() / "orba-fuzz-XXXXXX").string();
  if (!mkdtemp(folder.data()) || chdir(folder.c_str()) != 0) std::abort();
  std::atexit([] {
    std::error_code error;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), error);
    std::filesystem::remove_all(private_folder(), error);
  });
}

// Sends standard output to /dev/null: the tools' messages are not the
// fuzzer's business, and libFuzzer reports on standard error.
inline void silence_stdout() {
  std::fflush(stdout);
  int null_fd = open("/dev/null", O_WRONLY);
  if (null_fd < 0 || dup2(null_fd, STDOUT_FILENO) < 0) std::abort();
  close(null_fd);
}

// Both of the above, as the targets that run a tool's own code on files and
// pages start: a private folder, and no message on standard output.
inline void enter_quiet_private_folder() {
  enter_private_folder();
  silence_stdout();
}

// The fuzzer's input as the bytes of a text.
inline std::string_view bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Writes `content` into `path`, replacing what was there.
inline void write_file(const std::string& path, std::string_view content) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  if (!content.empty() && std::fwrite(content.data(), 1, content.size(), file) != content.size()) std::abort();
  if (std::fclose(file) != 0) std::abort();
}

// A temporary stream holding `content`, positioned at its start.
inline std::FILE* stream_of(std::string_view content) {
  std::FILE* file = std::tmpfile();
  if (!file) std::abort();
  if (!content.empty() && std::fwrite(content.data(), 1, content.size(), file) != content.size()) std::abort();
  std::rewind(file);
  return file;
}

// Runs `write` on a block writer over memory and puts what it wrote, flushed,
// into `written`; gives back what `write` answered. A flush into memory fails
// only when memory runs out, which stops the run.
template <typename Write>
bool write_in_memory(Write write, std::string& written) {
  char* buffer = nullptr;
  size_t buffer_size = 0;
  std::FILE* out = open_memstream(&buffer, &buffer_size);
  if (!out) std::abort();
  support::BlockWriter writer = support::make_block_writer(out);
  bool answered = write(writer);
  if (!support::flush_block_writer(writer)) std::abort();
  std::fclose(out);
  written.assign(buffer, buffer_size);
  std::free(buffer);
  return answered;
}

// write_in_memory for a writer that reads: `write` is given a stream that
// holds `input` as well as the block writer.
template <typename Write>
bool write_from_stream(std::string_view input, Write write, std::string& written) {
  std::FILE* in = stream_of(input);
  bool answered = write_in_memory([&](support::BlockWriter& out) { return write(in, out); }, written);
  std::fclose(in);
  return answered;
}

// Stops the run with a finding when `holds` is false.
inline void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace fuzz
