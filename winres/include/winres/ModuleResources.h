// A Windows module's resources read through the loader (FindResourceEx,
// LoadResource, LoadString) and a file's version information read through
// GetFileVersionInfo/VerQueryValue. Windows builds only.
#pragma once

#if defined(_WIN32)

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "winres/ResourceSource.h"
#include "winres/VersionInfo.h"

namespace headless {

class ModuleResources : public ResourceSource {
public:
    // Maps the file at path as an image resource data file, so that a module of
    // another bitness (the 32-bit plug-in from a 64-bit host) can be read; none
    // of its code runs. Throws std::runtime_error naming the path and the
    // system's reason.
    static std::shared_ptr<const ModuleResources> OpenDataFile(const std::string& path);
    ~ModuleResources() override;
    ModuleResources(const ModuleResources&) = delete;
    ModuleResources& operator=(const ModuleResources&) = delete;

    std::optional<std::vector<uint8_t>> Find(const ResourceId& type, const ResourceId& name,
                                             std::optional<uint16_t> language) const override;
    std::string Origin() const override { return path_; }

    // String id as LoadString finds it, in UTF-8; nullopt when there is none.
    std::optional<std::string> StringById(uint16_t id) const;

private:
    ModuleResources(void* module, std::string path) : module_(module), path_(std::move(path)) {}
    void* module_;  // HMODULE of the data file, freed with the object
    std::string path_;
};

// The version information of a file as the version API reports it.
class FileVersionInfo {
public:
    // Reads the file at path. Throws std::runtime_error naming it and the
    // system's reason when it has no version information or cannot be read.
    explicit FileVersionInfo(const std::string& path);

    // The fixed part ("\"), or nullopt when the query finds none.
    std::optional<FixedFileInfo> Fixed() const;
    // The entries of "\VarFileInfo\Translation".
    std::vector<Translation> Translations() const;
    // "\StringFileInfo\<table>\<name>" in UTF-8, or nullopt when absent.
    std::optional<std::string> Value(const std::string& table, const std::string& name) const;

private:
    std::string path_;
    std::vector<uint8_t> data_;
};

}  // namespace headless

#endif  // _WIN32
