#include "winres/ResourceError.h"

namespace headless {

ResourceError::ResourceError(const std::string& where, size_t offset, const std::string& problem)
    : std::runtime_error(where + ": byte " + std::to_string(offset) + ": " + problem),
      where_(where),
      offset_(offset),
      problem_(problem) {}

}  // namespace headless
