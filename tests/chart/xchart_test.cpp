// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/xchart.h"
#include "chart/chart_printer.h"
#include "chart/legend_panel.h"
#include "chart_test_support.h"
#include "platform/dialogs.h"
#include "platform/failure.h"
#include "support/palettes.h"
#include "support/qt_printers.h"
#include "support/scale.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kestrova;
using kestrova::test::item;

namespace {

// 400 x 300 pixels: the plot runs from x 55 to 345 and y 50 to 245 (15 twips per pixel).
struct ChartFixture : ::testing::Test {
    ChartFixture() {
        chart.resize(400, 300);
        model().setAutoRedraw(false);
    }
    ChartModel& model() { return chart.model(); }

    void addFive(bool mean) {
        model().setMeanOn(mean);
        for (double v : {20.0, 40.0, 60.0, 80.0, 50.0}) {
            chart.addItem(item(v, QString::number(v), QStringLiteral("Item of %1").arg(v)));
        }
        model().setAutoRedraw(true);
    }

    void send(QEvent::Type type, QPointF pos, Qt::MouseButton button = Qt::NoButton,
              Qt::MouseButtons buttons = Qt::NoButton, QWidget* target = nullptr) {
        QWidget* to = target ? target : &chart;
        QMouseEvent event(type, pos, to->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(to, &event);
    }
    void press(QPointF pos, Qt::MouseButton button = Qt::LeftButton, QWidget* target = nullptr) {
        send(QEvent::MouseButtonPress, pos, button, button, target);
    }
    void move(QPointF pos, Qt::MouseButtons buttons = Qt::NoButton, QWidget* target = nullptr) {
        send(QEvent::MouseMove, pos, Qt::NoButton, buttons, target);
    }
    void release(QPointF pos, Qt::MouseButton button = Qt::LeftButton, QWidget* target = nullptr) {
        send(QEvent::MouseButtonRelease, pos, button, Qt::NoButton, target);
    }

    XChart chart;
};

std::vector<ChartItemPtr> clickedItems(const QSignalSpy& spy) {
    std::vector<ChartItemPtr> out;
    for (const QList<QVariant>& args : spy) {
        out.push_back(args.at(0).value<ChartItemPtr>());
    }
    return out;
}

// ---- Redraw --------------------------------------------------------------------------------

TEST_F(ChartFixture, AutoRedrawFalseChangesNoPixelEvenForClear) {
    addFive(false);
    chart.drawChart();
    const QImage before = chart.image();
    model().setAutoRedraw(false);
    model().setBarColor(RGB(1, 2, 3));
    model().setChartTitle(QStringLiteral("Other"));
    chart.clear();
    chart.refresh();
    EXPECT_EQ(chart.image(), before);
    model().setAutoRedraw(true);
    EXPECT_NE(chart.image(), before) << "turning it on redraws";
}

TEST_F(ChartFixture, AResizeOrANewPaletteRedrawsThePicture) {
    addFive(false);
    chart.show();
    chart.resize(500, 320);
    EXPECT_EQ(chart.image().size(), QSize(500, 320));
    EXPECT_EQ(chart.legendPanel()->rowCount(), 5);
    QSignalSpy none(&chart, &XChart::storedPropertyChanged);
    chart.setPalette(kestrova::testing::darkPalette());
    // The window-coloured background follows the palette.
    EXPECT_EQ(chart.image().pixelColor(1, 1),
              kestrova::testing::darkPalette().color(QPalette::Base));
    EXPECT_EQ(none.count(), 0);
    chart.hide();
}

// ---- Mouse ---------------------------------------------------------------------------------

TEST_F(ChartFixture, HotTrackingRaisesOneItemClickPerColumnAndNoneForTheMean) {
    addFive(true);
    model().setHotTracking(true);
    ASSERT_EQ(model().itemCount(), 6);
    QSignalSpy clicks(&chart, &XChart::itemClicked);
    QSignalSpy downs(&chart, &XChart::mouseDown);
    move(QPointF(150, 240));
    EXPECT_EQ(model().selectedColumn(), -1) << "not selectable: a move picks nothing";
    EXPECT_EQ(downs.count(), 1);
    downs.clear();
    model().setSelectable(true);
    int moves = 0;
    for (int x = 57; x < 344; x += 4, ++moves) {
        move(QPointF(x, 240));
    }
    const std::vector<ChartItemPtr> expected(model().items().begin(), model().items().begin() + 5);
    EXPECT_EQ(clickedItems(clicks), expected);
    EXPECT_EQ(downs.count(), moves);
    EXPECT_EQ(downs.first().at(0).toInt(), 1) << "a move counts as a left press";
    EXPECT_EQ(model().selectedColumn(), 5);

    move(QPointF(100, 60));  // above the shapes: picks nothing
    move(QPointF(335, 240));
    EXPECT_EQ(clicks.count(), 5) << "the last picked column again does nothing";
}

TEST_F(ChartFixture, PressBeyondTheLastColumnSelectsNothingAndRaisesMouseDown) {
    addFive(false);
    model().setSelectable(true);
    press(QPointF(80, 240));
    ASSERT_EQ(model().selectedColumn(), 0);
    QSignalSpy clicks(&chart, &XChart::itemClicked);
    QSignalSpy downs(&chart, &XChart::mouseDown);
    press(QPointF(380, 240));
    EXPECT_EQ(model().selectedColumn(), 0);
    EXPECT_EQ(clicks.count(), 0);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_DOUBLE_EQ(downs.first().at(2).toDouble(), 380 * 15.0) << "X in twips";
    QSignalSpy ups(&chart, &XChart::mouseUp);
    release(QPointF(10, 20), Qt::RightButton);
    ASSERT_EQ(ups.count(), 1);
    EXPECT_EQ(ups.first().at(0).toInt(), 2);
    EXPECT_DOUBLE_EQ(ups.first().at(3).toDouble(), 300) << "Y in twips";
}

TEST_F(ChartFixture, RightClickOpensTheMenuOnlyForMenuTypeZero) {
    addFive(false);
    QSignalSpy downs(&chart, &XChart::mouseDown);
    model().setMenuType(1);
    press(QPointF(100, 100), Qt::RightButton);
    EXPECT_FALSE(chart.mainMenu()->isVisible());
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.first().at(0).toInt(), 2);
    model().setMenuType(0);
    press(QPointF(100, 100), Qt::RightButton);
    EXPECT_TRUE(chart.mainMenu()->isVisible());
    chart.mainMenu()->hide();
    EXPECT_EQ(downs.count(), 2);
}

// ---- Menus ---------------------------------------------------------------------------------

TEST_F(ChartFixture, CustomEntriesShowTheirCaptionsAndRaiseMenuItemClick) {
    addFive(false);
    model().setCustomMenuItems(QStringLiteral("  Export  |   | Details "));
    EXPECT_EQ(chart.customMenuAction(1)->text(), QStringLiteral("Details"));
    EXPECT_FALSE(chart.customMenuAction(2)->isVisible());
    QSignalSpy picks(&chart, &XChart::menuItemClicked);
    chart.customMenuAction(1)->trigger();
    ASSERT_EQ(picks.count(), 1);
    EXPECT_EQ(picks.first().at(0).toInt(), 1);
    EXPECT_EQ(picks.first().at(1).toString(), QStringLiteral("Details"));
}

// ---- Information box -----------------------------------------------------------------------

// The menu's command turns the box on without a redraw or a notification; it then shows the
// selected column's figures and is dragged by the point where it was taken.
TEST_F(ChartFixture, InformationBoxShowsValueAndDescriptionOfTheSelectedColumn) {
    model().setSelectable(true);
    chart.addItem(item(12.5, QStringLiteral("x"), QStringLiteral("Twelve and a half")));
    model().setAutoRedraw(true);
    chart.show();
    QSignalSpy changed(&chart, &XChart::storedPropertyChanged);
    const QImage before = chart.image();
    chart.menuAction(MenuSelectionInfo)->trigger();
    EXPECT_TRUE(model().selectionInformation());
    EXPECT_TRUE(chart.menuAction(MenuSelectionInfo)->isChecked());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(chart.image(), before);
    press(QPointF(200, 240));
    EXPECT_TRUE(chart.infoBox()->isVisible());
    EXPECT_EQ(chart.infoBox()->text(),
              QStringLiteral("Value: 12.5\nDescription: Twelve and a half"));
    EXPECT_EQ(chart.infoBox()->pos(), QPoint(4, 4));

    press(QPointF(3, 2), Qt::LeftButton, chart.infoBox());
    release(QPointF(103, 82), Qt::LeftButton, chart.infoBox());
    EXPECT_EQ(chart.infoBox()->pos(), QPoint(104, 84));
    chart.menuAction(MenuSelectionInfo)->trigger();
    EXPECT_FALSE(model().selectionInformation());
    chart.hide();
}

// ---- Legend --------------------------------------------------------------------------------

TEST_F(ChartFixture, LegendRowsShortenLongTextsAndKeepTheFullTextInTheTag) {
    const QString longText = QStringLiteral("A legend description far too long for the panel");
    chart.addItem(item(10, QStringLiteral("a"), longText));
    chart.addItem(item(20, QStringLiteral("b"), QStringLiteral("Short")));
    model().setAutoRedraw(true);
    LegendPanel* legend = chart.legendPanel();
    ASSERT_EQ(legend->rowCount(), 2);
    EXPECT_TRUE(legend->description(0)->text().endsWith(u".."));
    EXPECT_EQ(legend->description(0)->tag(), longText);
    EXPECT_EQ(legend->description(1)->text(), QStringLiteral("Short"));
    EXPECT_TRUE(legend->description(1)->tag().isEmpty());
}

// The legend and the selection box take their text colours from the palette; on a fixed light
// background under a dark palette those were light on light.
TEST_F(ChartFixture, LegendAndInformationTextsReadUnderADarkPalette) {
    chart.setPalette(kestrova::testing::darkPalette());
    model().setLegendBackColor(RGB(255, 255, 224));
    model().setInfoBackColor(RGB(255, 255, 224));
    addFive(false);
    model().setSelectionInformation(true);
    chart.showLegend(false);
    chart.drawChart();
    model().setSelectedColumn(2);
    LegendPanel* legend = chart.legendPanel();
    ASSERT_GT(legend->rowCount(), 0);
    for (int row = 0; row < legend->rowCount(); ++row) {
        EXPECT_GE(contrastRatio(legend->description(row)->textColour(),
                                legend->description(row)->background()),
                  kTextContrast)
            << "legend row " << row;
    }
    ASSERT_FALSE(chart.infoBox()->isHidden());
    const QPalette info = chart.infoBox()->palette();
    EXPECT_GE(contrastRatio(info.color(QPalette::WindowText), info.color(QPalette::Window)),
              kTextContrast);
}

TEST(LegendText, ShorteningTable) {
    const QFontMetricsF metrics(chartFont());
    const double wide = metrics.horizontalAdvance(QStringLiteral("abcdef"));
    EXPECT_EQ(shortenLegendText(QStringLiteral("abcdef"), wide, metrics), QStringLiteral("abcdef"));
    EXPECT_EQ(shortenLegendText(QStringLiteral("abc"), 0, metrics), QStringLiteral(".."));
    EXPECT_EQ(shortenLegendText(QString(), -5, metrics), QString()) << "nothing to shorten";
    const QString words = QStringLiteral("Total:350 MB (NF:300.00 MB  + F:50.00 MB)");
    for (const double room : {10.0, 55.5, 80.0, 120.0}) {
        // The longest prefix that fits.
        const QString shown = shortenLegendText(words, room, metrics);
        ASSERT_TRUE(shown.endsWith(u"..")) << room;
        const QString prefix = shown.chopped(2);
        EXPECT_TRUE(words.startsWith(prefix)) << room;
        EXPECT_LE(metrics.horizontalAdvance(prefix), room) << room;
        EXPECT_GT(metrics.horizontalAdvance(words.left(prefix.size() + 1)), room) << room;
    }
}

// Showing adds the legend's inner width to the right margin (again when shown twice); hiding
// takes its outer width.
TEST_F(ChartFixture, ShowingAndHidingTheLegendMoveTheRightMargin) {
    addFive(false);
    const float start = model().properties().marginRight;
    const int inner = chart.legendPanel()->innerWidth();
    chart.menuAction(MenuViewLegend)->trigger();
    EXPECT_TRUE(model().legendShown());
    EXPECT_TRUE(chart.menuAction(MenuViewLegend)->isChecked());
    chart.showLegend(false);
    EXPECT_FLOAT_EQ(model().properties().marginRight, start + 2 * inner * 15.0f);
    EXPECT_EQ(chart.legendPanel()->x(), 400 - chart.legendPanel()->width());
    EXPECT_EQ(chart.splitter()->mark(), 187);
    chart.menuAction(MenuLegendHide)->trigger();
    EXPECT_FALSE(model().legendShown());
    EXPECT_FALSE(chart.menuAction(MenuViewLegend)->isChecked());
    EXPECT_FLOAT_EQ(model().properties().marginRight,
                    start + 2 * inner * 15.0f - chart.legendPanel()->width() * 15.0f);
    EXPECT_EQ(chart.legendPanel()->x(), 400);
}

TEST_F(ChartFixture, LeftPressOnALegendRowSelectsWithoutItemClick) {
    addFive(false);
    model().setSelectable(true);
    chart.showLegend(false);
    chart.drawChart();
    QSignalSpy clicks(&chart, &XChart::itemClicked);
    press(QPointF(3, 3), Qt::LeftButton, chart.legendPanel()->description(2));
    EXPECT_EQ(model().selectedColumn(), 2);
    EXPECT_EQ(model().lastPickedColumn(), 2);
    EXPECT_EQ(clicks.count(), 0);
    const QRect outline = chart.legendPanel()->container()->selectionOutline();
    EXPECT_TRUE(outline.contains(chart.legendPanel()->swatch(2)->geometry()));
    EXPECT_FALSE(outline.intersects(chart.legendPanel()->swatch(1)->geometry()));
}

TEST_F(ChartFixture, SelectedRowBelowTheVisibleRowsIsScrolledIntoView) {
    model().setMeanOn(false);
    for (int i = 0; i < 40; ++i) {
        chart.addItem(item(i, QString::number(i)));
    }
    model().setAutoRedraw(true);
    model().setSelectable(true);
    chart.showLegend(false);
    model().setSelectedColumn(35);
    QScrollBar* scroll = chart.legendPanel()->scrollBar();
    EXPECT_FALSE(scroll->isHidden());
    EXPECT_GT(scroll->value(), 0);
    const int top = chart.legendPanel()->swatch(35)->y() + chart.legendPanel()->container()->y();
    EXPECT_GE(top, 0);
    EXPECT_LT(top, chart.legendPanel()->height());
    model().setSelectedColumn(1);
    EXPECT_EQ(scroll->value(), 0);
}

TEST_F(ChartFixture, DraggingTheSplitterResizesTheLegend) {
    addFive(false);
    chart.show();
    chart.showLegend(false);
    chart.drawChart();
    LegendSplitter* splitter = chart.splitter();
    const int before = chart.legendPanel()->width();
    press(QPointF(2, 20), Qt::LeftButton, splitter);
    move(QPointF(-18, 20), Qt::LeftButton, splitter);
    move(QPointF(-200, 20), Qt::LeftButton, splitter);  // past half the width: stays
    release(QPointF(-18, 20), Qt::LeftButton, splitter);
    EXPECT_EQ(chart.legendPanel()->width(), before + 20);
    EXPECT_EQ(chart.legendPanel()->x(), 400 - before - 20);
    EXPECT_FLOAT_EQ(model().properties().marginRight,
                    model().savedRightMargin() + chart.legendPanel()->innerWidth() * 15.0f);
    chart.hide();
}

// ---- Clipboard, saving, printing -----------------------------------------------------------

TEST_F(ChartFixture, CopyAndSaveAsGiveThePictureOfTheControl) {
    addFive(false);
    chart.drawChart();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    chart.editCopy();
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), chart.image());
    QGuiApplication::clipboard()->clear();
    chart.menuAction(MenuCopy)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(400, 300));

    // Save As writes the same picture as a PNG file.
    QTemporaryDir folder;
    RecordingDialogs recorder;
    const ScopedDialogs seam(recorder);
    recorder.fileNames.push_back(folder.filePath(QStringLiteral("usage")));
    model().setSaveAsCaption(QStringLiteral("Save the usage chart"));
    chart.menuAction(MenuSaveAs)->trigger();
    ASSERT_EQ(recorder.saveRequests.size(), 1u);
    EXPECT_EQ(recorder.saveRequests[0].title, QStringLiteral("Save the usage chart"));
    const QImage saved(folder.filePath(QStringLiteral("usage.png")));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), chart.image());

    recorder.fileNames.push_back(std::nullopt);
    chart.menuAction(MenuSaveAs)->trigger();
    EXPECT_TRUE(recorder.messages.empty()) << "cancelling saves nothing and says nothing";
}

