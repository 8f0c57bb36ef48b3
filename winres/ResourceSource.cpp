#include "winres/ResourceSource.h"

namespace headless {

std::optional<std::vector<uint8_t>> ResourceSet::Find(const ResourceId& type,
                                                      const ResourceId& name,
                                                      std::optional<uint16_t> language) const {
    const ResourceEntry* entry = FindEntry(type, name, language);
    if (entry == nullptr) return std::nullopt;
    return entry->bytes;
}

const ResourceEntry* ResourceSet::FindEntry(const ResourceId& type, const ResourceId& name,
                                            std::optional<uint16_t> language) const {
    for (const ResourceEntry& entry : entries_) {
        if (entry.type == type && entry.name == name &&
            (!language || entry.language == *language)) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace headless
