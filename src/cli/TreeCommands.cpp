#include "TreeCommands.h"

#include "Cli.h"
#include "Json.h"
#include "TreeFileLoading.h"
#include "base/BufferedWriter.h"
#include "model/TreeTable.h"

#include <algorithm>
#include <cstdio>

namespace lanthor {

int runDumpCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return usageError("dump needs exactly one FILE");
    }
    TreeTable table;
    if (const int status = loadTreeFile(args[0], table)) {
        return status;
    }
    std::vector<std::shared_ptr<Tree>> nodes;
    table.nodeDictionary()->forEach(
        [&nodes](const std::shared_ptr<Tree>& node) { nodes.push_back(node); });
    std::sort(nodes.begin(), nodes.end(),
              [](const auto& a, const auto& b) { return a->nodeNumber() < b->nodeNumber(); });
    BufferedWriter out(stdout);
    for (const auto& node : nodes) {
        std::string& line = out.line();
        line += R"({"number":)";
        appendJsonString(line, node->nodeNumber());
        line += R"(,"children":[)";
        for (std::size_t i = 0; i < node->childrenList().size(); ++i) {
            if (i > 0) {
                line += ',';
            }
            appendJsonString(line, node->childrenList()[i]);
        }
        line += R"(],"head":)";
        line += node->head() ? "true" : "false";
        line += R"(,"realRoot":)";
        line += node->realRoot() ? "true" : "false";
        line += R"(,"text":)";
        appendJsonString(line, node->nodeValue());
        if (!node->attributes().empty()) {
            line += R"(,"attributes":)";
            appendJsonString(line, node->attributes().text());
        }
        line += '}';
        out.endLine();
    }
    return kExitSuccess;
}

int runResaveCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return usageError("resave needs IN and OUT");
    }
    TreeTable table;
    if (const int status = loadTreeFile(args[0], table)) {
        return status;
    }
    if (args[1] == "-") {
        const std::string bytes = treeFileBytes(table.saveTable());
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
            std::fflush(stdout) != 0) {
            printError("cannot write standard output");
            return kExitInputFailed;
        }
        return kExitSuccess;
    }
    if (const std::optional<std::string> error = table.saveTableToFile(args[1])) {
        printError(*error);
        return kExitInputFailed;
    }
    return kExitSuccess;
}

} // namespace lanthor
