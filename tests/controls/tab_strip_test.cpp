// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/tab_strip.h"

#include "support/palettes.h"
#include "test_strings.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace kestrova;

namespace {

using Clicks = std::vector<std::pair<int, int>>;

// Records tabClicked in order.
struct Recorder {
    explicit Recorder(TabStrip& tabs) {
        QObject::connect(&tabs, &TabStrip::tabClicked,
                         [this](int o, int n) { clicks.emplace_back(o, n); });
    }
    Clicks clicks;
};

}  // namespace

struct SelectCase {
    const char* name;
    int tabs;
    int start;
    int assigned;
    int selected;
};

class SelectingATab : public ::testing::TestWithParam<SelectCase> {};

TEST_P(SelectingATab, ClampsAndAnnouncesTheTabActuallySelected) {
    const SelectCase& c = GetParam();
    TabStrip tabs;
    tabs.setTabCount(c.tabs);
    tabs.setSelectedTab(c.start);
    Recorder rec(tabs);
    tabs.setSelectedTab(c.assigned);
    EXPECT_EQ(tabs.selectedTab(), c.selected);
    EXPECT_EQ(rec.clicks, (Clicks{{c.start, c.selected}}));
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectingATab,
                         ::testing::Values(SelectCase{"ZeroSelectsTheFirst", 3, 2, 0, 1},
                                           SelectCase{"NegativeSelectsTheFirst", 3, 3, -4, 1},
                                           SelectCase{"BeyondTheLastSelectsTheLast", 3, 1, 8, 3},
                                           SelectCase{"SameTabIsAnnouncedAgain", 3, 2, 2, 2},
                                           SelectCase{"InRange", 4, 1, 3, 3}),
                         ByName());

// Any button selects, the selected tab again too (tabClicked with the same tab); a press beside
// the tabs or on the page does nothing.
TEST(TabStrip, AnyMouseButtonSelectsAndAPressBesideTheTabsDoesNothing) {
    TabStrip tabs;
    tabs.resize(300, 100);
    tabs.setTabCount(3);
    Recorder rec(tabs);
    const EdgeRect r3 = tabs.tabRect(3);
    QTest::mousePress(&tabs, Qt::RightButton, Qt::ShiftModifier, QPoint(r3.left + 5, r3.top + 5));
    QTest::mousePress(&tabs, Qt::LeftButton, {}, QPoint(280, 10));  // strip, right of the tabs
    QTest::mousePress(&tabs, Qt::LeftButton, {}, QPoint(150, 60));  // page
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(r3.left + 10, r3.top + 10));
    EXPECT_EQ(rec.clicks, (Clicks{{1, 3}, {3, 3}}));
}

struct KeyCase {
    const char* name;
    int start;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    Clicks clicks;
};

class TabStripKeyboard : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TabStripKeyboard, ArrowsStepWithoutWrapping) {
    const KeyCase& c = GetParam();
    TabStrip tabs;
    tabs.setTabCount(3);
    tabs.setSelectedTab(c.start);
    Recorder rec(tabs);
    QTest::keyClick(&tabs, c.key, c.modifiers);
    EXPECT_EQ(rec.clicks, c.clicks);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TabStripKeyboard,
    ::testing::Values(KeyCase{"LeftOnTheFirstStaysThere", 1, Qt::Key_Left, {}, {{1, 1}}},
                      KeyCase{"UpOnTheFirstStaysThere", 1, Qt::Key_Up, {}, {{1, 1}}},
                      KeyCase{"RightOnTheLastStaysThere", 3, Qt::Key_Right, {}, {{3, 3}}},
                      KeyCase{"DownOnTheLastStaysThere", 3, Qt::Key_Down, {}, {{3, 3}}},
                      KeyCase{"RightSteps", 1, Qt::Key_Right, {}, {{1, 2}}},
                      KeyCase{"ShiftIsIgnored", 2, Qt::Key_Left, Qt::ShiftModifier, {{2, 1}}},
                      KeyCase{"OtherKeysAreIgnored", 2, Qt::Key_Home, {}, {}}),
    ByName());

