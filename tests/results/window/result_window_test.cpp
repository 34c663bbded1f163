// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The result window driven offscreen with the sample month, as the main window drives it: the
// report builder fills it, the dialogs seam answers for the user, and the widgets are clicked.
// The report view here is the plain one (no browser engine); report_view_test has the engine.

#include "support/month_on_screen.h"

#include "chart/xchart.h"
#include "controls/numeric_edit_box.h"
#include "controls/tab_strip.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "results/window/chart_tab.h"
#include "results/window/colour_box.h"
#include "results/window/forecast_frame.h"
#include "results/window/report_tab.h"
#include "results/window/summary_page.h"
#include "results/window/usage_bar.h"

#include "support/file_faults.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <optional>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace kestrova::testing {
namespace {

using L = SummaryLabel;

// Table rows print as their names in the test list.
template <typename Row>
requires requires(const Row& r) {
    r.name;
}
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class ResultWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        // Every test starts from an empty settings store.
        QSettings(SettingsStore().fileName(), QSettings::IniFormat).clear();
    }

    QString inFolder(const QString& name) const { return folder.filePath(name); }

    RecordingDialogs dialogs;
    ScopedDialogs seam{dialogs};
    QTemporaryDir folder;
};

// --- The window and its hand-over ---------------------------------------------------------------

// Free usage is excluded by default and the unlimited kind cannot include it; the chart still
// draws each day's usage, and hovering a column shows its description as the tool tip.
TEST_F(ResultWindowTest, TheUnlimitedKindsChartDrawsItsUsageAsFree) {
    MonthOnScreen m({}, PlanKind::Unlimited);
    EXPECT_TRUE(m.state.display.excludeFree);
    const ChartModel& model = m.window->chartGroup()->xChart()->model();
    ASSERT_EQ(model.itemCount(), 31);
    EXPECT_EQ(model.item(30)->legendDescription,
              QStringLiteral("Total:658.53 MB (NF:0 MB  + F:658.53 MB)"));
    m.window->chartGroup()->xChart()->model().setSelectedColumn(29);
    EXPECT_EQ(m.window->chartGroup()->xChart()->toolTip(), model.item(29)->legendDescription);
}

TEST_F(ResultWindowTest, ShowOutputPutsTheStoredOptionsInWithoutRebuilding) {
    MonthOnScreen m;
    DisplaySettings& d = m.state.display;
    d.excludeFree = false;
    d.excludeMixed = true;
    d.excludeNonFree = true;
    d.showTotalValue = true;
    d.showAverage = true;
    d.colorNonFree = RGB(1, 2, 3);
    d.colorBackNonFree = RGB(4, 5, 6);
    d.chartColorFree = RGB(7, 8, 9);
    d.chartColorNonFree = RGB(10, 11, 12);
    d.inbuiltChartColor = RGB(13, 14, 15);
    const int rebuilds = m.host.writeOutputs;
    ResultWindow& w = *m.window;
    w.prepareToShow();

    EXPECT_EQ(m.host.writeOutputs, rebuilds) << "the check boxes changed nothing while filled";
    EXPECT_FALSE(w.flags().disableRefreshing);
    EXPECT_FALSE(w.excludeCheck(0)->isChecked());
    EXPECT_TRUE(w.excludeCheck(1)->isChecked());
    EXPECT_TRUE(w.excludeCheck(2)->isChecked());
    EXPECT_TRUE(w.chartGroup()->displayDailyTotalinChartCheck()->isChecked());
    EXPECT_TRUE(w.chartGroup()->showAverageInChartCheck()->isChecked());
    EXPECT_EQ(w.reportGroup()->setColorLabel(2)->foreColor(), RGB(1, 2, 3));
    EXPECT_EQ(w.reportGroup()->setColorLabel(2)->backColor(), RGB(4, 5, 6));
    EXPECT_EQ(w.chartGroup()->chartColorBox(0)->backColor(), RGB(7, 8, 9));
    EXPECT_EQ(w.chartGroup()->chartColorBox(2)->backColor(), RGB(10, 11, 12));
    EXPECT_EQ(w.chartGroup()->builtInChartColorBox()->backColor(), RGB(13, 14, 15));
}

struct FreeUsageCase {
    const char* name;
    PlanKind planKind;
    bool nightTicked;
    bool freeControls;  // the Free/Mixed row colours, the Free chart colour, exclude 0 and 2
};

class FreeUsageControls : public ResultWindowTest,
                          public ::testing::WithParamInterface<FreeUsageCase> {};

