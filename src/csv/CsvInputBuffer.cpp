#include "CsvInputBuffer.h"

#include "base/Log.h"

namespace lanthor {

namespace {

constexpr std::size_t kBlockSize = 512;

} // namespace

CsvInputBuffer::CsvInputBuffer(std::unique_ptr<CsvInputStream> stream, CsvEncoding* usedEncoding)
    : stream_(std::move(stream)) {
    stream_->open();
    if (usedEncoding && *usedEncoding != CsvEncoding::Unknown) {
        encoding_ = *usedEncoding;
    } else {
        sniffEncoding();
        if (usedEncoding) {
            *usedEncoding = encoding_;
        }
    }
    decoder_ = std::make_unique<TextDecoder>(encoding_);
    updateReloadIndex();
}

CsvInputBuffer::~CsvInputBuffer() {
    if (stream_) {
        stream_->close();
    }
}

void CsvInputBuffer::sniffEncoding() {
    // The first block decides, so it is filled even from a stream that hands out less per read.
    std::uint8_t block[kBlockSize];
    std::size_t count = 0;
    while (count < kBlockSize) {
        const std::ptrdiff_t n = stream_->read(block + count, kBlockSize - count);
        if (n < 1 || n > static_cast<std::ptrdiff_t>(kBlockSize - count)) {
            break;
        }
        count += static_cast<std::size_t>(n);
    }
    if (count == 0) {
        encoding_ = CsvEncoding::UTF8;
        return;
    }
    stringBuffer_.assign(block, block + count);
    totalBytesRead_ += count;
    bufferChanged_ = true;

    struct Mark {
        std::size_t length;
        std::uint8_t bytes[4];
        CsvEncoding encoding;
    };
    static constexpr Mark marks[] = {
        {4, {0x00, 0x00, 0xFE, 0xFF}, CsvEncoding::UTF32BigEndian},
        {4, {0xFF, 0xFE, 0x00, 0x00}, CsvEncoding::UTF32LittleEndian},
        {4, {0x1B, 0x24, 0x29, 0x43}, CsvEncoding::ISO2022KR},
        {2, {0xFF, 0xFE}, CsvEncoding::UTF16LittleEndian},
        {2, {0xFE, 0xFF}, CsvEncoding::UTF16BigEndian},
        {3, {0xEF, 0xBB, 0xBF}, CsvEncoding::UTF8},
    };
    for (const Mark& mark : marks) {
        if (count >= mark.length && std::equal(mark.bytes, mark.bytes + mark.length, block)) {
            encoding_ = mark.encoding;
            stringBuffer_.erase(stringBuffer_.begin(),
                                stringBuffer_.begin() + static_cast<std::ptrdiff_t>(mark.length));
            decodedBytes_ = mark.length;
            return;
        }
    }
    // UTF-8 when the block decodes with up to three bytes cut off its end, so that a character
    // split by the block's end does not count against it. A prefix decodes exactly when it
    // ends at a character boundary no later than the longest valid prefix.
    std::u16string scratch;
    const DecodeResult utf8 = decodeLongestPrefix(CsvEncoding::UTF8, {block, count}, scratch);
    if (utf8.bytesUsed + 3 >= count) {
        encoding_ = CsvEncoding::UTF8;
    } else {
        logLine("unable to determine stream encoding; assuming ShiftJIS");
        encoding_ = CsvEncoding::ShiftJIS;
    }
}

bool CsvInputBuffer::loadMore() {
    const std::size_t length = decodedLength();
    bool gotBytes = false;
    if (!streamExhausted_ && nextIndex_ + reloadMargin(length) >= length) {
        if (stream_->hasBytesAvailable()) {
            std::uint8_t block[kBlockSize];
            const std::ptrdiff_t n = stream_->read(block, kBlockSize);
            if (n > 0) {
                gotBytes = true;
                totalBytesRead_ += static_cast<std::uint64_t>(n);
                // Once the text is stuck on undecodable bytes, later bytes only count as read.
                if (!decodeStuck_) {
                    stringBuffer_.insert(stringBuffer_.end(), block, block + n);
                    bufferChanged_ = true;
                }
            }
        } else {
            streamExhausted_ = true;
        }
    }
    // Only new bytes can make more of the buffer decodable: what is left after a decode is an
    // incomplete or invalid sequence, and trying it again would give nothing.
    if (bufferChanged_) {
        decodeBuffer();
    }
    updateReloadIndex();
    return gotBytes;
}

void CsvInputBuffer::readUntilDecoded(std::size_t index) {
    // A full block always decodes to some text, but a stream may hand out fewer bytes than
    // asked, too few for a whole character: taking that for the end would cut the text short.
    while (index >= decodedLength() && !streamExhausted_ && !decodeStuck_ && loadMore()) {
    }
}

void CsvInputBuffer::decodeBuffer() {
    bufferChanged_ = false;
    if (stringBuffer_.empty()) {
        return;
    }
    const DecodeResult result = decoder_->decode(stringBuffer_, string_);
    decodedBytes_ += result.bytesUsed;
    stringBuffer_.erase(stringBuffer_.begin(),
                        stringBuffer_.begin() + static_cast<std::ptrdiff_t>(result.bytesUsed));
    if (result.stop == DecodeStop::Invalid) {
        decodeStuck_ = true;
    }
}

void CsvInputBuffer::loadAround(std::size_t index) {
    loadMore();
    readUntilDecoded(index);
}

std::optional<CsvEarlyEnd> CsvInputBuffer::earlyEnd(std::uint64_t record) const {
    if (nextIndex_ < decodedLength()) {
        return CsvEarlyEnd{CsvEarlyEnd::Reason::NulCharacter, 0, record, encoding_};
    }
    if (decodeStuck_ || !stringBuffer_.empty() || !streamExhausted_) {
        // The text ends here; the stream may still hold bytes it never gave.
        if (decodeStuck_ || !stringBuffer_.empty() || stream_->hasBytesAvailable()) {
            return CsvEarlyEnd{CsvEarlyEnd::Reason::UndecodableBytes, decodedBytes_, record,
                               encoding_};
        }
    }
    return std::nullopt;
}

} // namespace lanthor
