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
    model.storage().MeanOn = true;
    for (double v : {2.0, 4.0, 9.0}) {
        model.AddItem(item(v));
    }
    ASSERT_EQ(model.itemCount(), 4);
    const ChartItemPtr mean = model.item(3);
    EXPECT_DOUBLE_EQ(mean->Value, 5.0);
    for (const QString& text : {mean->ItemID, mean->XAxisDescription, mean->SelectedDescription,
                                mean->LegendDescription}) {
        EXPECT_EQ(text, QStringLiteral("Mean"));
    }
    EXPECT_EQ(model.MeanCaption(), QStringLiteral("Mean"));
    EXPECT_TRUE(model.isMeanColumn(3));
    EXPECT_FALSE(model.isMeanColumn(2));
    EXPECT_EQ(host.redraws, 0) << "AddItem never redraws";
}

TEST_F(ModelFixture, MeanOnAfterTheItemsShowsNoMeanUntilTheNextAddItem) {
    model.AddItem(item(1));
    model.AddItem(item(3));
    model.setMeanOn(true);
    EXPECT_EQ(model.itemCount(), 2);
    model.AddItem(item(8));
    // The previous last item (3) is taken for the old mean and replaced.
    ASSERT_EQ(model.itemCount(), 3);
    EXPECT_DOUBLE_EQ(model.item(1)->Value, 8);
    EXPECT_DOUBLE_EQ(model.item(2)->Value, 4.5);
}

TEST_F(ModelFixture, MeanOffLeavesTheMeanItemAsAnOrdinaryColumn) {
    model.storage().MeanOn = true;
    model.storage().MeanCaption = QStringLiteral("Avg");
    model.AddItem(item(10));
    model.AddItem(item(20));
    model.setMeanOn(false);
    model.AddItem(item(30));
    ASSERT_EQ(model.itemCount(), 4);
    EXPECT_EQ(model.item(2)->XAxisDescription, QStringLiteral("Avg"));
    EXPECT_FALSE(model.isMeanColumn(3));
    EXPECT_FALSE(model.isMeanColumn(2));
}

TEST_F(ModelFixture, NullItemIsIgnored) {
    model.AddItem(nullptr);
    EXPECT_EQ(model.itemCount(), 0);
}

// ---- Setter rules --------------------------------------------------------------------------

struct SetterRow {
    const char* name;
    std::function<void(ChartModel&)> set;
    int redraws;
    QStringList changed;
    std::function<bool(const ChartModel&)> holds;
};

std::ostream& operator<<(std::ostream& os, const SetterRow& row) {
    return os << row.name;
}

class SetterRules : public ::testing::TestWithParam<SetterRow> {};