int pdfPages(const QString& file) {
    const QByteArray data = test::readFile(file);
    return data.startsWith("%PDF") ? int(data.count("/Type /Page\n") + data.count("/Type /Page\r") +
                                         data.count("/Type /Page ") + data.count("/Type /Page>"))
                                   : -1;
}

// Printing asks where to print first; a cancelled choice prints nothing and says nothing.
class AskingPrinters : public PdfFilePrinters {
public:
    using PdfFilePrinters::PdfFilePrinters;
    bool choosePrinter(QPrinter& printer, QWidget* parent) override {
        asked.push_back(printer.pageLayout().orientation());
        EXPECT_NE(parent, nullptr);
        return answer;
    }
    std::vector<QPageLayout::Orientation> asked;
    bool answer = true;
};

TEST_F(ChartFixture, EachDocumentGoesThroughThePrintDialogThenToThePrinterAsPages) {
    addFive(false);
    chart.drawChart();
    QTemporaryDir folder;
    AskingPrinters pdf(folder.path());
    const ScopedPrinters seam(pdf);
    RecordingDialogs recorder;
    const ScopedDialogs dialogsSeam(recorder);

    pdf.answer = false;
    chart.menuAction(MenuPrint)->trigger();
    chart.printLegend();
    ASSERT_EQ(pdf.asked.size(), 2u);
    EXPECT_FALSE(QFileInfo::exists(pdf.files()[0]));
    pdf.answer = true;

    model().setLegendPrintMode(2);
    model().setPrinterOrientation(1);
    const qsizetype before = pdf.files().size();
    chart.printChart();
    EXPECT_EQ(pdf.asked.back(), QPageLayout::Portrait) << "the dialog starts from the orientation";
    ASSERT_EQ(pdf.files().size(), before + 1) << "a hidden legend prints nothing more";
    EXPECT_EQ(pdfPages(pdf.files().back()), 1);

    chart.showLegend(false);
    chart.drawChart();
    model().setPrinterFit(1);
    chart.printChart();
    ASSERT_EQ(pdf.files().size(), before + 3) << "the chart, then the legend as its own document";
    EXPECT_EQ(pdfPages(pdf.files()[before + 1]), 1);
    EXPECT_EQ(pdfPages(pdf.files()[before + 2]), 1);

    model().setLegendPrintMode(1);
    chart.menuAction(MenuPrint)->trigger();
    ASSERT_EQ(pdf.files().size(), before + 4) << "legend on the chart's page";
    EXPECT_EQ(pdfPages(pdf.files().back()), 1);
    EXPECT_TRUE(recorder.messages.empty());

    // A long legend prints on several pages.
    model().setAutoRedraw(false);
    for (int i = 0; i < 200; ++i) {
        chart.addItem(item(i, QString::number(i), QStringLiteral("Day %1").arg(i)));
    }
    chart.printLegend();
    ASSERT_EQ(pdf.files().size(), before + 5);
    EXPECT_GT(pdfPages(pdf.files().back()), 1);
}

