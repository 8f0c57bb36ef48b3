// The exception the host string wrappers raise, carrying the host's code.
#pragma once

#include <exception>

#include "hostinterface/HostInterface.h"

namespace ai {

class Error : public std::exception {
public:
    explicit Error(HostErr code) : code_(code) {}
    HostErr code() const { return code_; }

private:
    HostErr code_;
};

// Raises ai::Error when code is non-zero.
inline void ThrowIfError(HostErr code) {
    if (code != kNoErr) throw Error(code);
}

}  // namespace ai
