#pragma once

#include "ByteStreams.h"
#include "CsvEarlyEnd.h"
#include "CsvEncoding.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lanthor {

/// The CSV parser's input: reads its stream in blocks of 512 bytes, detects the encoding from
/// the first block unless it is given, decodes, and hands the text out one code unit at a time.
/// A block is read only when little of the decoded text is left ahead of the next character
/// (the reload margin: a third of the text, at least 10 code units), and the text before a
/// drop is forgotten, so memory follows the longest field rather than the input.
class CsvInputBuffer {
public:
    /// Opens `stream` now and closes it when destroyed. When `usedEncoding` is null or points at
    /// CsvEncoding::Unknown, the encoding is detected from the first block (and written back
    /// through the pointer); otherwise it is used as given.
    CsvInputBuffer(std::unique_ptr<CsvInputStream> stream, CsvEncoding* usedEncoding);
    ~CsvInputBuffer();
    CsvInputBuffer(const CsvInputBuffer&) = delete;
    CsvInputBuffer& operator=(const CsvInputBuffer&) = delete;

    // The character source: the next code unit (0 at the end), the one after it, consume one.
    // Below the reload index the decoded text always reaches past the next two characters, so
    // the stream needs a look only beyond it; that slow path stays out of line. These run for
    // nearly every character, which is why they are here in the header.
    char16_t peekCharacter() {
        if (nextIndex_ >= reloadIndex_) {
            loadAround(nextIndex_);
        }
        return nextIndex_ < decodedLength() ? text()[nextIndex_] : char16_t(0);
    }
    char16_t peekPeekCharacter() {
        if (nextIndex_ >= reloadIndex_) {
            loadAround(nextIndex_ + 1);
        }
        return nextIndex_ + 1 < decodedLength() ? text()[nextIndex_ + 1] : char16_t(0);
    }
    void advance() {
        if (nextIndex_ >= reloadIndex_) {
            loadMore();
        }
        ++nextIndex_;
    }

    /// The decoded text kept since the last drop; valid until the next character operation.
    const char16_t* text() const { return string_.data() + start_; }
    /// Index in text() of the next character.
    std::size_t position() const { return nextIndex_; }
    /// Up to this index text() may be scanned directly: no character operation before it would
    /// read or decode, so moving there with skipTo keeps reading exactly where the block rule
    /// puts it.
    std::size_t scanLimit() const { return std::min(reloadIndex_, decodedLength()); }
    /// Moves the next character to `index`, which is at most scanLimit().
    void skipTo(std::size_t index) { nextIndex_ = index; }
    /// Forgets the text before the next character, which then stands at index 0. It runs once
    /// per field, so it is inline too.
    void dropBeforePosition() {
        start_ += nextIndex_;
        nextIndex_ = 0;
        // Compact now and then, so the dropped text costs neither memory nor a move per field.
        if (start_ >= 4096 && start_ >= string_.size() / 2) {
            string_.erase(0, start_);
            start_ = 0;
        }
        updateReloadIndex();
    }

    CsvEncoding encoding() const { return encoding_; }
    /// Bytes taken from the stream so far, byte-order marks included.
    std::uint64_t totalBytesRead() const { return totalBytesRead_; }
    void setTotalBytesRead(std::uint64_t count) { totalBytesRead_ = count; }
    /// Why the stream could not be opened or read, empty when it could.
    std::string streamError() const { return stream_->error(); }

    /// When the text ends at the next character: whether the input goes on past it (a U+0000
    /// there, or bytes that did not decode or were never read), with `record` as the record.
    std::optional<CsvEarlyEnd> earlyEnd(std::uint64_t record) const;

private:
    void sniffEncoding();
    /// Reads as the block rule asks and on until the text reaches past `index`, if it can.
    [[gnu::noinline]] void loadAround(std::size_t index);
    /// Reads one block when the rule asks for it and decodes what came; false when no bytes came.
    bool loadMore();
    /// Reads on while the text ends at or before `index` and the stream may still complete it.
    void readUntilDecoded(std::size_t index);
    void decodeBuffer();
    void updateReloadIndex() {
        if (bufferChanged_) {
            reloadIndex_ = 0;
        } else if (streamExhausted_) {
            reloadIndex_ = SIZE_MAX;
        } else {
            const std::size_t length = decodedLength();
            const std::size_t margin = reloadMargin(length);
            reloadIndex_ = length > margin ? length - margin : 0;
        }
    }
    /// How little of the decoded text may be left ahead of the next character before the next
    /// block is read.
    static std::size_t reloadMargin(std::size_t decodedLength) {
        return std::max(decodedLength / 3, kMinimumReloadMargin);
    }
    std::size_t decodedLength() const { return string_.size() - start_; }

    static constexpr std::size_t kMinimumReloadMargin = 10;

    std::unique_ptr<CsvInputStream> stream_;
    CsvEncoding encoding_ = CsvEncoding::Unknown;
    std::unique_ptr<TextDecoder> decoder_;   ///< made once the encoding is known
    std::vector<std::uint8_t> stringBuffer_; ///< bytes read and not yet decoded
    std::u16string string_;                  ///< decoded text; what lies before start_ is dropped
    std::size_t start_ = 0;
    std::size_t nextIndex_ = 0; ///< index of the next character, counted from start_
    /// Below this index no character operation needs to read or decode.
    std::size_t reloadIndex_ = 0;
    std::uint64_t totalBytesRead_ = 0;
    std::uint64_t decodedBytes_ = 0;
    bool streamExhausted_ = false;
    bool bufferChanged_ = false;
    bool decodeStuck_ = false; ///< the buffer starts with bytes that will never decode
};

} // namespace lanthor
