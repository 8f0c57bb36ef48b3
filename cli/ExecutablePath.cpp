#include "cli/ExecutablePath.h"

#include <string>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace cli {

std::filesystem::path ExecutableDirectory() {
#if defined(_WIN32)
    // The path may be longer than MAX_PATH; grow until it fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) return {};
        if (length < size) {
            buffer.resize(length);
            return std::filesystem::path(buffer).parent_path();
        }
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
#elif defined(__linux__)
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return self.parent_path();
#else
    return {};
#endif
}

}  // namespace cli
