#pragma once

#include <cstdint>
#include <filesystem>
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
