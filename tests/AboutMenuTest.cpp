// The family's About submenu: made by the first plug-in of the family, found
// by a later one; the About box for our item; and the helper's own two suites
// given back on every way out, string failures included.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "headless/HostErrors.h"
#include "runtime/PluginGlobals.h"
#include "support/HostCalls.h"
#include "support/HostScript.h"
#include "support/PluginFixture.h"
#include "support/PluginUnderTest.h"

namespace {

using headless::Document;
using headless::Host;
using headless::HostCall;
using headless::MenuGroupRecord;
using headless::MenuItemRecord;
using testing_support::kInjected;
using testing_support::PluginHost;
using testing_support::PluginUnderTest;

constexpr const char* kFamilyGroup = "AboutTOVIPlugIns";

MenuItemHandle AboutItemOf(const Host& host) {
    const auto* globals = static_cast<const PluginGlobals*>(host.Globals());
    return globals != nullptr ? globals->aboutItem : nullptr;
}

// The items that are not a filter's.
std::vector<MenuItemRecord> AboutItems(const Host& host) {
    std::vector<MenuItemRecord> items;
    for (const MenuItemRecord& item : host.MenuItems())
        if (item.filter == nullptr) items.push_back(item);
    return items;
}

int Count(const Host& host, const std::string& op, const std::string& detail = {}) {
    int n = 0;
    for (const HostCall& call : host.Calls())
        n += call.op == op && (detail.empty() || call.detail == detail);
    return n;
}

// Every acquisition of suite answered 0 has its release answered 0.
void ExpectBalanced(const Host& host, const std::string& suite) {
    int acquired = 0;
    int released = 0;
    for (const HostCall& call : host.Calls()) {
        if (call.detail != suite || call.result != kNoErr) continue;
        acquired += call.op == "Basic.AcquireSuite";
        released += call.op == "Basic.ReleaseSuite";
    }
    EXPECT_EQ(acquired, released) << suite;
}

class AboutMenu : public testing_support::PluginFixture {};

TEST_F(AboutMenu, TheFirstPlugInOfTheFamilyMakesTheFamilySubmenu) {
    ASSERT_EQ(host_.Startup(plugin_.entry()), kNoErr);

    const auto items = AboutItems(host_);
    ASSERT_EQ(items.size(), 2u);
    const MenuItemRecord& family = items[0];
    const MenuItemRecord& ours = items[1];
    EXPECT_EQ(family.group, "About");
    EXPECT_EQ(family.text, "About tovi plug-ins");
    EXPECT_FALSE(family.name.has_value());
    EXPECT_EQ(family.options, 0);
    EXPECT_EQ(ours.group, kFamilyGroup);
    EXPECT_EQ(ours.text, "Pelvaro");
    EXPECT_FALSE(ours.name.has_value());
    EXPECT_EQ(ours.options, 0);
    EXPECT_EQ(AboutItemOf(host_), ours.handle);

    const auto groups = host_.MenuGroups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].name, "About");
    const MenuGroupRecord& submenu = groups[1];
    EXPECT_EQ(submenu.name, kFamilyGroup);
    EXPECT_TRUE(submenu.byPlugin);
    EXPECT_EQ(submenu.options, 1);
    EXPECT_EQ(submenu.parent, family.handle);
    EXPECT_EQ(family.submenu, submenu.handle);
    EXPECT_TRUE(host_.Problems().empty()) << host_.Problems().front();
}

