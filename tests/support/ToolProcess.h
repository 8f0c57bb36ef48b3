// Runs the built `pelvaro` as its own process, for what cannot happen inside
// the test process: a plug-in that crashes or hangs, a working directory.
#pragma once

#if defined(__linux__) && !defined(PELVARO_IN_PROCESS)

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "cli/FileIO.h"

struct ToolResult {
    bool exited = false;  // false: ended by a signal
    int status = -1;      // exit status, or the signal
    std::string out;
    std::string err;
};

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
