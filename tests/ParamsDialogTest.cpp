// "AI Get Parameters": the parameters record and the modal dialog, run from
// the compiled dialog template and played by a script of user actions.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "headless/HostErrors.h"
#include "support/Parameters.h"
#include "support/PluginFixture.h"
#include "support/PluginUnderTest.h"

// Records compare and print field by field; found by lookup in the global namespace.
static bool operator==(const JitterParams& a, const JitterParams& b) {
    return a.moveRange == b.moveRange && a.grayMin == b.grayMin && a.grayMax == b.grayMax &&
           a.randomFill == b.randomFill;
}

static std::ostream& operator<<(std::ostream& out, const JitterParams& p) {
    return out << "{" << p.moveRange << ", " << p.grayMin << ", " << p.grayMax << ", "
               << p.randomFill << "}";
}

namespace {

using headless::DialogAction;
using headless::DialogItemState;
using headless::DialogRun;
using headless::Document;
using testing_support::Parameters;
using testing_support::PluginUnderTest;
using testing_support::SetParameters;

constexpr int32_t kOK = 1, kCancel = 2, kRange = 6, kFill = 7, kGrayMin = 8, kGrayMax = 9;

class ParamsDialog : public testing_support::PluginFixture {
protected:
    void SetUp() override { ASSERT_EQ(host_.Startup(plugin_.entry()), kNoErr); }
    void TearDown() override {
        EXPECT_TRUE(host_.Problems().empty()) << host_.Problems().front();
        PluginFixture::TearDown();
    }

    // Sends "AI Get Parameters" with the user doing actions in the dialog.
    HostErr Edit(std::vector<DialogAction> actions) {
        host_.ScriptDialog(std::move(actions));
        return host_.FilterGetParameters(plugin_.entry());
    }

    const DialogRun& LastRun() const { return host_.Dialogs().back(); }
};

TEST_F(ParamsDialog, FirstUseOpensWithTheDefaults) {
    EXPECT_EQ(Edit({DialogAction::CloseWindow()}), kStopErr);
    ASSERT_TRUE(host_.HasParameters());
    EXPECT_EQ(Parameters(host_), kDefaultJitterParams);  // made, and kept on cancel

    const DialogRun& run = LastRun();
    EXPECT_EQ(run.dialogId, 16000);
    EXPECT_EQ(run.name, "Pelvaro");
    EXPECT_EQ(run.caption, "Pelvaro");
    const DialogItemState* range = run.Opened(kRange);
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->value, 6.0f);
    EXPECT_EQ(range->units, kADMPointUnits);
    EXPECT_EQ(range->minimum, 0.0f);
    EXPECT_EQ(range->maximum, 1000.0f);
    EXPECT_TRUE(range->active);
    EXPECT_TRUE(range->textSelected);
    for (const auto& [id, value] : {std::pair{kGrayMin, 5.0f}, std::pair{kGrayMax, 95.0f}}) {
        const DialogItemState* gray = run.Opened(id);
        ASSERT_NE(gray, nullptr);
        EXPECT_EQ(gray->value, value) << id;
        EXPECT_EQ(gray->units, kADMPercentUnits);
        EXPECT_EQ(gray->minimum, 0.0f);
        EXPECT_EQ(gray->maximum, 100.0f);
        EXPECT_TRUE(gray->enabled);
        EXPECT_FALSE(gray->active);
    }
    EXPECT_TRUE(run.Opened(kFill)->checked);
    EXPECT_TRUE(run.Opened(kFill)->hasNotifyProc);
    EXPECT_TRUE(run.Opened(kOK)->hasNotifyProc);

    // The items are the template's, in its order, with the kinds it gives.
    std::vector<std::pair<int32_t, headless::ControlKind>> kinds;
    for (const DialogItemState& item : run.opened) kinds.emplace_back(item.id, item.kind);
    using K = headless::ControlKind;
    EXPECT_EQ(kinds, (std::vector<std::pair<int32_t, K>>{{1, K::DefaultPushButton},
                                                         {2, K::PushButton},
                                                         {3, K::StaticText},
                                                         {6, K::EditText},
                                                         {7, K::CheckBox},
                                                         {4, K::StaticText},
                                                         {8, K::EditText},
                                                         {5, K::StaticText},
                                                         {9, K::EditText}}));
}

