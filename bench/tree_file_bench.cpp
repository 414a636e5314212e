// Loading, saving and deleting a large tree file.
//
// The tree is generated here, the same for every run: a root, then breadth first 1 to 5 children
// per node until the node count is reached; texts of 3 to 40 characters, about one in ten holding
// commas, doubled quotes or line breaks. It is saved as the editor saves (UTF-16LE with its mark)
// to a temporary file, which every benchmark reads.
//
// Memory is the peak resident size during one operation above the resident size before it
// (Linux: the high-water mark is reset through /proc/self/clear_refs), reported per node both
// whole and beside the texts the operation must hold anyway.
//
// Usage: tree_file_bench [--nodes=N] [--keep=PATH] [benchmark flags]. --keep leaves the
// generated file at PATH. deleteNode logs one line per node to standard error; redirect it to
// /dev/null to measure the real sink. bench/tree_file.sh runs this beside Python's csv module.

#include "base/Log.h"
#include "model/TreeTable.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <malloc.h>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using lanthor::TreeTable;

std::size_t gNodes = 1'000'000;
std::string gPath;

std::u16string randomText(std::mt19937_64& random) {
    static constexpr char16_t kLetters[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    static constexpr const char16_t* kSpecials[] = {u",", u"\"\"", u"\n", u"\r\n", u", \""};
    const std::size_t length = 3 + random() % 38;
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) {
        text.push_back(kLetters[random() % (std::size(kLetters) - 1)]);
    }
    if (random() % 10 == 0) {
        // Replace some characters: the length stays within 3 to 40.
        const std::u16string_view special = kSpecials[random() % std::size(kSpecials)];
        const std::size_t at = random() % (length - special.size() + 1);
        text.replace(at, special.size(), special);
    }
    return text;
}

/// The table of the generated tree: rows in the order the nodes were numbered.
TreeTable generateTree(std::size_t count) {
    std::mt19937_64 random(20261206);
    lanthor::CsvRows rows;
    rows.reserve(count);
    rows.push_back({u"0", u"", u"R", randomText(random)});
    std::deque<std::size_t> unexpanded{0};
    while (rows.size() < count && !unexpanded.empty()) {
        const std::size_t parent = unexpanded.front();
        unexpanded.pop_front();
        const std::size_t children = 1 + random() % 5;
        for (std::size_t i = 0; i < children && rows.size() < count; ++i) {
            const std::u16string number = lanthor::toUtf16(std::to_string(rows.size()));
            rows[parent][1] += number + u" ";
            rows.push_back({number, u"", random() % 5 == 0 ? u"1" : u"0", randomText(random)});
            unexpanded.push_back(rows.size() - 1);
        }
    }
    TreeTable table;
    table.loadTableFromArray(rows);
    return table;
}

struct Memory {
    long residentKiB = 0;
    long peakKiB = 0;
};

Memory readMemory() {
    std::ifstream status("/proc/self/status");
    Memory memory;
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream fields(line);
        std::string key;
        long value = 0;
        fields >> key >> value;
        if (key == "VmRSS:") {
            memory.residentKiB = value;
        } else if (key == "VmHWM:") {
            memory.peakKiB = value;
        }
    }
    return memory;
}

/// The resident size now, with the high-water mark brought down to it.
long resetPeak() {
    ::malloc_trim(0); // what earlier runs freed must not hide this one's growth
    std::ofstream("/proc/self/clear_refs") << "5";
    return readMemory().residentKiB;
}

void reportPeak(benchmark::State& state, long baselineKiB, double heldBytes) {
    const double peakBytes = 1024.0 * static_cast<double>(readMemory().peakKiB - baselineKiB);
    const double nodes = static_cast<double>(gNodes);
    state.counters["nodes"] = nodes;
    state.counters["peak_bytes_per_node"] = peakBytes / nodes;
    state.counters["peak_bytes_per_node_beside_texts"] = (peakBytes - heldBytes) / nodes;
}

/// Code units held by the loaded nodes' texts, numbers and children lists' strings.
double textBytes(const TreeTable& table) {
    double units = 0;
    table.nodeDictionary()->forEach([&units](const std::shared_ptr<lanthor::Tree>& node) {
        units += static_cast<double>(node->nodeValue().size() + node->nodeNumber().size());
        for (const auto& child : node->childrenList()) {
            units += static_cast<double>(child.size());
        }
    });
    return 2 * units;
}

void loadTreeFile(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const long baseline = resetPeak();
        state.ResumeTiming();
        auto table = std::make_unique<TreeTable>();
        if (table->loadTableFromURL(gPath) || table->nodeDictionary()->size() != gNodes) {
            state.SkipWithError("the generated file did not load");
            return;
        }
        state.PauseTiming();
        reportPeak(state, baseline, textBytes(*table));
        table.reset();
        state.ResumeTiming();
    }
}

void saveTreeFile(benchmark::State& state) {
    TreeTable table;
    table.loadTableFromURL(gPath);
    for (auto _ : state) {
        state.PauseTiming();
        const long baseline = resetPeak();
        state.ResumeTiming();
        const std::u16string text = table.saveTable();
        const std::string bytes = lanthor::treeFileBytes(text);
        benchmark::DoNotOptimize(bytes.data());
        state.PauseTiming();
        // The saved text and its bytes are the output itself.
        reportPeak(state, baseline, static_cast<double>(2 * text.size() + bytes.size()));
        state.counters["file_bytes"] = static_cast<double>(bytes.size());
        state.ResumeTiming();
    }
}

void saveTreeFileToDisk(benchmark::State& state) {
    TreeTable table;
    table.loadTableFromURL(gPath);
    const std::string target = gPath + ".saved";
    for (auto _ : state) {
        state.PauseTiming();
        const long baseline = resetPeak();
        state.ResumeTiming();
        if (table.saveTableToFile(target)) {
            state.SkipWithError("cannot write the saved file");
        }
        state.PauseTiming();
        reportPeak(state, baseline, 0);
        state.ResumeTiming();
    }
    std::remove(target.c_str());
}

void deleteRoot(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<TreeTable>();
        table->loadTableFromURL(gPath);
        const long baseline = resetPeak();
        state.ResumeTiming();
        table->deleteNode(u"0");
        state.PauseTiming();
        if (!table->nodeDictionary()->empty()) {
            state.SkipWithError("nodes left after deleting the root");
        }
        reportPeak(state, baseline, 0);
        table.reset();
        state.ResumeTiming();
    }
}

} // namespace

int main(int argc, char** argv) {
    std::string keep;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--nodes=", 0) == 0) {
            gNodes = std::stoul(arg.substr(8));
        } else if (arg.rfind("--keep=", 0) == 0) {
            keep = arg.substr(7);
        } else {
            rest.push_back(argv[i]);
        }
    }
    gPath = keep.empty() ? "/tmp/lanthor-tree-bench-" + std::to_string(::getpid()) + ".csv" : keep;
    if (const auto error = generateTree(gNodes).saveTableToFile(gPath)) {
        std::fprintf(stderr, "%s\n", error->c_str());
        return 1;
    }
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    const auto unit = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("load", loadTreeFile)->Unit(unit)->Iterations(3);
    benchmark::RegisterBenchmark("save_text_and_bytes", saveTreeFile)->Unit(unit)->Iterations(3);
    benchmark::RegisterBenchmark("save_to_file", saveTreeFileToDisk)->Unit(unit)->Iterations(3);
    benchmark::RegisterBenchmark("delete_root", deleteRoot)->Unit(unit)->Iterations(3);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (keep.empty()) {
        std::remove(gPath.c_str());
    }
    return 0;
}
