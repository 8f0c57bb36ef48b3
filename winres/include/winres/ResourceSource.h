// Where resource bytes come from. The decoders take bytes and do not care
// whether they were read from a compiled .res file or from a loaded module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "winres/ResourceId.h"

namespace headless {

class ResourceSource {
public:
    virtual ~ResourceSource() = default;

    // The bytes of resource (type, name) in language, or nullopt when there
    // is none. With no language given, any language will do.
    virtual std::optional<std::vector<uint8_t>> Find(const ResourceId& type, const ResourceId& name,
                                                     std::optional<uint16_t> language) const = 0;
    // What the resources were read from, to begin error messages with.
    virtual std::string Origin() const = 0;
};

// One resource as a .res file records it.
struct ResourceEntry {
    ResourceId type = uint16_t{0};
    ResourceId name = uint16_t{0};
    uint16_t language = 0;
    uint16_t memoryFlags = 0;
    uint32_t dataVersion = 0;
    uint32_t version = 0;
    uint32_t characteristics = 0;
    size_t dataOffset = 0;  // where the data starts in the file
    std::vector<uint8_t> bytes;
};

// Resources held in memory, e.g. all the entries of a .res file.
class ResourceSet : public ResourceSource {
public:
    ResourceSet(std::string origin, std::vector<ResourceEntry> entries)
        : origin_(std::move(origin)), entries_(std::move(entries)) {}

    std::optional<std::vector<uint8_t>> Find(const ResourceId& type, const ResourceId& name,
                                             std::optional<uint16_t> language) const override;
    std::string Origin() const override { return origin_; }

    // The first entry that matches, or null.
    const ResourceEntry* FindEntry(const ResourceId& type, const ResourceId& name,
                                   std::optional<uint16_t> language) const;
    const std::vector<ResourceEntry>& entries() const { return entries_; }

private:
    std::string origin_;
    std::vector<ResourceEntry> entries_;
};

}  // namespace headless
