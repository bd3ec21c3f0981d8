#include "pages/output.h"

#include <gtest/gtest.h>

#include <string>

namespace pages {

TEST(Output, CaptureTakesBytesAsData) {
  std::string page;
  capture_output(&page);
  emit("100%s%n");
  emit(std::string_view("a\0b", 3));
  capture_output(nullptr);
  EXPECT_EQ(page, std::string("100%s%n" "a\0b", 10));
}

}  // namespace pages