TEST_F(ParamsDialog, TheCheckBoxEnablesAndDisablesTheGrayFields) {
    const struct {
        int32_t storedFill;
        int toggles;
        bool enabled;
    } cases[] = {
        {0, 0, false},
        {0, 1, true},
        {0, 2, false},
        {1, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("fill " + std::to_string(c.storedFill) + ", " + std::to_string(c.toggles) +
                     " clicks");
        SetParameters(host_, {6.0f, 5.0f, 95.0f, c.storedFill});
        std::vector<DialogAction> actions(static_cast<std::size_t>(c.toggles),
                                          DialogAction::Toggle(kFill));
        actions.push_back(DialogAction::Click(kCancel));
        EXPECT_EQ(Edit(actions), kStopErr);
        const DialogRun& run = LastRun();
        EXPECT_EQ(run.Opened(kGrayMin)->enabled, c.storedFill != 0);
        EXPECT_EQ(run.Opened(kGrayMax)->enabled, c.storedFill != 0);
        EXPECT_EQ(run.Closed(kGrayMin)->enabled, c.enabled);
        EXPECT_EQ(run.Closed(kGrayMax)->enabled, c.enabled);
    }
}

TEST_F(ParamsDialog, OKStoresTheFieldsWithTheGrayRangeInOrder) {
    const struct {
        const char* name;
        JitterParams stored;
        std::vector<DialogAction> actions;
        JitterParams expected;
        std::size_t refusals = 0;
    } cases[] = {
        {"as shown", kDefaultJitterParams, {}, kDefaultJitterParams},
        {"minimum above maximum",
         kDefaultJitterParams,
         {DialogAction::Type(kGrayMin, 80.0f), DialogAction::Type(kGrayMax, 20.0f)},
         {6.0f, 20.0f, 80.0f, 1}},
        {"fill off keeps both grays",
         kDefaultJitterParams,
         {DialogAction::Type(kGrayMin, 30.0f), DialogAction::Type(kGrayMax, 60.0f),
          DialogAction::Toggle(kFill)},
         {6.0f, 30.0f, 60.0f, 0}},
        {"a stored pair out of order", {2.0f, 80.0f, 20.0f, 1}, {}, {2.0f, 20.0f, 80.0f, 1}},
        {"typed values are clamped",
         kDefaultJitterParams,
         {DialogAction::Type(kRange, 1500.0f), DialogAction::Type(kGrayMin, -5.0f),
          DialogAction::Type(kGrayMax, 250.0f)},
         {1000.0f, 0.0f, 100.0f, 1}},
        {"a disabled field takes no typing",
         {6.0f, 5.0f, 95.0f, 0},
         {DialogAction::Type(kGrayMin, 50.0f)},
         {6.0f, 5.0f, 95.0f, 0},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetParameters(host_, c.stored);
        std::vector<DialogAction> actions = c.actions;
        actions.push_back(DialogAction::Click(kOK));
        EXPECT_EQ(Edit(actions), kNoErr);
        EXPECT_EQ(LastRun().result, kOK);
        EXPECT_EQ(Parameters(host_), c.expected);
        EXPECT_EQ(LastRun().refusals.size(), c.refusals);
    }
}

TEST_F(ParamsDialog, AnyOtherWayOutRestoresTheRecordAndStops) {
    const JitterParams stored{12.0f, 80.0f, 20.0f, 0};  // a minimum above the maximum opens so
    const std::vector<DialogAction> edits = {DialogAction::Type(kRange, 3.0f),
                                             DialogAction::Toggle(kFill),
                                             DialogAction::Type(kGrayMin, 10.0f)};
    const struct {
        const char* name;
        std::vector<DialogAction> close;
    } cases[] = {
        {"Cancel", {DialogAction::Click(kCancel)}},
        {"closing the window", {DialogAction::CloseWindow()}},
        {"the script ends with the dialog open", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetParameters(host_, stored);
        std::vector<DialogAction> actions = edits;
        actions.insert(actions.end(), c.close.begin(), c.close.end());
        EXPECT_EQ(Edit(actions), kStopErr);
        EXPECT_EQ(Parameters(host_), stored);
        const DialogRun& run = LastRun();
        EXPECT_EQ(run.result, kCancel);
        EXPECT_EQ(run.Opened(kGrayMin)->value, 80.0f);
        EXPECT_EQ(run.Opened(kGrayMax)->value, 20.0f);
        EXPECT_EQ(run.Closed(kGrayMin)->value, 10.0f);  // the dialog had the edits
        EXPECT_TRUE(run.refusals.empty()) << run.refusals.front();
    }
}

TEST_F(ParamsDialog, TheHandleMadeOnFirstUseIsTheOneTheRunReads) {
    host_.ScriptDialog(
        {DialogAction::Type(kRange, 0.0f), DialogAction::Toggle(kFill), DialogAction::Click(kOK)});
    ASSERT_EQ(host_.FilterGetParameters(plugin_.entry()), kNoErr);
    document_.art = {testing_support::Square(0, 0, 10, true)};
    const Document before = document_;
    host_.ClearCalls();
    ASSERT_EQ(host_.FilterGo(plugin_.entry()), kNoErr);
    // Range 0 and fill off: the run changed nothing and drew nothing.
    EXPECT_EQ(document_.art[0].style.fillColor[0], before.art[0].style.fillColor[0]);
    for (const auto& call : host_.Calls()) EXPECT_NE(call.op, "Random.FloatRnd");
}

}  // namespace