TEST_F(AboutMenu, ALaterPlugInFindsTheGroupByItsExactName) {
    const struct {
        const char* name;
        std::vector<std::string> earlier;  // groups made before our start-up
        bool found;
    } cases[] = {
        {"made by an earlier plug-in", {kFamilyGroup}, true},
        {"after another maker's group", {"AboutOtherMaker", kFamilyGroup}, true},
        {"names differ in case", {"abouttoviplugins"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PluginHost host(document_, 1);
        for (const std::string& name : c.earlier) host.AddMenuGroup(name);
        ASSERT_EQ(host.Startup(plugin_.entry()), kNoErr);

        const auto items = AboutItems(host);
        ASSERT_EQ(items.size(), c.found ? 1u : 2u);
        EXPECT_EQ(items.back().group, kFamilyGroup);
        EXPECT_EQ(items.back().text, "Pelvaro");
        EXPECT_EQ(AboutItemOf(host), items.back().handle);
        EXPECT_EQ(Count(host, "Menu.AddMenuGroupAsSubMenu"), c.found ? 0 : 1);
        EXPECT_EQ(host.MenuGroups().size(), c.earlier.size() + (c.found ? 1 : 2));
        host.Shutdown(plugin_.entry());
        EXPECT_TRUE(host.Held().Empty()) << host.Held().Describe();
    }
}

TEST_F(AboutMenu, OurItemShowsTheAboutBox) {
    ASSERT_EQ(host_.Startup(plugin_.entry()), kNoErr);
    host_.ClearCalls();
    EXPECT_EQ(host_.MenuGo(plugin_.entry(), AboutItemOf(host_)), kNoErr);

    const auto boxes = host_.AboutBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "About Pelvaro");
    // Name and version, web address, copyright, each ended by the two
    // characters backslash and n, and one more at the end; no line breaks.
    const std::string& text = boxes[0].text;
    EXPECT_EQ(text.rfind("Pelvaro 0.1b\\n", 0), 0u) << text;
    EXPECT_EQ(text.find('\n'), std::string::npos) << text;
    std::vector<std::string> lines;
    for (std::size_t at = 0, next; (next = text.find("\\n", at)) != std::string::npos;
         at = next + 2)
        lines.push_back(text.substr(at, next - at));
    ASSERT_EQ(lines.size(), 4u) << text;
    EXPECT_NE(lines[1].find("www."), std::string::npos) << text;
    EXPECT_NE(lines[2].find("Copyright"), std::string::npos) << text;
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(text.substr(text.size() - 4), "\\n\\n");

    // The frame's fifteen suites, and the helper's own ADM basic suite.
    EXPECT_EQ(Count(host_, "Basic.AcquireSuite"), 16);
    EXPECT_EQ(Count(host_, "Basic.AcquireSuite", "ADM Basic Suite"), 2);
    ExpectBalanced(host_, "ADM Basic Suite");
    EXPECT_TRUE(host_.Held().suites.empty()) << host_.Held().Describe();
}

TEST_F(AboutMenu, OtherItemsAndAPlugInNotStartedShowNothing) {
    const struct {
        const char* name;
        bool start;
        bool startFails;
        MenuItemHandle (*item)(const Host&);
    } cases[] = {
        {"the filter's item", true, false,
         [](const Host& h) { return h.Filters().at(0).menuItem; }},
        {"the family item", true, false, [](const Host& h) { return AboutItems(h).at(0).handle; }},
        {"no item", true, false, [](const Host&) { return MenuItemHandle{nullptr}; }},
        {"before start-up", false, false, [](const Host&) { return MenuItemHandle{nullptr}; }},
        {"after a start-up without globals", true, true,
         [](const Host&) { return MenuItemHandle{nullptr}; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PluginHost host(document_, 1);
        if (c.startFails) host.FailOperation("Basic.AllocateBlock", kInjected);
        if (c.start) host.Startup(plugin_.entry());
        host.ClearFaults();
        host.ClearCalls();
        EXPECT_EQ(host.MenuGo(plugin_.entry(), c.item(host)), kNoErr);
        EXPECT_TRUE(host.AboutBoxes().empty());
        EXPECT_EQ(Count(host, "Basic.AcquireSuite"), 15);  // the frame's, not the helper's
        EXPECT_TRUE(host.Held().suites.empty()) << host.Held().Describe();
        host.Shutdown(plugin_.entry());
        EXPECT_TRUE(host.Held().Empty()) << host.Held().Describe();
    }
}

// The 1-based number, among the fallible calls of a clean start-up, of the
// occurrence-th call of op.
int FallibleNumberOf(const PluginUnderTest& plugin, const std::string& op, int occurrence) {
    Document document;
    PluginHost host(document, 1);
    EXPECT_EQ(host.Startup(plugin.entry()), kNoErr);
    int number = 0;
    for (const HostCall& call : host.Calls()) {
        if (!call.fallible) continue;
        ++number;
        if (call.op == op && --occurrence == 0) break;
    }
    host.Shutdown(plugin.entry());
    EXPECT_EQ(occurrence, 0) << op;
    return number;
}

TEST_F(AboutMenu, TheHelperGivesBackTheMenuSuiteOnEveryWayOut) {
    const struct {
        const char* op;
        int occurrence;
        std::size_t itemsLeft;  // what was added before the failure stays
    } cases[] = {
        {"UnicodeString.Initialize", 1, 0},  // the family text, before the helper holds anything
        {"Menu.CountMenuGroups", 1, 0},
        {"UnicodeString.Assign", 1, 0},  // the family text into the item data
        {"Menu.AddMenuItem", 1, 0},
        {"Menu.AddMenuGroupAsSubMenu", 1, 1},
        {"UnicodeString.Initialize", 2, 1},  // our name
        {"UnicodeString.Assign", 2, 1},
        {"Menu.AddMenuItem", 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.op) + " #" + std::to_string(c.occurrence));
        const int n = FallibleNumberOf(plugin_, c.op, c.occurrence);
        PluginHost host(document_, 1);
        host.FailNthCall(n, kInjected);
        EXPECT_EQ(host.Startup(plugin_.entry()), kInjected);

        EXPECT_TRUE(host.Held().suites.empty()) << host.Held().Describe();
        EXPECT_EQ(host.Held().strings, 0) << host.Held().Describe();
        ExpectBalanced(host, "AI Menu Suite");
        EXPECT_EQ(AboutItems(host).size(), c.itemsLeft);
        EXPECT_EQ(AboutItemOf(host), nullptr);
        EXPECT_TRUE(host.Filters().empty());  // start-up stopped before the filter

        host.ClearFaults();
        host.Shutdown(plugin_.entry());
        EXPECT_TRUE(host.Held().Empty()) << host.Held().Describe();
    }
}

TEST_F(AboutMenu, WithoutItsDialogManagerTheHelperShowsNoBox) {
    ASSERT_EQ(host_.Startup(plugin_.entry()), kNoErr);
    host_.ClearCalls();
    // The helper's acquisition comes after the frame's fifteen.
    host_.FailNthCall(16, kInjected);
    EXPECT_EQ(host_.MenuGo(plugin_.entry(), AboutItemOf(host_)), kNoErr);
    ASSERT_EQ(Count(host_, "Basic.AcquireSuite", "ADM Basic Suite"), 2);
    EXPECT_EQ(host_.Calls()[15].result, kInjected);
    EXPECT_EQ(host_.Calls()[15].detail, "ADM Basic Suite");
    EXPECT_TRUE(host_.AboutBoxes().empty());
    EXPECT_TRUE(host_.Held().suites.empty()) << host_.Held().Describe();
}

TEST_F(AboutMenu, TheMenuSuiteChecksWhatItIsGiven) {
    testing_support::RunInMessage(host_, [&](MessageData& message) {
        const auto* menus =
            testing_support::AcquireFor<MenuSuite>(message, kMenuSuite, kMenuSuiteVersion);
        const auto* strings = testing_support::AcquireFor<UnicodeStringSuite>(
            message, kUnicodeStringSuite, kUnicodeStringSuiteVersion);
        ASSERT_NE(menus, nullptr);
        ASSERT_NE(strings, nullptr);
        UniStringRef text = nullptr;
        ASSERT_EQ(strings->Initialize(&text, "Item", 4, kPlatformEncoding), kNoErr);

        MenuItemHandle item = nullptr;
        PlatformAddMenuItemData data{"About", text};
        EXPECT_EQ(menus->AddMenuItem(nullptr, nullptr, &data, 0, &item), headless::kBadPluginErr);
        PlatformAddMenuItemData nowhere{"No Such Group", text};
        EXPECT_EQ(menus->AddMenuItem(message.self, nullptr, &nowhere, 0, &item),
                  headless::kNoMenuGroupErr);
        PlatformAddMenuItemData untitled{"About", nullptr};
        EXPECT_EQ(menus->AddMenuItem(message.self, nullptr, &untitled, 0, &item),
                  headless::kBadStringErr);
        ASSERT_EQ(menus->AddMenuItem(message.self, "mine", &data, 0, &item), kNoErr);
        strings->Destroy(&text);  // the host keeps its own copy of the text
        EXPECT_EQ(host_.MenuItem(item)->text, "Item");

        MenuGroupHandle group = nullptr;
        EXPECT_EQ(menus->AddMenuGroupAsSubMenu("About", 0, item, &group),
                  headless::kDuplicateGroupErr);
        EXPECT_EQ(menus->AddMenuGroupAsSubMenu("Mine", 0, MenuItemHandle{nullptr}, &group),
                  headless::kBadMenuItemErr);
        ASSERT_EQ(menus->AddMenuGroupAsSubMenu("Mine", 0, item, &group), kNoErr);
        EXPECT_EQ(menus->AddMenuGroupAsSubMenu("Mine too", 0, item, &group),
                  headless::kHasSubMenuErr);
        int32_t count = 0;
        ASSERT_EQ(menus->CountMenuGroups(&count), kNoErr);
        EXPECT_EQ(count, 2);
        EXPECT_EQ(menus->GetNthMenuGroup(2, &group), headless::kRangeErr);
        EXPECT_EQ(menus->GetNthMenuGroup(-1, &group), headless::kRangeErr);
        const char* name = nullptr;
        EXPECT_EQ(menus->GetMenuGroupName(MenuGroupHandle{nullptr}, &name),
                  headless::kBadMenuGroupErr);
        EXPECT_EQ(menus->UpdateMenuItemAutomatically(MenuItemHandle{nullptr}, 1, 0, 0, 0, 0, 0, 0),
                  headless::kBadMenuItemErr);
        message.basic->ReleaseSuite(kUnicodeStringSuite, kUnicodeStringSuiteVersion);
        message.basic->ReleaseSuite(kMenuSuite, kMenuSuiteVersion);
    });
}

}  // namespace
