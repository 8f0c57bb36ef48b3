// The dialog manager's basic suite: entries of the plug-in's string lists,
// read from its compiled resources, and the About box, recorded as shown.
#include <cstring>
#include <exception>
#include <string>

#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"
#include "winres/StringTable.h"

namespace headless::detail {

namespace {

constexpr Op kGetIndexString{"ADMBasic.GetIndexString", false};
constexpr Op kAboutBox{"ADMBasic.AboutBox", false};

// The length of text cut to at most limit bytes without splitting a character.
std::size_t CutLength(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text.size();
    std::size_t length = limit;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0u) == 0x80u) --length;
    return length;
}

void HOSTAPI GetIndexString(PluginRef self, int32_t listId, int32_t index, char* buffer,
                            int32_t bufferSize) {
    const std::string detail = "list " + std::to_string(listId) + ", index " +
                               std::to_string(index) + ", " + std::to_string(bufferSize) + " bytes";
    InfallibleVoid(kGetIndexString, detail, [&](HostCore& host) {
        const auto leave = [&](const std::string& why) {
            host.problems.push_back("ADMBasic.GetIndexString (" + detail + "): " + why +
                                    "; the buffer was left as it was");
        };
        if (self != host.pluginRef) return leave("the plug-in reference is not this host's");
        if (buffer == nullptr || bufferSize <= 0) return leave("no room in the buffer");
        // Entry n of a list is the string with id listId + n.
        const long long id = static_cast<long long>(listId) + index;
        if (id < 0 || id > 0xFFFF) return leave("no string has id " + std::to_string(id));
        std::optional<std::string> text;
        try {
            text = FindString(*host.Resources(), static_cast<uint16_t>(id), std::nullopt);
        } catch (const std::exception& error) {
            return leave(error.what());
        }
        if (!text) {
            return leave(host.Resources()->Origin() + " has no string " + std::to_string(id));
        }
        const std::size_t length = CutLength(*text, static_cast<std::size_t>(bufferSize) - 1);
        std::memcpy(buffer, text->data(), length);
        buffer[length] = '\0';
    });
}

void HOSTAPI AboutBox(const char* title, const char* text) {
    InfallibleVoid(kAboutBox, Text(title), [&](HostCore& host) {
        if (title == nullptr || text == nullptr) {
            host.problems.push_back(
                "ADMBasic.AboutBox was given a null title or text; it "
                "showed nothing");
            return;
        }
        host.aboutBoxes.push_back(AboutBoxRecord{title, text});
    });
}

constexpr const Op* kOps[] = {&kGetIndexString, &kAboutBox};

const ADMBasicSuite kTable = {&GetIndexString, &AboutBox};

}  // namespace

const SuiteDef kADMBasicSuiteDef{kADMBasicSuite, kADMBasicSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
