#include "cli/PluginWatch.h"

#if !defined(_WIN32)

#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <iterator>

namespace cli {

namespace {

// What the handlers read. They run on the faulting thread with the plug-in's
// state in any shape, so they use nothing but these and async-signal-safe calls.
PluginMainProc sEntry = nullptr;
const char* sCommand = "";
unsigned sTimeout = 0;
const char* volatile sCaller = nullptr;  // null between messages
const char* volatile sSelector = nullptr;

constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
struct sigaction sPrevious[std::size(kCrashSignals)];

void Put(const char* text) {
    for (std::size_t left = std::strlen(text); left > 0;) {
        const ssize_t n = write(STDERR_FILENO, text, left);
        if (n <= 0) return;
        text += n;
        left -= static_cast<std::size_t>(n);
    }
}

// Unsigned decimal into buffer, async-signal-safe.
const char* Decimal(unsigned value, char (&buffer)[16]) {
    char* p = buffer + sizeof buffer;
    *--p = '\0';
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return p;
}

[[noreturn]] void Report(const char* what, const char* detail, const char* after) {
    Put("pelvaro ");
    Put(sCommand);
    Put(": the plug-in ");
    Put(what);
    Put(detail);
    Put(after);
    Put(" while handling \"");
    Put(sCaller);
    Put("\"/\"");
    Put(sSelector);
    Put("\"\n");
    _exit(1);
}

const char* SignalName(int signal) {
    switch (signal) {
        case SIGSEGV:
            return "SIGSEGV";
        case SIGBUS:
            return "SIGBUS";
        case SIGFPE:
            return "SIGFPE";
        case SIGILL:
            return "SIGILL";
        case SIGABRT:
            return "SIGABRT";
        default:
            return "a signal";
    }
}

void OnCrash(int signal) {
    if (sCaller == nullptr) {
        // Not the plug-in's: hand it to whoever had it before (a sanitizer, the
        // default end). A fault strikes again when this returns; abort raises again.
        for (std::size_t i = 0; i < std::size(kCrashSignals); ++i) {
            if (kCrashSignals[i] == signal) sigaction(signal, &sPrevious[i], nullptr);
        }
        return;
    }
    Report("crashed (", SignalName(signal), ")");
}

void OnTimeout(int) {
    if (sCaller == nullptr) return;
    char seconds[16];
    Report("did not return within ", Decimal(sTimeout, seconds), " s and was ended");
}

void InstallHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    // Its own stack, so that a plug-in that overflows its stack is reported too.
    static char alternate[64 * 1024];
    stack_t stack = {};
    stack.ss_sp = alternate;
    stack.ss_size = sizeof alternate;
    sigaltstack(&stack, nullptr);
    struct sigaction crash = {};
    crash.sa_handler = &OnCrash;
    crash.sa_flags = SA_ONSTACK;
    sigemptyset(&crash.sa_mask);
    for (std::size_t i = 0; i < std::size(kCrashSignals); ++i)
        sigaction(kCrashSignals[i], &crash, &sPrevious[i]);
    struct sigaction timeout = {};
    timeout.sa_handler = &OnTimeout;
    sigemptyset(&timeout.sa_mask);
    sigaction(SIGALRM, &timeout, nullptr);
}

HostErr HOSTAPI Watched(const char* caller, const char* selector, void* message) {
    // A message sent while one is handled (none today) keeps the outer one's
    // name and limit once it returns.
    const char* const outerCaller = sCaller;
    const char* const outerSelector = sSelector;
    const unsigned outerLeft = alarm(0);
    sCaller = caller != nullptr ? caller : "(null)";
    sSelector = selector != nullptr ? selector : "(null)";
    alarm(sTimeout);
    const HostErr result = sEntry(caller, selector, message);
    alarm(0);
    sCaller = outerCaller;
    sSelector = outerSelector;
    alarm(outerLeft);
    return result;
}

}  // namespace

PluginMainProc WatchedEntry(PluginMainProc entry, const char* command, unsigned timeoutSeconds) {
    sEntry = entry;
    sCommand = command;
    sTimeout = timeoutSeconds;
    InstallHandlers();
    return &Watched;
}

}  // namespace cli

#else

namespace cli {

// A Windows build runs only under the test harness (wine64); a crash there
// already ends the process with the exception's code, which the harness
// reports, and no Windows test drives a module that hangs.
PluginMainProc WatchedEntry(PluginMainProc entry, const char*, unsigned) { return entry; }

}  // namespace cli

#endif
