// A fresh empty folder for one test, named after it (with a random suffix)
// and removed afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The path of name inside the folder.
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    // The names of what the folder holds, in no particular order.
    std::vector<std::string> Names() const;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace testing_support