TEST_P(SetterRules, RedrawsNotifiesAndStoresAsTheRuleSays) {
    const SetterRow& row = GetParam();
    ChartModel model(15, 15);
    RecordingHost host;
    host.model = &model;
    model.setHost(&host);
    row.set(model);
    EXPECT_EQ(host.redraws, row.redraws);
    EXPECT_EQ(host.changed, row.changed);
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
        SetterRow{"RedrawRuleChange",
                  [](ChartModel& m) { m.setBarColor(0xFF); },
                  1,
                  {QStringLiteral("BarColor")},
                  [](const ChartModel& m) { return m.BarColor() == 0xFF; }},
        SetterRow{"RedrawRuleSameValueDoesNothing",
                  [](ChartModel& m) { m.setBarColor(0x00FF00); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.BarColor() == 0x00FF00; }},
        SetterRow{"SelectedBarColorNotifiesWithoutRedraw",
                  [](ChartModel& m) { m.setSelectedBarColor(1); },
                  0,
                  {QStringLiteral("SelectedBarColor")},
                  [](const ChartModel& m) { return m.SelectedBarColor() == 1; }},
        SetterRow{"MarginSameValueStillRedraws",
                  [](ChartModel& m) { m.setMarginTop(50); },
                  1,
                  {QStringLiteral("MarginTop")},
                  [](const ChartModel& m) { return m.properties().MarginTop == 750; }},
        SetterRow{"MaxYSameValueStillRedraws",
                  [](ChartModel& m) { m.setMaxY(100); },
                  1,
                  {QStringLiteral("MaxY")},
                  [](const ChartModel& m) { return m.MaxY() == 100; }},
        SetterRow{"MaxYEqualToMinYIgnored",
                  [](ChartModel& m) { m.setMaxY(0); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.MaxY() == 100; }},
        SetterRow{"MaxYBelowMinYIgnored",
                  [](ChartModel& m) { m.setMaxY(-5); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.MaxY() == 100; }},
        SetterRow{"MinYNegativeAccepted",
                  [](ChartModel& m) { m.setMinY(-10); },
                  1,
                  {QStringLiteral("MinY")},
                  [](const ChartModel& m) { return m.MinY() == -10; }},
        SetterRow{"MinYEqualToMaxYIgnored",
                  [](ChartModel& m) { m.setMinY(100); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.MinY() == 0; }},
        SetterRow{"BarWidthZeroIgnored",
                  [](ChartModel& m) { m.setBarWidthPercentage(0); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.BarWidthPercentage() == 100; }},
        SetterRow{"BarWidth101Ignored",
                  [](ChartModel& m) { m.setBarWidthPercentage(101); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.BarWidthPercentage() == 100; }},
        SetterRow{"BarWidthOneAccepted",
                  [](ChartModel& m) { m.setBarWidthPercentage(1); },
                  1,
                  {QStringLiteral("BarWidthPercentage")},
                  [](const ChartModel& m) { return m.BarWidthPercentage() == 1; }},
        SetterRow{"LineWidthTenIgnored",
                  [](ChartModel& m) { m.setLineWidth(10); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.LineWidth() == 1; }},
        SetterRow{"LineWidthNineAccepted",
                  [](ChartModel& m) { m.setLineWidth(9); },
                  1,
                  {QStringLiteral("LineWidth")},
                  [](const ChartModel& m) { return m.LineWidth() == 9; }},
        SetterRow{"PrinterOrientationThreeIgnored",
                  [](ChartModel& m) { m.setPrinterOrientation(3); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.PrinterOrientation() == 2; }},
        SetterRow{"PrinterOrientationPortraitNotifies",
                  [](ChartModel& m) { m.setPrinterOrientation(1); },
                  0,
                  {QStringLiteral("PrinterOrientation")},
                  [](const ChartModel& m) { return m.PrinterOrientation() == 1; }},
        SetterRow{"FillStyleBeyond16BitsIgnored",
                  [](ChartModel& m) { m.setBarFillStyle(70000); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.BarFillStyle() == 6; }},
        SetterRow{"DataFormatNotifiesOnly",
                  [](ChartModel& m) { m.setDataFormat(QStringLiteral("0.00")); },
                  0,
                  {QStringLiteral("DataFormat")},
                  [](const ChartModel& m) { return m.DataFormat() == u"0.00"; }},
        SetterRow{"LegendCaptionSilentAndNormalised",
                  [](ChartModel& m) { m.setLegendCaption(QString()); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.LegendCaption() == u"Display legend"; }},
        SetterRow{"PictureAlwaysRedrawsWithoutNotification",
                  [](ChartModel& m) {
                      m.setPicture(kPicture);
                      m.setPicture(kPicture);
                  },
                  2,
                  {},
                  [](const ChartModel& m) { return !m.Picture().isNull(); }},
        SetterRow{"BarSymbolKeepsFirstCharacter",
                  [](ChartModel& m) { m.setBarSymbol(QStringLiteral("#x")); },
                  1,
                  {QStringLiteral("BarSymbol")},
                  [](const ChartModel& m) { return m.BarSymbol() == u"#"; }},
        SetterRow{"BarSymbolComparesTheStoredCharacter",
                  [](ChartModel& m) { m.setBarSymbol(QStringLiteral("*abc")); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.BarSymbol() == u"*"; }},
        SetterRow{"BarSymbolEmptyStoresBlank",
                  [](ChartModel& m) { m.setBarSymbol(QString()); },
                  1,
                  {QStringLiteral("BarSymbol")},
                  [](const ChartModel& m) { return m.BarSymbol() == u" "; }},
        SetterRow{"MenuItemsRebuildsTheMenuWithoutRedraw",
                  [](ChartModel& m) { m.setMenuItems(QStringLiteral("A|B")); },
                  0,
                  {QStringLiteral("MenuItems")},
                  [](const ChartModel& m) { return m.menu().captions[0] == u"A"; }},
        SetterRow{"MenuTypeUnchangedDoesNothing",
                  [](ChartModel& m) { m.setMenuType(0); },
                  0,
                  {},
                  [](const ChartModel& m) { return m.MenuType() == 0; }},
        SetterRow{"AutoRedrawOffStillNotifies",
                  [](ChartModel& m) { m.setAutoRedraw(false); },
                  1,
                  {QStringLiteral("AutoRedraw")},
                  [](const ChartModel& m) { return !m.AutoRedraw(); }}),
    [](const ::testing::TestParamInfo<SetterRow>& row) { return std::string(row.param.name); });

