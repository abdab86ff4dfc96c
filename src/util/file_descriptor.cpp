#include "util/file_descriptor.h"

#include <unistd.h>

namespace zanfor::util {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

// A failed close leaves nothing to retry: the descriptor is gone either way on Linux.
FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace zanfor::util
