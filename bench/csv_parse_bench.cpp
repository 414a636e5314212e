// Throughput and memory of our CSV parser on files named on the command line, read the way tree
// files are read (option value 2: quoted fields sanitized, nothing else):
//
//   csv_parse_bench [benchmark flags] LABEL=PATH...
//
// registers CountingDelegate/LABEL (a streaming delegate that keeps nothing) and
// ArrayReader/LABEL (arrayWithContentsOfCSVFile, which keeps every row) for each file. Each run
// parses the whole file once; choose the number of runs with --benchmark_repetitions.

#include "BenchFiles.h"
#include "csv/CsvParser.h"
#include "csv/CsvReaders.h"

namespace {

using lanthor::bench::BenchFile;

constexpr lanthor::CsvParserOptions kTreeFileOptions = lanthor::CsvParserOptionsSanitizesFields;

class CountingDelegate final : public lanthor::CsvParserDelegate {
public:
    void parserDidReadField(lanthor::CsvParser&, const std::u16string& field,
                            std::int64_t) override {
        ++fields;
        units += field.size();
    }
    void parserDidFailWithError(lanthor::CsvParser&, const lanthor::CsvError&) override {
        failed = true;
    }

    std::uint64_t fields = 0;
    std::uint64_t units = 0;
    bool failed = false;
};

void parseWithCountingDelegate(benchmark::State& state, const BenchFile& file) {
    CountingDelegate delegate;
    for (auto _ : state) {
        delegate = CountingDelegate();
        lanthor::CsvParser parser = lanthor::CsvParser::fromFile(file.path);
        parser.setOptions(kTreeFileOptions);
        parser.setDelegate(&delegate);
        parser.parse();
    }
    if (delegate.failed) {
        state.SkipWithError("parse error");
        return;
    }
    lanthor::bench::reportCounts(state, file, delegate.fields, delegate.units);
}

void readWholeArray(benchmark::State& state, const BenchFile& file) {
    std::uint64_t fields = 0, units = 0;
    bool failed = false;
    for (auto _ : state) {
        // The rows are counted and freed inside the timing: a caller pays for both.
        const std::optional<lanthor::CsvRows> rows =
            lanthor::arrayWithContentsOfCSVFile(file.path, kTreeFileOptions);
        failed = !rows;
        fields = units = 0;
        if (rows) {
            for (const lanthor::CsvRow& row : *rows) {
                fields += row.size();
                for (const std::u16string& field : row) {
                    units += field.size();
                }
            }
        }
    }
    if (failed) {
        state.SkipWithError("parse error");
        return;
    }
    lanthor::bench::reportCounts(state, file, fields, units);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::vector<BenchFile> files;
    if (!lanthor::bench::benchFilesFromArguments(argc, argv, files)) {
        return 2;
    }
    for (const BenchFile& file : files) {
        benchmark::RegisterBenchmark(("CountingDelegate/" + file.label).c_str(),
                                     parseWithCountingDelegate, file)
            ->Iterations(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("ArrayReader/" + file.label).c_str(), readWholeArray, file)
            ->Iterations(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