TEST_P(FreeUsageControls, AreThereOnlyForTheNightUnlimitedKindAndPlan) {
    const FreeUsageCase c = GetParam();
    MonthOnScreen m({}, c.planKind);
    m.state.display.nightUnlimitedPlan = c.nightTicked;
    ResultWindow& w = *m.window;
    w.prepareToShow();
    EXPECT_EQ(w.nightUnlimitedCheck()->isChecked(), c.nightTicked);
    EXPECT_EQ(!w.reportGroup()->setColorLabel(0)->isHidden(), c.freeControls);
    EXPECT_EQ(!w.reportGroup()->setColorLabel(1)->isHidden(), c.freeControls);
    EXPECT_EQ(!w.chartGroup()->chartColorBox(0)->isHidden(), c.freeControls);
    EXPECT_EQ(w.excludeCheck(0)->isEnabled(), c.freeControls);
    EXPECT_EQ(w.excludeCheck(2)->isEnabled(), c.freeControls);
    // The night frame stands on the Chart tab of the night-unlimited kind only.
    EXPECT_TRUE(w.nightUnlimitedGroup()->isHidden()) << "hidden by the load";
    w.tabStrip()->setSelectedTab(2);
    EXPECT_EQ(!w.nightUnlimitedGroup()->isHidden(), c.planKind == PlanKind::NightUnlimited);
    w.tabStrip()->setSelectedTab(3);
    EXPECT_TRUE(w.nightUnlimitedGroup()->isHidden());
}

