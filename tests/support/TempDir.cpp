#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <system_error>

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = test != nullptr
                                 ? std::string(test->test_suite_name()) + "-" + test->name()
                                 : std::string("outside-a-test");
    // A suffix of its own: several test runs (presets, worktrees) share the
    // temporary folder, and each must have a folder no other run touches.
    std::random_device random;
    for (;;) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "-%08x", static_cast<unsigned>(random()));
        path_ = fs::temp_directory_path() / ("pelvaro-" + name + suffix);
        if (fs::create_directories(path_)) break;  // false: it exists, try another
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::vector<std::string> TempDir::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    return names;
}

}  // namespace testing_support
