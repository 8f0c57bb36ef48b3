#include "headless/Host.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "headless/HostCore.h"

namespace headless {

using detail::HostCore;

namespace {

// The host's own check word; the plug-in never reads it.
constexpr int32_t kCheckWord = FourCharCode('H', 'L', 'S', 'S');

const BasicSuite* Basic() { return static_cast<const BasicSuite*>(detail::BasicSuiteDef().table); }

std::string PointerText(const void* pointer) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

}  // namespace

namespace {

bool gLogCallsByDefault = false;

}  // namespace

void Host::LogCallsByDefault(bool on) { gLogCallsByDefault = on; }

Host::Host(Document& document, uint32_t seed) : core_(std::make_unique<HostCore>(document, seed)) {
    core_->log.SetOn(gLogCallsByDefault);
}

Host::~Host() = default;

HostErr Host::Send(PluginMainProc entry, const char* caller, const char* selector,
                   MessageData* message) {
    if (entry == nullptr || caller == nullptr || selector == nullptr || message == nullptr)
        throw std::invalid_argument(
            "Host::Send needs an entry point, a caller, a selector and "
            "a message");
    core_->Resources();  // the host reads the declaration before it runs any code
    message->checkWord = kCheckWord;
    message->self = core_->pluginRef;
    message->globals = core_->globals;
    message->basic = Basic();
    const bool filterMessage = std::strcmp(caller, kFilterCaller) == 0;
    HostHandle* const parameters =
        filterMessage ? &reinterpret_cast<FilterMessage*>(message)->parameters : nullptr;
    const HostHandle given = parameters != nullptr ? *parameters : nullptr;
    HostErr result = kNoErr;
    {
        detail::CurrentScope current(*core_);
        result = entry(caller, selector, message);
    }
    core_->globals = message->globals;
    if (parameters != nullptr && *parameters != given) KeepParameters(*parameters);
    return result;
}

HostErr Host::Startup(PluginMainProc entry) {
    MessageData message{};
    return Send(entry, kSPInterfaceCaller, kSPStartupSelector, &message);
}

HostErr Host::Shutdown(PluginMainProc entry) {
    MessageData message{};
    return Send(entry, kSPInterfaceCaller, kSPShutdownSelector, &message);
}

HostErr Host::Unload(PluginMainProc entry) {
    MessageData message{};
    return Send(entry, kSPAccessCaller, kSPUnloadSelector, &message);
}

HostErr Host::Reload(PluginMainProc entry) {
    MessageData message{};
    return Send(entry, kSPAccessCaller, kSPReloadSelector, &message);
}

HostErr Host::FilterGetParameters(PluginMainProc entry) {
    return SendFilterMessage(entry, kGetParametersSelector);
}

HostErr Host::FilterGo(PluginMainProc entry) { return SendFilterMessage(entry, kGoSelector); }

HostErr Host::MenuGo(PluginMainProc entry, MenuItemHandle item) {
    MenuMessage message{};
    message.menuItem = item;
    return Send(entry, kMenuCaller, kGoSelector, &message.d);
}

HostErr Host::SendFilterMessage(PluginMainProc entry, const char* selector) {
    FilterMessage message{};
    message.filter = core_->filterHandle;
    message.parameters = core_->parameters;
    return Send(entry, kFilterCaller, selector, &message.d);
}

// Whatever the plug-in left in the parameters field is the host's from now
// on; the handle it replaced, if still alive, goes.
void Host::KeepParameters(HostHandle field) {
    HostCore& core = *core_;
    const HostHandle before = core.parameters;
    if (field == before) return;
    if (field != nullptr) {
        detail::Handle* handle = core.FindHandle(field);
        if (handle == nullptr) {
            core.problems.push_back("the parameters field was left holding " + PointerText(field) +
                                    ", which is not a live handle from NewHandle; the host kept "
                                    "its earlier parameters");
            return;
        }
        handle->hostOwned = true;
    }
    core.parameters = field;
    if (before != nullptr) core.DisposeHandle(before);
}

void Host::SetParameterBytes(std::span<const std::byte> bytes) {
    HostCore& core = *core_;
    const detail::Handle* handle = core.FindHandle(core.parameters);
    if (handle == nullptr || handle->size != bytes.size()) {
        const HostHandle made = core.NewHandle(bytes.size(), true);
        if (core.parameters != nullptr) core.DisposeHandle(core.parameters);
        core.parameters = made;
    }
    if (!bytes.empty()) std::memcpy(*core.parameters, bytes.data(), bytes.size());
}

bool Host::HasParameters() const { return core_->FindHandle(core_->parameters) != nullptr; }

std::vector<std::byte> Host::ParameterBytes() const {
    const detail::Handle* handle = core_->FindHandle(core_->parameters);
    if (handle == nullptr)
        throw std::logic_error(
            "the filter has no parameters handle: send AI Get Parameters or "
            "call SetParameterBytes first");
    const auto* block = reinterpret_cast<const std::byte*>(*core_->parameters);
    return std::vector<std::byte>(block, block + handle->size);
}

void* Host::Globals() const { return core_->globals; }

const std::vector<std::string>& Host::Problems() const { return core_->problems; }

Holdings Host::Held() const { return core_->Held(); }

int Host::KeyCount() const { return core_->keys.Count(); }

void Host::FailNthCall(int n, HostErr code) {
    if (n < 1) throw std::invalid_argument("FailNthCall counts from 1");
    if (code == kNoErr) throw std::invalid_argument("FailNthCall needs a non-zero code");
    core_->faults.nth[core_->fallibleCalls + n] = code;
}

void Host::FailOperation(const std::string& op, HostErr code) {
    const detail::Op* known = detail::FindOp(op);
    if (known == nullptr)
        throw std::invalid_argument("FailOperation: no host operation is named '" + op +
                                    "' (names are Suite.Operation, e.g. Array.CreateArray)");
    if (!known->fallible)
        throw std::invalid_argument("FailOperation: '" + op +
                                    "' returns no error code, so it cannot fail");
    if (code == kNoErr) throw std::invalid_argument("FailOperation needs a non-zero code");
    core_->faults.ops[known] = code;
}

namespace {

void CheckSuiteName(const char* what, const std::string& suite) {
    if (detail::FindSuite(suite) == nullptr)
        throw std::invalid_argument(std::string(what) + ": the host has no suite named '" + suite +
                                    "' (use the full name, e.g. AI Path Suite)");
}

}  // namespace

void Host::RefuseAcquire(const std::string& suite, HostErr code) {
    CheckSuiteName("RefuseAcquire", suite);
    if (code == kNoErr) throw std::invalid_argument("RefuseAcquire needs a non-zero code");
    core_->faults.refuseAcquire[suite] = code;
}

void Host::RefuseRelease(const std::string& suite, HostErr code) {
    CheckSuiteName("RefuseRelease", suite);
    if (code == kNoErr) throw std::invalid_argument("RefuseRelease needs a non-zero code");
    core_->faults.refuseRelease[suite] = code;
}

void Host::NullTable(const std::string& suite) {
    CheckSuiteName("NullTable", suite);
    core_->faults.nullTable.insert(suite);
}

void Host::ClearFaults() { core_->faults = detail::Faults{}; }

int Host::FallibleCalls() const { return static_cast<int>(core_->fallibleCalls); }

void Host::LogCalls(bool on) { core_->log.SetOn(on); }

void Host::OnArtReached(ArtReached reached) { core_->WatchArtReached(std::move(reached)); }

bool Host::LoggingCalls() const { return core_->log.on(); }

namespace {

void CheckLogOn(const detail::CallLog& log) {
    if (!log.on())
        throw std::logic_error(
            "the call log is off: call LogCalls(true) (or Host::LogCallsByDefault(true)) "
            "before sending");
}

}  // namespace

const std::vector<HostCall>& Host::Calls() const {
    CheckLogOn(core_->log);
    return core_->log.Calls();
}

std::vector<std::string> Host::CallNames() const {
    CheckLogOn(core_->log);
    return core_->log.Names();
}

void Host::WriteCallLog(std::ostream& out) const {
    CheckLogOn(core_->log);
    core_->log.Write(out);
}

void Host::ClearCalls() { core_->log.Clear(); }

Document& Host::document() { return core_->document; }

}  // namespace headless
