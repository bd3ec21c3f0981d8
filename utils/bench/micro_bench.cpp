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

#include "date/date.h"
#include "request_generator.h"
#include "batch/record_reader.h"
#include "batch/response_writer.h"
#include "pages/output.h"
#include "pages/template.h"
#include "batch/tid_file.h"
#include "batch/verify.h"

using namespace batch;
using namespace datelib;
using namespace support;

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

void BM_find_repeats(benchmark::State& state) {
  std::vector<IdKey> keys;
  for (int64_t n = 1; n <= state.range(0); ++n) keys.push_back(id_key(transaction_id_for(n)));
  auto source = [&](const std::function<void(IdKey)>& take, std::string*) {
    for (IdKey key : keys) take(key);
    return true;
  };
  std::string spill_prefix = scratch("spill").string();
  std::string err;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        find_repeats(source, keys.size(), spill_prefix, REPEAT_CHECK_BUDGET, [](uint64_t, IdKey) {}, &err));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_find_repeats)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_check_tid_file(benchmark::State& state) {
  std::string request = scratch("request").string();
  for (auto _ : state) {
    state.PauseTiming();
    TidFile tid;
    std::string err;
    create_tid_file(request, tid, &err);
    for (int64_t n = 1; n <= state.range(0); ++n) append_tid_entry(tid, transaction_id_for(n));
    close_tid_file(tid, &err);
    state.ResumeTiming();
    benchmark::DoNotOptimize(check_tid_file(tid, REPEAT_CHECK_BUDGET, [](uint64_t, std::string_view) {}, &err));
    // check_tid_file removes the file
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_check_tid_file)->Arg(100000)->Unit(benchmark::kMillisecond);

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
    BlockWriter writer = make_block_writer(out);
    std::string err;
    benchmark::DoNotOptimize(write_response_file("SHOP1", "FR", reader, writer, &err));
    flush_block_writer(writer);
    std::fclose(in);
    std::fclose(out);
  }
  fs::remove(response);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_write_response_file)->Arg(100000)->Unit(benchmark::kMillisecond);

// A template of `bytes` written once per size, open for reading.
std::FILE* template_file(size_t bytes) {
  std::string path = scratch("template." + std::to_string(bytes)).string();
  if (!fs::exists(path)) {
    std::string text = template_text(bytes);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
  }
  return std::fopen(path.c_str(), "rb");
}

void BM_check_template(benchmark::State& state) {
  std::FILE* file = template_file(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    pages::Sink page;
    pages::Diagnostics diagnostics(page);
    pages::LineReader reader(file);
    benchmark::DoNotOptimize(pages::check_template(reader, diagnostics));
  }
  std::fclose(file);
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_check_template)->Arg(16 << 10)->Arg(10 << 20);

void BM_copy_template(benchmark::State& state) {
  std::FILE* file = template_file(static_cast<size_t>(state.range(0)));
  pages::Sink page;
  pages::Diagnostics diagnostics(page);
  pages::LineReader check_reader(file);
  pages::CheckedTemplate checked = pages::check_template(check_reader, diagnostics);
  for (auto _ : state) {
    page.bytes.clear();
    pages::LineReader copy_reader(file);
    benchmark::DoNotOptimize(pages::copy_template(copy_reader, checked, page, [] {}));
  }
  std::fclose(file);
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_copy_template)->Arg(16 << 10)->Arg(10 << 20);

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