// ---- Margins -------------------------------------------------------------------------------

TEST(ChartModelMargins, PixelsAreStoredAsTwipsAndReadBackRoundedToEven) {
    ChartModel model(15, 12);
    model.setMarginTop(50);
    EXPECT_FLOAT_EQ(model.properties().MarginTop, 600);  // Y factor
    model.setMarginLeft(50);
    EXPECT_FLOAT_EQ(model.properties().MarginLeft, 750);  // X factor
    EXPECT_EQ(model.MarginTop(), 50);
    model.storage().MarginLeft = 757.5f;  // 50.5 pixels
    EXPECT_EQ(model.MarginLeft(), 50);
    model.storage().MarginLeft = 772.5f;  // 51.5 pixels
    EXPECT_EQ(model.MarginLeft(), 52);
}

TEST(ChartModelMargins, StartValuesAndSavedRightMargin) {
    ChartModel model(15, 15);
    EXPECT_EQ(model.MarginTop(), 50);
    EXPECT_EQ(model.MarginBottom(), 55);
    EXPECT_EQ(model.MarginLeft(), 55);
    EXPECT_EQ(model.MarginRight(), 55);
    model.setMarginRight(70);
    EXPECT_FLOAT_EQ(model.savedRightMargin(), 1050);
    model.applyShowLegend(false, 2370, 2400);
    model.applyShowLegend(false, 2370, 2400);
    EXPECT_FLOAT_EQ(model.properties().MarginRight, 1050 + 2 * 2370) << "each show adds the width";
    model.restoreRightMargin();
    EXPECT_FLOAT_EQ(model.properties().MarginRight, 1050);
}

// ---- SelectedColumn ------------------------------------------------------------------------

TEST_F(ModelFixture, SelectingAnOrdinaryColumnRaisesItemClickWithItsItem) {
    model.AddItem(item(1, QStringLiteral("a")));
    model.AddItem(item(2, QStringLiteral("b")));
    model.setSelectedColumn(1);
    ASSERT_EQ(host.clicked.size(), 1u);
    EXPECT_EQ(host.clicked[0], model.item(1));
    EXPECT_EQ(host.redraws, 1);
    EXPECT_EQ(host.changed, QStringList{QStringLiteral("SelectedColumn")});
    model.setSelectedColumn(1);
    EXPECT_EQ(host.redraws, 1) << "the same column changes nothing";
}

