// batchcheck runs that end badly: interrupted by a signal, or with standard
// output lost. Each must leave the merchant's files as they were, and no file
// of its own.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "request_builder.h"
#include "run_program.h"

namespace fs = std::filesystem;

namespace {

const std::string PREVIOUS_RESPONSE = "the Response of an earlier run\n";

class BatchcheckRobustRun : public PrivateFolderTest {
 protected:
  // Writes a valid batch of `body_records` as "req" and an earlier Response as "resp".
  void prepare(int64_t body_records) {
    ASSERT_TRUE(write_generated(dir_ / "req", BatchShape{.body_records = body_records}));
    write_file("resp", PREVIOUS_RESPONSE);
  }

  std::set<std::string> names() const {
    std::set<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_)) found.insert(entry.path().filename());
    return found;
  }

  std::string response() const { return read_file("resp"); }
};

const std::vector<std::string> ARGS{"batchcheck", "SHOP1", "FR", "req", "resp", "12"};

// The arguments that have /bin/sh run batchcheck on ARGS under `limit`, a
// ulimit option and its value, as a merchant's shell would.
std::vector<std::string> under_limit(const std::string& limit) {
  std::vector<std::string> words{"sh", "-c", "ulimit " + limit + " && exec \"$0\" \"$@\"", BATCHCHECK_BINARY};
  words.insert(words.end(), ARGS.begin() + 1, ARGS.end());
  return words;
}

}  // namespace

// Each signal while the verification runs (its TID file and the Response's
// temporary file both exist): both are removed, the run dies of the signal.
TEST_F(BatchcheckRobustRun, InterruptedRunRemovesItsFilesAndDiesOfTheSignal) {
  prepare(MAX_BODY_RECORDS);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    pid_t pid = start_program(BATCHCHECK_BINARY, ARGS, dir_);
    ASSERT_GT(pid, 0);
    while (!fs::exists(dir_ / "req.TID") && waitpid(pid, nullptr, WNOHANG) == 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(names().size(), 4u) << "the TID and temporary files, while the batch is checked";
    kill(pid, signal_number);
    ProgramRun run = wait_program(pid, dir_);
    EXPECT_EQ(run.signal, signal_number) << "exit status " << run.status;
    EXPECT_EQ(names(), (std::set<std::string>{"req", "resp"})) << strsignal(signal_number);
    EXPECT_EQ(response(), PREVIOUS_RESPONSE) << strsignal(signal_number);
  }
}

// Standard output on a full disk: one line on standard error, status 2, the
// earlier Response kept. Standard output closed: the messages go nowhere,
// never into the Response file that would take its descriptor.
TEST_F(BatchcheckRobustRun, LostStandardOutput) {
  prepare(3);
  ProgramRun full = run_program(BATCHCHECK_BINARY, ARGS, dir_, {StandardOutput::PATH, "/dev/full"});
  EXPECT_EQ(full.status, 2);
  EXPECT_EQ(full.errors, "Error : can't write the messages on the standard output\n");
  EXPECT_EQ(names(), (std::set<std::string>{"req", "resp"}));
  EXPECT_EQ(response(), PREVIOUS_RESPONSE);

  ProgramRun closed = run_program(BATCHCHECK_BINARY, ARGS, dir_, {StandardOutput::CLOSED, ""});
  EXPECT_EQ(closed.status, 0);
  std::string answer = response();
  EXPECT_EQ(answer.size(), 5 * 200u);
  EXPECT_EQ(answer.find("Global verification"), std::string::npos);
}

// SIGQUIT (Ctrl-\ on the keyboard) ends the run as SIGINT does: before, it
// left the TID file, and the next run answered "already exists".
TEST_F(BatchcheckRobustRun, QuitSignalEndsTheRunClean) {
  prepare(MAX_BODY_RECORDS);
  // No core dump: the folder must hold only the merchant's files.
  pid_t pid = start_program("/bin/sh", under_limit("-c 0"), dir_);
  ASSERT_GT(pid, 0);
  while (!fs::exists(dir_ / "req.TID") && waitpid(pid, nullptr, WNOHANG) == 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  kill(pid, SIGQUIT);
  ProgramRun run = wait_program(pid, dir_);
  EXPECT_EQ(run.signal, SIGQUIT) << "exit status " << run.status;
  EXPECT_EQ(names(), (std::set<std::string>{"req", "resp"}));
  EXPECT_EQ(response(), PREVIOUS_RESPONSE);
}

// A file-size limit that the Response passes (ulimit -f): the write fails as
// on a full disk. Before, the limit's signal killed the run, leaving its
// temporary Response.
TEST_F(BatchcheckRobustRun, FileSizeLimitIsAWriteError) {
  prepare(10000);  // a TID file of 80 kB, a Response of 2 MB
  ProgramRun run = run_program("/bin/sh", under_limit("-f 1024"), dir_);
  EXPECT_EQ(run.status, 2) << "signal " << run.signal;
  std::string last = "Error during the creation of the response file (resp)\n";
  ASSERT_GE(run.output.size(), last.size());
  EXPECT_EQ(run.output.substr(run.output.size() - last.size()), last);
  EXPECT_EQ(names(), (std::set<std::string>{"req", "resp"}));
  EXPECT_EQ(response(), PREVIOUS_RESPONSE);
}
