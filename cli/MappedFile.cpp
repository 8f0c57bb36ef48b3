#include "cli/MappedFile.h"

#include <cerrno>
#include <cstring>

#include "cli/FileIO.h"
#include "cli/InputError.h"

#if defined(__unix__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cli {

#if defined(__unix__)
namespace {

// The rest of what fd gives, read from the descriptor already open: a FIFO
// or a pipe cannot be opened a second time for the same bytes.
std::string ReadAll(int fd, const std::string& path) {
    std::string content;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) return content;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw InputError("cannot read '" + path + "': " + std::strerror(errno));
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace
#endif

MappedFile::MappedFile(const std::string& path) {
#if defined(__unix__)
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        const auto size = static_cast<std::size_t>(info.st_size);
        void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        ::close(fd);
        if (mapped != MAP_FAILED) {
            ::madvise(mapped, size, MADV_SEQUENTIAL);  // read once, front to back
            mapping_ = mapped;
            text_ = std::string_view(static_cast<const char*>(mapped), size);
            return;
        }
    } else if (fd >= 0 &&
               (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode) || S_ISSOCK(info.st_mode))) {
        try {
            copy_ = ReadAll(fd, path);
        } catch (...) {
            ::close(fd);
            throw;
        }
        ::close(fd);
        text_ = copy_;
        return;
    } else if (fd >= 0) {
        ::close(fd);
    }
#endif
    // Empty files, directories, other systems: read, with the reader's messages.
    copy_ = ReadTextFile(path);
    text_ = copy_;
}

MappedFile::~MappedFile() {
#if defined(__unix__)
    if (mapping_ != nullptr) ::munmap(mapping_, text_.size());
#endif
}

}  // namespace cli
