#include "pages/output.h"

#include <gtest/gtest.h>

#include <string>

namespace pages {

TEST(Output, SinkTakesBytesAsData) {
  Sink page;
  emit(page, "100%s%n");
  emit(page, std::string_view("a\0b", 3));
  EXPECT_EQ(page.bytes, "100%s%n" + std::string("a\0b", 3));
}

}  // namespace pages
