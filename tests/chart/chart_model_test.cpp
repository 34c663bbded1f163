// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/chart_model.h"
#include "chart/chart_property_keys.h"
#include "chart_test_support.h"
#include "forms/forms.h"
#include "platform/property_bag.h"

#include <gtest/gtest.h>

#include <QImage>
#include <functional>

using namespace kestrova;
using kestrova::test::item;
using kestrova::test::RecordingHost;

namespace {

struct ModelFixture : ::testing::Test {
    ModelFixture() {
        host.model = &model;
        model.setHost(&host);
    }
    ChartModel model{15, 15};
    RecordingHost host;
};

// ---- Mean item -----------------------------------------------------------------------------

TEST_F(ModelFixture, MeanItemFollowsTheItemsWhileMeanOn) {
    model.storage().meanOn = true;
    for (double v : {2.0, 4.0, 9.0}) {
        model.addItem(item(v));
    }
    ASSERT_EQ(model.itemCount(), 4);
    const ChartItemPtr mean = model.item(3);
    EXPECT_DOUBLE_EQ(mean->value, 5.0);
    for (const QString& text : {mean->itemId, mean->xAxisDescription, mean->selectedDescription,
                                mean->legendDescription}) {
        EXPECT_EQ(text, QStringLiteral("Mean"));
    }
    EXPECT_TRUE(model.isMeanColumn(3));
    EXPECT_FALSE(model.isMeanColumn(2));
    EXPECT_EQ(host.redraws, 0) << "AddItem never redraws";
    model.addItem(nullptr);
    EXPECT_EQ(model.itemCount(), 4) << "no item, no column";
}

// Turned on after the items, the mean shows from the next addItem, which takes the last item
// for the old mean and replaces it; turned off, the mean item stays as an ordinary column.
TEST_F(ModelFixture, SwitchingTheMeanTakesEffectAtTheNextAddItem) {
    model.storage().meanCaption = QStringLiteral("Avg");
    model.addItem(item(1));
    model.addItem(item(3));
    model.setMeanOn(true);
    EXPECT_EQ(model.itemCount(), 2);
    model.addItem(item(8));
    ASSERT_EQ(model.itemCount(), 3);
    EXPECT_DOUBLE_EQ(model.item(1)->value, 8);
    EXPECT_DOUBLE_EQ(model.item(2)->value, 4.5);
    model.setMeanOn(false);
    model.addItem(item(30));
    ASSERT_EQ(model.itemCount(), 4);
    EXPECT_EQ(model.item(2)->xAxisDescription, QStringLiteral("Avg"));
    EXPECT_FALSE(model.isMeanColumn(3));
    EXPECT_FALSE(model.isMeanColumn(2));
}

// ---- Setter rules --------------------------------------------------------------------------

struct SetterRow {
    const char* name;
    std::function<void(ChartModel&)> set;
    int redraws;
    const char* changed;  // the property the host hears of, if any
    std::function<bool(const ChartModel&)> holds;
};

std::ostream& operator<<(std::ostream& os, const SetterRow& row) {
    return os << row.name;
}

class SetterRules : public ModelFixture, public ::testing::WithParamInterface<SetterRow> {};

TEST_P(SetterRules, RedrawsNotifiesAndStoresAsTheRuleSays) {
    const SetterRow& row = GetParam();
    row.set(model);
    EXPECT_EQ(host.redraws, row.redraws);
    EXPECT_EQ(host.changed,
              row.changed ? QStringList{QString::fromLatin1(row.changed)} : QStringList{});
    EXPECT_TRUE(row.holds(model));
}

const QImage kPicture = [] {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}();

INSTANTIATE_TEST_SUITE_P(
    ChartModel, SetterRules,
    ::testing::Values(
        SetterRow{"RedrawRuleChange", [](auto& m) { m.setBarColor(0xFF); }, 1, "BarColor",
                  [](auto& m) { return m.barColor() == 0xFF; }},
        SetterRow{"RedrawRuleSameValueDoesNothing", [](auto& m) { m.setBarColor(0x00FF00); }, 0,
                  nullptr, [](auto& m) { return m.barColor() == 0x00FF00; }},
        SetterRow{"MarginSameValueStillRedraws", [](auto& m) { m.setMarginTop(50); }, 1,
                  "MarginTop", [](auto& m) { return m.properties().marginTop == 750; }},
        SetterRow{"MaxYSameValueStillRedraws", [](auto& m) { m.setMaxY(100); }, 1, "MaxY",
                  [](auto& m) { return m.maxY() == 100; }},
        SetterRow{"MaxYEqualToMinYIgnored", [](auto& m) { m.setMaxY(0); }, 0, nullptr,
                  [](auto& m) { return m.maxY() == 100; }},
        SetterRow{"MinYNegativeAccepted", [](auto& m) { m.setMinY(-10); }, 1, "MinY",
                  [](auto& m) { return m.minY() == -10; }},
        SetterRow{"MinYEqualToMaxYIgnored", [](auto& m) { m.setMinY(100); }, 0, nullptr,
                  [](auto& m) { return m.minY() == 0; }},
        SetterRow{"BarWidthZeroIgnored", [](auto& m) { m.setBarWidthPercentage(0); }, 0, nullptr,
                  [](auto& m) { return m.barWidthPercentage() == 100; }},
        SetterRow{"BarWidth101Ignored", [](auto& m) { m.setBarWidthPercentage(101); }, 0, nullptr,
                  [](auto& m) { return m.barWidthPercentage() == 100; }},
        SetterRow{"BarWidthOneAccepted", [](auto& m) { m.setBarWidthPercentage(1); }, 1,
                  "BarWidthPercentage", [](auto& m) { return m.barWidthPercentage() == 1; }},
        SetterRow{"LineWidthTenIgnored", [](auto& m) { m.setLineWidth(10); }, 0, nullptr,
                  [](auto& m) { return m.lineWidth() == 1; }},
        SetterRow{"LineWidthNineAccepted", [](auto& m) { m.setLineWidth(9); }, 1, "LineWidth",
                  [](auto& m) { return m.lineWidth() == 9; }},
        SetterRow{"PrinterOrientationThreeIgnored", [](auto& m) { m.setPrinterOrientation(3); }, 0,
                  nullptr, [](auto& m) { return m.printerOrientation() == 2; }},
        SetterRow{"FillStyleBeyond16BitsIgnored", [](auto& m) { m.setBarFillStyle(70000); }, 0,
                  nullptr, [](auto& m) { return m.barFillStyle() == 6; }},
        SetterRow{"LegendCaptionSilentAndNormalised",
                  [](auto& m) { m.setLegendCaption(QString()); }, 0, nullptr,
                  [](auto& m) { return m.legendCaption() == u"Display legend"; }},
        SetterRow{"PictureAlwaysRedrawsWithoutNotification",
                  [](auto& m) {
                      m.setPicture(kPicture);
                      m.setPicture(kPicture);
                  },
                  2, nullptr, [](auto& m) { return !m.picture().isNull(); }},
        SetterRow{"BarSymbolKeepsFirstCharacter",
                  [](auto& m) { m.setBarSymbol(QStringLiteral("#x")); }, 1, "BarSymbol",
                  [](auto& m) { return m.barSymbol() == u"#"; }},
        SetterRow{"BarSymbolEmptyStoresBlank", [](auto& m) { m.setBarSymbol(QString()); }, 1,
                  "BarSymbol", [](auto& m) { return m.barSymbol() == u" "; }},
        SetterRow{"MenuItemsRebuildsTheMenuWithoutRedraw",
                  [](auto& m) { m.setMenuItems(QStringLiteral("A|B")); }, 0, "MenuItems",
                  [](auto& m) { return m.menu().captions[0] == u"A"; }},
        SetterRow{"AutoRedrawOffStillNotifies", [](auto& m) { m.setAutoRedraw(false); }, 1,
                  "AutoRedraw", [](auto& m) { return !m.autoRedraw(); }}),
    [](const ::testing::TestParamInfo<SetterRow>& row) { return std::string(row.param.name); });

// ---- Margins -------------------------------------------------------------------------------

TEST(ChartModelMargins, PixelsAreStoredAsTwipsAndReadBackRoundedToEven) {
    ChartModel model(15, 12);
    model.setMarginTop(50);
    EXPECT_FLOAT_EQ(model.properties().marginTop, 600);  // Y factor
    model.setMarginLeft(50);
    EXPECT_FLOAT_EQ(model.properties().marginLeft, 750);  // X factor
    EXPECT_EQ(model.marginTop(), 50);
    model.storage().marginLeft = 757.5f;  // 50.5 pixels
    EXPECT_EQ(model.marginLeft(), 50);
    model.storage().marginLeft = 772.5f;  // 51.5 pixels
    EXPECT_EQ(model.marginLeft(), 52);
    // The right margin set is the one a hidden legend gives back.
    model.setMarginRight(70);
    EXPECT_FLOAT_EQ(model.savedRightMargin(), 1050);
    model.applyShowLegend(false, 2370, 2400);
    model.restoreRightMargin();
    EXPECT_FLOAT_EQ(model.properties().marginRight, 1050);
}

// ---- selectedColumn ------------------------------------------------------------------------

// An ordinary column raises itemClick with its item (the chart's mouse and keyboard tests pick
// each column); the mean column does not.
TEST_F(ModelFixture, SelectingTheMeanColumnEndsWithoutSelectionOrEvent) {
    model.storage().meanOn = true;
    model.addItem(item(1));
    model.addItem(item(3));
    model.setSelectedColumn(0);
    EXPECT_EQ(host.changed, QStringList{QStringLiteral("SelectedColumn")});
    host.clicked.clear();
    host.selectedAtRedraw.clear();
    model.setSelectedColumn(2);
    EXPECT_EQ(model.selectedColumn(), -1);
    EXPECT_TRUE(host.clicked.empty());
    EXPECT_EQ(host.selectedAtRedraw, std::vector<int>{-1})
        << "never drawn with the mean highlighted";
}

TEST_F(ModelFixture, ColumnOutsideTheListIsKeptWithoutItemClick) {
    model.addItem(item(1));
    model.setSelectedColumn(7);
    EXPECT_EQ(model.selectedColumn(), 7);
    EXPECT_TRUE(host.clicked.empty());
    model.setSelectedColumn(-1);
    EXPECT_TRUE(host.clicked.empty());
    model.setSelectedColumn(40000);
    EXPECT_EQ(model.selectedColumn(), -1) << "beyond 16 bits is ignored";
}

// ---- Selection information -----------------------------------------------------------------

TEST_F(ModelFixture, InformationTextMeanLineFormatAndMissingLabels) {
    model.storage().selectionInformation = true;
    model.storage().meanOn = true;
    model.addItem(item(1));
    model.addItem(item(2, QStringLiteral("x"), QStringLiteral("two")));
    model.setDataFormat(QStringLiteral("0.00"));
    model.setInfoItems(QStringLiteral("V|D|M"));
    EXPECT_EQ(model.selectionInfoText(1), QStringLiteral("V: 2.00\r\nD: two\r\nM: 1.50"));
    EXPECT_EQ(model.selectionInfoText(2), QStringLiteral("V: 1.50\r\nD: Mean"))
        << "no mean line for the mean";
    model.setInfoItems(QStringLiteral("V"));
    EXPECT_FALSE(model.selectionInfoText(1).has_value()) << "a missing label hides the box";
    model.storage().selectionInformation = false;
    EXPECT_FALSE(model.selectionInfoText(0).has_value());
}

// ---- Menus ---------------------------------------------------------------------------------

TEST_F(ModelFixture, MenuItemsSetTheirCaptionsAndEmptyPartsKeepTheDefaults) {
    model.setMenuItems(QStringLiteral("Sa&ve chart|P&rint chart"));
    const auto& c = model.menu().captions;
    EXPECT_EQ(c[MenuSaveAs], QStringLiteral("Sa&ve chart"));
    EXPECT_EQ(c[MenuPrint], QStringLiteral("P&rint chart"));
    EXPECT_EQ(c[MenuCopy], QStringLiteral("Copy")) << "the others keep theirs";
    model.setMenuItems(QString());
    EXPECT_EQ(model.menuItems(), kDefaultMenuItems);
    EXPECT_EQ(model.menu().captions[MenuLegendHide], QStringLiteral("&Hide"));
    model.setMenuItems(QStringLiteral("|Print|||Show|"));
    EXPECT_EQ(model.menu().captions[MenuSaveAs], QStringLiteral("&Save as..."));
    EXPECT_EQ(model.menu().captions[MenuViewLegend], QStringLiteral("Show"));
    EXPECT_EQ(model.menu().captions[MenuLegendHide], QStringLiteral("&Hide"));
}

TEST_F(ModelFixture, CustomMenuTakesTrimmedNonEmptyPartsUpToEight) {
    // Trimming and skipping empty parts show in the chart's own custom menu test.
    const ChartMenuState& menu = model.menu();
    model.setCustomMenuItems(QStringLiteral("1|2|3|4|5|6|7|8|9"));
    EXPECT_EQ(std::count(menu.customVisible.begin(), menu.customVisible.end(), true), 8);
    EXPECT_EQ(menu.customCaptions[7], QStringLiteral("8"));
    EXPECT_TRUE(menu.customSeparatorVisible);

    model.setCustomMenuItems(QStringLiteral("   "));
    EXPECT_EQ(std::count(menu.customVisible.begin(), menu.customVisible.end(), true), 0);
    EXPECT_FALSE(menu.customSeparatorVisible);
    EXPECT_EQ(host.customMenuBuilds, 2);
}

// ---- Persistence ---------------------------------------------------------------------------

// Gives each stored property a value other than the one it has.
struct ChangeEveryProperty {
    void operator()(const QString&, ColorRef& v, const auto&) const { v ^= 0x123456u; }
    void operator()(const QString&, QString& v, const auto&) const { v += u'~'; }
    void operator()(const QString&, QChar& v, const auto&) const { v = v == u'Q' ? u'R' : u'Q'; }
    void operator()(const QString&, float& v, const auto&) const { v += 1.25f; }
    void operator()(const QString&, double& v, const auto&) const { v += 2.5; }
    void operator()(const QString&, std::int16_t& v, const auto&) const { v += 3; }
    void operator()(const QString&, std::int32_t& v, const auto&) const { v += 5; }
    void operator()(const QString&, bool& v, const auto&) const { v = !v; }
    void operator()(const QString&, QImage& v, const auto&) const {
        v = QImage(2, 2, QImage::Format_RGB32);
        v.fill(QColor(40, 50, 60));
    }
};

// Each key alone carries its own property: a changed value stored under one key reads into
// the member that writes that key again, and into no other.
TEST(ChartModelPersistence, EachKeyOfTheTableReadsBackIntoItsOwnProperty) {
    const ChartProperties start = ChartProperties::startValues(15, 15);
    ChartProperties changed = start;
    visitChartProperties(changed, ChangeEveryProperty{});
    PropertyBag plain;
    writeChartProperties(start, plain);
    PropertyBag other;
    writeChartProperties(changed, other);

    QStringList keys;
    visitChartProperties(start,
                         [&keys](const QString& key, const auto&, const auto&) { keys << key; });
    ASSERT_EQ(keys, plain.keys()) << "the writer stores the table's keys in its order";
    EXPECT_EQ(keys.size(), 66) << "65 properties and the foreground colour";
    EXPECT_EQ(keys.removeDuplicates(), 0);
    // The stored forms: a system colour unsigned, a flag as True, a fraction of a twip kept.
    EXPECT_EQ(plain.read(QStringLiteral("InfoBackColor")), QStringLiteral("2147483672"));
    EXPECT_EQ(plain.read(QStringLiteral("uAxisYOn")), QStringLiteral("True"));
    EXPECT_EQ(other.read(QStringLiteral("uTopMargin")), QStringLiteral("751.25"));

    for (const QString& key : keys) {
        SCOPED_TRACE(key.toStdString());
        ASSERT_NE(plain.read(key), other.read(key)) << "the change shows in the stored text";
        PropertyBag bag = plain;
        bag.write(key, other.read(key));
        ChartProperties loaded = start;
        readChartProperties(bag, loaded);
        PropertyBag again;
        writeChartProperties(loaded, again);
        EXPECT_EQ(again, bag);
    }
}

// Keys the bag lacks take their values for a missing key ("same": the current one).
TEST_F(ModelFixture, LoadingAssignsStorageWithoutSetterRules) {
    model.storage().axisLabelX = QStringLiteral("kept");
    model.storage().axisXOn = false;
    model.storage().chartTitle = QStringLiteral("replaced");
    PropertyBag bag;
    bag.write(QStringLiteral("BARCOLOR"), QStringLiteral("255"));
    bag.write(QStringLiteral("barwidthpercentage"), QStringLiteral("100"));
    bag.write(QStringLiteral("BarSymbol"), QStringLiteral("xyz"));
    bag.write(QStringLiteral("uRightMargin"), QStringLiteral("900"));
    bag.write(QStringLiteral("PrinterOrientation"), QStringLiteral("7"));
    bag.write(QStringLiteral("BackColor"), QStringLiteral("-2147483643"));
    bag.write(QStringLiteral("LineWidth"), QStringLiteral("wide"));
    bag.write(QStringLiteral("uSelectedColumn"), QStringLiteral("99999"));
    bag.write(QStringLiteral("MeanOn"), QStringLiteral("-1"));
    model.readProperties(bag);
    EXPECT_EQ(model.barColor(), 255u) << "keys match without regard to case";
    EXPECT_EQ(model.barSymbol(), QStringLiteral("x"));
    EXPECT_EQ(model.printerOrientation(), 7) << "no range rule while loading";
    EXPECT_EQ(model.backColor(), 0x80000005u) << "signed form of a system colour";
    EXPECT_FLOAT_EQ(model.savedRightMargin(), 900);
    EXPECT_EQ(model.lastPickedColumn(), -1);
    EXPECT_EQ(model.lineWidth(), 1) << "unreadable: the value for a missing key";
    EXPECT_EQ(model.selectedColumn(), -1);
    EXPECT_TRUE(model.meanOn()) << "-1 is True";
    EXPECT_EQ(host.redraws, 0);
    EXPECT_TRUE(host.changed.isEmpty());
    const ChartProperties& p = model.properties();
    EXPECT_EQ(p.chartTitle, QStringLiteral("XChart"));
    EXPECT_EQ(p.axisLabelX, QStringLiteral("kept"));
    EXPECT_FALSE(p.axisXOn);
    EXPECT_FLOAT_EQ(p.marginTop, 55) << "55 twips, not pixels";
}

TEST(ChartModelPersistence, ResultWindowFormHoldsTheStartValues) {
    const PropertyBag stored = StoredForm::load(storedFormPath(QStringLiteral("frmResult")))
                                   .bag(QStringLiteral("XChart1"));
    ASSERT_FALSE(stored.isEmpty());
    ChartModel fresh(15, 15);
    fresh.storage().menuItems = kDefaultMenuItems;
    PropertyBag expected;
    fresh.writeProperties(expected);
    ChartModel loaded(15, 15);
    loaded.readProperties(stored);
    PropertyBag actual;
    loaded.writeProperties(actual);
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(stored.count(), expected.count()) << "the form lists every key";
}

}  // namespace
