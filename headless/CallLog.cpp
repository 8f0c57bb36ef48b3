#include "headless/CallLog.h"

namespace headless::detail {

const std::vector<HostCall>& CallLog::Calls() const {
    if (madeVersion_ != version_) {
        made_.clear();
        made_.reserve(entries_.size());
        for (const Entry& entry : entries_) {
            made_.push_back(HostCall{
                entry.op,
                entry.detail == kNoText ? std::string() : std::string(details_.Text(entry.detail)),
                entry.fallible, entry.result, entry.injected});
        }
        madeVersion_ = version_;
    }
    return made_;
}

std::vector<std::string> CallLog::Names() const {
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const Entry& entry : entries_) names.emplace_back(entry.op);
    return names;
}

namespace {

// A code as its four characters when they print, else as a number.
void WriteCode(HostErr code, std::ostream& out) {
    const auto bits = static_cast<uint32_t>(code);
    char text[6] = {'\'', 0, 0, 0, 0, '\''};
    for (int i = 0; i < 4; ++i) {
        const auto byte = static_cast<char>((bits >> (24 - 8 * i)) & 0xFF);
        if (code == kNoErr || byte < 0x20 || byte > 0x7E) {
            out << code;
            return;
        }
        text[1 + i] = byte;
    }
    out.write(text, sizeof text);
}

}  // namespace

void CallLog::Write(std::ostream& out) const {
    for (const Entry& entry : entries_) {
        out << entry.op;
        if (entry.detail != kNoText) out << ' ' << details_.Text(entry.detail);
        if (entry.fallible) {
            out << " -> ";
            WriteCode(entry.result, out);
            if (entry.injected) out << " (injected)";
        }
        out << '\n';
    }
}

void CallLog::Clear() {
    entries_.clear();
    ++version_;
}

}  // namespace headless::detail
