#include "cli/MappedFile.h"

#include "cli/FileIO.h"

#if defined(__unix__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cli {

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
    } else if (fd >= 0) {
        ::close(fd);
    }
#endif
    // Empty files, pipes, other systems: read, with the reader's messages.
    copy_ = ReadTextFile(path);
    text_ = copy_;
}

MappedFile::~MappedFile() {
#if defined(__unix__)
    if (mapping_ != nullptr) ::munmap(mapping_, text_.size());
#endif
}

}  // namespace cli
