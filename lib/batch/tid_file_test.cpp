#include "batch/tid_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "private_folder.h"

using namespace batch;

namespace {

namespace fs = std::filesystem;

// The message batchcheck prints for an id that a later entry repeats.
std::string repeated(std::string_view id) {
  return "The transaction_id (" + std::string(id) + ") is present in several lines\n";
}

// Every case works in a folder of its own process: ctest runs cases side by
// side, and two clones may test at once.
class TidFileTest : public PrivateFolderTest {
 protected:
  std::string request = path("req");
  TidFile tid;

  void write(const std::vector<std::string>& ids) {
    std::string err;
    ASSERT_TRUE(create_tid_file(request, tid, &err));
    for (const std::string& id : ids) append_tid_entry(tid, id);
    ASSERT_TRUE(close_tid_file(tid, &err));
  }

  // The repeat messages the check gives for `ids`, after checking that it
  // finds a repeat exactly when `expected` is 1.
  std::string check(const std::vector<std::string>& ids, int expected, size_t budget = REPEAT_CHECK_BUDGET) {
    write(ids);
    std::string told;
    std::string err;
    EXPECT_TRUE(check_tid_file(tid, budget, [&](uint64_t, std::string_view id) { told += repeated(id); }, &err));
    EXPECT_EQ(!told.empty(), expected == 1);
    return told;
  }
};

TEST_F(TidFileTest, EachOccurrenceButTheLastInFileOrder) {
  EXPECT_EQ(check({"A", "B", "A"}, 1), repeated("A"));
  EXPECT_EQ(check({"A", "A", "A"}, 1), repeated("A") + repeated("A"));
  EXPECT_EQ(check({"A", "B", "C"}, 0), "");
  EXPECT_EQ(check({"B", "A", "B", "A", "B"}, 1), repeated("B") + repeated("A") + repeated("B"));
  EXPECT_FALSE(fs::exists(tid.name));
}

TEST_F(TidFileTest, ShortAndOddIdsCompareWhole) {
  // Short ids must not shift the comparison onto their neighbours.
  EXPECT_EQ(check({"AB", "ABC", "AB"}, 1), repeated("AB"));
  EXPECT_EQ(check({"", "X", ""}, 1), repeated(""));
  EXPECT_EQ(check({"abc", "ABC"}, 0), "");
  EXPECT_EQ(check({std::string("A\0", 2), "A", "A\r", "A\r\n"}, 0), "");
}

TEST_F(TidFileTest, EntriesAreThePaddedIdAndCarriageReturnLineFeed) {
  // Fixed entries keep an id that holds a line end apart from the next one.
  write({"ABC123", "X", "AB\r\n"});
  EXPECT_EQ(read_file(tid.name), "ABC123\r\nX     \r\nAB\r\n  \r\n");
}

TEST_F(TidFileTest, EmptyFileHasNoRepeat) {
  EXPECT_EQ(check({}, 0), "");
  EXPECT_FALSE(fs::exists(tid.name));
}

TEST_F(TidFileTest, MissingFileCannotBeReadBack) {
  write({"A"});
  fs::remove(tid.name);
  std::string err;
  EXPECT_FALSE(check_tid_file(tid, REPEAT_CHECK_BUDGET, [](uint64_t, std::string_view) {}, &err));
  EXPECT_EQ(err, "Error fopen (r) file " + tid.name);
}

TEST_F(TidFileTest, OwnerMayReadAndWriteWhateverTheUmask) {
  mode_t old = umask(0466);
  std::string err;
  bool created = create_tid_file(request, tid, &err);
  umask(old);
  ASSERT_TRUE(created);
  EXPECT_EQ(fs::status(tid.name).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  discard_tid_file(tid);
  EXPECT_FALSE(fs::exists(tid.name));
}

TEST_F(TidFileTest, SpilledRunsGiveTheSameAnswerAndAreRemoved) {
  // 3000 ids, a third of them repeated at various distances, one of them
  // 40 times; a budget of 256 bytes sorts 16 keys at a time, so runs are
  // merged in more than one pass.
  std::vector<std::string> ids;
  for (int i = 0; i < 3000; ++i)
    ids.push_back(i % 75 == 0 ? "SAME" : "T" + std::to_string(i % 3 == 0 ? i / 3 : i));
  std::string in_memory = check(ids, 1);
  ASSERT_NE(in_memory, "");

  std::vector<IdKey> keys;
  for (const std::string& id : ids) keys.push_back(id_key(id));
  std::string spill_prefix = path("req.TID");
  std::string spilled;
  size_t spill_files_seen = 0;
  std::string err;
  bool found = find_repeats(
      [&](const std::function<void(IdKey)>& take, std::string*) {
        for (IdKey key : keys) take(key);
        return true;
      },
      keys.size(), spill_prefix, 256,
      [&](uint64_t, IdKey key) {
        spilled += repeated(id_of_key(key));
        spill_files_seen = std::max<size_t>(spill_files_seen, std::distance(fs::directory_iterator(dir_), {}));
      },
      &err);
  EXPECT_TRUE(found);
  EXPECT_EQ(spilled, in_memory);
  EXPECT_GT(spill_files_seen, 0u);
  EXPECT_TRUE(fs::is_empty(dir_));
}

}  // namespace
