// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The instances the two windows place, read from their compiled-in stored forms.

#include "controls/numeric_edit_box.h"
#include "controls/tab_strip.h"
#include "forms/forms.h"
#include "platform/dialogs.h"
#include "platform/property_bag.h"

#include "test_strings.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {
PropertyBag formBag(const char* window, const char* instance) {
    return StoredForm::load(storedFormPath(QString::fromLatin1(window)))
        .bag(QString::fromLatin1(instance));
}
}  // namespace

struct TabsInstance {
    const char* name;
    const char* window;
    const char* instance;
    int width;
    int height;
    const char* captions;  // "|" between tabs
    const char* frames;
};

class StoredTabStrip : public ::testing::TestWithParam<TabsInstance> {};

TEST_P(StoredTabStrip, LoadsTheCaptionsFramesAndLookOfItsWindow) {
    const TabsInstance& c = GetParam();
    const PropertyBag bag = formBag(c.window, c.instance);
    ASSERT_FALSE(bag.isEmpty());
    TabStrip tabs;
    tabs.readProperties(bag);
    EXPECT_EQ(tabs.tabsWidth(), c.width);
    EXPECT_EQ(tabs.tabsHeight(), c.height);
    EXPECT_EQ(tabs.selectedTab(), 1);
    EXPECT_EQ(tabs.state().captions.join(u'|'), QString::fromLatin1(c.captions));
    EXPECT_EQ(tabs.state().frames.join(u'|'), QString::fromLatin1(c.frames));
    // The focus shows on the tabs, so a keyboard user sees where it is.
    EXPECT_TRUE(tabs.useFocusRect());
    // The form holds exactly what saving the control writes.
    EXPECT_EQ(tabs.writeProperties(), bag);
}

INSTANTIATE_TEST_SUITE_P(
    Instances, StoredTabStrip,
    ::testing::Values(TabsInstance{"frmMain_ctlTabs1", "frmMain", "ctlTabs1", 150, 25,
                                   "Login Details|Use Cache Data", "fraPassword|fraUseCacheData"},
                      TabsInstance{"frmMain_ctlPasswordVersion", "frmMain", "ctlPasswordVersion",
                                   80, 20, "Login Info|Processing", "fraLoginInfo|fraProcessing"},
                      TabsInstance{"frmResult_ctlTabs1", "frmResult", "ctlTabs1", 70, 20,
                                   "Report|Chart|Summary", "fraReport|fraChart|fraSummary"}),
    ByName());

struct NebInstance {
    const char* name;
    int integerSize;
    int decimalSize;
    const char* text;
    double maximum;
};

class StoredNumberBox : public ::testing::TestWithParam<NebInstance> {};

TEST_P(StoredNumberBox, LoadsItsSizesAndValueWithoutAMessage) {
    const NebInstance& c = GetParam();
    RecordingDialogs rec;
    ScopedDialogs scope(rec);
    const PropertyBag bag = formBag("frmResult", c.name);
    ASSERT_FALSE(bag.isEmpty());
    NumericEdit box;
    box.readProperties(bag);
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(box.integerSize(), c.integerSize);
    EXPECT_EQ(box.decimalSize(), c.decimalSize);
    EXPECT_EQ(box.text(), QString::fromLatin1(c.text));
    EXPECT_DOUBLE_EQ(box.maximumValue(), c.maximum);
    EXPECT_EQ(box.writeProperties(), bag);
}

INSTANTIATE_TEST_SUITE_P(Instances, StoredNumberBox,
                         ::testing::Values(NebInstance{"nebRsPerMB", 1, 2, "0.20", 9.99},
                                           NebInstance{"nebPlanCharge", 5, 0, "250", 99999},
                                           NebInstance{"nebBandWidthLimit", 10, 0, "1024",
                                                       9999999999.0}),
                         ByName());
