// Test code run as the plug-in inside one host message: the host is current,
// so suites acquired through the message's basic suite can be called.
#pragma once

#include <functional>

#include "headless/Host.h"
#include "hostinterface/HostInterface.h"

namespace testing_support {

inline const std::function<void(MessageData&)>*& CurrentScript() {
    static const std::function<void(MessageData&)>* script = nullptr;
    return script;
}

inline HostErr HOSTAPI ScriptEntry(const char*, const char*, void* message) {
    (*CurrentScript())(*static_cast<MessageData*>(message));
    return kNoErr;
}

// Sends one message whose handling is body.
inline void RunInMessage(headless::Host& host, const std::function<void(MessageData&)>& body) {
    CurrentScript() = &body;
    MessageData message{};
    host.Send(&ScriptEntry, "Test", "Run", &message);
    CurrentScript() = nullptr;
}

// Acquires name/version for one script; the test releases it.
template <class Suite>
const Suite* AcquireFor(MessageData& message, const char* name, int32_t version) {
    const void* table = nullptr;
    if (message.basic->AcquireSuite(name, version, &table) != kNoErr) return nullptr;
    return static_cast<const Suite*>(table);
}

}  // namespace testing_support
