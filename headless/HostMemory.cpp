#include "headless/HostMemory.h"

#include <cstring>
#include <new>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define HEADLESS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HEADLESS_ASAN 1
#endif
#endif

#if defined(HEADLESS_ASAN)
#include <sanitizer/asan_interface.h>
#define HEADLESS_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define HEADLESS_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define HEADLESS_POISON(p, n) ((void)(p), (void)(n))
#define HEADLESS_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace headless::detail {

Quarantine::~Quarantine() {
    while (!entries_.empty()) Evict();
}

void Quarantine::Retire(Bytes bytes, std::size_t size) {
    if (!bytes) return;
    if (size == 0) size = 1;  // AllocateBytes never makes less
    entries_.push_back(Entry{std::move(bytes), size});
    HEADLESS_POISON(entries_.back().bytes.get(), size);
    held_ += size;
    while (held_ > budget_ && entries_.size() > 1) Evict();
}

void Quarantine::Evict() {
    Entry& oldest = entries_.front();
    HEADLESS_UNPOISON(oldest.bytes.get(), oldest.size);
    held_ -= oldest.size;
    entries_.pop_front();
}

Bytes AllocateBytes(std::size_t size, std::byte fill) {
    const std::size_t n = size == 0 ? 1 : size;
    Bytes bytes(new std::byte[n]);
    std::memset(bytes.get(), std::to_integer<int>(fill), n);
    return bytes;
}

}  // namespace headless::detail
