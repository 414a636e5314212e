#pragma once

// Helpers shared by the file-parsing benchmarks: the files to parse come from the command line
// as LABEL=PATH, and every run reports the process's peak resident memory so far.

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace lanthor::bench {

struct BenchFile {
    std::string label;
    std::string path;
    std::uint64_t size = 0;
};

/// The LABEL=PATH arguments left after Google Benchmark took its own flags; false, after a
/// message, when one is malformed or names no readable file.
inline bool benchFilesFromArguments(int argc, char** argv, std::vector<BenchFile>& files) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        std::error_code error;
        const std::string path = equals == std::string::npos ? "" : argument.substr(equals + 1);
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (equals == 0 || equals == std::string::npos || error) {
            std::fprintf(stderr, "%s: expected LABEL=PATH of a readable file, got '%s'\n", argv[0],
                         argument.c_str());
            return false;
        }
        files.push_back({argument.substr(0, equals), path, size});
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s [benchmark flags] LABEL=PATH...\n", argv[0]);
        return false;
    }
    return true;
}

/// Peak resident set size of this process so far, in MB (10^6 bytes): the kernel's high-water
/// mark of the process's own memory (VmHWM). getrusage would not do: Linux carries the peak of a
/// parent over to a child that it forks and execs. The mark only grows, so a memory figure for
/// one run needs a process of its own (select the run with --benchmark_filter).
inline double peakResidentMegabytes() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) {
        return 0;
    }
    char line[256];
    unsigned long kibibytes = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmHWM: %lu kB", &kibibytes) == 1) {
            break;
        }
    }
    std::fclose(status);
    return static_cast<double>(kibibytes) * 1024.0 / 1e6;
}

/// The figures every run reports beside its time. Field units are the code units of the field
/// texts as the parser hands them over (UTF-16 for ours, bytes for a byte-oriented parser).
inline void reportCounts(benchmark::State& state, const BenchFile& file, std::uint64_t fields,
                         std::uint64_t fieldUnits) {
    state.SetBytesProcessed(static_cast<std::int64_t>(file.size * state.iterations()));
    state.counters["fields"] = static_cast<double>(fields);
    state.counters["field_units"] = static_cast<double>(fieldUnits);
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}

} // namespace lanthor::bench
