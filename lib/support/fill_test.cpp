#include "support/fill.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Fill, InsertsValuesAsData) {
  EXPECT_EQ(support::fill("<b>%s</b>%s.", {"a%sb", "%d%%"}), "<b>a%sb</b>%d%%.");
  EXPECT_EQ(support::fill("no placeholder %d", {}), "no placeholder %d");
  EXPECT_EQ(support::fill("%s%s", {"x", "y"}), "xy");
}

}  // namespace
