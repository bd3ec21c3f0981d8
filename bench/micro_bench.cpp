// Micro-benchmarks of the hot paths of batchcheck and pagesim, on generated
// batches and templates written to the system's temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "date.h"
#include "duplicates.h"
#include "request_generator.h"
#include "request_record.h"
#include "response_writer.h"
#include "template.h"
#include "verify.h"

namespace {

namespace fs = std::filesystem;

fs::path scratch(const std::string& name) {
  return fs::temp_directory_path() / ("orba_bench." + std::to_string(getpid()) + "." + name);
}

// A generated batch of `records` body records, written once per size.
std::string batch_file(int64_t records) {
  std::string path = scratch("request." + std::to_string(records)).string();
  if (!fs::exists(path)) {
    BatchShape shape;
    shape.body_records = records;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    write_request(shape, out);
    std::fclose(out);
  }
  return path;
}

// A valid template of about `bytes` characters with its tag in the middle.
std::string template_text(size_t bytes) {
  constexpr std::string_view line =
      "<p class=\"offer\">Fresh coffee every month, <img src=\"cup.gif\"> roasted in Paris</p>\n";
  std::string text = "<body bgcolor=\"#ffffff\">\n";
  while (text.size() < bytes / 2) text.append(line);
  text.append("[ORBA]\n");
  while (text.size() < bytes) text.append(line);
  return text;
}

void BM_read_record(benchmark::State& state) {
  std::FILE* file = std::fopen(batch_file(state.range(0)).c_str(), "rb");
  std::string record;
  for (auto _ : state) {
    std::rewind(file);
    RecordReader reader = make_record_reader(file);
    while (read_record(reader, record)) benchmark::DoNotOptimize(record.data());
  }
  std::fclose(file);
  state.SetItemsProcessed(state.iterations() * (state.range(0) + 2));
  state.SetBytesProcessed(state.iterations() * (state.range(0) + 2) * 200);
}
BENCHMARK(BM_read_record)->Arg(100000);

void BM_verify_request_file(benchmark::State& state) {
  std::string path = batch_file(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(verify_request_file(path, "12"));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_verify_request_file)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_repeated_entries(benchmark::State& state) {
  std::vector<std::string> ids;
  for (int64_t n = 1; n <= state.range(0); ++n) ids.push_back(transaction_id_for(n));
  std::vector<std::string_view> entries(ids.begin(), ids.end());
  for (auto _ : state) benchmark::DoNotOptimize(repeated_entries(entries));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_repeated_entries)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_check_duplicate_transactions(benchmark::State& state) {
  std::string tid = scratch("request.TID").string();
  for (auto _ : state) {
    state.PauseTiming();
    std::FILE* out = std::fopen(tid.c_str(), "wb");
    for (int64_t n = 1; n <= state.range(0); ++n) write_tid_entry(out, transaction_id_for(n));
    std::fclose(out);
    state.ResumeTiming();
    benchmark::DoNotOptimize(check_duplicate_transactions(tid));  // deletes the file
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_check_duplicate_transactions)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_append_reply_block(benchmark::State& state) {
  std::string_view code = state.range(0) == 0 ? "00" : "05";
  std::string block;
  for (auto _ : state) {
    block.clear();
    append_reply_block(block, code, "1106");
    benchmark::DoNotOptimize(block.data());
  }
}
BENCHMARK(BM_append_reply_block)->Arg(0)->Arg(1);

void BM_format_now(benchmark::State& state) {
  std::string out;
  for (auto _ : state) {
    format_now(1, "+J+M+a", out);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_format_now);

void BM_write_response_file(benchmark::State& state) {
  std::string path = batch_file(state.range(0));
  std::string response = scratch("response").string();
  for (auto _ : state) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    std::FILE* out = std::fopen(response.c_str(), "wb");
    RecordReader reader = make_record_reader(in);
    benchmark::DoNotOptimize(write_response_file("SHOP1", "FR", reader, out));
    std::fclose(in);
    std::fclose(out);
  }
  fs::remove(response);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_write_response_file)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_check_template(benchmark::State& state) {
  std::string text = template_text(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(check_template(text));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_check_template)->Arg(16 << 10)->Arg(10 << 20);

void BM_split_template(benchmark::State& state) {
  std::string text = template_text(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    std::string_view before;
    std::string_view after;
    split_template(text, before, after);
    benchmark::DoNotOptimize(after.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_split_template)->Arg(16 << 10)->Arg(10 << 20);

}  // namespace

int main(int argc, char** argv) {
  // The verification and the writer report on standard output; the numbers
  // go to standard error so that they stay readable.
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::ConsoleReporter reporter(benchmark::ConsoleReporter::OO_Tabular);
  reporter.SetOutputStream(&std::cerr);
  reporter.SetErrorStream(&std::cerr);
  if (!std::freopen("/dev/null", "w", stdout)) return 1;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(fs::temp_directory_path(), ignored))
    if (entry.path().filename().string().rfind("orba_bench." + std::to_string(getpid()) + ".", 0) == 0)
      fs::remove(entry.path(), ignored);
  return 0;
}
