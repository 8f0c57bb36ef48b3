// The inside of a Host: its objects, faults, call log and the wrappers every
// suite operation runs through. Suite files include this; users of the host
// include Host.h only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "headless/CallLog.h"
#include "headless/Dialog.h"
#include "headless/Document.h"
#include "headless/Host.h"
#include "headless/HostErrors.h"
#include "headless/HostMemory.h"
#include "headless/HostObjects.h"
#include "headless/Menus.h"
#include "headless/ObjectTable.h"
#include "headless/SuiteRegistry.h"
#include "headless/TokenRuns.h"

namespace headless::detail {

struct Faults {
    std::map<long long, HostErr> nth;              // absolute fallible-call number -> code
    std::map<const Op*, HostErr> ops;              // operation -> code
    std::map<std::string, HostErr> refuseAcquire;  // suite name -> code
    std::map<std::string, HostErr> refuseRelease;
    std::set<std::string> nullTable;  // suite names acquired as null tables

    // Whether any call fault is set; without one a call only counts.
    bool AnyCallFault() const { return !nth.empty() || !ops.empty(); }
};

class HostCore {
public:
    HostCore(Document& document, uint32_t seed);
    HostCore(const HostCore&) = delete;
    HostCore& operator=(const HostCore&) = delete;

    Document& document;
    std::mt19937 random;
    void* globals = nullptr;              // kept for the plug-in between messages
    PluginRef pluginRef;                  // the host's reference for this plug-in
    FilterHandle filterHandle = nullptr;  // passed in filter messages once registered
    HostHandle parameters = nullptr;      // the filter's parameters handle, host-owned
    CallLog log;
    std::vector<std::string> problems;
    Faults faults;
    long long fallibleCalls = 0;
    std::map<std::string, int> suitesHeld;  // acquisitions minus releases, by name
    KeyTable keys;
    MenuBook menus;
    FilterBook filters;
    std::vector<AboutBoxRecord> aboutBoxes;
    DialogManager dialogs;

    // --- The plug-in's resources ---------------------------------------------

    // Checks the declaration in resources and keeps both; throws PluginRefused
    // and refuses every later message until a sound plug-in is loaded.
    void LoadPlugin(std::shared_ptr<const ResourceSource> source);
    // The plug-in's resources, the shipped ones when none were loaded.
    const std::shared_ptr<const ResourceSource>& Resources();
    const Declaration& PluginDeclaration();

    template <class T>
    ObjectTable<T>& Objects() {
        return objects_.Get<T>();
    }

    // --- Call bookkeeping ----------------------------------------------------

    // Appends the call to the log (when on) and returns its position there.
    std::size_t Log(const Op& op, std::string_view detail) {
        return log.Add(op.name, detail, op.fallible);
    }
    // Counts a fallible call and returns the code it must fail with, if any.
    std::optional<HostErr> Inject(const Op& op) {
        ++fallibleCalls;
        if (!faults.AnyCallFault()) return std::nullopt;
        return InjectSet(op);
    }
    void Finish(std::size_t entry, HostErr result, bool injected) {
        if (entry != CallLog::kNone) log.Finish(entry, result, injected);
    }

    // --- Memory ----------------------------------------------------------------

    // A new block the plug-in holds; throws std::bad_alloc.
    void* NewBlock(std::size_t size, std::byte fill);
    // AllocateBlock of the basic and blocks suites: checks, then NewBlock.
    HostErr AllocateBlock(int32_t size, void** block);
    // Frees a live block; kBadBlockErr for anything else.
    HostErr FreeBlock(void* block);
    // A new zero-filled handle; throws std::bad_alloc.
    HostHandle NewHandle(std::size_t size, bool hostOwned);
    Handle* FindHandle(HostHandle handle);
    // Frees a live handle and its block.
    void DisposeHandle(HostHandle handle);

    // --- Art -------------------------------------------------------------------

    // The handle of the document's art at index, the same every time.
    ArtHandle ArtFor(std::size_t index);
    // The art behind handle, or null when it names none.
    Art* FindArt(ArtHandle handle);
    // The path behind handle into *path, or kBadArtErr / kNotPathErr.
    HostErr FindPath(ArtHandle handle, Art** path);

    Holdings Held() const;

    // Reports reaching art further into the document (Host::OnArtReached).
    void WatchArtReached(Host::ArtReached reached);

private:
    void ReportReach(std::size_t index);

    std::optional<HostErr> InjectSet(const Op& op);

    std::shared_ptr<const ResourceSource> resources_;
    std::optional<Declaration> declaration_;
    std::optional<std::string> refusal_;  // why LoadPlugin refused the plug-in
    ObjectTables objects_;
    Quarantine quarantine_;
    TokenRuns artTokens_;  // by document index
    Host::ArtReached artReached_;
    std::size_t nextReach_ = SIZE_MAX;  // the art index that reports next
};

// The host whose message is running, or null.
extern HostCore* gCurrentHost;
inline HostCore* Current() { return gCurrentHost; }

// Makes a host current for one message and restores the previous one.
class CurrentScope {
public:
    explicit CurrentScope(HostCore& core);
    ~CurrentScope();
    CurrentScope(const CurrentScope&) = delete;
    CurrentScope& operator=(const CurrentScope&) = delete;

private:
    HostCore* previous_;
};

// Runs a fallible operation: logs it, applies injected faults (a failed call
// does nothing else), runs body(core) and records its result. Bodies check
// everything before they change anything, so a failure has no partial effect.
template <class Body>
HostErr Fallible(const Op& op, std::string_view detail, Body&& body) {
    HostCore* core = Current();
    if (core == nullptr) return kNoCurrentHostErr;
    try {
        const std::size_t entry = core->Log(op, detail);
        if (const std::optional<HostErr> injected = core->Inject(op)) {
            core->Finish(entry, *injected, true);
            return *injected;
        }
        const HostErr result = body(*core);
        core->Finish(entry, result, false);
        return result;
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryErr;
    } catch (...) {
        return kHostInternalErr;
    }
}

// Runs an operation that answers a value instead of a code; it cannot be made
// to fail. Outside a message, or if the host itself fails, it answers fallback.
template <class R, class Body>
R Infallible(const Op& op, std::string_view detail, R fallback, Body&& body) {
    HostCore* core = Current();
    if (core == nullptr) return fallback;
    try {
        core->Log(op, detail);
        return body(*core);
    } catch (...) {
        return fallback;
    }
}

template <class Body>
void InfallibleVoid(const Op& op, std::string_view detail, Body&& body) {
    HostCore* core = Current();
    if (core == nullptr) return;
    try {
        core->Log(op, detail);
        body(*core);
    } catch (...) {
    }
}

// An operation this host does not implement yet: logged, open to injected
// faults, answers kNotImplementedErr.
inline HostErr NotImplemented(const Op& op) {
    return Fallible(op, {}, [](HostCore&) { return kNotImplementedErr; });
}

// A value-returning operation this host does not implement yet: logged,
// answers fallback.
template <class R>
R NotImplementedValue(const Op& op, R fallback) {
    return Infallible(op, {}, fallback, [fallback](HostCore&) { return fallback; });
}

inline void NotImplementedVoid(const Op& op) {
    InfallibleVoid(op, {}, [](HostCore&) {});
}

// The text of a C string argument for the log.
inline std::string_view Text(const char* text) { return text != nullptr ? text : "(null)"; }

}  // namespace headless::detail