class UnusablePrinters : public PrinterSeam {
public:
    std::unique_ptr<QPrinter> createPrinter() override {
        auto printer = std::make_unique<QPrinter>();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(fileName);
        return printer;
    }
    QString fileName;
};

// A failed print once said only "Printer error", in a box without a title. It now says what
// went wrong, under "Print".
TEST_F(ChartFixture, APrinterFailureReachesTheCallerAndTheMenuNamesIt) {
    addFive(false);
    struct Row {
        const char* name;
        QString file;
        QString expected;
    };
    const Row rows[] = {
        {"NoPrinterSetUp", QString(),
         QStringLiteral("Printer error: no printer is set up. Choose \"Print to File (PDF)\" in "
                        "the print dialog, or set up a printer.")},
        {"FileNotWritable", QStringLiteral("/nonexistent-folder/x/print.pdf"),
         QStringLiteral("Printer error: the file \"/nonexistent-folder/x/print.pdf\" could not be "
                        "written.")},
    };
    for (const Row& row : rows) {
        UnusablePrinters broken;
        broken.fileName = row.file;
        const ScopedPrinters seam(broken);
        EXPECT_THROW(chart.printChart(), kestrova::Failure) << row.name;
        RecordingDialogs recorder;
        const ScopedDialogs dialogsSeam(recorder);
        chart.menuAction(MenuPrint)->trigger();
        ASSERT_EQ(recorder.messages.size(), 1u) << row.name;
        EXPECT_EQ(recorder.messages[0],
                  Message(row.expected, QStringLiteral("Print"), MessageIcon::Warning))
            << row.name;
        EXPECT_FALSE(QGuiApplication::overrideCursor()) << "the hourglass is gone again";
    }
}

