#include "headless/PluginModule.h"

#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace headless {

namespace {

#if defined(_WIN32)

std::string LastErrorText() {
    const DWORD code = GetLastError();
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message =
        length > 0 && text != nullptr ? std::string(text, length) : "error " + std::to_string(code);
    if (text != nullptr) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message;
}

#else

std::string LoaderText() {
    const char* text = dlerror();
    return text != nullptr ? text : "unknown loader error";
}

#endif

}  // namespace

PluginModule::PluginModule(const std::string& path) : path_(path) {
#if defined(_WIN32)
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr)
        throw std::runtime_error("cannot load the plug-in module '" + path +
                                 "': " + LastErrorText() +
                                 " (check the path and that the module was built for this "
                                 "platform)");
    const FARPROC proc = GetProcAddress(module, kPluginMainName);
    if (proc == nullptr) {
        const std::string reason = LastErrorText();
        FreeLibrary(module);
        throw std::runtime_error("the plug-in module '" + path + "' exports no " + kPluginMainName +
                                 ": " + reason);
    }
    handle_ = module;
    // Through the generic function pointer type, which converts to any other.
    entry_ = reinterpret_cast<PluginMainProc>(reinterpret_cast<void (*)()>(proc));
#else
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr)
        throw std::runtime_error("cannot load the plug-in module '" + path + "': " + LoaderText() +
                                 " (check the path and that the module was built for this "
                                 "platform)");
    dlerror();
    void* symbol = dlsym(module, kPluginMainName);
    if (symbol == nullptr) {
        const std::string reason = LoaderText();
        dlclose(module);
        throw std::runtime_error("the plug-in module '" + path + "' exports no " + kPluginMainName +
                                 ": " + reason);
    }
    handle_ = module;
    entry_ = reinterpret_cast<PluginMainProc>(symbol);
#endif
}

PluginModule::~PluginModule() {
#if defined(_WIN32)
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
#else
    if (handle_ != nullptr) dlclose(handle_);
#endif
}

}  // namespace headless
