// Runs the built `pelvaro` as its own process, for what cannot happen inside
// the test process: a plug-in that crashes or hangs, a working directory.
// PELVARO_TOOL_PROCESS is defined where it can (not in the in-process builds).
#pragma once

#if !defined(PELVARO_IN_PROCESS) && (defined(__linux__) || defined(_WIN32))
#define PELVARO_TOOL_PROCESS 1

#include <string>
#include <vector>

#include "cli/FileIO.h"

#if defined(_WIN32)
#include <windows.h>

#include <filesystem>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

struct ToolResult {
    bool exited = false;  // false: ended by a signal
    int status = -1;      // exit status, or the signal
    std::string out;
    std::string err;
};

#if defined(_WIN32)

namespace tool_process {

// One argument as the C runtime splits a command line: quoted, with the
// backslashes before a quote doubled.
inline void AppendQuoted(std::wstring& line, const std::wstring& arg) {
    line += L" \"";
    std::size_t slashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        line.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        line += c;
    }
    line.append(slashes * 2, L'\\');
    line += L'"';
}

inline HANDLE Inheritable(const std::wstring& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, creation,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace tool_process

inline ToolResult RunToolProcess(const std::vector<std::string>& args, const std::string& cwd) {
    namespace fs = std::filesystem;
    const fs::path outFile = fs::path(cwd) / ".tool-stdout",
                   errFile = fs::path(cwd) / ".tool-stderr";
    const std::wstring program = fs::absolute(PELVARO_CLI_PATH).wstring();
    std::wstring line = L"\"" + program + L"\"";
    for (const std::string& arg : args) tool_process::AppendQuoted(line, fs::path(arg).wstring());

    ToolResult result;
    const HANDLE in = tool_process::Inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = tool_process::Inheritable(outFile.wstring(), GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err = tool_process::Inheritable(errFile.wstring(), GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const bool started =
        in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
        CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       fs::path(cwd).wstring().c_str(), &startup, &process);
    for (const HANDLE handle : {in, out, err})
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    if (!started) return result;
    DWORD code = 0;
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    result.exited = true;  // Windows has no signals: a crash is an exit code
    result.status = static_cast<int>(code);
    result.out = cli::ReadTextFile(outFile.string());
    result.err = cli::ReadTextFile(errFile.string());
    fs::remove(outFile);
    fs::remove(errFile);
    return result;
}

#else

// Runs pelvaro with args in the folder cwd; out and err go through files in it.
inline ToolResult RunToolProcess(const std::vector<std::string>& args, const std::string& cwd) {
    const std::string outFile = cwd + "/.tool-stdout", errFile = cwd + "/.tool-stderr";
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(PELVARO_CLI_PATH)};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || chdir(cwd.c_str()) != 0) _exit(127);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(PELVARO_CLI_PATH, argv.data());
        _exit(127);
    }
    ToolResult result;
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return result;
    result.exited = WIFEXITED(status);
    result.status = result.exited ? WEXITSTATUS(status) : WTERMSIG(status);
    result.out = cli::ReadTextFile(outFile);
    result.err = cli::ReadTextFile(errFile);
    unlink(outFile.c_str());
    unlink(errFile.c_str());
    return result;
}

#endif
#endif