TEST(TabStrip, APointOnTheOverlapOfTwoTabsSelectsTheLowerOne) {
    TabStrip tabs;
    tabs.resize(300, 100);
    tabs.setTabCount(3);
    const int tabWidth = tabs.tabsWidth();
    // Tab 1 selected: its full rectangle reaches x = TW + 1, where tab 2's shrunk one starts.
    EXPECT_EQ(tabs.tabAt(QPoint(tabWidth + 1, 10)), 1);
    EXPECT_EQ(tabs.tabAt(QPoint(tabWidth + 2, 10)), 2);
    // Tab 2 selected: its full rectangle starts at x = TW, where tab 1's shrunk one ends.
    tabs.setSelectedTab(2);
    EXPECT_EQ(tabs.tabAt(QPoint(tabWidth, 10)), 1);
    EXPECT_EQ(tabs.tabAt(QPoint(tabWidth + 1, 10)), 2);
    // On its other side the overlap with tab 3 goes to tab 2 as well.
    EXPECT_EQ(tabs.tabAt(QPoint(2 * tabWidth + 1, 10)), 2);
}

TEST(TabStrip, LoweringTabsBelowTheSelectionSelectsTheNewLastTab) {
    TabStrip tabs;
    tabs.setTabCount(5);
    tabs.setSelectedTab(4);
    tabs.setCaption(QStringLiteral("Four"));
    Recorder rec(tabs);
    tabs.setTabCount(2);
    EXPECT_EQ(tabs.selectedTab(), 2);
    EXPECT_EQ(rec.clicks, (Clicks{{4, 2}}));
    EXPECT_EQ(tabs.state().captions.size(), 2);
}

TEST(TabStrip, RaisingTabsKeepsCaptionsAndFramesAndAddsEmptyOnes) {
    TabStrip tabs;
    tabs.setSelectedTab(2);
    tabs.setTabFrame(QStringLiteral("fraTwo"));
    Recorder rec(tabs);
    tabs.setTabCount(4);
    EXPECT_EQ(rec.clicks, Clicks{});
    EXPECT_EQ(tabs.state().captions, (QStringList{QStringLiteral("Tab 1"), QStringLiteral("Tab 2"),
                                                  QString(), QString()}));
    EXPECT_EQ(tabs.tabFrameName(2), u"fraTwo");
    EXPECT_EQ(tabs.tabFrameName(4), QString());
    EXPECT_EQ(tabs.selectedTab(), 2);
}

TEST(TabStrip, OutOfRangeValuesLeaveTheControlUnchanged) {
    TabStrip tabs;
    const PropertyBag before = tabs.writeProperties();
    Recorder rec(tabs);
    tabs.setTabCount(0);
    tabs.setTabCount(-3);
    tabs.setTabStyle(8);
    tabs.setTabStyle(-1);
    tabs.setCaptionAlignment(9);
    EXPECT_EQ(tabs.writeProperties(), before);
    EXPECT_TRUE(rec.clicks.empty());
}

struct StyleCase {
    const char* name;
    int style;
    EdgeRect page;
    EdgeRect tab2;  // full rectangle of tab 2 of 3
};

class TabGeometryByStyle : public ::testing::TestWithParam<StyleCase> {};

TEST_P(TabGeometryByStyle, PageAndTabsSitWhereTheStyleSaysAndHitTestingFindsThem) {
    const StyleCase& c = GetParam();
    TabStripState s;
    s.tabCount = 3;
    s.tabStyle = c.style;
    s.captions = {QString(), QString(), QString()};
    s.frames = s.captions;
    const QSize size(300, 200);
    EXPECT_EQ(pageRect(s, size), c.page);
    EXPECT_EQ(fullTabRect(s, size, 2), c.tab2);
    EXPECT_EQ(tabAt(s, size, QPoint(c.tab2.left + 35, c.tab2.top + 10)), 2);
    EXPECT_EQ(tabAt(s, size, QPoint(150, 100)), 0);  // inside the page
    // The selected tab keeps its full rectangle, the others are shrunk by a pixel.
    EXPECT_EQ(tabRect(s, size, 1), fullTabRect(s, size, 1));
    EXPECT_EQ(tabRect(s, size, 2), c.tab2.shrunk(1));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, TabGeometryByStyle,
    ::testing::Values(StyleCase{"TopFromLeft", 0, {0, 20, 300, 200}, {70, 0, 141, 21}},
                      StyleCase{"TopFromRight", 1, {0, 20, 300, 200}, {159, 0, 230, 21}},
                      StyleCase{"BottomFromLeft", 2, {0, 0, 300, 180}, {70, 179, 141, 200}},
                      StyleCase{"BottomFromRight", 3, {0, 0, 300, 180}, {159, 179, 230, 200}},
                      StyleCase{"LeftFromTop", 4, {70, 0, 300, 200}, {0, 20, 71, 41}},
                      StyleCase{"RightFromTop", 5, {0, 0, 230, 200}, {229, 20, 300, 41}},
                      StyleCase{"LeftFromBottom", 6, {70, 0, 300, 200}, {0, 159, 71, 180}},
                      StyleCase{"RightFromBottom", 7, {0, 0, 230, 200}, {229, 159, 300, 180}}),
    ByName());