TEST_F(ModelFixture, SelectingTheMeanColumnEndsWithoutSelectionOrEvent) {
    model.storage().MeanOn = true;
    model.AddItem(item(1));
    model.AddItem(item(3));
    model.setSelectedColumn(0);
    host.clicked.clear();
    host.selectedAtRedraw.clear();
    model.setSelectedColumn(2);
    EXPECT_EQ(model.SelectedColumn(), -1);
    EXPECT_TRUE(host.clicked.empty());
    EXPECT_EQ(host.selectedAtRedraw, std::vector<int>{-1})
        << "never drawn with the mean highlighted";
}

TEST_F(ModelFixture, ColumnOutsideTheListIsKeptWithoutItemClick) {
    model.AddItem(item(1));
    model.setSelectedColumn(7);
    EXPECT_EQ(model.SelectedColumn(), 7);
    EXPECT_TRUE(host.clicked.empty());
    model.setSelectedColumn(-1);
    EXPECT_TRUE(host.clicked.empty());
    model.setSelectedColumn(40000);
    EXPECT_EQ(model.SelectedColumn(), -1) << "beyond 16 bits is ignored";
}

// ---- Selection information -----------------------------------------------------------------

TEST_F(ModelFixture, InformationTextWithDefaultLabels) {
    model.storage().SelectionInformation = true;
    model.AddItem(item(12.5, QStringLiteral("x"), QStringLiteral("Twelve and a half")));
    EXPECT_EQ(model.selectionInfoText(0),
              QStringLiteral("Value: 12.5\r\nDescription: Twelve and a half"));
    EXPECT_EQ(model.InfoItems(), QStringLiteral("Value|Description|Mean"));
}

TEST_F(ModelFixture, InformationTextMeanLineFormatAndMissingLabels) {
    model.storage().SelectionInformation = true;
    model.storage().MeanOn = true;
    model.AddItem(item(1));
    model.AddItem(item(2, QStringLiteral("x"), QStringLiteral("two")));
    model.setDataFormat(QStringLiteral("0.00"));
    model.setInfoItems(QStringLiteral("V|D|M"));
    EXPECT_EQ(model.selectionInfoText(1), QStringLiteral("V: 2.00\r\nD: two\r\nM: 1.50"));
    EXPECT_EQ(model.selectionInfoText(2), QStringLiteral("V: 1.50\r\nD: Mean"))
        << "no mean line for the mean";
    model.setInfoItems(QStringLiteral("V"));
    EXPECT_FALSE(model.selectionInfoText(1).has_value()) << "a missing label hides the box";
    model.storage().SelectionInformation = false;
    EXPECT_FALSE(model.selectionInfoText(0).has_value());
}

// ---- Menus ---------------------------------------------------------------------------------

TEST_F(ModelFixture, MenuItemsOfTwoPartsSetSaveAndPrintOnly) {
    model.setMenuItems(QStringLiteral("Sa&ve chart|P&rint chart"));
    const auto& c = model.menu().captions;
    EXPECT_EQ(c[MenuSaveAs], QStringLiteral("Sa&ve chart"));
    EXPECT_EQ(c[MenuPrint], QStringLiteral("P&rint chart"));
    EXPECT_EQ(c[MenuCopy], QStringLiteral("Copy"));
    EXPECT_EQ(c[MenuSelectionInfo], QStringLiteral("Selection information"));
    EXPECT_EQ(c[MenuViewLegend], QStringLiteral("Display Legend"));
    EXPECT_EQ(c[MenuLegendHide], QStringLiteral("Hide"));
}

TEST_F(ModelFixture, EmptyMenuItemsAndEmptyPartsUseTheDefaultCaptions) {
    model.setMenuItems(QString());
    EXPECT_EQ(model.MenuItems(), kDefaultMenuItems);
    EXPECT_EQ(model.menu().captions[MenuLegendHide], QStringLiteral("&Hide"));
    model.setMenuItems(QStringLiteral("|Print|||Show|"));
    EXPECT_EQ(model.menu().captions[MenuSaveAs], QStringLiteral("&Save as..."));
    EXPECT_EQ(model.menu().captions[MenuViewLegend], QStringLiteral("Show"));
    EXPECT_EQ(model.menu().captions[MenuLegendHide], QStringLiteral("&Hide"));
}

