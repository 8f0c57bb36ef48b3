// Faults the tests inject and the host's call log as they read it.
#pragma once

#include <string>
#include <vector>

#include "headless/Host.h"
#include "hostinterface/HostInterface.h"

namespace testing_support {

// The code an injected fault answers with: no host or plug-in produces it.
constexpr HostErr kInjected = FourCharCode('F', 'A', 'I', 'L');

// The details of every call of op ("Suite.Operation"), in order.
inline std::vector<std::string> CallDetails(const headless::Host& host, const std::string& op) {
    std::vector<std::string> details;
    for (const headless::HostCall& call : host.Calls())
        if (call.op == op) details.push_back(call.detail);
    return details;
}

}  // namespace testing_support