TEST(TabStrip, TabsFromTheRightStartLeftOfTheEdgeWhenTheyDoNotFit) {
    TabStripState s;
    s.tabCount = 5;
    s.tabStyle = 1;
    const QSize size(200, 100);
    EXPECT_LT(fullTabRect(s, size, 1).left, 0);
    EXPECT_EQ(fullTabRect(s, size, 5).right, 200);
}

struct CaptionCase {
    int alignment;
    double x;
    double y;
};

class CaptionPlacement : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionPlacement, ColumnsAreLeftCentreRightAndRowsTopMiddleBottom) {
    const CaptionCase& c = GetParam();
    const QPointF p = captionOrigin(c.alignment, EdgeRect{10, 20, 81, 41}, QSizeF(30, 14));
    EXPECT_DOUBLE_EQ(p.x(), c.x);
    EXPECT_DOUBLE_EQ(p.y(), c.y);
}

INSTANTIATE_TEST_SUITE_P(Alignments, CaptionPlacement,
                         ::testing::Values(CaptionCase{0, 13, 22}, CaptionCase{1, 29.5, 22},
                                           CaptionCase{2, 47, 22}, CaptionCase{3, 13, 22.5},
                                           CaptionCase{4, 29.5, 22.5}, CaptionCase{5, 47, 22.5},
                                           CaptionCase{6, 13, 25}, CaptionCase{7, 29.5, 25},
                                           CaptionCase{8, 47, 25}));

// The designed colours are system colours: captions in button highlight on button shadow, the
// selected one in button text on button face. Under a dark palette the inactive captions came
// out grey on black, and under a light one white on grey; both now read against their tabs.
class TabStripContrast : public ::testing::TestWithParam<bool> {};

TEST_P(TabStripContrast, CaptionsReadAgainstTheirTabs) {
    const QPalette palette =
        GetParam() ? kestrova::testing::darkPalette() : kestrova::testing::lightPalette();
    TabStripState s;
    s.tabCount = 3;
    s.tabsWidth = 90;
    s.tabsHeight = 22;
    s.captions = {QStringLiteral("Report"), QStringLiteral("Chart"), QStringLiteral("Summary")};
    const QSize size(300, 80);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    drawTabStrip(painter, s, size, palette, {palette.color(QPalette::Window), false});
    painter.end();
    for (int tab = 1; tab <= 3; ++tab) {
        const bool selected = tab == s.selectedTab;
        const QColor fill = toQColor(selected ? s.tabColorActive : s.tabColor, palette);
        const QRect caption = fullTabRect(s, size, tab).shrunk(3).toQRect();
        EXPECT_GE(kestrova::testing::strongestContrast(image, caption, fill), kTextContrast)
            << "tab " << tab;
    }
}

