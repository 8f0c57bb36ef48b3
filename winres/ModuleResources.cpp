// Reading a module's resources through the loader.
#include "winres/ModuleResources.h"

#if defined(_WIN32)

#include <windows.h>

#include <stdexcept>

#include "winres/WindowsText.h"

namespace headless {

namespace {

using windows_text::Narrow;
using windows_text::SystemReason;
using windows_text::Wide;

// A resource type or name as the loader takes it; the string form lives in text.
LPCWSTR LoaderId(const ResourceId& id, std::wstring& text) {
    if (id.IsOrdinal()) return MAKEINTRESOURCEW(id.ordinal());
    text.assign(id.name().begin(), id.name().end());
    return text.c_str();
}

}  // namespace

std::shared_ptr<const ModuleResources> ModuleResources::OpenDataFile(const std::string& path) {
    HMODULE module = LoadLibraryExW(Wide(path).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        throw std::runtime_error("cannot open '" + path +
                                 "' for its resources: " + SystemReason(GetLastError()));
    }
    return std::shared_ptr<const ModuleResources>(new ModuleResources(module, path));
}

ModuleResources::~ModuleResources() { FreeLibrary(static_cast<HMODULE>(module_)); }

std::optional<std::vector<uint8_t>> ModuleResources::Find(const ResourceId& type,
                                                          const ResourceId& name,
                                                          std::optional<uint16_t> language) const {
    const auto module = static_cast<HMODULE>(module_);
    std::wstring typeText, nameText;
    const LPCWSTR typeId = LoaderId(type, typeText);
    const LPCWSTR nameId = LoaderId(name, nameText);
    HRSRC found = language ? FindResourceExW(module, typeId, nameId, *language)
                           : FindResourceW(module, nameId, typeId);
    if (found == nullptr) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, found);
    if (bytes == nullptr) return std::nullopt;
    const auto* first = static_cast<const uint8_t*>(bytes);
    return std::vector<uint8_t>(first, first + size);
}

std::optional<std::string> ModuleResources::StringById(uint16_t id) const {
    // With no buffer, LoadString hands out a pointer to the text in the module.
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(static_cast<HMODULE>(module_), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return std::nullopt;
    return Narrow(text, static_cast<size_t>(length));
}

}  // namespace headless

#endif  // _WIN32
