// A host without a user interface: it holds one document, hands the plug-in
// its suites, and drives it message by message. It tracks every object it
// hands out, can fail any call on request, and logs every call in order when
// asked to.
//
// Suite tables are plain function pointers without a context argument, so
// at most one Host is current at a time: the one whose Send is running.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "headless/DialogScript.h"
#include "headless/Document.h"
#include "headless/MenuRecords.h"
#include "hostinterface/HostInterface.h"
#include "winres/Declaration.h"
#include "winres/ResourceSource.h"

namespace headless {

namespace detail {
class HostCore;
}

// One call the plug-in made into the host.
struct HostCall {
    std::string op;           // "Suite.Operation", e.g. "Dictionary.SetArrayEntry"
    std::string detail;       // e.g. the suite name of an acquisition, a key's text
    bool fallible = false;    // returns a HostErr (FailNthCall counts it)
    HostErr result = kNoErr;  // what the host answered, for fallible calls
    bool injected = false;    // the answer came from fault injection, not from the host's work
};

// What the plug-in still holds of the host's objects.
struct Holdings {
    int blocks = 0;   // basic and blocks suite allocations
    int handles = 0;  // memory handles not handed to the host
    int dictionaries = 0;
    int arrays = 0;                     // arrays not owned by a dictionary
    int strings = 0;                    // host Unicode strings
    std::map<std::string, int> suites;  // acquisitions minus releases, by name
    // Every kind of host object by its name ("array", "block", ...), the kinds
    // above included; kinds added later show up here.
    std::map<std::string, int> objects;

    bool Empty() const;
    std::string Describe() const;  // one line, e.g. "1 array, AI Path Suite x1"
};

class Host {
public:
    Host(Document& document, uint32_t seed);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // --- Driving the plug-in -------------------------------------------------

    // Sends one message through entry with this host current. The header is
    // filled by the host (check word, plug-in reference, globals, basic suite)
    // and the globals field is kept after the call, as a host does. For the
    // caller "AI Filter" message heads a FilterMessage, and a handle the
    // plug-in leaves in its parameters field becomes the filter's, as with
    // FilterGetParameters. The plug-in must have been loaded (LoadPlugin):
    // without that Send throws std::logic_error, and for a refused plug-in it
    // throws the refusal.
    HostErr Send(PluginMainProc entry, const char* caller, const char* selector,
                 MessageData* message);

    HostErr Startup(PluginMainProc entry);
    HostErr Shutdown(PluginMainProc entry);
    HostErr Unload(PluginMainProc entry);
    HostErr Reload(PluginMainProc entry);
    // "AI Filter" messages with the filter's parameters handle, which the host
    // keeps between messages (null until one is made or given).
    HostErr FilterGetParameters(PluginMainProc entry);
    HostErr FilterGo(PluginMainProc entry);
    HostErr MenuGo(PluginMainProc entry, MenuItemHandle item);

    // The filter's parameters handle. Its block is the plug-in's record, kept
    // as opaque bytes: set them (making a handle of exactly that size when the
    // kept one differs), or read them back.
    void SetParameterBytes(std::span<const std::byte> bytes);
    // Whether the host keeps a parameters handle for the filter.
    bool HasParameters() const;
    // The kept handle's block; throws std::logic_error when there is none.
    std::vector<std::byte> ParameterBytes() const;

    // The globals pointer the host keeps for the plug-in.
    void* Globals() const;

    // Misuse the host noticed, e.g. a parameters field left holding something
    // that is not a live handle, or a void call given an unknown item or
    // string (which then did nothing). Empty for a sound plug-in.
    const std::vector<std::string>& Problems() const;

    // --- The plug-in's resources -------------------------------------------

    // Takes the plug-in's resources (its PiPL, dialogs and string lists) and
    // checks its declaration, as a host does before it runs any of the
    // plug-in's code. Throws PluginRefused naming the resources and the fault;
    // a refused plug-in is sent no message (Send throws the same refusal).
    void LoadPlugin(std::shared_ptr<const ResourceSource> resources);
    // What the declaration told the host; throws as Send does before LoadPlugin.
    const Declaration& PluginDeclaration();

    // --- Menus, filters and about boxes --------------------------------------

    // Adds a top-level menu group before the plug-in starts, as an earlier
    // plug-in of its family would have. Throws when the name is taken.
    MenuGroupHandle AddMenuGroup(const std::string& name);
    // Every group (the host's own "About" first) and item, in order made.
    std::vector<MenuGroupRecord> MenuGroups() const;
    std::vector<MenuItemRecord> MenuItems() const;
    std::optional<MenuItemRecord> MenuItem(MenuItemHandle item) const;
    std::vector<FilterRecord> Filters() const;
    // Every about box shown, in order.
    std::vector<AboutBoxRecord> AboutBoxes() const;

    // --- Dialogs ---------------------------------------------------------------

    // Queues what the user will do in the next modal dialog; each modal run
    // takes one script. A run without a script closes as Cancel at once.
    void ScriptDialog(std::vector<DialogAction> actions);
    // Every modal run so far, with its items and its log.
    const std::vector<DialogRun>& Dialogs() const;

    // --- Progress --------------------------------------------------------------

    // Calls reached(n, total) as the plug-in first reaches art n of the
    // document's total (1-based), about a hundred times over a document: a
    // progress display for long runs. Null stops it.
    using ArtReached = std::function<void(std::size_t reached, std::size_t total)>;
    void OnArtReached(ArtReached reached);

    // --- Accounting ----------------------------------------------------------

    Holdings Held() const;
    // Dictionary keys made so far; keys are the host's and live with it.
    int KeyCount() const;

    // --- Fault injection -----------------------------------------------------

    // The n-th (1-based) fallible call from now fails with code.
    void FailNthCall(int n, HostErr code);
    // Every call of op ("Suite.Operation") fails with code.
    void FailOperation(const std::string& op, HostErr code);
    // Acquiring (or releasing) the named suite fails with code.
    void RefuseAcquire(const std::string& suite, HostErr code);
    void RefuseRelease(const std::string& suite, HostErr code);
    // Acquiring the named suite succeeds but yields a null table; nothing is
    // handed out, so nothing is held.
    void NullTable(const std::string& suite);
    void ClearFaults();
    // Fallible calls counted so far (those FailNthCall can reach).
    int FallibleCalls() const;

    // --- Call log ------------------------------------------------------------

    // The log is off unless asked for, and then costs nothing. New hosts log
    // when the process asked for it (the tests do); one host by LogCalls.
    static void LogCallsByDefault(bool on);
    void LogCalls(bool on);
    bool LoggingCalls() const;
    // The calls logged so far; throws std::logic_error when the log is off.
    const std::vector<HostCall>& Calls() const;
    std::vector<std::string> CallNames() const;
    // The log as text, one call a line: "Dictionary.Key 12.3_4.5", and for
    // calls that answer a code "Path.GetPathSegments -> 0" (or "-> 'STOP'",
    // marked "(injected)" when a fault made it). Throws as Calls does.
    void WriteCallLog(std::ostream& out) const;
    void ClearCalls();

    Document& document();

private:
    HostErr SendFilterMessage(PluginMainProc entry, const char* selector);
    void KeepParameters(HostHandle field);

    // Every host object, the faults, the log and the random source.
    std::unique_ptr<detail::HostCore> core_;
};

}  // namespace headless
