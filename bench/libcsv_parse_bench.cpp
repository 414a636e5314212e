// The peer for our parser's throughput: libcsv, a fast C parser that also takes line breaks
// inside quoted fields, reading the same files block by block with callbacks that count fields
// and field bytes, as our counting delegate does:
//
//   libcsv_parse_bench [benchmark flags] LABEL=PATH...
//
// registers Libcsv/LABEL for each file. libcsv reads bytes only: it cannot read UTF-16.

#include "BenchFiles.h"

#include <cstdio>
#include <csv.h>
#include <memory>

namespace {

using lanthor::bench::BenchFile;

constexpr std::size_t kReadBlockSize = 1 << 16;

struct Counts {
    std::uint64_t fields = 0;
    std::uint64_t bytes = 0;
};

void countField(void*, std::size_t length, void* data) {
    auto* counts = static_cast<Counts*>(data);
    ++counts->fields;
    counts->bytes += length;
}

void endRecord(int, void*) {}

// By default libcsv drops blanks around unquoted fields; ours keeps them, and so must the peer.
int noSpaces(unsigned char) {
    return 0;
}

/// Counts the fields of the file; false when libcsv reports an error.
bool countFields(const BenchFile& file, Counts& counts) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> input(std::fopen(file.path.c_str(), "rb"),
                                                          std::fclose);
    csv_parser parser;
    if (!input || csv_init(&parser, 0) != 0) {
        return false;
    }
    csv_set_space_func(&parser, noSpaces);
    auto block = std::make_unique<char[]>(kReadBlockSize);
    bool ok = true;
    std::size_t length;
    while (ok && (length = std::fread(block.get(), 1, kReadBlockSize, input.get())) > 0) {
        ok = csv_parse(&parser, block.get(), length, countField, endRecord, &counts) == length;
    }
    ok = ok && csv_fini(&parser, countField, endRecord, &counts) == 0;
    csv_free(&parser);
    return ok;
}

void parseWithLibcsv(benchmark::State& state, const BenchFile& file) {
    Counts counts;
    bool ok = true;
    for (auto _ : state) {
        counts = Counts();
        ok = countFields(file, counts);
    }
    if (!ok) {
        state.SkipWithError("libcsv could not parse the file");
        return;
    }
    lanthor::bench::reportCounts(state, file, counts.fields, counts.bytes);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::vector<BenchFile> files;
    if (!lanthor::bench::benchFilesFromArguments(argc, argv, files)) {
        return 2;
    }
    for (const BenchFile& file : files) {
        benchmark::RegisterBenchmark(("Libcsv/" + file.label).c_str(), parseWithLibcsv, file)
            ->Iterations(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