// Without a seam of its own the chart opens the system's print dialog (where "Print to File
// (PDF)" is always a choice) rather than going straight to a missing default printer.
TEST_F(ChartFixture, TheSystemSeamOpensThePrintDialog) {
    addFive(false);
    RecordingDialogs recorder;
    const ScopedDialogs dialogsSeam(recorder);
    QString opened;
    QTimer::singleShot(50, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = QString::fromLatin1(modal->metaObject()->className());
            static_cast<QDialog*>(modal)->reject();
        }
    });
    chart.menuAction(MenuPrint)->trigger();
    EXPECT_EQ(opened, QStringLiteral("QPrintDialog"));
    EXPECT_TRUE(recorder.messages.empty()) << "a cancelled dialog is no failure";
}

// ---- Keyboard ------------------------------------------------------------------------------

// The chart took no focus: a keyboard user could neither reach it nor read a column's value.
// Tab reaches it and shows a focus frame; the arrow keys pick columns as the mouse does (the
// host hears itemClicked), Escape clears the pick, the menu key opens the menu.
TEST_F(ChartFixture, TheKeyboardPicksColumnsAndOpensTheMenu) {
    addFive(false);
    model().setSelectionInformation(true);
    chart.show();
    chart.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&chart));
    EXPECT_EQ(chart.focusPolicy(), Qt::StrongFocus);
    QSignalSpy clicked(&chart, &XChart::itemClicked);
    chart.clearFocus();
    const QImage unfocused = chart.grab().toImage();
    chart.setFocus();
    ASSERT_TRUE(chart.hasFocus());
    EXPECT_NE(chart.grab().toImage(), unfocused) << "the focus frame shows";
    QTest::keyClick(&chart, Qt::Key_Right);
    EXPECT_EQ(model().selectedColumn(), -1) << "nothing to pick while not selectable";
    model().setSelectable(true);

    struct Step {
        Qt::Key key;
        int selected;
    };
    const Step steps[] = {{Qt::Key_Right, 0}, {Qt::Key_Right, 1},  {Qt::Key_End, 4},
                          {Qt::Key_Right, 4}, {Qt::Key_Left, 3},   {Qt::Key_Home, 0},
                          {Qt::Key_Left, 0},  {Qt::Key_Escape, -1}};
    for (const Step& step : steps) {
        QTest::keyClick(&chart, step.key);
        EXPECT_EQ(model().selectedColumn(), step.selected)
            << QKeySequence(step.key).toString().toStdString();
    }
    // One itemClicked for each new column, with its item.
    ASSERT_EQ(clicked.count(), 5);
    EXPECT_EQ(clickedItems(clicked)[2]->value, 50.0);
    EXPECT_EQ(chart.infoText().isEmpty(), false);

    QTest::keyClick(&chart, Qt::Key_Menu);
    EXPECT_TRUE(chart.mainMenu()->isVisible());
    chart.mainMenu()->close();
    QTest::keyClick(&chart, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(chart.mainMenu()->isVisible());
    chart.mainMenu()->close();
}

