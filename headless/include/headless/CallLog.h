// The host's call log. Off unless asked for; when on, each call is a small
// record (the operation's static name, an interned detail) with no heap
// allocation of its own, turned into HostCall values only when read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "headless/Host.h"
#include "headless/TextTable.h"

namespace headless::detail {

class CallLog {
public:
    static constexpr std::size_t kNone = SIZE_MAX;

    bool on() const { return on_; }
    void SetOn(bool on) { on_ = on; }

    // Appends a call and returns its position, or kNone when the log is off.
    std::size_t Add(const char* op, std::string_view detail, bool fallible) {
        if (!on_) return kNone;
        entries_.push_back(
            Entry{op, detail.empty() ? kNoText : details_.Intern(detail), fallible, false, kNoErr});
        ++version_;
        return entries_.size() - 1;
    }
    void Finish(std::size_t position, HostErr result, bool injected) {
        // The log may have been cleared by a nested call of the host's user.
        if (position >= entries_.size()) return;
        entries_[position].result = result;
        entries_[position].injected = injected;
        ++version_;
    }

    // The calls as HostCall values, made again only when the log has changed.
    const std::vector<HostCall>& Calls() const;
    std::vector<std::string> Names() const;
    // One line a call, straight from the records.
    void Write(std::ostream& out) const;
    void Clear();

private:
    static constexpr uint32_t kNoText = UINT32_MAX;
    struct Entry {
        const char* op;  // static: the Op's name
        uint32_t detail;
        bool fallible;
        bool injected;
        HostErr result;
    };

    bool on_ = false;
    std::vector<Entry> entries_;
    TextTable details_;
    uint64_t version_ = 0;  // counts changes, so made_ is remade only after one
    mutable std::vector<HostCall> made_;
    mutable uint64_t madeVersion_ = 0;
};

}  // namespace headless::detail