INSTANTIATE_TEST_SUITE_P(Palettes, TabStripContrast, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Dark" : "Light"; });

TEST(TabStripPainting, FocusRectangleOnlyWithUseFocusRectAndFocus) {
    TabStripState s;
    s.captions = {QString(), QString()};
    const auto paint = [&s](bool focus) {
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        drawTabStrip(painter, s, image.size(), QPalette(), {QColor(Qt::white), focus});
        painter.end();
        return image;
    };
    EXPECT_EQ(paint(true), paint(false)) << "no focus rectangle without UseFocusRect";
    s.useFocusRect = true;
    EXPECT_NE(paint(true), paint(false));
}

TEST(TabStripFrames, TheSelectedTabsFrameIsShownAndTheOthersHidden) {
    QWidget host;
    auto* tabs = new TabStrip(&host);
    tabs->setTabCount(3);
    auto* a = new QFrame(tabs);
    a->setObjectName(QStringLiteral("fraA"));
    auto* b = new QGroupBox(tabs);
    b->setObjectName(QStringLiteral("fraB"));
    auto* label = new QLabel(QStringLiteral("not a frame"), tabs);
    tabs->setTabFrame(QStringLiteral("fraA"));
    tabs->setSelectedTab(2);
    tabs->setTabFrame(QStringLiteral("fraB"));
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_FALSE(a->isVisible());
    EXPECT_TRUE(b->isVisible());
    EXPECT_TRUE(label->isVisible());
    tabs->setSelectedTab(1);
    EXPECT_TRUE(a->isVisible());
    EXPECT_FALSE(b->isVisible());
    tabs->setSelectedTab(3);  // no frame name: an empty page
    EXPECT_FALSE(a->isVisible());
    EXPECT_FALSE(b->isVisible());
    EXPECT_EQ(tabs->frames().size(), 2);

    // Frames added later are sorted into the pages too.
    tabs->setTabFrame(QStringLiteral("fraC"));
    auto* later = new QFrame(tabs);
    later->setObjectName(QStringLiteral("fraC"));
    auto* stray = new QFrame(tabs);
    stray->setObjectName(QStringLiteral("fraNone"));
    later->show();
    stray->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(later->isVisible());
    EXPECT_FALSE(stray->isVisible());
}

TEST(TabStripFrames, ShowFrameBorderTakesEffectWhenTheControlIsShown) {
    QWidget host;
    auto* tabs = new TabStrip(&host);
    auto* frame = new QFrame(tabs);
    frame->setObjectName(QStringLiteral("fraA"));
    frame->setFrameStyle(QFrame::NoFrame);
    tabs->setTabFrame(QStringLiteral("fraA"));
    tabs->setShowFrameBorder(true);
    EXPECT_EQ(frame->frameShape(), QFrame::NoFrame);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_EQ(frame->frameShape(), QFrame::Box);
    tabs->setShowFrameBorder(false);
    EXPECT_EQ(frame->frameShape(), QFrame::Box);
    tabs->hide();
    tabs->show();
    EXPECT_EQ(frame->frameShape(), QFrame::NoFrame);
}

TEST(TabStrip, PointerIsTheCustomOneOverTabsOnly) {
    TabStrip tabs;
    tabs.resize(300, 100);
    tabs.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
    QTest::mouseMove(&tabs, QPoint(20, 10));
    EXPECT_EQ(tabs.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&tabs, QPoint(150, 60));
    EXPECT_EQ(tabs.cursor().shape(), Qt::ArrowCursor);
}

TEST(TabStripStoredProperties, SaveThenLoadGivesTheSameControl) {
    TabStrip original;
    original.setTabCount(3);
    original.setTabsWidth(120);
    original.setTabsHeight(22);
    original.setTabStyle(5);
    original.setCaptionAlignment(7);
    original.setUseFocusRect(true);
    original.setSelectedTab(1);
    original.setCaption(QStringLiteral("First, with a comma"));
    original.setTabFrame(QStringLiteral("fraFirst"));
    original.setSelectedTab(3);
    original.setCaption(QString());
    original.setTabFrame(QStringLiteral("fraThird"));
    original.setTabColor(RGB(10, 20, 30));
    original.setTextColorActive(0x80000008u);
    StdFont f(QStringLiteral("Arial"), 8.25);
    f.setUnderline(true);
    original.setTabFont(f);
    original.setShowFrameBorder(true);
    const PropertyBag saved = original.writeProperties();

    TabStrip loaded;
    Recorder rec(loaded);
    loaded.readProperties(saved);
    EXPECT_EQ(loaded.writeProperties(), saved);
    EXPECT_TRUE(rec.clicks.empty());  // loading is not a selection
}

TEST(TabStripStoredProperties, MissingKeysGiveTheirDefaultsAndStoredValuesAreBroughtIntoRange) {
    TabStrip tabs;
    tabs.setTabCount(4);
    tabs.setTabsWidth(99);
    tabs.setTabColor(RGB(1, 1, 1));
    tabs.readProperties(PropertyBag());
    EXPECT_EQ(tabs.tabsWidth(), 70);
    EXPECT_EQ(tabs.tabCount(), 2);
    EXPECT_EQ(tabs.captionAlignment(), 4);
    EXPECT_EQ(tabs.tabColor(), 0x80000010u);
    EXPECT_EQ(tabs.tabFontActive(), StdFont::fromQFont(tabs.font()));

    PropertyBag bag;
    bag.write(QStringLiteral("TABCOUNT"), QStringLiteral("3"));
    bag.write(QStringLiteral("TABSELECTED"), QStringLiteral("7"));
    bag.write(QStringLiteral("TABSTYLE"), QStringLiteral("12"));
    tabs.readProperties(bag);
    EXPECT_EQ(tabs.selectedTab(), 3);
    EXPECT_EQ(tabs.tabStyle(), 0);
    bag.write(QStringLiteral("TABCOUNT"), QStringLiteral("0"));
    tabs.readProperties(bag);
    EXPECT_GE(tabs.tabCount(), 1);
    EXPECT_LE(tabs.selectedTab(), tabs.tabCount());
}

// A screen reader found nothing in the drawn strip. It is a list of page tabs, each named by
// its caption, the selected one marked; pressing a tab selects it. The strip listed only its
// tabs, so nothing on its pages could be reached from the window: each tab holds the page it
// shows, which names the tab as its parent; a widget of the strip that no tab shows comes after
// the tabs; a point on the page finds the selected tab.
TEST(TabStripAccessibility, TheTabsAreNamedSelectedPressableAndHoldTheirPages) {
    QWidget host;
    TabStrip tabs(&host);
    tabs.setTabCount(3);  // the third without a page
    const char* frames[] = {"fraOne", "fraTwo"};
    for (int k = 1; k <= 2; ++k) {
        tabs.setSelectedTab(k);
        tabs.setCaption(QString::fromLatin1(frames[k - 1]));
        tabs.setTabFrame(QString::fromLatin1(frames[k - 1]));
        auto* frame = new QFrame(&tabs);
        frame->setObjectName(QString::fromLatin1(frames[k - 1]));
        frame->setGeometry(0, 30, 200, 60);
    }
    auto* stray = new QFrame(&tabs);
    stray->setObjectName(QStringLiteral("fraNoTab"));
    tabs.setSelectedTab(1);
    tabs.resize(300, 100);
    host.show();

    QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(&tabs);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->role(), QAccessible::PageTabList);
    ASSERT_EQ(strip->childCount(), 4);
    EXPECT_EQ(strip->child(2)->childCount(), 0);
    for (int i = 0; i < 2; ++i) {
        QAccessibleInterface* tab = strip->child(i);
        ASSERT_NE(tab, nullptr);
        EXPECT_EQ(tab->role(), QAccessible::PageTab);
        EXPECT_EQ(tab->text(QAccessible::Name), QString::fromLatin1(frames[i]));
        EXPECT_EQ(tab->parent(), strip);
        EXPECT_EQ(strip->indexOfChild(tab), i);
        EXPECT_EQ(strip->childAt(tab->rect().center().x(), tab->rect().center().y()), tab);
        ASSERT_EQ(tab->childCount(), 1);
        QAccessibleInterface* page = tab->child(0);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->object(), tabs.tabPage(i + 1));
        EXPECT_EQ(page->parent(), tab);
        EXPECT_EQ(tab->indexOfChild(page), 0);
        EXPECT_EQ(page->state().invisible, i != 0) << "only the selected tab's page shows";
    }
    QAccessibleInterface* other = strip->child(3);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->object(), stray);
    EXPECT_EQ(other->parent(), strip);
    EXPECT_EQ(strip->indexOfChild(other), 3);
    const QPoint onPage = tabs.mapToGlobal(QPoint(100, 60));
    EXPECT_EQ(strip->childAt(onPage.x(), onPage.y()), strip->child(0));

    strip->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tabs.selectedTab(), 2);
    EXPECT_TRUE(strip->child(1)->state().selected);
    EXPECT_EQ(strip->text(QAccessible::Value), QStringLiteral("fraTwo"));
}
