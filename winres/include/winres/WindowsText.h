// UTF-8 and the system's UTF-16 text, and the system's reason for an error
// code, for the Windows resource readers. Windows builds only.
#pragma once

#if defined(_WIN32)

#include <windows.h>

#include <string>

#include "winres/Utf16.h"

namespace headless::windows_text {

inline std::wstring Wide(const std::string& utf8) {
    const std::u16string text = Utf16FromUtf8(utf8);
    return std::wstring(text.begin(), text.end());
}

inline std::string Narrow(const wchar_t* text, size_t length) {
    return Utf8FromUtf16(std::u16string(text, text + length));
}

inline std::string SystemReason(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::string reason =
        length > 0 && text != nullptr ? Narrow(text, length) : "error " + std::to_string(code);
    if (text != nullptr) LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    return reason;
}

}  // namespace headless::windows_text

#endif  // _WIN32
