// Writing OUT: a regular file is replaced whole, anything else is written
// to and stays what it was, and an interruption leaves OUT and its folder as
// they were.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/FileIO.h"
#include "support/TempDir.h"

#if defined(__linux__)
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#endif

namespace {

using testing_support::TempDir;

namespace fs = std::filesystem;

#if defined(__linux__)

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    return text;
}

bool HasTemporary(const TempDir& dir) {
    for (const std::string& name : dir.Names()) {
        if (name.find(".tmp") != std::string::npos) return true;
    }
    return false;
}

TEST(CliOutput, WhatIsNotARegularFileIsWrittenToNotReplaced) {
    TempDir dir;
    const std::string content = "{\"art\": []}\n";
    const std::string out = dir / "out";
    struct Case {
        const char* name;
        // Makes out; false when this machine cannot (the test then says so).
        bool (*make)(const TempDir& folder, const std::string& path);
        fs::file_type type;  // what out is afterwards, not following links
    };
    const Case cases[] = {
        {"a character device (a null device, as /dev/null is)",
         [](const TempDir&, const std::string& path) {
             return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
         },
         fs::file_type::character},
        {"a FIFO",
         [](const TempDir&, const std::string& path) { return mkfifo(path.c_str(), 0666) == 0; },
         fs::file_type::fifo},
        {"a symbolic link to a FIFO (as /dev/stdout to a pipe)",
         [](const TempDir& folder, const std::string& path) {
             fs::create_symlink("fifo", path);
             return mkfifo((folder / "fifo").c_str(), 0666) == 0;
         },
         fs::file_type::symlink},
        {"a symbolic link to a file",
         [](const TempDir& folder, const std::string& path) {
             std::ofstream(folder / "target") << "as it was";
             fs::create_symlink("target", path);
             return true;
         },
         fs::file_type::symlink},
        {"a symbolic link to no file yet",
         [](const TempDir&, const std::string& path) {
             fs::create_symlink("target", path);
             return true;
         },
         fs::file_type::symlink},
        {"a regular file",
         [](const TempDir&, const std::string& path) {
             std::ofstream(path) << "as it was";
             return true;
         },
         fs::file_type::regular},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir.path());
        fs::create_directories(dir.path());
        if (!c.make(dir, out)) {
            ADD_FAILURE() << "cannot make " << c.name << " here: " << std::strerror(errno);
            continue;
        }
        // A reader, so that opening a FIFO for writing does not wait for one;
        // the content fits in the pipe's buffer.
        const bool fifo = fs::is_fifo(out);  // through a link too
        const int reader = fifo ? open(out.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        cli::WriteFileAtomically(out, content);
        EXPECT_EQ(fs::symlink_status(out).type(), c.type) << c.name;
        if (fifo) {
            EXPECT_EQ(ReadAll(reader), content) << c.name;
            close(reader);
        } else if (!fs::is_character_file(out)) {
            EXPECT_EQ(cli::ReadTextFile(out), content) << c.name;  // through a link to its target
        }
        EXPECT_FALSE(HasTemporary(dir)) << c.name;
    }
}

TEST(CliOutput, AReplacedFileKeepsItsPermissions) {
    TempDir dir;
    const std::string out = dir / "out.json";
    for (const fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                                 fs::perms::owner_all | fs::perms::group_read}) {
        std::ofstream(out) << "as it was";
        fs::permissions(out, mode);
        cli::WriteFileAtomically(out, "{\"art\": []}\n");
        EXPECT_EQ(cli::ReadTextFile(out), "{\"art\": []}\n");
        EXPECT_EQ(fs::status(out).permissions(), mode);
        EXPECT_FALSE(HasTemporary(dir));
    }
}

TEST(CliOutput, AnInterruptedWriteLeavesOutAndNoTemporary) {
    TempDir dir;
    const std::string out = dir / "out.json";
    for (const int signal : {SIGINT, SIGTERM}) {
        std::ofstream(out, std::ios::trunc) << "as it was";
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            // Long enough a write that the signal comes while it runs.
            cli::WriteFileAtomically(out, std::string(256u << 20, 'x'));
            _exit(0);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!HasTemporary(dir) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        kill(child, signal);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
            << "the write was not interrupted: status " << status;
        EXPECT_EQ(cli::ReadTextFile(out), "as it was");
        EXPECT_FALSE(HasTemporary(dir)) << strsignal(signal);
    }
}

#endif

}  // namespace
