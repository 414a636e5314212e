// Reading and writing a large tree as labelled brackets and Penn Treebank text.
//
// The tree is BenchTree.h's (breadth first, 1 to 5 children per node, texts of words with some
// markup); `--nodes=N` sets its size (default 1,000,000). Each format is written from the table
// loaded from the tree file, and read from that written text.
//
// Usage: tree_text_bench [--nodes=N] [benchmark flags].

#include "BenchTree.h"
#include "base/Utf.h"
#include "model/TreeText.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

using lanthor::TreeTextFormat;

std::size_t gNodes = 1'000'000;

const lanthor::TreeTable& benchTable() {
    static const lanthor::TreeTable table = [] {
        lanthor::TreeTable loaded;
        if (loaded.loadTable(lanthor::toUtf16(lanthor::bench::generateTreeFile(gNodes)))) {
            std::abort();
        }
        return loaded;
    }();
    return table;
}

void writeText(benchmark::State& state, TreeTextFormat format, bool indented) {
    const lanthor::TreeTable& table = benchTable();
    for (auto _ : state) {
        benchmark::DoNotOptimize(lanthor::writeTreeText(table, format, indented));
    }
    state.counters["nodes"] = static_cast<double>(gNodes);
}

void readText(benchmark::State& state, TreeTextFormat format) {
    const std::u16string text = lanthor::writeTreeText(benchTable(), format);
    for (auto _ : state) {
        auto table = lanthor::readTreeText(text, format);
        if (!std::holds_alternative<std::shared_ptr<lanthor::TreeTable>>(table)) {
            state.SkipWithError("the written text does not read");
        }
        benchmark::DoNotOptimize(table);
        // Penn text makes a leaf of every word: more nodes than the table written.
        state.counters["nodes"] = static_cast<double>(
            std::get<std::shared_ptr<lanthor::TreeTable>>(table)->nodeDictionary()->size());
    }
}

BENCHMARK_CAPTURE(writeText, brackets, TreeTextFormat::Brackets, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writeText, brackets_indented, TreeTextFormat::Brackets, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readText, brackets, TreeTextFormat::Brackets)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writeText, penn, TreeTextFormat::Penn, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readText, penn, TreeTextFormat::Penn)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.starts_with("--nodes=")) {
            gNodes = std::strtoull(argv[i] + 8, nullptr, 10);
        } else {
            rest.push_back(argv[i]);
        }
    }
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