TEST_F(ModelFixture, CustomMenuTakesTrimmedNonEmptyPartsUpToEight) {
    model.setCustomMenuItems(QStringLiteral("  First |   |  Third  "));
    const ChartMenuState& menu = model.menu();
    EXPECT_EQ(menu.customCaptions[0], QStringLiteral("First"));
    EXPECT_EQ(menu.customCaptions[1], QStringLiteral("Third"));
    EXPECT_TRUE(menu.customVisible[0]);
    EXPECT_TRUE(menu.customVisible[1]);
    EXPECT_FALSE(menu.customVisible[2]);
    EXPECT_TRUE(menu.customSeparatorVisible);

    model.setCustomMenuItems(QStringLiteral("1|2|3|4|5|6|7|8|9"));
    EXPECT_EQ(std::count(menu.customVisible.begin(), menu.customVisible.end(), true), 8);
    EXPECT_EQ(menu.customCaptions[7], QStringLiteral("8"));

    model.setCustomMenuItems(QStringLiteral("   "));
    EXPECT_EQ(std::count(menu.customVisible.begin(), menu.customVisible.end(), true), 0);
    EXPECT_FALSE(menu.customSeparatorVisible);
    EXPECT_EQ(host.customMenuBuilds, 3);
}

// ---- Persistence ---------------------------------------------------------------------------

ChartModel changedModel() {
    ChartModel m(15, 15);
    ChartProperties& p = m.storage();
    p.BackColor = RGB(240, 240, 240);
    p.BarColor = 9671679;
    p.InfoBackColor = 0x80000018u;
    p.ChartTitle = QStringLiteral("ORVO Broadband Usage Chart for Mar 2024");
    p.AxisLabelY = QStringLiteral("Megabytes");
    p.MenuItems = QStringLiteral("a|b\nc");
    p.BarSymbol = u'#';
    p.MarginTop = 812.5f;
    p.MaxY = 360.25;
    p.MinY = -0.1;
    p.IntersectMajor = 0.3f;
    p.BarWidthPercentage = 80;
    p.MinorGridOn = false;
    p.ChartType = 2 | 16;
    p.BarFillStyle = 0;
    p.SelectedColumn = 12;
    p.PrinterOrientation = 1;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(QColor(10, 20, 30));
    p.Picture = picture;
    return m;
}

TEST(ChartModelPersistence, EveryKeyIsWrittenAndReadsBackTheSame) {
    const ChartModel original = changedModel();
    PropertyBag bag;
    original.WriteProperties(bag);
    EXPECT_EQ(bag.count(), 66) << "65 properties and the foreground colour";
    ChartModel loaded(15, 15);
    loaded.ReadProperties(bag);
    PropertyBag again;
    loaded.WriteProperties(again);
    EXPECT_EQ(again, bag);
    EXPECT_EQ(loaded.properties().Picture.pixelColor(2, 1), QColor(10, 20, 30));
    EXPECT_EQ(bag.read(QStringLiteral("uTopMargin")), QStringLiteral("812.5"));
    EXPECT_EQ(bag.read(QStringLiteral("InfoBackColor")), QStringLiteral("2147483672"));
    EXPECT_EQ(bag.read(QStringLiteral("uAxisYOn")), QStringLiteral("True"));
}

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
    EXPECT_EQ(keys.size(), 66);
    EXPECT_EQ(keys.removeDuplicates(), 0);

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

