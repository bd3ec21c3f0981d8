#include "platform/cleanup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "private_folder.h"

namespace fs = std::filesystem;

namespace {

class Cleanup : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = make_private_folder("platform-cleanup"); }
  void TearDown() override {
    for (const std::string& name : held_) remove_temporary(name);
    fs::remove_all(dir_);
  }

  fs::path dir_;
  std::vector<std::string> held_;  // the temporary files this test registered
};

}  // namespace

// Once every slot holds a file, one more temporary file fails as a file that
// cannot be created, none left behind, and the run goes on to say so.
TEST_F(Cleanup, TemporaryFilePastTheRegistryFailsAndLeavesNothing) {
  for (size_t i = 0; i < MAX_REGISTERED_FILES; ++i) {
    std::string name = (dir_ / ("held." + std::to_string(i))).string();
    FILE* file = nullptr;
    ASSERT_EQ(create_temporary(name, file, create_private), CreateResult::CREATED);
    held_.push_back(name);
    std::fclose(file);
  }
  std::string one_more = (dir_ / "one_more").string();
  FILE* file = nullptr;
  EXPECT_EQ(create_temporary(one_more, file, create_private), CreateResult::FAILED);
  EXPECT_EQ(file, nullptr);
  EXPECT_FALSE(fs::exists(one_more));
}
