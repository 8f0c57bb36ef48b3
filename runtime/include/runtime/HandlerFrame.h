// Every working handler runs inside this frame: all suites are acquired
// before its work and released on every way out, exceptions included.
#pragma once

#include "runtime/SuiteTable.h"

class SuiteLease {
public:
    explicit SuiteLease(const BasicSuite* basic) : basic_(basic), error_(AcquireSuites(basic)) {}
    ~SuiteLease() { ReleaseSuites(basic_); }  // the host's answer is not examined
    SuiteLease(const SuiteLease&) = delete;
    SuiteLease& operator=(const SuiteLease&) = delete;

    HostErr error() const { return error_; }

private:
    const BasicSuite* basic_;
    HostErr error_;
};

// Runs work() with every suite held; a failed acquisition skips the work and
// returns the acquisition error.
template <class Work>
HostErr RunInHandlerFrame(const MessageData& message, Work&& work) {
    const SuiteLease lease(message.basic);
    if (lease.error() != kNoErr) return lease.error();
    return work();
}