// ---- Screen readers ------------------------------------------------------------------------

// The chart exposed nothing. It is a chart named by its title whose value is the selected
// column; each column is a child with its label as name and its description as value and
// description, and pressing one selects it.
TEST_F(ChartFixture, AScreenReaderReadsTheTitleTheColumnsAndTheSelection) {
    model().setChartTitle(QStringLiteral("Usage for November"));
    addFive(false);
    model().setSelectable(true);
    chart.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&chart);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Usage for November"));
    EXPECT_TRUE(iface->text(QAccessible::Value).isEmpty()) << "nothing selected";
    ASSERT_EQ(iface->childCount(), 5);
    QAccessibleInterface* third = iface->child(2);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->text(QAccessible::Name), QStringLiteral("60"));
    EXPECT_EQ(third->text(QAccessible::Value), QStringLiteral("Item of 60"));
    EXPECT_FALSE(third->rect().isEmpty());
    ASSERT_NE(iface->valueInterface(), nullptr);
    EXPECT_EQ(iface->valueInterface()->currentValue().toDouble(), 0.0) << "nothing selected";

    QAccessibleActionInterface* press = third->actionInterface();
    ASSERT_NE(press, nullptr);
    press->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(model().selectedColumn(), 2);
    EXPECT_TRUE(third->state().selected);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("60: Item of 60"));
    EXPECT_EQ(iface->valueInterface()->currentValue().toDouble(), 60.0);
}

