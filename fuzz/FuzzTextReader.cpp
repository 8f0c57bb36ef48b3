// libFuzzer target for a reader of document text: any bytes must end in a
// document or in the reader's InputError, never in a crash, a hang, a
// sanitizer report or another exception. The reader is named by the build:
// PELVARO_FUZZ_HEADER and PELVARO_FUZZ_READER(text, fileName).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/InputError.h"
#include PELVARO_FUZZ_HEADER

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        (void)PELVARO_FUZZ_READER(text, "fuzz-input");
    } catch (const cli::InputError&) {
        // Bad input, told as such: what the reader is for.
    }
    return 0;
}