INSTANTIATE_TEST_SUITE_P(
    PlanKinds, FreeUsageControls,
    ::testing::Values(FreeUsageCase{"LimitedPlan", PlanKind::Limited, false, false},
                      FreeUsageCase{"LimitedPlanNightOptionStored", PlanKind::Limited, true, false},
                      FreeUsageCase{"NightKindNotTicked", PlanKind::NightUnlimited, false, false},
                      FreeUsageCase{"NightKindTicked", PlanKind::NightUnlimited, true, true},
                      FreeUsageCase{"UnlimitedPlan", PlanKind::Unlimited, true, false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ResultWindowTest, AnExcludeBoxRebuildsTheReportAndNonFreeLeavesTheUsageSeriesOut) {
    MonthOnScreen m({}, PlanKind::NightUnlimited);
    ResultWindow& w = *m.window;
    w.nightUnlimitedCheck()->click();
    ASSERT_TRUE(m.state.display.nightUnlimitedPlan);
    ASSERT_TRUE(chartDataText(m.state, false).contains(QStringLiteral("\r\nUsage\t")));
    const int rebuilds = m.host.writeOutputs;
    w.excludeCheck(2)->click();
    EXPECT_TRUE(m.state.display.excludeNonFree);
    EXPECT_EQ(m.host.writeOutputs, rebuilds + 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone again";
    EXPECT_FALSE(chartDataText(m.state, false).contains(QStringLiteral("Usage")));
    // Unticking the night plan lets non-free usage back in.
    w.nightUnlimitedCheck()->click();
    EXPECT_FALSE(m.state.display.excludeNonFree);
    EXPECT_TRUE(chartDataText(m.state, false).contains(QStringLiteral("\r\nUsage\t")));
    w.excludeCheck(1)->click();
    EXPECT_TRUE(m.state.display.excludeMixed);
}

// --- Row colours --------------------------------------------------------------------------------

struct ButtonCase {
    const char* name;
    Qt::MouseButton button;
    bool asksForColour;
    bool chosen;      // the dialog answers with a colour, else it is cancelled
    bool textColour;  // else the background, when one is chosen
};

class RowColourButtons : public ResultWindowTest,
                         public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(RowColourButtons, LeftSetsTheTextColourRightTheBackgroundOthersNothing) {
    const ButtonCase c = GetParam();
    MonthOnScreen m;
    RowColourLabel* text = m.window->reportGroup()->setColorLabel(2);
    const int rebuilds = m.host.writeOutputs;
    if (c.chosen) {
        dialogs.colors.push_back(RGB(0, 128, 0));
    }
    QTest::mouseClick(text, c.button);

    const DisplaySettings& d = m.state.display;
    const bool changed = c.asksForColour && c.chosen;
    EXPECT_EQ(dialogs.colorRequests.size(), c.asksForColour ? 1u : 0u);
    EXPECT_EQ(m.host.writeOutputs, rebuilds + (changed ? 1 : 0));
    EXPECT_EQ(d.colorNonFree, changed && c.textColour ? RGB(0, 128, 0) : 0u);
    EXPECT_EQ(d.colorBackNonFree, changed && !c.textColour ? RGB(0, 128, 0) : 15395583u);
    EXPECT_EQ(text->backColor(), d.colorBackNonFree);
    const QString page = m.window->reportGroup()->webBrowser()->shownPage();
    EXPECT_EQ(page.contains(u"#008000"), changed) << "the shown page has the new colour";
    if (c.asksForColour) {
        EXPECT_EQ(dialogs.colorRequests[0].initial, c.textColour ? 0u : 15395583u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, RowColourButtons,
    ::testing::Values(ButtonCase{"Left", Qt::LeftButton, true, true, true},
                      ButtonCase{"Right", Qt::RightButton, true, true, false},
                      ButtonCase{"RightCancelled", Qt::RightButton, true, false, false},
                      ButtonCase{"MiddleOpensNothing", Qt::MiddleButton, false, true, false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ResultWindowTest, RowColourLabelsTakeTheKeyboard) {
    MonthOnScreen m;
    RowColourLabel* text = m.window->reportGroup()->setColorLabel(2);
    dialogs.colors = {RGB(1, 1, 1), RGB(2, 2, 2)};
    QTest::keyClick(text, Qt::Key_Space);
    QTest::keyClick(text, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(text->foreColor(), RGB(1, 1, 1));
    EXPECT_EQ(text->backColor(), RGB(2, 2, 2));
}

// --- Save and export ----------------------------------------------------------------------------

// The save prompt suggests a name from the report's month and leaves the folder to the
// dialog (the last one used; at first Documents): it once opened on an empty name in the
// process's working folder. Cancelled, it writes nothing.
TEST_F(ResultWindowTest, TheSavePromptSuggestsANameFromTheReportsMonthAndCancelWritesNothing) {
    MonthOnScreen m;
    dialogs.fileNames = {std::nullopt};
    m.window->reportGroup()->exportButton()->click();
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].defaultName, QStringLiteral("usage-2026-11.csv"));
    EXPECT_TRUE(dialogs.saveRequests[0].initialDirectory.isEmpty());
    EXPECT_TRUE(dialogs.messages.empty()) << "cancelled: nothing written, nothing said";
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    // A report without records names no month.
    MonthOnScreen empty({}, PlanKind::Limited, QString());
    dialogs.fileNames = {std::nullopt};
    empty.window->reportGroup()->saveButton()->click();
    EXPECT_EQ(dialogs.saveRequests.back().defaultName, QStringLiteral("usage.htm"));
}

struct OverwriteCase {
    const char* name;
    bool save;  // saveButton, else exportButton
    MessageAnswer answer;
    bool overwritten;
};

class OverwriteQuestion : public ResultWindowTest,
                          public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(OverwriteQuestion, NoKeepsTheOldFile) {
    const OverwriteCase c = GetParam();
    MonthOnScreen m;
    const QString file = inFolder(c.save ? QStringLiteral("old.htm") : QStringLiteral("old.csv"));
    ASSERT_TRUE(test::writeFile(file, "old content"));
    dialogs.fileNames.push_back(file);
    dialogs.answers.push_back(c.answer);
    (c.save ? m.window->reportGroup()->saveButton() : m.window->reportGroup()->exportButton())
        ->click();

    ASSERT_FALSE(dialogs.messages.empty());
    const Message& question = dialogs.messages[0];
    EXPECT_EQ(question.text, QStringLiteral("File Already exist. So you want to overwrite ?"));
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.defaultAnswer, MessageAnswer::No);
    EXPECT_EQ(test::readFile(file) == "old content", !c.overwritten);
    if (c.save && c.overwritten) {
        EXPECT_EQ(QString::fromLatin1(test::readFile(file)),
                  m.window->reportGroup()->webBrowser()->shownPage());
        EXPECT_EQ(dialogs.messages.back().text, QStringLiteral("File saved successfully"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, OverwriteQuestion,
    ::testing::Values(OverwriteCase{"SaveNo", true, MessageAnswer::No, false},
                      OverwriteCase{"SaveYes", true, MessageAnswer::Yes, true},
                      OverwriteCase{"ExportNo", false, MessageAnswer::No, false},
                      OverwriteCase{"ExportYes", false, MessageAnswer::Yes, true}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ResultWindowTest, AFailedSaveIsNotReportedAsSaved) {
    MonthOnScreen m;
    dialogs.fileNames.push_back(inFolder(QStringLiteral("no-such-folder/report")));
    m.window->reportGroup()->saveButton()->click();
    ASSERT_EQ(dialogs.messages.size(), 1u) << "SaveFileData's own message only";
    EXPECT_NE(dialogs.messages[0].text, QStringLiteral("File saved successfully"));
}

// A cleared report has no listing: Export says so before asking for a name, and Save writes
// the blank page the view shows.
TEST_F(ResultWindowTest, AClearedReportHasNothingToExportAndSavesTheBlankPage) {
    MonthOnScreen m;
    m.window->clearReport();
    m.window->reportGroup()->exportButton()->click();
    EXPECT_TRUE(dialogs.saveRequests.empty());
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("There is no report to export")});
    const QString file = inFolder(QStringLiteral("blank.htm"));
    dialogs.fileNames.push_back(file);
    m.window->reportGroup()->saveButton()->click();
    EXPECT_EQ(test::readFile(file), QByteArray("<html><head></head><body></body></html>"));
}

// On a full disk the old file stays whole, nothing new is left beside it, and the system's
// reason is shown, never "File saved successfully".
TEST_F(ResultWindowTest, SaveAndExportOnAFullDiskKeepTheOldFileAndSaySo) {
    kestrova::testing::ScopedTmpfs disk("12k");
    if (!disk.mounted()) {
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    }
    MonthOnScreen m;
    const QByteArray before(3000, 'x');
    for (const char* name : {"report.htm", "listing.csv"}) {
        SCOPED_TRACE(name);
        const QString file = disk.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(test::writeFile(file, before));
        dialogs.messages.clear();
        dialogs.fileNames.push_back(file);
        dialogs.answers.push_back(MessageAnswer::Yes);  // overwrite
        (file.endsWith(QStringLiteral(".htm")) ? m.window->reportGroup()->saveButton()
                                               : m.window->reportGroup()->exportButton())
            ->click();
        ASSERT_EQ(dialogs.messages.size(), 2u) << dialogs.texts().join(u'|').toStdString();
        EXPECT_EQ(dialogs.messages[1].text, file + QStringLiteral(": No space left on device"));
        EXPECT_EQ(test::readFile(file), before);
        QFile::remove(file);
        EXPECT_TRUE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
}

// --- Chart tab ----------------------------------------------------------------------------------

struct Factory {
    int calls = 0;
    bool fail = false;
    FakeOfficeChart* last = nullptr;
    int destroyed = 0;

    OfficeChartFactory make() {
        return [this](const QString& className, QWidget* parent) -> std::unique_ptr<OfficeChart> {
            ++calls;
            EXPECT_EQ(className, QStringLiteral("MSGRAPH"));
            if (fail) {
                throw Failure(QStringLiteral("Class not registered"));
            }
            auto chart = std::make_unique<FakeOfficeChart>(parent);
            last = chart.get();
            QObject::connect(chart->widget(), &QObject::destroyed, [this] { ++destroyed; });
            return chart;
        };
    }
};

ResultWindowOptions withOfficeChart(Factory& factory) {
    ResultWindowOptions options;
    options.officeChart = factory.make();
    return options;
}

// The "charteditable" marker in the program's folder turns on the object's own editing menu.
TEST_F(ResultWindowTest, ChartTypeTwoDrawsTheOfficeChartOnce) {
    const QString marker = inProgramFolder(programFolder(), QStringLiteral("charteditable"));
    ASSERT_TRUE(test::writeFile(marker, QByteArray()));
    Factory factory;
    MonthOnScreen m(withOfficeChart(factory));
    ChartTabFrame* chart = m.window->chartGroup();
    m.window->tabStrip()->setSelectedTab(2);
    chart->chartTypeCombo()->setCurrentIndex(1);
    QFile::remove(marker);

    ASSERT_EQ(factory.calls, 1);
    FakeOfficeChart& office = *factory.last;
    EXPECT_TRUE(office.autoVerbMenu());
    EXPECT_TRUE(chart->builtinChartOptionsGroup()->isHidden());
    EXPECT_FALSE(chart->chartColorsGroup()->isHidden());
    EXPECT_TRUE(chart->msGraphNotfoundLabel()->isHidden());
    EXPECT_EQ(office.title, QStringLiteral("ORVO Broadband Usage Chart for period 01-11-2026 TO "
                                           "30-11-2026"));
    EXPECT_EQ(office.data, chartDataText(m.state, false)) << "without the average column";
    EXPECT_GE(office.updates, 1);
    ASSERT_EQ(office.seriesColours.size(), 1u);
    EXPECT_EQ(office.seriesColours[0],
              std::make_pair(QStringLiteral("Usage"), m.state.display.chartColorNonFree));
    EXPECT_EQ(office.size, chart->officeChartHost()->size());

    // Back and forth again: fed again, never made again.
    chart->chartTypeCombo()->setCurrentIndex(0);
    EXPECT_FALSE(chart->xChart()->isHidden());
    chart->chartTypeCombo()->setCurrentIndex(1);
    EXPECT_EQ(factory.calls, 1);
    // The main window's refeed reaches the running object.
    office.data.clear();
    m.state.display.showAverage = true;
    m.builder->writeOutput();
    EXPECT_EQ(office.data, chartDataText(m.state, true));
}

struct FailingChartCase {
    const char* name;
    bool noFactory;
};

class OfficeChartMissing : public ResultWindowTest,
                           public ::testing::WithParamInterface<FailingChartCase> {};

TEST_P(OfficeChartMissing, ShowsTheDesignedLabelAndTriesNoMore) {
    Factory factory;
    factory.fail = true;
    MonthOnScreen m(GetParam().noFactory ? ResultWindowOptions{} : withOfficeChart(factory));
    ChartTabFrame* chart = m.window->chartGroup();
    chart->chartTypeCombo()->setCurrentIndex(1);

    EXPECT_FALSE(chart->msGraphNotfoundLabel()->isHidden());
    EXPECT_EQ(chart->msGraphNotfoundLabel()->text(),
              QStringLiteral("Microsoft Office is required for displaying Chart type 2."));
    EXPECT_FALSE(m.window->flags().graphInitialised);
    EXPECT_TRUE(chart->xChart()->isHidden());
    EXPECT_EQ(chart->officeChart(), nullptr);
    EXPECT_TRUE(dialogs.messages.empty()) << "the office chart fails without a message";

    chart->chartTypeCombo()->setCurrentIndex(0);
    chart->chartTypeCombo()->setCurrentIndex(1);
    EXPECT_EQ(factory.calls, GetParam().noFactory ? 0 : 1);
    // Copying chart type 2 without an object copies nothing, and says so.
    chart->copyChartButton()->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, kChartNotCopied);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);
}

INSTANTIATE_TEST_SUITE_P(Failures, OfficeChartMissing,
                         ::testing::Values(FailingChartCase{"FactoryThrows", false},
                                           FailingChartCase{"NoFactory", true}),
                         [](const auto& p) { return std::string(p.param.name); });

struct StoredTypeCase {
    const char* name;
    int stored;
    int index;
};

class TabChange : public ResultWindowTest, public ::testing::WithParamInterface<StoredTypeCase> {};

TEST_P(TabChange, ReappliesTheStoredChartType) {
    const StoredTypeCase c = GetParam();
    Factory factory;
    MonthOnScreen m(withOfficeChart(factory));
    m.state.display.chartType = c.stored;
    m.window->tabStrip()->setSelectedTab(2);
    EXPECT_EQ(m.window->chartGroup()->chartTypeCombo()->currentIndex(), c.index);
    EXPECT_EQ(m.state.display.chartType, c.index);
    EXPECT_EQ(factory.calls, c.index == 1 ? 1 : 0) << "the Click ran once, not twice";
    EXPECT_EQ(m.window->chartGroup()->xChart()->isHidden(), c.index == 1);
    if (factory.last) {
        EXPECT_FALSE(factory.last->autoVerbMenu()) << "no charteditable marker";
    }
}

INSTANTIATE_TEST_SUITE_P(StoredTypes, TabChange,
                         ::testing::Values(StoredTypeCase{"BuiltIn", 0, 0},
                                           StoredTypeCase{"OfficeChart", 1, 1},
                                           StoredTypeCase{"UnknownCountsAsBuiltIn", 7, 0}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(ResultWindowTest, SeriesColoursAndTheAverageReachTheOfficeChart) {
    Factory factory;
    MonthOnScreen m(withOfficeChart(factory));
    ChartTabFrame* chart = m.window->chartGroup();
    chart->chartTypeCombo()->setCurrentIndex(1);
    FakeOfficeChart& office = *factory.last;
    office.seriesColours.clear();

    dialogs.colors = {RGB(9, 9, 9), RGB(8, 8, 8)};
    QTest::mouseClick(chart->chartColorBox(2), Qt::LeftButton);
    EXPECT_EQ(m.state.display.chartColorNonFree, RGB(9, 9, 9));
    ASSERT_EQ(office.seriesColours.size(), 1u);
    EXPECT_EQ(office.seriesColours[0].second, RGB(9, 9, 9));
    QTest::mouseClick(chart->chartColorBox(1), Qt::LeftButton);  // the mixed box: itself only
    EXPECT_EQ(chart->chartColorBox(1)->backColor(), RGB(8, 8, 8));
    EXPECT_EQ(office.seriesColours.size(), 1u);
    chart->showAverageInChartCheck()->click();
    EXPECT_EQ(office.data, chartDataText(m.state, true));
}

// Once, with the night-unlimited box ticked and free usage shown while the plan type charges
// everything (so the data hold no "Free" series), colouring that series failed and ended the
// formatting before the data table: chart type 2 kept drawing the values on every bar whatever
// "Show Total" said. A series the data do not hold is now left uncoloured and the rest goes on.
TEST_F(ResultWindowTest, ShowTotalRulesTheOfficeChartsValuesWithoutAFreeSeries) {
    Factory factory;
    MonthOnScreen m(withOfficeChart(factory));  // the limited plan type: no "Free" series
    // As an earlier check on the night-unlimited plan type left the options.
    m.state.display.nightUnlimitedPlan = true;
    m.state.display.excludeFree = false;
    m.window->prepareToShow();
    ChartTabFrame* chart = m.window->chartGroup();
    chart->chartTypeCombo()->setCurrentIndex(1);
    FakeOfficeChart& office = *factory.last;
    ASSERT_FALSE(office.data.contains(QStringLiteral("\r\nFree\t")));
    ASSERT_FALSE(chart->displayDailyTotalinChartCheck()->isChecked());
    EXPECT_FALSE(office.dataTable);
    for (const bool ticked : {true, false, true, false}) {
        chart->displayDailyTotalinChartCheck()->click();
        EXPECT_EQ(office.dataTable, ticked);
    }
    // The series the data hold still get their colour.
    EXPECT_FALSE(office.seriesColours.empty());
    EXPECT_EQ(office.seriesColours.back().first, QStringLiteral("Usage"));
}

struct CopyCase {
    const char* name;
    int chartType;
    bool drawsNothing;  // the office chart object puts no picture on the clipboard
};

class CopyChart : public ResultWindowTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopyChart, CopiesTheShownChartAndSaysSoOrSaysItCouldNot) {
    const CopyCase c = GetParam();
    Factory factory;
    MonthOnScreen m(withOfficeChart(factory));
    ChartTabFrame* chart = m.window->chartGroup();
    chart->chartTypeCombo()->setCurrentIndex(c.chartType);
    if (factory.last) {
        factory.last->cannotDraw = c.drawsNothing;
    }
    QApplication::clipboard()->clear();
    chart->copyChartButton()->click();

    EXPECT_EQ(QApplication::clipboard()->image().isNull(), c.drawsNothing);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    if (c.drawsNothing) {
        EXPECT_EQ(dialogs.messages[0].text, kChartNotCopied);
    } else {
        EXPECT_EQ(dialogs.messages[0],
                  Message(QStringLiteral("Chart is copied to clipboard. You can now paste it into "
                                         "any graphical application(like paintbrush)")));
    }
}

INSTANTIATE_TEST_SUITE_P(Types, CopyChart,
                         ::testing::Values(CopyCase{"BuiltIn", 0, false},
                                           CopyCase{"OfficeChartDrawsNothing", 1, true}),
                         [](const auto& p) { return std::string(p.param.name); });

// The office chart object goes when the window closes. Opening the window again on the Chart
// tab with chart type 2 once left officeChartHost empty until a tab was clicked, and "Copy chart.."
// then claimed a copy of nothing.
TEST_F(ResultWindowTest, ChartTypeTwoIsThereWhenTheWindowOpensAgainOnTheChartTab) {
    Factory factory;
    MonthOnScreen m(withOfficeChart(factory));
    ResultWindow& w = *m.window;
    w.tabStrip()->setSelectedTab(2);
    w.chartGroup()->chartTypeCombo()->setCurrentIndex(1);
    w.show();
    QTest::keyClick(&w, Qt::Key_Escape);
    ASSERT_FALSE(w.isVisible());
    ASSERT_EQ(w.chartGroup()->officeChart(), nullptr);
    EXPECT_EQ(factory.destroyed, 1);
    EXPECT_FALSE(w.flags().graphInitialised);

    // Show Usage again: the main window's hand-over, then the window.
    m.builder->grabbingFinished();
    m.builder->writeOutput();
    w.prepareToShow();
    w.show();
    EXPECT_EQ(factory.calls, 2);
    auto* office = w.chartGroup()->officeChart();
    ASSERT_NE(office, nullptr);
    QWidget* officeWidget = office->widget();
    ASSERT_NE(officeWidget, nullptr);
    EXPECT_TRUE(officeWidget->isVisible());
    EXPECT_TRUE(w.flags().graphInitialised);
    EXPECT_EQ(factory.last->data, chartDataText(m.state, false));

    QApplication::clipboard()->clear();
    w.chartGroup()->copyChartButton()->click();
    EXPECT_EQ(factory.last->copies, 1);
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("Chart is copied")));
    w.done(0);
}

// --- Summary tab --------------------------------------------------------------------------------

// Retyping the custom plan's allowance, the emptied box waits for a figure (it would turn to
// 1 MB under the user's fingers); a typed 0 turns to 1.
TEST_F(ResultWindowTest, AZeroAllowanceTurnsTheBoxToOneButAnEmptyBoxWaits) {
    MonthOnScreen m;
    SummaryTabFrame* s = m.window->summaryGroup();
    s->plansCombo()->setCurrentIndex(s->plansCombo()->count() - 1);
    QLineEdit* allowance = s->editBox(PlanEditBox::BandWidthLimitEdit)->lineEdit();
    allowance->selectAll();
    QTest::keyClick(allowance, Qt::Key_Backspace);
    EXPECT_EQ(allowance->text(), QString());
    QTest::keyClick(allowance, '0');
    EXPECT_EQ(allowance->text(), QStringLiteral("1"));
    EXPECT_EQ(s->figureLabel(L::ExcessBandwidthLabel)->text(), QStringLiteral("19755.000 MB"));
}

TEST_F(ResultWindowTest, ThePlanSettingsSurviveClosingAndReopening) {
    {
        MonthOnScreen m;
        SummaryTabFrame* s = m.window->summaryGroup();
        s->plansCombo()->setCurrentIndex(29);
        s->editBox(PlanEditBox::PlanChargeEdit)->setValue(777);
        s->editBox(PlanEditBox::RsPerMBEdit)->setValue(1.5);
        m.window->open();
        QTest::keyClick(m.window.get(), Qt::Key_Escape);  // closes like "&Close"
        EXPECT_FALSE(m.window->isLoaded());
        EXPECT_FALSE(m.window->isVisible());

        // The same window used again loads again.
        m.window->prepareToShow();
        EXPECT_TRUE(m.window->isLoaded());
        EXPECT_EQ(s->plansCombo()->currentIndex(), 29);
        EXPECT_EQ(s->editBox(PlanEditBox::PlanChargeEdit)->value(), 777);
        s->plansCombo()->setCurrentIndex(5);
        m.window->closeButton()->click();
    }
    MonthOnScreen again;
    SummaryTabFrame* s = again.window->summaryGroup();
    EXPECT_EQ(s->plansCombo()->currentIndex(), 5);
    EXPECT_EQ(s->editBox(PlanEditBox::PlanChargeEdit)->value(), 777);
    EXPECT_EQ(s->editBox(PlanEditBox::RsPerMBEdit)->value(), 1.5);
    EXPECT_EQ(s->figureLabel(L::PlanChargeLabel)->text(), QStringLiteral("Rs  600"));
}

// The forecast's daily budget made the right column one row taller, and the notes' row below
// both columns then pushed the tab into scrolling at the design size. The notes stand at the
// foot of the left column; in one column they come last.
TEST_F(ResultWindowTest, AtTheDesignSizeTheSummaryWithItsForecastNeedsNoScrolling) {
    ResultWindowOptions options;
    options.clock = [] { return QDate(2026, 11, 30); };  // the "today" fields and footnote too
    MonthOnScreen m(std::move(options));
    ResultWindow& w = *m.window;
    w.resize(800, 600);
    w.show();
    w.tabStrip()->setSelectedTab(3);
    SummaryTabFrame* s = w.summaryGroup();
    s->plansCombo()->setCurrentIndex(1);  // an excess, the forecast with its budget
    QApplication::processEvents();
    ASSERT_FALSE(s->forecastGroup()->value(QStringLiteral("lblForecastDailyBudget"))->isHidden());
    auto* scroll = s->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0);

    w.resize(w.minimumSize());  // one column: the notes after the forecast
    QApplication::processEvents();
    auto* note = s->findChild<QLabel*>(QStringLiteral("lblSummaryNote"));
    EXPECT_GT(note->mapTo(s, QPoint()).y(), s->forecastGroup()->mapTo(s, QPoint()).y());
}

// --- Keyboard and layout ------------------------------------------------------------------------

TEST_F(ResultWindowTest, EnterInAPlanBoxPressesNoButton) {
    MonthOnScreen m;
    ResultWindow& w = *m.window;
    w.tabStrip()->setSelectedTab(3);
    w.summaryGroup()->plansCombo()->setCurrentIndex(29);
    w.open();
    QApplication::setActiveWindow(&w);
    QLineEdit* box = w.summaryGroup()->editBox(PlanEditBox::PlanChargeEdit)->lineEdit();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(w.summaryGroup()->plansCombo(), Qt::Key_Return);
    EXPECT_TRUE(dialogs.saveRequests.empty());
    EXPECT_TRUE(w.isVisible());
    w.closeButton()->setFocus();
    QTest::keyClick(w.closeButton(), Qt::Key_Return);
    EXPECT_FALSE(w.isVisible()) << "Enter on a focused button presses it";
}

// The window opens with the focus on its tab strip, which now shows it; Ctrl+Tab and
// Ctrl+PageDown reach the tabs.
TEST_F(ResultWindowTest, TheKeyboardReachesEachTab) {
    MonthOnScreen m;
    ResultWindow& w = *m.window;
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(QApplication::focusWidget(), w.tabStrip());
    const QImage focused = w.tabStrip()->grab().toImage();
    w.closeButton()->setFocus();
    EXPECT_NE(w.tabStrip()->grab().toImage(), focused) << "the focus rectangle on the tab";
    w.tabStrip()->setFocus();

    QTest::keyClick(&w, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w.tabStrip()->selectedTab(), 2);
    QTest::keyClick(&w, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(w.tabStrip()->selectedTab(), 3);
    QTest::keyClick(&w, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(w.tabStrip()->selectedTab(), 1);
    // Backwards: Ctrl+Shift+Tab, whichever key the platform names it by (X11 sends Backtab).
    QTest::keyClick(&w, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.tabStrip()->selectedTab(), 3);
    QTest::keyClick(&w, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.tabStrip()->selectedTab(), 2);
    QTest::keyClick(&w, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(w.tabStrip()->selectedTab(), 1);

    // A caption's mnemonic puts the focus on its colour box, which shows it.
    w.tabStrip()->setSelectedTab(2);
    ColourBox* box = w.chartGroup()->builtInChartColorBox();
    const QImage unfocused = box->grab().toImage();
    QTest::keyClick(&w, Qt::Key_B, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == box; }, 5000));
    EXPECT_NE(box->grab().toImage(), unfocused) << "the focus rectangle on the box";
}

// The colour boxes and row colour labels exposed no names or values, and the usage bar was
// three unnamed frames. Each colour is a button named by its caption whose value is its colour;
// pressing it opens the colour dialog once the action has answered (a modal prompt inside the
// call left a screen reader waiting), and a row colour label's menu action sets the
// background. The bar is a progress bar whose value is the share of the allowance used.
TEST_F(ResultWindowTest, AScreenReaderReadsTheColoursAndTheUsageBar) {
    MonthOnScreen m;
    ResultWindow& w = *m.window;
    w.show();
    w.tabStrip()->setSelectedTab(2);
    QAccessibleInterface* bar =
        QAccessible::queryAccessibleInterface(w.chartGroup()->builtInChartColorBox());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::Button);
    EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("Bar Color"));
    EXPECT_EQ(bar->text(QAccessible::Value),
              QStringLiteral("#FF9393 (red 255, green 147, blue 147)"));
    EXPECT_EQ(bar->text(QAccessible::Description), QStringLiteral("Click to set Colour"));
    dialogs.colors.push_back(RGB(0, 0, 200));
    bar->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(dialogs.colorRequests.empty()) << "asked inside the action";
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.colorRequests.size(), 1u);
    EXPECT_EQ(dialogs.colorRequests[0].initial, 9671679u);
    EXPECT_EQ(bar->text(QAccessible::Value), QStringLiteral("#0000C8 (red 0, green 0, blue 200)"));
    EXPECT_EQ(m.state.display.inbuiltChartColor, RGB(0, 0, 200));
    EXPECT_EQ(w.chartGroup()->xChart()->model().barColor(), RGB(0, 0, 200)) << "rebuilt";

    w.tabStrip()->setSelectedTab(1);
    QAccessibleInterface* text =
        QAccessible::queryAccessibleInterface(w.reportGroup()->setColorLabel(2));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->role(), QAccessible::Button);
    EXPECT_EQ(text->text(QAccessible::Name), QStringLiteral("Text"));
    EXPECT_EQ(text->text(QAccessible::Value),
              QStringLiteral("text #000000 (red 0, green 0, blue 0) on #FFEAEA (red 255, green "
                             "234, blue 234)"));
    dialogs.colors.push_back(RGB(255, 0, 0));
    text->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.colorRequests.size(), 2u);
    EXPECT_EQ(dialogs.colorRequests[1].initial, 15395583u) << "the background colour";
    EXPECT_TRUE(text->text(QAccessible::Value).endsWith(u"on #FF0000 (red 255, green 0, blue 0)"));

    w.tabStrip()->setSelectedTab(3);
    w.summaryGroup()->plansCombo()->setCurrentIndex(0);
    QAccessibleInterface* usage =
        QAccessible::queryAccessibleInterface(w.summaryGroup()->usageBarBox());
    ASSERT_NE(usage, nullptr);
    EXPECT_EQ(usage->role(), QAccessible::ProgressBar);
    EXPECT_EQ(usage->childCount(), 0);
    EXPECT_EQ(usage->text(QAccessible::Value), QStringLiteral("1929%"));
    ASSERT_NE(usage->valueInterface(), nullptr);
    EXPECT_EQ(usage->valueInterface()->currentValue().toDouble(), 1929.0);
}

// --- A small window -----------------------------------------------------------------------------

// In a small window the chart kept ten labelled grid lines, their labels on top of each other.
// They keep readable spacing at any height, and come back when the window grows.
TEST_F(ResultWindowTest, TheChartsValueLabelsKeepApartInASmallWindow) {
    MonthOnScreen m;
    ResultWindow& w = *m.window;
    w.show();
    w.tabStrip()->setSelectedTab(2);
    XChart* chart = w.chartGroup()->xChart();
    auto spacing = [&] {
        const ChartModel& model = chart->model();
        const int plot = chart->height() - model.marginTop() - model.marginBottom();
        return model.intersectMajor() * plot / (model.maxY() - model.minY());
    };
    for (const QSize size : {QSize(300, 200), QSize(700, 420), QSize(800, 600), QSize(900, 900)}) {
        w.resize(size);
        QApplication::processEvents();
        EXPECT_GE(spacing(), 24.0) << size.width() << "x" << size.height();
    }
    EXPECT_EQ(chart->model().intersectMajor(), 200.0f) << "ten lines where there is room";
}

}  // namespace
}  // namespace kestrova::testing