TEST(ChartModelPersistence, LoadingAssignsStorageWithoutSetterRules) {
    ChartModel model(15, 15);
    RecordingHost host;
    model.setHost(&host);
    PropertyBag bag;
    bag.write(QStringLiteral("BARCOLOR"), QStringLiteral("255"));
    bag.write(QStringLiteral("barwidthpercentage"), QStringLiteral("100"));
    bag.write(QStringLiteral("BarSymbol"), QStringLiteral("xyz"));
    bag.write(QStringLiteral("uRightMargin"), QStringLiteral("900"));
    bag.write(QStringLiteral("PrinterOrientation"), QStringLiteral("7"));
    bag.write(QStringLiteral("BackColor"), QStringLiteral("-2147483643"));
    model.ReadProperties(bag);
    EXPECT_EQ(model.BarColor(), 255u) << "keys match without regard to case";
    EXPECT_EQ(model.BarSymbol(), QStringLiteral("x"));
    EXPECT_EQ(model.PrinterOrientation(), 7) << "no range rule while loading";
    EXPECT_EQ(model.BackColor(), 0x80000005u) << "signed form of a system colour";
    EXPECT_FLOAT_EQ(model.savedRightMargin(), 900);
    EXPECT_EQ(model.lastPickedColumn(), -1);
    EXPECT_EQ(host.redraws, 0);
    EXPECT_TRUE(host.changed.isEmpty());
}

TEST(ChartModelPersistence, MissingKeysTakeTheirIfMissingValues) {
    ChartModel model(15, 15);
    model.storage().AxisLabelX = QStringLiteral("kept");
    model.storage().AxisXOn = false;
    model.storage().ChartTitle = QStringLiteral("replaced");
    model.ReadProperties(PropertyBag());
    const ChartProperties& p = model.properties();
    EXPECT_EQ(p.BackColor, 0xFFFFFFu);
    EXPECT_EQ(p.BarColor, 0xFF0000u);
    EXPECT_EQ(p.SelectedBarColor, 0xFFFF00u);
    EXPECT_EQ(p.BarSymbolColor, 0xFFu);
    EXPECT_EQ(p.MeanColor, 0xFFFF00u);
    EXPECT_EQ(p.MajorGridColor, 0u);
    EXPECT_EQ(p.InfoBackColor, 0u);
    EXPECT_EQ(p.ChartTitle, QStringLiteral("XChart"));
    EXPECT_EQ(p.AxisLabelX, QStringLiteral("kept")) << "\"same\": the current value";
    EXPECT_FALSE(p.AxisXOn);
    EXPECT_EQ(p.LegendCaption, QString());
    EXPECT_FLOAT_EQ(p.MarginTop, 55) << "55 twips, not pixels";
    EXPECT_EQ(p.ChartType, 0);
    EXPECT_EQ(p.BarFillStyle, 0);
    EXPECT_EQ(p.PrinterOrientation, 0);
    EXPECT_EQ(p.SelectedColumn, -1);
    EXPECT_EQ(p.BarSymbol, u'*');
    EXPECT_TRUE(p.Picture.isNull());
}

TEST(ChartModelPersistence, UnreadableValuesTakeTheIfMissingValue) {
    ChartModel model(15, 15);
    PropertyBag bag;
    bag.write(QStringLiteral("LineWidth"), QStringLiteral("wide"));
    bag.write(QStringLiteral("uSelectedColumn"), QStringLiteral("99999"));
    bag.write(QStringLiteral("MeanOn"), QStringLiteral("-1"));
    model.ReadProperties(bag);
    EXPECT_EQ(model.LineWidth(), 1);
    EXPECT_EQ(model.SelectedColumn(), -1);
    EXPECT_TRUE(model.MeanOn()) << "-1 is True";
}

TEST(ChartModelPersistence, ResultWindowFormHoldsTheStartValues) {
    const PropertyBag stored = StoredForm::load(storedFormPath(QStringLiteral("frmResult")))
                                   .bag(QStringLiteral("XChart1"));
    ASSERT_FALSE(stored.isEmpty());
    ChartModel fresh(15, 15);
    fresh.storage().MenuItems = kDefaultMenuItems;
    PropertyBag expected;
    fresh.WriteProperties(expected);
    ChartModel loaded(15, 15);
    loaded.ReadProperties(stored);
    PropertyBag actual;
    loaded.WriteProperties(actual);
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(stored.count(), expected.count()) << "the form lists every key";
}

}  // namespace
