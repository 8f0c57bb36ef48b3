// An input file's bytes without copying them: mapped read-only where the
// system can, read into memory elsewhere.
#pragma once

#include <string>
#include <string_view>

namespace cli {

class MappedFile {
public:
    // Throws InputError naming path when it cannot be opened or read.
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view text() const { return text_; }

private:
    std::string_view text_;
    void* mapping_ = nullptr;  // null when the bytes are in copy_
    std::string copy_;
};

}  // namespace cli
