#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace lanthor {

/// A source of bytes that the CSV parser pulls blocks from.
class CsvInputStream {
public:
    virtual ~CsvInputStream() = default;
    virtual void open() = 0;
    virtual void close() = 0;
    /// Fills up to `maxLength` bytes; the count, 0 at the end, negative on a read failure.
    virtual std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength) = 0;
    /// Whether a read may still deliver bytes.
    virtual bool hasBytesAvailable() = 0;
    /// Why the stream could not be opened or read; empty when it could.
    virtual std::string error() const { return {}; }
};

/// Reads bytes held in memory.
class MemoryInputStream final : public CsvInputStream {
public:
    explicit MemoryInputStream(std::string bytes) : bytes_(std::move(bytes)) {}
    void open() override {}
    void close() override {}
    std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength) override;
    bool hasBytesAvailable() override { return position_ < bytes_.size(); }

private:
    std::string bytes_;
    std::size_t position_ = 0;
};

/// Reads a file (or standard input, for the path "-") through a large buffer, so that the
/// parser's small blocks do not each cost a system call. A file that cannot be opened reads as
/// empty; `error` says why.
class FileInputStream final : public CsvInputStream {
public:
    explicit FileInputStream(std::string path) : path_(std::move(path)) {}
    ~FileInputStream() override;
    void open() override;
    void close() override;
    std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength) override;
    bool hasBytesAvailable() override;

    const std::string& path() const { return path_; }
    std::string error() const override { return error_; }

private:
    bool fill();

    std::string path_;
    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    bool atEnd_ = false;
    std::string error_;
    std::vector<std::uint8_t> buffer_;
    std::size_t begin_ = 0, end_ = 0;
};

/// A sink of bytes that the CSV writer hands its output to.
class CsvOutputStream {
public:
    enum class Status { NotOpen, Open, Closed };
    virtual ~CsvOutputStream() = default;
    virtual Status status() const = 0;
    virtual void open() = 0;
    /// Takes the bytes; the count taken, negative on failure.
    virtual std::ptrdiff_t write(const std::uint8_t* bytes, std::size_t length) = 0;
    virtual void close() = 0;
};

/// Collects the bytes in memory; `data` gives them at any time, also after `close`.
class MemoryOutputStream final : public CsvOutputStream {
public:
    Status status() const override { return status_; }
    void open() override { status_ = Status::Open; }
    std::ptrdiff_t write(const std::uint8_t* bytes, std::size_t length) override;
    void close() override { status_ = Status::Closed; }
    const std::string& data() const { return data_; }
    /// Hands the bytes over, leaving the stream empty.
    std::string takeData() { return std::move(data_); }

private:
    Status status_ = Status::NotOpen;
    std::string data_;
};

/// Writes to a file, replacing what it held.
class FileOutputStream final : public CsvOutputStream {
public:
    explicit FileOutputStream(std::string path) : path_(std::move(path)) {}
    ~FileOutputStream() override;
    Status status() const override { return status_; }
    void open() override;
    std::ptrdiff_t write(const std::uint8_t* bytes, std::size_t length) override;
    void close() override;
    /// Whether opening, a write or the final flush failed.
    bool failed() const { return failed_; }

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    Status status_ = Status::NotOpen;
    bool failed_ = false;
};

} // namespace lanthor
