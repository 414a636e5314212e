// Writes the benchmarks' generated tree file: make_bench_tree COUNT OUT.

#include "BenchTree.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_bench_tree COUNT OUT\n");
        return 2;
    }
    const std::size_t count = std::strtoull(argv[1], nullptr, 10);
    std::ofstream out(argv[2], std::ios::binary);
    out << lanthor::bench::generateTreeFile(count);
    return out ? 0 : 1;
}
