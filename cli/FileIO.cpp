#include "cli/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include "cli/InputError.h"

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

}  // namespace

std::string ReadTextFile(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(path, error))
        throw InputError("cannot read '" + path + "': it is a directory");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw InputError("cannot read '" + path + "': " + Cause());
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) throw InputError("cannot read '" + path + "': " + Cause());
    return std::move(content).str();
}

void WriteFileAtomically(const std::string& path, const std::string& content) {
    WriteFileAtomically(path, [&content](std::ostream& out) {
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    });
}

void WriteFileAtomically(const std::string& path, const std::function<void(std::ostream&)>& write) {
    const fs::path target(path);
    std::error_code error;
    if (fs::is_directory(target, error)) {
        throw JobError("cannot write '" + path + "': it is a directory");
    }
    const fs::path temporary = TemporaryBeside(target);
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
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw JobError("cannot write '" + path + "': " + error.message());
    }
}

}  // namespace cli
