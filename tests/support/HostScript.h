// Test code run as the plug-in inside one host message: the host is current,
// so suites acquired through the message's basic suite can be called.
#pragma once

#include <functional>
#include <string>

#include "headless/Host.h"
#include "hostinterface/HostInterface.h"

namespace testing_support {

using Script = std::function<HostErr(MessageData&)>;

inline const Script*& CurrentScript() {
    static const Script* script = nullptr;
    return script;
}

inline HostErr HOSTAPI ScriptEntry(const char*, const char*, void* message) {
    return (*CurrentScript())(*static_cast<MessageData*>(message));
}

// Sends one message whose handling is body and returns body's answer. With
// the caller "AI Filter" the message is "AI Get Parameters" with the filter's
// parameters handle; otherwise the selector is "Run".
inline HostErr RunScript(headless::Host& host, const Script& body, const char* caller = "Test") {
    struct Current {  // cleared on every way out, a refused message included
        explicit Current(const Script& script) { CurrentScript() = &script; }
        ~Current() { CurrentScript() = nullptr; }
    } current(body);
    FilterMessage message{};
    return caller == std::string(kFilterCaller)
               ? host.FilterGetParameters(&ScriptEntry)
               : host.Send(&ScriptEntry, caller, "Run", &message.d);
}

// Sends one message whose handling is body.
inline void RunInMessage(headless::Host& host, const std::function<void(MessageData&)>& body) {
    RunScript(host, [&body](MessageData& message) {
        body(message);
        return kNoErr;
    });
}

// Acquires name/version for one script; the test releases it.
template <class Suite>
const Suite* AcquireFor(MessageData& message, const char* name, int32_t version) {
    const void* table = nullptr;
    if (message.basic->AcquireSuite(name, version, &table) != kNoErr) return nullptr;
    return static_cast<const Suite*>(table);
}

}  // namespace testing_support
