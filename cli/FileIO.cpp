#include "cli/FileIO.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <system_error>

#include "cli/InputError.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace cli {

namespace fs = std::filesystem;

namespace {

std::string Cause() { return errno != 0 ? std::strerror(errno) : "unknown error"; }

// A name beside target that no file has yet.
fs::path TemporaryBeside(const fs::path& target) {
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x%08x.tmp", device(), device());
        fs::path candidate = target;
        candidate.replace_filename("." + target.filename().string() + suffix);
        std::error_code error;
        if (!fs::exists(candidate, error) && !error) return candidate;
    }
    throw JobError("cannot write '" + target.string() + "': no free temporary name beside it");
}

// The file path names through symbolic links, when it is not made yet.
fs::path FollowLinks(const fs::path& path) {
    fs::path target = path;
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(target, error)); ++hops) {
        const fs::path link = fs::read_symlink(target, error);
        if (error) break;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return target;
}

// While it lives, SIGINT, SIGTERM and SIGHUP remove the temporary file before
// they end the process as they would have, so no half-written file stays.
class RemovedOnSignal {
public:
    explicit RemovedOnSignal(const fs::path& temporary) {
#if !defined(_WIN32)
        sTemporary = temporary.string();  // before the handler may read it
        struct sigaction action = {};
        action.sa_handler = &RemoveAndRaise;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(kSignals); ++i)
            sigaction(kSignals[i], &action, &previous_[i]);
#else
        (void)temporary;
#endif
    }
    ~RemovedOnSignal() {
#if !defined(_WIN32)
        for (std::size_t i = 0; i < std::size(kSignals); ++i)
            sigaction(kSignals[i], &previous_[i], nullptr);
#endif
    }
    RemovedOnSignal(const RemovedOnSignal&) = delete;
    RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;

private:
#if !defined(_WIN32)
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    static inline std::string sTemporary;

    // Only async-signal-safe calls: unlink, then the signal's own default end.
    static void RemoveAndRaise(int signal) {
        unlink(sTemporary.c_str());
        ::signal(signal, SIG_DFL);
        raise(signal);
    }

    struct sigaction previous_[std::size(kSignals)] = {};
#endif
};

}  // namespace

std::string ReadTextFile(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(path, error))
        throw InputError("cannot read '" + path + "': it is a directory");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw InputError("cannot read '" + path + "': " + Cause());
    // Sized by the file's size, so a big file takes no more than its bytes.
    std::string content;
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error) content.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        content.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) throw InputError("cannot read '" + path + "': " + Cause());
    return content;
}

void WriteFileAtomically(const std::string& path, const std::string& content) {
    WriteFileAtomically(path, [&content](std::ostream& out) {
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    });
}

void WriteFileAtomically(const std::string& path, const std::function<void(std::ostream&)>& write) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);  // through any links
    if (fs::is_directory(status)) throw JobError("cannot write '" + path + "': it is a directory");
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        // A device or a FIFO (/dev/null, /dev/stdout on a pipe): renaming over
        // it would put a plain file in its place.
        errno = 0;
        std::ofstream out(path, std::ios::binary);
        if (!out) throw JobError("cannot write '" + path + "': " + Cause());
        write(out);
        out.close();
        if (!out) throw JobError("cannot write '" + path + "': " + Cause());
        return;
    }
    // The file itself, so that a link to it stays a link.
    std::error_code unresolved;
    fs::path target = fs::exists(status) ? fs::canonical(path, unresolved) : FollowLinks(path);
    if (unresolved) target = path;
    const fs::path temporary = TemporaryBeside(target);
    const RemovedOnSignal removal(temporary);
    errno = 0;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            throw JobError("cannot write '" + path + "': " + Cause() + " (creating '" +
                           temporary.string() + "')");
        }
        try {
            write(out);
        } catch (...) {
            out.close();
            fs::remove(temporary, error);
            throw;
        }
        out.close();
        if (!out) {
            const std::string cause = Cause();
            fs::remove(temporary, error);
            throw JobError("cannot write '" + path + "': " + cause);
        }
    }
    // The new file takes the place of the old one with its permissions, not
    // the default ones (a private file stays private, a script executable).
    error.clear();
    if (fs::exists(status)) fs::permissions(temporary, status.permissions(), error);
    if (!error) fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw JobError("cannot write '" + path + "': " + error.message());
    }
}

}  // namespace cli
