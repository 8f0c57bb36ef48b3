// Memory the host hands to the plug-in: blocks and handles. Freed memory is
// held back (and poisoned under the address sanitizer) instead of returned to
// the allocator at once, so a stale pointer the plug-in passes back cannot
// name a newer block at the same address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "hostinterface/HostInterface.h"

namespace headless::detail {

using Bytes = std::unique_ptr<std::byte[]>;

// The largest block or handle the host hands out; larger requests are out of
// memory, as they would be on the 32-bit host.
constexpr std::size_t kMaxAllocation = std::size_t{1} << 28;

// Fill of fresh blocks: a host's blocks are not zeroed, and a recognisable
// pattern makes reliance on zeros show.
constexpr std::byte kFreshBlockFill{0xA5};

class Quarantine {
public:
    explicit Quarantine(std::size_t budget) : budget_(budget) {}
    ~Quarantine();
    Quarantine(const Quarantine&) = delete;
    Quarantine& operator=(const Quarantine&) = delete;

    // Takes memory the plug-in gave back; the oldest goes once over budget.
    void Retire(Bytes bytes, std::size_t size);

private:
    struct Entry {
        Bytes bytes;
        std::size_t size;
    };
    void Evict();
    std::deque<Entry> entries_;
    std::size_t budget_;
    std::size_t held_ = 0;
};

// Zero-filled or patterned memory of at least one byte.
Bytes AllocateBytes(std::size_t size, std::byte fill);

// A block from AllocateBlock, keyed by its address.
struct Block {
    static constexpr const char* kKind = "block";
    Bytes bytes;
    std::size_t size = 0;
};

// A handle from NewHandle, keyed by the address of its master pointer.
struct Handle {
    static constexpr const char* kKind = "handle";
    Bytes cell;  // holds the master pointer: the char* to the block
    Bytes block;
    std::size_t size = 0;
    bool hostOwned = false;  // handed to the host (e.g. the filter's parameters)

    bool HeldByPlugin() const { return !hostOwned; }
    HostHandle handle() const { return reinterpret_cast<HostHandle>(cell.get()); }
};

}  // namespace headless::detail