// ---- Scale 2 -------------------------------------------------------------------------------

// Blocks of 2 x 2 screen pixels inside `area` (the control's pixels) whose four pixels differ:
// a picture made in the control's pixels and stretched has none that a text edge makes.
int detailedBlocks(const QImage& picture, const QRect& area) {
    int detailed = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb a = picture.pixel(2 * x, 2 * y);
            if (picture.pixel(2 * x + 1, 2 * y) != a || picture.pixel(2 * x, 2 * y + 1) != a ||
                picture.pixel(2 * x + 1, 2 * y + 1) != a) {
                ++detailed;
            }
        }
    }
    return detailed;
}

// At a scale of 2 the chart's picture was made in the control's pixels and stretched to the
// screen's: blurry text and lines. It is painted in the screen's pixels now.
TEST_F(ChartFixture, HiDpiThePictureHasTheScreensPixels) {
    KESTROVA_REQUIRE_SCALE_2();
    model().setChartTitle(QStringLiteral("ORVO Broadband Usage Chart"));
    model().setAxisYOn(true);
    addFive(false);
    chart.show();
    chart.drawChart();
    EXPECT_EQ(chart.image().devicePixelRatio(), 2.0);
    EXPECT_EQ(chart.image().size(), QSize(800, 600));
    const QImage shown = chart.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(800, 600));
    EXPECT_GT(detailedBlocks(shown, QRect(100, 0, 200, 20)), 40) << "the title";
    // Text keeps its size in the control's pixels: the title's ink is no taller than a line of
    // its font, twice over in the screen's pixels (a font sized for the screen's pixels and then
    // scaled again came out four times as large).
    QFont titleFont = chartFont();
    titleFont.setBold(true);
    int top = shown.height();
    int bottom = -1;
    const QRgb back = shown.pixel(2, 2);
    // Above the plot (its top margin is 50 of the control's pixels).
    for (int y = 0; y < 96; ++y) {
        for (int x = 200; x < 600; ++x) {
            if (shown.pixel(x, y) != back) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(bottom, top);
    EXPECT_LE(bottom - top + 1, 2 * QFontMetrics(titleFont).height()) << "the title's height";
    EXPECT_GT(detailedBlocks(shown, QRect(0, 50, 54, 195)), 20) << "the value labels";
    // What is copied and saved has the screen's pixels too.
    chart.editCopy();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(800, 600));
}

}  // namespace
