#pragma once

// The one owner of an open file descriptor: it closes the descriptor when it goes, on every
// path out, and never throws, so it can sit in destructors and moves.

#include <utility>

namespace zanfor::util {

class FileDescriptor {
public:
    FileDescriptor() = default;
    // Takes `fd` as returned by open(); a negative number owns nothing.
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace zanfor::util
