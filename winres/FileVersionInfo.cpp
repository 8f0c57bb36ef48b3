// Reading version information through the version API (VERSION.dll).
#include "winres/ModuleResources.h"

#if defined(_WIN32)

#include <windows.h>

#include <cstring>
#include <stdexcept>

#include "winres/WindowsText.h"

namespace headless {

using windows_text::Narrow;
using windows_text::SystemReason;
using windows_text::Wide;

FileVersionInfo::FileVersionInfo(const std::string& path) : path_(path) {
    const std::wstring file = Wide(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) {
        throw std::runtime_error("no version information in '" + path +
                                 "': " + SystemReason(GetLastError()));
    }
    data_.resize(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data_.data())) {
        throw std::runtime_error("cannot read the version information of '" + path +
                                 "': " + SystemReason(GetLastError()));
    }
}

std::optional<FixedFileInfo> FileVersionInfo::Fixed() const {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data_.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, value, sizeof info);
    FixedFileInfo fixed;
    fixed.signature = info.dwSignature;
    fixed.structVersion = info.dwStrucVersion;
    fixed.fileVersionMS = info.dwFileVersionMS;
    fixed.fileVersionLS = info.dwFileVersionLS;
    fixed.productVersionMS = info.dwProductVersionMS;
    fixed.productVersionLS = info.dwProductVersionLS;
    fixed.fileFlagsMask = info.dwFileFlagsMask;
    fixed.fileFlags = info.dwFileFlags;
    fixed.fileOS = info.dwFileOS;
    fixed.fileType = info.dwFileType;
    fixed.fileSubtype = info.dwFileSubtype;
    fixed.fileDateMS = info.dwFileDateMS;
    fixed.fileDateLS = info.dwFileDateLS;
    return fixed;
}

std::vector<Translation> FileVersionInfo::Translations() const {
    void* value = nullptr;
    UINT length = 0;
    std::vector<Translation> out;
    if (!VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &value, &length)) return out;
    const auto* words = static_cast<const uint16_t*>(value);
    for (UINT i = 0; i + 1 < length / sizeof(uint16_t); i += 2)
        out.push_back(Translation{words[i], words[i + 1]});
    return out;
}

std::optional<std::string> FileVersionInfo::Value(const std::string& table,
                                                  const std::string& name) const {
    const std::wstring query = Wide("\\StringFileInfo\\" + table + "\\" + name);
    void* value = nullptr;
    UINT length = 0;  // in characters, the terminator included
    if (!VerQueryValueW(data_.data(), query.c_str(), &value, &length) || value == nullptr)
        return std::nullopt;
    const auto* text = static_cast<const wchar_t*>(value);
    size_t count = length;
    while (count > 0 && text[count - 1] == L'\0') --count;
    return Narrow(text, count);
}

}  // namespace headless

#endif  // _WIN32
