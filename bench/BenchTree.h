#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace lanthor::bench {

/// A tree file (UTF-8 text) of `count` nodes for the benchmarks: node 0 is the root, nodes are
/// numbered breadth first and every inner node has 1 to 5 children; texts are 3 to 40
/// characters of words, one in ten with markup (bold, italic, a subscript or a line break).
/// Texts hold no comma, quote or line break, so every line is four plain fields. The same
/// `seed` gives the same file.
inline std::string generateTreeFile(std::size_t count, std::uint32_t seed = 2024) {
    std::mt19937 random(seed);
    const auto between = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    static const std::vector<std::string> words{
        "node", "tree", "leaf", "root",  "branch", "alpha", "beta", "gamma", "delta", "x",
        "id",   "NP",   "VP",   "value", "Ltd",    "q",     "42",   "2024",  "sum",   "map"};

    const auto text = [&] {
        const int length = between(3, 40);
        std::string plain;
        while (static_cast<int>(plain.size()) < length) {
            if (!plain.empty()) {
                plain += ' ';
            }
            plain += words[static_cast<std::size_t>(between(0, int(words.size()) - 1))];
        }
        plain.resize(static_cast<std::size_t>(length));
        if (plain.back() == ' ') {
            plain.back() = 'z';
        }
        if (between(0, 9) != 0) {
            return plain;
        }
        const std::size_t cut = static_cast<std::size_t>(between(0, length - 1));
        switch (between(0, 3)) {
        case 0:
            return plain.substr(0, cut) + "<b>" + plain.substr(cut) + "</b>";
        case 1:
            return "<i>" + plain.substr(0, cut) + "</i>" + plain.substr(cut);
        case 2:
            return plain + "<sub>2</sub>";
        default:
            return plain.substr(0, cut) + "<br>" + plain.substr(cut);
        }
    };

    // Children are handed out breadth first until every number is taken.
    std::vector<std::vector<std::size_t>> children(count);
    std::size_t next = 1;
    for (std::size_t parent = 0; parent < count && next < count; ++parent) {
        for (int n = between(1, 5); n > 0 && next < count; --n) {
            children[parent].push_back(next++);
        }
    }
    std::string file;
    file.reserve(count * 40);
    for (std::size_t node = 0; node < count; ++node) {
        file += std::to_string(node);
        file += ',';
        for (const std::size_t child : children[node]) {
            file += std::to_string(child);
            file += ' ';
        }
        file += node == 0 ? ",R," : (between(0, 9) == 0 ? ",1," : ",0,");
        file += text();
        file += '\n';
    }
    return file;
}

} // namespace lanthor::bench
