#include "support/Parameters.h"

#include <cstring>
#include <span>
#include <stdexcept>
#include <string>

namespace testing_support {

void SetParameters(headless::Host& host, const JitterParams& params) {
    host.SetParameterBytes(std::as_bytes(std::span(&params, 1)));
}

JitterParams Parameters(const headless::Host& host) {
    const auto bytes = host.ParameterBytes();
    if (bytes.size() != sizeof(JitterParams))
        throw std::logic_error("the parameters handle holds " + std::to_string(bytes.size()) +
                               " bytes, not a JitterParams (" +
                               std::to_string(sizeof(JitterParams)) + ")");
    JitterParams params;
    std::memcpy(&params, bytes.data(), sizeof params);
    return params;
}

}  // namespace testing_support
