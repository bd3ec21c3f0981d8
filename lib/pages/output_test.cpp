#include "pages/output.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What `write` emits, captured.
template <typename Write>
std::string captured(Write write) {
  std::string page;
  capture_output(&page);
  write();
  capture_output(nullptr);
  return page;
}

}  // namespace

TEST(Output, CaptureTakesBytesAsData) {
  std::string page;
  capture_output(&page);
  emit("100%s%n");
  emit(std::string_view("a\0b", 3));
  capture_output(nullptr);
  EXPECT_EQ(page, std::string("100%s%n" "a\0b", 10));
}

TEST(EmitFilled, InsertsValuesAsData) {
  EXPECT_EQ(captured([] { emit_filled("<b>%s</b>%s.", {"a%sb", "%d%%"}); }), "<b>a%sb</b>%d%%.");
  EXPECT_EQ(captured([] { emit_filled("no placeholder %d", {}); }), "no placeholder %d");
  EXPECT_EQ(captured([] { emit_filled("%s%s", {"x", "y"}); }), "xy");
}

