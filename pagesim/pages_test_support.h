#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

#include "output.h"
#include "page_options.h"

// What `write` emits, captured instead of going to standard output.
inline std::string captured(const std::function<void()>& write) {
  std::string page;
  capture_output(&page);
  write();
  capture_output(nullptr);
  return page;
}

// The body `render` writes for `options`.
inline std::string body_of(void (*render)(PageOptions), const PageOptions& options) {
  return captured([&] { render(options); });
}

// Options as a merchant with an empty Parameters file gets them, in English
// (language 0) or French (language 1).
inline PageOptions default_options(int language = 0) {
  PageOptions options;
  options.LANGUAGE = language;
  return options;
}

// The golden page body testdata/`name`, byte for byte.
inline std::string golden(std::string_view name) {
  std::ifstream in(std::string(PAGESIM_TESTDATA) + "/" + std::string(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Equal bytes; on a difference, says where (page bodies are one long line, so
// a whole-string dump would hide it).
inline ::testing::AssertionResult same_bytes(const std::string& expected, const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  size_t from = at > 60 ? at - 60 : 0;
  return ::testing::AssertionFailure() << "bytes differ at offset " << at << " (expected " << expected.size()
                                       << " bytes, got " << actual.size() << ")\n  expected: ..."
                                       << expected.substr(from, 160) << "\n  actual:   ..." << actual.substr(from, 160);
}

// A renderer and the name of its golden bodies (testdata/NAME.en.html and
// testdata/NAME.fr.html, written with empty options).
struct GoldenCase {
  void (*render)(PageOptions);
  const char* name;
};

// Compares each renderer's English and French bodies with their golden files.
inline void expect_golden_bodies(std::initializer_list<GoldenCase> cases) {
  for (const GoldenCase& c : cases) {
    for (int language : {0, 1}) {
      std::string file = std::string(c.name) + (language ? ".fr.html" : ".en.html");
      SCOPED_TRACE(file);
      std::string expected = golden(file);
      ASSERT_FALSE(expected.empty());
      EXPECT_TRUE(same_bytes(expected, body_of(c.render, default_options(language))));
    }
  }
}

// Whether `needle` occurs in `page`, for the tests of one option's effect.
inline bool contains(const std::string& page, std::string_view needle) {
  return page.find(needle) != std::string::npos;
}
