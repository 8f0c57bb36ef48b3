// The error raised when resource bytes are not what their format says.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace headless {

// The message reads "<where>: byte <offset>: <problem>", where is the file,
// or the file and the resource, e.g. "Pelvaro.res: DIALOG 16000".
class ResourceError : public std::runtime_error {
public:
    ResourceError(const std::string& where, size_t offset, const std::string& problem);

    const std::string& where() const { return where_; }
    size_t offset() const { return offset_; }
    const std::string& problem() const { return problem_; }

private:
    std::string where_;
    size_t offset_;
    std::string problem_;
};

}  // namespace headless
