// Filter registration at start-up: category and title from the compiled
// string list as Pascal strings, the filter's handle in the globals block,
// and the automatic update of its menu item.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "headless/HostErrors.h"
#include "headless/PluginResources.h"
#include "winres/ResFile.h"
#include "winres/ResourceId.h"
#include "runtime/PluginGlobals.h"
#include "support/HostCalls.h"
#include "support/HostScript.h"
#include "support/PluginFixture.h"
#include "support/PluginUnderTest.h"

namespace {

using headless::Host;
using headless::MenuUpdate;
using testing_support::CallDetails;
using testing_support::kInjected;
using testing_support::PluginHost;
using testing_support::PluginUnderTest;

const PluginGlobals& GlobalsOf(const Host& host) {
    return *static_cast<const PluginGlobals*>(host.Globals());
}

class Registration : public testing_support::PluginFixture {};

TEST_F(Registration, TheFilterGetsTheCategoryAndTitleOfTheStringList) {
    ASSERT_EQ(host_.Startup(plugin_.entry()), kNoErr);
    EXPECT_EQ(CallDetails(host_, "ADMBasic.GetIndexString"),
              (std::vector<std::string>{"list 16000, index 1, 65 bytes",
                                        "list 16000, index 2, 65 bytes"}));

    const auto filters = host_.Filters();
    ASSERT_EQ(filters.size(), 1u);
    const headless::FilterRecord& filter = filters[0];
    EXPECT_EQ(filter.name, "Pelvaro");
    EXPECT_EQ(filter.categoryPascal, std::string("\x0D") + "tovi plug-ins");
    EXPECT_EQ(filter.titlePascal, std::string("\x07") + "Pelvaro");
    EXPECT_EQ(filter.options, 1);
    EXPECT_EQ(GlobalsOf(host_).filter, filter.handle);

    const auto item = host_.MenuItem(filter.menuItem);
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->filter, filter.handle);
    EXPECT_EQ(item->updates, (std::vector<MenuUpdate>{{1, 0, 0, 2, 0, 0, 0}}));
    EXPECT_TRUE(host_.Problems().empty()) << host_.Problems().front();
}

TEST_F(Registration, AFailedStepEndsStartupWithTheHostCode) {
    const struct {
        const char* op;
        std::vector<std::string> notCalled;
    } cases[] = {
        {"Filter.AddFilter", {"Filter.GetFilterMenuItem", "Menu.UpdateMenuItemAutomatically"}},
        {"Filter.GetFilterMenuItem", {"Menu.UpdateMenuItemAutomatically"}},
        {"Menu.UpdateMenuItemAutomatically", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.op);
        PluginHost host(document_, 1);
        host.FailOperation(c.op, kInjected);
        EXPECT_EQ(host.Startup(plugin_.entry()), kInjected);
        const auto names = host.CallNames();
        for (const std::string& op : c.notCalled)
            EXPECT_EQ(std::count(names.begin(), names.end(), op), 0) << op;
        EXPECT_TRUE(host.Held().suites.empty()) << host.Held().Describe();
        if (std::string(c.op) == "Filter.AddFilter") {
            EXPECT_TRUE(host.Filters().empty());
            EXPECT_EQ(GlobalsOf(host).filter, nullptr);  // what the host left there
        } else {
            ASSERT_EQ(host.Filters().size(), 1u);
            EXPECT_TRUE(host.MenuItem(host.Filters()[0].menuItem)->updates.empty());
        }
        host.ClearFaults();
        host.Shutdown(plugin_.entry());
        EXPECT_TRUE(host.Held().Empty()) << host.Held().Describe();
    }
}

TEST_F(Registration, WithoutTheStringListTheCategoryAndTitleAreEmpty) {
    // The shipped resources without their STRINGTABLE blocks.
    std::vector<headless::ResourceEntry> entries =
        headless::LoadResFile(testing_support::PluginResourceFile()).entries();
    const auto isString = [](const headless::ResourceEntry& entry) {
        return entry.type == headless::ResourceId(headless::kStringType);
    };
    ASSERT_TRUE(std::any_of(entries.begin(), entries.end(), isString));
    entries.erase(std::remove_if(entries.begin(), entries.end(), isString), entries.end());
    host_.LoadPlugin(std::make_shared<headless::ResourceSet>("no strings", std::move(entries)));

    ASSERT_EQ(host_.Startup(plugin_.entry()), kNoErr);
    const auto filters = host_.Filters();
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].categoryPascal, std::string(1, '\0'));
    EXPECT_EQ(filters[0].titlePascal, std::string(1, '\0'));
    EXPECT_EQ(host_.Problems().size(), 2u);  // the host noticed both missing strings
}

TEST_F(Registration, TheStringListIsReadByIndexAndCutToTheBuffer) {
    const struct {
        int32_t index;
        int32_t size;
        const char* expected;  // null: the buffer is left as it was
    } cases[] = {
        {1, 65, "tovi plug-ins"},          {2, 8, "Pelvaro"}, {1, 5, "tovi"},  {1, 1, ""},
        {0, 65, "<First Mac index is 1>"}, {3, 65, nullptr},  {1, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("index " + std::to_string(c.index) + ", " + std::to_string(c.size) + " bytes");
        testing_support::RunInMessage(host_, [&](MessageData& message) {
            const auto* basic = testing_support::AcquireFor<ADMBasicSuite>(message, kADMBasicSuite,
                                                                           kADMBasicSuiteVersion);
            ASSERT_NE(basic, nullptr);
            char buffer[70];
            std::fill(std::begin(buffer), std::end(buffer), '#');
            basic->GetIndexString(message.self, 16000, c.index, buffer, c.size);
            if (c.expected == nullptr) {
                EXPECT_EQ(std::string(buffer, 4), "####");
            } else {
                EXPECT_STREQ(buffer, c.expected);
            }
            message.basic->ReleaseSuite(kADMBasicSuite, kADMBasicSuiteVersion);
        });
    }
}

TEST_F(Registration, AHostRefusesAWrongDeclarationAndSendsNoMessage) {
    std::vector<headless::ResourceEntry> entries =
        headless::LoadResFile(testing_support::PluginResourceFile()).entries();
    bool changed = false;
    for (headless::ResourceEntry& entry : entries) {
        if (!(entry.type == headless::ResourceId(headless::kPiplType))) continue;
        // The interface version property's value, 2, becomes 3.
        const std::vector<uint8_t> version = {'s', 'r', 'v', 'i', 0, 0, 0, 0, 4, 0, 0, 0, 2};
        const auto at =
            std::search(entry.bytes.begin(), entry.bytes.end(), version.begin(), version.end());
        ASSERT_NE(at, entry.bytes.end());
        *(at + 12) = 3;
        changed = true;
    }
    ASSERT_TRUE(changed);
    PluginHost host(document_, 1);
    try {
        host.LoadPlugin(std::make_shared<headless::ResourceSet>("Odd.res", std::move(entries)));
        FAIL() << "the wrong declaration was accepted";
    } catch (const headless::PluginRefused& refused) {
        EXPECT_NE(std::string(refused.what()).find("Odd.res: PiPL 16000"), std::string::npos)
            << refused.what();
        EXPECT_NE(std::string(refused.what()).find("interface version is 3, expected 2"),
                  std::string::npos)
            << refused.what();
    }
    EXPECT_THROW(host.Startup(plugin_.entry()), headless::PluginRefused);
    EXPECT_TRUE(host.Calls().empty());
    EXPECT_EQ(host.Globals(), nullptr);
}

}  // namespace
