// Loading and saving the tree file: comma-separated rows of number, children, flag, text and
// (only where a node has any) attributes, read with only field sanitizing on and written as
// UTF-16 with a byte-order mark.

#include "TreeTable.h"
#include "base/AtomicFile.h"
#include "base/Log.h"
#include "csv/CsvParser.h"
#include "csv/CsvWriter.h"

namespace lanthor {

namespace {

/// Builds the nodes while the file is read, so that no table of rows is ever held: the same
/// nodes as loading the rows that the CSV reader would return.
class NodeCollector final : public CsvParserDelegate {
public:
    explicit NodeCollector(std::shared_ptr<NodeArena> arena) : arena_(std::move(arena)) {}

    ReadRows rows;
    std::optional<CsvError> error;
    std::uint64_t record = 0;

    void parserDidBeginLine(CsvParser&, std::uint64_t number) override {
        record = number;
        fieldCount_ = 0;
    }
    void parserDidReadField(CsvParser&, const std::u16string& field, std::int64_t) override {
        // The strings are reused from row to row, which spares an allocation per field.
        if (fieldCount_ < row_.size()) {
            row_[fieldCount_].assign(field);
        } else if (fieldCount_ < kFieldsRead) {
            row_.push_back(field);
        }
        ++fieldCount_;
    }
    void parserDidEndLine(CsvParser&, std::uint64_t) override {
        if (fieldCount_ >= 2) {
            // Fields after the fifth are not read; missing ones read as empty.
            const auto field = [this](std::size_t index) {
                return index < fieldCount_ ? std::u16string_view(row_[index])
                                           : std::u16string_view();
            };
            rows.addNode(
                allocateShared<Tree>(arena_, field(0), field(1), field(2), field(3), field(4)),
                record);
        } else if (fieldCount_ == 1 && !row_[0].empty()) {
            rows.addShortRecord(record);
        }
    }
    void parserDidFailWithError(CsvParser&, const CsvError& failure) override { error = failure; }

private:
    static constexpr std::size_t kFieldsRead = 5;
    std::shared_ptr<NodeArena> arena_;
    std::vector<std::u16string> row_; ///< the fields read of the current row
    std::size_t fieldCount_ = 0;
};

std::optional<TreeLoadError> loadWith(CsvParser& parser, const std::string& file,
                                      const std::shared_ptr<NodeArena>& arena, TreeTable& table) {
    NodeCollector collector(arena);
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
    table.adoptRows(std::move(collector.rows));
    return std::nullopt;
}

/// Takes the writer's output in the tree file's encoding back as text, as decoding it would: the
/// mark FF FE is dropped and every two bytes are one little-endian code unit.
class TextOutputStream final : public CsvOutputStream {
public:
    explicit TextOutputStream(std::u16string& text) : text_(text) {}
    Status status() const override { return status_; }
    void open() override { status_ = Status::Open; }
    void close() override { status_ = Status::Closed; }
    std::ptrdiff_t write(const std::uint8_t* bytes, std::size_t length) override {
        std::size_t i = 0;
        for (; i < length && (markBytesLeft_ > 0 || lowByte_); ++i) {
            if (markBytesLeft_ > 0) {
                --markBytesLeft_;
            } else {
                text_.push_back(static_cast<char16_t>(*lowByte_ | (bytes[i] << 8)));
                lowByte_.reset();
            }
        }
        const std::size_t units = (length - i) / 2;
        const std::size_t end = text_.size();
        text_.resize(end + units);
        for (std::size_t unit = 0; unit < units; ++unit, i += 2) {
            text_[end + unit] = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        }
        if (i < length) {
            lowByte_ = bytes[i];
        }
        return static_cast<std::ptrdiff_t>(length);
    }

private:
    std::u16string& text_;
    Status status_ = Status::NotOpen;
    int markBytesLeft_ = 2;
    std::optional<std::uint8_t> lowByte_;
};

/// Hands the writer's output to an AtomicFile in large pieces.
class AtomicFileOutputStream final : public CsvOutputStream {
public:
    explicit AtomicFileOutputStream(AtomicFile& file) : file_(file) {}
    ~AtomicFileOutputStream() override { close(); }
    Status status() const override { return status_; }
    void open() override { status_ = Status::Open; }
    void close() override {
        if (status_ == Status::Open) {
            file_.write(buffer_);
            buffer_.clear();
        }
        status_ = Status::Closed;
    }
    std::ptrdiff_t write(const std::uint8_t* bytes, std::size_t length) override {
        buffer_.append(reinterpret_cast<const char*>(bytes), length);
        if (buffer_.size() >= kBufferSize) {
            file_.write(buffer_);
            buffer_.clear();
        }
        return static_cast<std::ptrdiff_t>(length);
    }

private:
    static constexpr std::size_t kBufferSize = 1 << 20;
    AtomicFile& file_;
    Status status_ = Status::NotOpen;
    std::string buffer_;
};

/// The length of the saved text when no field needs quotes: enough room in almost every case.
std::size_t rowsLengthBeforeQuoting(const NodeDictionary& dictionary) {
    std::size_t length = 0;
    dictionary.forEach([&length](const std::shared_ptr<Tree>& node) {
        length += node->nodeNumber().size() + node->nodeValue().size() + 5; // flag, 3 commas, LF
        if (!node->attributes().empty()) {
            length += node->attributes().text().size() + 1;
        }
        for (const std::u16string& child : node->childrenList()) {
            length += child.size() + 1;
        }
    });
    return length;
}

} // namespace

std::optional<TreeLoadError> TreeTable::loadTableFromURL(const std::string& path) {
    CsvParser parser = CsvParser::fromFile(path);
    return loadWith(parser, path, arena_, *this);
}

std::optional<TreeLoadError> TreeTable::loadTable(std::u16string_view text) {
    CsvParser parser = CsvParser::fromString(text);
    return loadWith(parser, {}, arena_, *this);
}

std::u16string TreeTable::saveTable() const {
    std::u16string text;
    if (nodeDictionary_) {
        text.reserve(rowsLengthBeforeQuoting(*nodeDictionary_));
    }
    writeRows(std::make_shared<TextOutputStream>(text));
    return text;
}

std::optional<std::string> TreeTable::saveTableToFile(const std::string& path) const {
    AtomicFile file(path);
    writeRows(std::make_shared<AtomicFileOutputStream>(file));
    return file.commit();
}

void TreeTable::writeRows(std::shared_ptr<CsvOutputStream> stream) const {
    CsvWriter writer(std::move(stream), CsvEncoding::Unicode, u',');
    if (nodeDictionary_) {
        std::u16string children;
        nodeDictionary_->forEach([&writer, &children](const std::shared_ptr<Tree>& node) {
            writer.writeField(node->nodeNumber());
            children.clear();
            node->appendChildrenText(children);
            writer.writeField(children);
            writer.writeField(node->flagText());
            writer.writeField(node->nodeValue());
            // Without attributes the row keeps the four fields that every reader knows.
            if (!node->attributes().empty()) {
                writer.writeField(node->attributes().text());
            }
            writer.finishLine();
        });
    }
    writer.closeStream();
}

} // namespace lanthor
