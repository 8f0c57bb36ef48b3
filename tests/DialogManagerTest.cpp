// The headless dialog manager on its own: dialogs it cannot show, actions it
// refuses, and item references that outlive their dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/Host.h"
#include "support/HostScript.h"
#include "support/PluginUnderTest.h"

namespace {

using headless::DialogAction;
using headless::DialogRun;
using headless::Document;
using headless::Host;
using testing_support::AcquireFor;
using testing_support::PluginHost;
using testing_support::RunInMessage;

struct DialogSuites {
    const ADMDialogSuite* dialog = nullptr;
    const ADMItemSuite* item = nullptr;
};
DialogSuites gSuites;
ItemRef gKeptItem = nullptr;  // an item reference kept past the dialog
int gNestedResult = 0;
PluginRef gSelf = nullptr;  // the message's plug-in reference

HostErr HOSTAPI KeepAnItem(DialogRef dialog) {
    gKeptItem = gSuites.dialog->GetItem(dialog, 6);
    return kNoErr;
}

HostErr HOSTAPI OpenAnother(DialogRef) {
    gNestedResult = gSuites.dialog->Modal(gSelf, "inner", 16000, 0, nullptr, nullptr, 0);
    return kNoErr;
}

class DialogManager : public ::testing::Test {
protected:
    // Runs Modal once inside a message and returns its result.
    int32_t Modal(PluginRef self, int32_t dialogId, ADMDialogInitProc init,
                  const std::function<void(const DialogSuites&)>& after = {}) {
        int32_t result = -1;
        RunInMessage(host_, [&](MessageData& message) {
            gSuites.dialog =
                AcquireFor<ADMDialogSuite>(message, kADMDialogSuite, kADMDialogSuiteVersion);
            gSuites.item = AcquireFor<ADMItemSuite>(message, kADMItemSuite, kADMItemSuiteVersion);
            ASSERT_NE(gSuites.dialog, nullptr);
            ASSERT_NE(gSuites.item, nullptr);
            gSelf = message.self;
            result = gSuites.dialog->Modal(self == nullptr ? message.self : self, "test", dialogId,
                                           0, init, nullptr, 0);
            if (after) after(gSuites);
            message.basic->ReleaseSuite(kADMItemSuite, kADMItemSuiteVersion);
            message.basic->ReleaseSuite(kADMDialogSuite, kADMDialogSuiteVersion);
        });
        return result;
    }

    Document document_;
    PluginHost host_{document_, 1};
};

TEST_F(DialogManager, ADialogThatCannotBeShownAnswersCancelAndSaysWhy) {
    const struct {
        const char* name;
        PluginRef self;
        int32_t dialogId;
        const char* why;
    } cases[] = {
        {"no such dialog", nullptr, 16001, "has no dialog 16001"},
        {"not a resource id", nullptr, 70000, "not a resource id"},
        {"another plug-in's reference", reinterpret_cast<PluginRef>(&gSuites), 16000,
         "not this host's"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host_.ScriptDialog({DialogAction::Click(1)});
        EXPECT_EQ(Modal(c.self, c.dialogId, nullptr), 2);
        const DialogRun& run = host_.Dialogs().back();
        EXPECT_EQ(run.result, 2);
        ASSERT_EQ(run.log.size(), 1u);
        EXPECT_NE(run.log[0].find(c.why), std::string::npos) << run.log[0];
        EXPECT_TRUE(run.closed.empty());
        EXPECT_NE(host_.Problems().back().find(c.why), std::string::npos);
    }
}

TEST_F(DialogManager, ActionsOnTheWrongKindOfItemAreRefused) {
    host_.ScriptDialog({DialogAction::Type(3, 5.0f), DialogAction::Toggle(6),
                        DialogAction::Click(7), DialogAction::Type(42, 1.0f),
                        DialogAction::SetCheck(7, false), DialogAction::Click(2),
                        DialogAction::Click(1)});
    EXPECT_EQ(Modal(nullptr, 16000, nullptr), 2);  // Cancel has no notify proc: it closes
    const DialogRun& run = host_.Dialogs().back();
    EXPECT_EQ(run.refusals, (std::vector<std::string>{
                                "typing into item 3: it is a static text, not an edit field",
                                "clicking item 6: it is an edit field, not a check box",
                                "clicking item 7: it is a check box, not a button",
                                "typing into item 42: the dialog has no such item"}));
    EXPECT_EQ(run.log.back(), "1 more actions not played: the dialog was closed");
}

TEST_F(DialogManager, ItemsOutliveNothingAndModalDoesNotNest) {
    host_.ScriptDialog({DialogAction::CloseWindow()});
    EXPECT_EQ(Modal(nullptr, 16000, &KeepAnItem,
                    [](const DialogSuites& suites) {
                        // The dialog is gone: its items are unknown, and calls on them do nothing.
                        ASSERT_NE(gKeptItem, nullptr);
                        suites.item->SetFloatValue(gKeptItem, 3.0f);
                        EXPECT_EQ(suites.item->GetFloatValue(gKeptItem), 0.0f);
                        EXPECT_EQ(suites.item->GetDialog(gKeptItem), nullptr);
                    }),
              2);
    EXPECT_EQ(host_.Problems().size(), 3u);

    host_.ScriptDialog({DialogAction::Click(1)});
    EXPECT_EQ(Modal(nullptr, 16000, &OpenAnother), 1);
    EXPECT_EQ(gNestedResult, 2);
    EXPECT_NE(host_.Problems().back().find("another modal dialog is open"), std::string::npos);
}

}  // namespace
