// Input read through MappedFile: a file is mapped, anything else read once,
// from the descriptor it was opened with.
#include <gtest/gtest.h>

#include "cli/MappedFile.h"
#include "support/TempDir.h"

#if defined(__linux__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

using testing_support::TempDir;

// The writer of a named FIFO writes once and is gone, as a `mkfifo` pipeline's
// writer is. Opening the FIFO a second time would wait for a writer that never
// comes: after a while the writer opens it once more with nothing to say, so
// a reader that reopened ends with nothing instead of hanging.
TEST(MappedFile, AFifoIsReadOnceFromTheDescriptorItWasOpenedWith) {
    TempDir dir;
    const std::string fifo = dir / "input.json";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string content = "{\"art\": []}\n";
    std::atomic<bool> done{false};
    std::thread writer([&] {
        const int fd = open(fifo.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
        close(fd);
        for (int waited = 0; waited < 40 && !done; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!done) close(open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
    });
    const cli::MappedFile file(fifo);
    done = true;
    writer.join();
    EXPECT_EQ(file.text(), content);
}

}  // namespace

#endif
