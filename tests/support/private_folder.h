#pragma once

// What every test that needs files shares: a folder of its own, and the
// files in it read, written and listed byte for byte.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>
#include <string>

// Creates a folder that belongs to this process alone, under the system's
// temporary folder: `prefix`, a dash and a random suffix, created only when
// no such folder exists yet, so that parallel test processes, two clones
// testing at once or a folder left by a crashed run never share files.
// The caller removes it.
inline std::filesystem::path make_private_folder(const std::string& prefix) {
  static std::mt19937_64 random{std::random_device{}() ^ static_cast<uint64_t>(
                                    std::filesystem::file_time_type::clock::now().time_since_epoch().count())};
  static const char DIGITS[] = "0123456789abcdef";
  std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = prefix + "-";
    for (uint64_t bits = random(), i = 0; i < 12; ++i, bits >>= 4) name.push_back(DIGITS[bits & 15]);
    std::error_code error;
    if (std::filesystem::create_directory(base / name, error)) return base / name;
  }
  throw std::runtime_error("cannot create a private folder under " + base.string());
}

// The bytes of `path`, or "" when it cannot be read.
inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Writes `content` into `path`, replacing what was there.
inline void write_file(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// Every file below `folder` by relative path with its bytes, every folder by
// relative path and a final slash with "", and every symbolic link with
// "-> " and its target (never followed, so it never passes for a file);
// nothing when `folder` does not exist.
inline std::map<std::string, std::string> files_below(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  if (!std::filesystem::exists(folder)) return files;
  for (auto it = std::filesystem::recursive_directory_iterator(folder); it != decltype(it){}; ++it) {
    std::string name = it->path().lexically_relative(folder).generic_string();
    if (it->is_symlink()) {
      files[name] = "-> " + std::filesystem::read_symlink(it->path()).generic_string();
      it.disable_recursion_pending();
    } else if (it->is_directory()) {
      files[name + "/"] = "";
    } else {
      files[name] = read_file(it->path());
    }
  }
  return files;
}

// A fresh private folder, removed with all it holds when the object goes,
// however the test that made it ends.
struct PrivateFolder {
  PrivateFolder() = default;
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  ~PrivateFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::filesystem::path path = make_private_folder("orba-test");
};

// A test that works in a private folder of its own, `dir_`, and names its
// files relative to it (an absolute path stays as it is).
class PrivateFolderTest : public ::testing::Test {
 protected:
  std::string path(const std::filesystem::path& name) const { return (dir_ / name).string(); }
  void write_file(const std::filesystem::path& name, const std::string& bytes) const {
    ::write_file(dir_ / name, bytes);
  }
  std::string read_file(const std::filesystem::path& name) const { return ::read_file(dir_ / name); }

  PrivateFolder folder_;
  const std::filesystem::path& dir_ = folder_.path;
};
