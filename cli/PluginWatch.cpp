#include "cli/PluginWatch.h"

#include <csignal>
#include <cstring>
#include <iterator>

#if defined(_WIN32)
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace cli {

namespace {

// What the handlers read. They run with the plug-in's state in any shape, so
// they use nothing but these and calls that are safe there (no allocation).
PluginMainProc sEntry = nullptr;
const char* sCommand = "";
unsigned sTimeout = 0;
const char* volatile sCaller = nullptr;  // null between messages
const char* volatile sSelector = nullptr;

#if defined(_WIN32)

void Put(const char* text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(std::strlen(text)), &written,
              nullptr);
}

[[noreturn]] void EndProcess() {
    TerminateProcess(GetCurrentProcess(), 1);
    ExitProcess(1);  // not reached
}

#else

void Put(const char* text) {
    for (std::size_t left = std::strlen(text); left > 0;) {
        const ssize_t n = write(STDERR_FILENO, text, left);
        if (n <= 0) return;
        text += n;
        left -= static_cast<std::size_t>(n);
    }
}

[[noreturn]] void EndProcess() { _exit(1); }

#endif

// Unsigned decimal into buffer, without allocating.
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
    EndProcess();
}

[[noreturn]] void ReportTimeout() {
    char seconds[16];
    Report("did not return within ", Decimal(sTimeout, seconds), " s and was ended");
}

#if defined(_WIN32)

// A crash is a structured exception that nothing handles; abort() raises SIGABRT.
const char* ExceptionName(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION:
            return "EXCEPTION_ACCESS_VIOLATION";
        case EXCEPTION_STACK_OVERFLOW:
            return "EXCEPTION_STACK_OVERFLOW";
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
            return "EXCEPTION_INT_DIVIDE_BY_ZERO";
        case EXCEPTION_ILLEGAL_INSTRUCTION:
            return "EXCEPTION_ILLEGAL_INSTRUCTION";
        case EXCEPTION_PRIV_INSTRUCTION:
            return "EXCEPTION_PRIV_INSTRUCTION";
        case EXCEPTION_IN_PAGE_ERROR:
            return "EXCEPTION_IN_PAGE_ERROR";
        default:
            return "an unhandled exception";
    }
}

LPTOP_LEVEL_EXCEPTION_FILTER sPreviousFilter = nullptr;

LONG WINAPI OnException(EXCEPTION_POINTERS* info) {
    if (sCaller == nullptr) {
        return sPreviousFilter != nullptr ? sPreviousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
    }
    Report("crashed (", ExceptionName(info->ExceptionRecord->ExceptionCode), ")");
}

void OnAbort(int signal) {
    if (sCaller == nullptr) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    Report("crashed (", "SIGABRT", ")");
}

void CALLBACK OnTimeout(void*, BOOLEAN) {
    if (sCaller != nullptr) ReportTimeout();
}

void InstallHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    sPreviousFilter = SetUnhandledExceptionFilter(&OnException);
    std::signal(SIGABRT, &OnAbort);
}

// The limit of one message: a timer-queue timer, ended when the message returns.
class MessageTimer {
public:
    MessageTimer() {
        if (sTimeout != 0) {
            CreateTimerQueueTimer(&timer_, nullptr, &OnTimeout, nullptr, sTimeout * 1000, 0,
                                  WT_EXECUTEONLYONCE);
        }
    }
    ~MessageTimer() {
        // Waits for a callback already running, which ends the process anyway.
        if (timer_ != nullptr) DeleteTimerQueueTimer(nullptr, timer_, INVALID_HANDLE_VALUE);
    }
    MessageTimer(const MessageTimer&) = delete;
    MessageTimer& operator=(const MessageTimer&) = delete;

private:
    HANDLE timer_ = nullptr;
};

#else

constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
struct sigaction sPrevious[std::size(kCrashSignals)];

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
    if (sCaller != nullptr) ReportTimeout();
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

// The limit of one message: the process's alarm, given back to an outer
// message (none today) when this one returns.
class MessageTimer {
public:
    MessageTimer() : outerLeft_(alarm(0)) { alarm(sTimeout); }
    ~MessageTimer() {
        alarm(0);
        alarm(outerLeft_);
    }
    MessageTimer(const MessageTimer&) = delete;
    MessageTimer& operator=(const MessageTimer&) = delete;

private:
    unsigned outerLeft_;
};

#endif

HostErr HOSTAPI Watched(const char* caller, const char* selector, void* message) {
    const char* const outerCaller = sCaller;
    const char* const outerSelector = sSelector;
    sCaller = caller != nullptr ? caller : "(null)";
    sSelector = selector != nullptr ? selector : "(null)";
    HostErr result;
    {
        const MessageTimer timer;
        result = sEntry(caller, selector, message);
    }
    sCaller = outerCaller;
    sSelector = outerSelector;
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
