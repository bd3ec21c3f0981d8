// batchcheck on a Request file of 50 MB on one line, with no line end at all:
// it reads it as 200-character records, reports each one, and touches no
// file but the Response file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "run_program.h"

namespace fs = std::filesystem;

// Each test works in a private folder of its own.
using BatchcheckBigInput = PrivateFolderTest;

TEST_F(BatchcheckBigInput, FiftyMegabytesOnOneLine) {
  constexpr size_t kSize = 50'000'000;
  constexpr size_t kRecords = kSize / 200;
  const std::string request(kSize, 'A');
  write_file(dir_ / "req", request);

  ProgramRun run = run_program(BATCHCHECK_BINARY, {"batchcheck", "SHOP1", "FR", "req", "resp", "12"}, dir_);

  std::string expected = "Global verification of the request file\nerror in first record\n";
  for (size_t i = 1; i < kRecords; ++i) expected += "Error in code enregistrement (AA)\n";
  expected += "\nnumber of the tested file = 0\nnumber of recordings = 250000\nnumber of errors = 250000\n"
              "number of heading recording = 0\nnumber of end recording = 0\n\n"
              "\nError in the global verification of the request file (req)\n"
              "Error creation of the response file : file Version unknown (AA)\n";
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.output == expected) << "output of " << run.output.size() << " bytes, expected "
                                      << expected.size();
  // The request unchanged, an empty Response file, no TID file, nothing else.
  std::map<std::string, std::string> files = files_below(dir_);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_TRUE(files["req"] == request);
  EXPECT_EQ(files["resp"], "");
}

// A pipe that nobody writes to, given as the Request file, is refused at once
// instead of holding the run for ever.
TEST_F(BatchcheckBigInput, PipeAsRequestFile) {
  ASSERT_EQ(mkfifo((dir_ / "req").c_str(), 0644), 0);
  ProgramRun run = run_program(BATCHCHECK_BINARY, {"batchcheck", "SHOP1", "FR", "req", "resp", "12"}, dir_);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output, "Error : can't read the file req");
  EXPECT_FALSE(fs::exists(dir_ / "resp"));
  EXPECT_FALSE(fs::exists(dir_ / "req.TID"));
}

// A pipe that nobody reads from, given as the Response file, is refused at
// once: the batch is not even checked.
TEST_F(BatchcheckBigInput, PipeAsResponseFile) {
  const std::string request = "00FRSHOP1\n";
  write_file(dir_ / "req", request);
  ASSERT_EQ(mkfifo((dir_ / "resp").c_str(), 0644), 0);
  ProgramRun run = run_program(BATCHCHECK_BINARY, {"batchcheck", "SHOP1", "FR", "req", "resp", "12"}, dir_);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output, "Error : can't write into the file resp");
  EXPECT_EQ(fs::file_size(dir_ / "req"), request.size());
  EXPECT_FALSE(fs::exists(dir_ / "req.TID"));
}
