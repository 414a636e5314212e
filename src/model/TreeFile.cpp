// Loading and saving the tree file: comma-separated rows of number, children, flag and text,
// read with only field sanitizing on and written as UTF-16 with a byte-order mark.

#include "TreeTable.h"
#include "csv/CsvParser.h"
#include "csv/CsvWriter.h"
#include "csv/Log.h"

namespace lanthor {

namespace {

/// Builds the nodes while the file is read, so that no table of rows is ever held: the same
/// nodes as loading the rows that the CSV reader would return.
class NodeCollector final : public CsvParserDelegate {
public:
    std::unique_ptr<NodeDictionary> dictionary = std::make_unique<NodeDictionary>();
    std::optional<CsvError> error;
    std::uint64_t record = 0;

    void parserDidBeginLine(CsvParser&, std::uint64_t number) override {
        record = number;
        row_.clear();
    }
    void parserDidReadField(CsvParser&, const std::u16string& field, std::int64_t) override {
        row_.push_back(field);
    }
    void parserDidEndLine(CsvParser&, std::uint64_t) override {
        if (row_.size() >= 2) {
            dictionary->insert(std::make_shared<Tree>(std::move(row_)));
        }
    }
    void parserDidFailWithError(CsvParser&, const CsvError& failure) override { error = failure; }

private:
    std::vector<std::u16string> row_;
};

std::optional<TreeLoadError> loadWith(CsvParser& parser, const std::string& file,
                                      std::unique_ptr<NodeDictionary>& target) {
    NodeCollector collector;
    parser.setDelegate(&collector);
    parser.setOptions(CsvParserOptionsSanitizesFields);
    parser.parse();
    std::optional<TreeLoadError> failure;
    if (!parser.streamError().empty()) {
        failure = TreeLoadError{file, "cannot be read (" + parser.streamError() + ")"};
    } else if (collector.error) {
        failure = TreeLoadError{file, "record " + std::to_string(collector.record) + ": " +
                                          toUtf8(collector.error->message)};
    } else if (const std::optional<CsvEarlyEnd> earlyEnd = parser.earlyEnd()) {
        failure = TreeLoadError{file, earlyEnd->message()};
    }
    if (failure) {
        logLine("error parsing file:");
        return failure;
    }
    target = std::move(collector.dictionary);
    return std::nullopt;
}

} // namespace

std::optional<TreeLoadError> TreeTable::loadTableFromURL(const std::string& path) {
    CsvParser parser = CsvParser::fromFile(path);
    return loadWith(parser, path, nodeDictionary_);
}

std::optional<TreeLoadError> TreeTable::loadTable(std::u16string_view text) {
    CsvParser parser = CsvParser::fromString(text);
    return loadWith(parser, {}, nodeDictionary_);
}

std::u16string TreeTable::saveTable() const {
    auto memory = std::make_shared<MemoryOutputStream>();
    {
        CsvWriter writer(memory, CsvEncoding::Unicode, u',');
        if (nodeDictionary_) {
            nodeDictionary_->forEach([&writer](const std::shared_ptr<Tree>& node) {
                for (const std::u16string& field : node->rowFields()) {
                    writer.writeField(field);
                }
                writer.finishLine();
            });
        }
        writer.closeStream();
    }
    // Read back in the same encoding, which drops the mark.
    const std::string& bytes = memory->data();
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                             (static_cast<std::uint8_t>(bytes[i + 1]) << 8)));
    }
    return text;
}

} // namespace lanthor
