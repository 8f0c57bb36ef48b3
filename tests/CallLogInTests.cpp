// The tests read the host's call log, which is off unless a program asks.
#include "headless/Host.h"

namespace {

const bool kLogged = (headless::Host::LogCallsByDefault(true), true);

}  // namespace
