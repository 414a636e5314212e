#include "ByteStreams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lanthor {

std::ptrdiff_t MemoryInputStream::read(std::uint8_t* buffer, std::size_t maxLength) {
    const std::size_t count = std::min(maxLength, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return static_cast<std::ptrdiff_t>(count);
}

namespace {
constexpr std::size_t kFileBufferSize = 1 << 16;
}

FileInputStream::~FileInputStream() {
    close();
}

void FileInputStream::open() {
    if (file_ || atEnd_) {
        return;
    }
    if (path_ == "-") {
        file_ = stdin;
    } else {
        file_ = std::fopen(path_.c_str(), "rb");
        ownsFile_ = file_ != nullptr;
    }
    if (!file_) {
        error_ = std::strerror(errno);
        atEnd_ = true;
        return;
    }
    buffer_.resize(kFileBufferSize);
}

void FileInputStream::close() {
    if (file_ && ownsFile_) {
        std::fclose(file_);
    }
    file_ = nullptr;
    ownsFile_ = false;
    atEnd_ = true;
}

bool FileInputStream::fill() {
    if (begin_ < end_) {
        return true;
    }
    if (!file_ || atEnd_) {
        return false;
    }
    begin_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (end_ == 0) {
        if (std::ferror(file_)) {
            error_ = std::strerror(errno);
        }
        atEnd_ = true;
        return false;
    }
    return true;
}

std::ptrdiff_t FileInputStream::read(std::uint8_t* buffer, std::size_t maxLength) {
    if (!fill()) {
        return error_.empty() ? 0 : -1;
    }
    const std::size_t count = std::min(maxLength, end_ - begin_);
    std::memcpy(buffer, buffer_.data() + begin_, count);
    begin_ += count;
    return static_cast<std::ptrdiff_t>(count);
}

bool FileInputStream::hasBytesAvailable() {
    return fill();
}

std::ptrdiff_t MemoryOutputStream::write(const std::uint8_t* bytes, std::size_t length) {
    if (status_ != Status::Open) {
        return -1;
    }
    data_.append(reinterpret_cast<const char*>(bytes), length);
    return static_cast<std::ptrdiff_t>(length);
}

FileOutputStream::~FileOutputStream() {
    close();
}

void FileOutputStream::open() {
    if (status_ != Status::NotOpen) {
        return;
    }
    file_ = std::fopen(path_.c_str(), "wb");
    failed_ = file_ == nullptr;
    status_ = Status::Open;
}

std::ptrdiff_t FileOutputStream::write(const std::uint8_t* bytes, std::size_t length) {
    if (!file_) {
        return -1;
    }
    const std::size_t written = std::fwrite(bytes, 1, length, file_);
    if (written != length) {
        failed_ = true;
    }
    return static_cast<std::ptrdiff_t>(written);
}

void FileOutputStream::close() {
    if (file_ && std::fclose(file_) != 0) {
        failed_ = true;
    }
    file_ = nullptr;
    if (status_ == Status::Open) {
        status_ = Status::Closed;
    }
}

} // namespace lanthor
