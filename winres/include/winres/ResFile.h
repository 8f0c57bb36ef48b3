// Reader of compiled .res files: a leading empty entry, then one record per
// resource, each a header (sizes, type, name, memory flags, language,
// versions) and the resource's bytes, every record DWORD-aligned.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "winres/ResourceSource.h"

namespace headless {

// The resources of a .res file's bytes, without the leading empty entry.
// Throws ResourceError naming fileName and the offset of the fault.
std::vector<ResourceEntry> ParseResFile(std::span<const uint8_t> bytes,
                                        const std::string& fileName);

// Reads and parses the file at path; the set's origin is path.
ResourceSet LoadResFile(const std::string& path);

}  // namespace headless
