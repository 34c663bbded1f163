// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The office chart object on Qt Charts, as the result window drives it: data text to columns,
// series colours, the formatting members, the picture and the clipboard, the factory and the
// object's own editing menu.

#include "results/office_chart/qt_office_chart.h"
#include "platform/dialogs.h"
#include "platform/failure.h"
#include "support/palettes.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QMenu>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QStackedBarSeries>
#include <QtCharts/QValueAxis>
#include <cmath>
#include <limits>
#include <memory>

namespace kestrova {
namespace {

constexpr ColorRef kChartColorNonFree = 9671679;  // RGB(255, 147, 147)
constexpr ColorRef kChartColorFree = 11599792;    // RGB(176, 255, 176)

const QString kUsage = QStringLiteral("Usage");
const QString kFree = QStringLiteral("Free");
const QString kMonth = QStringLiteral(
    "\t01\t02\t03\tAvg\r\nUsage\t120.50\t80.25\t0.00\t66.9167\r\nFree\t20.00\t10.00\t5.00\t11.67");

class OfficeChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_holder = std::make_unique<QWidget>();
        m_chart = std::make_unique<QtOfficeChart>(m_holder.get());
        m_chart->setSize(640, 360);
    }

    void feed(const QString& text) {
        m_chart->setDataText(text);
        m_chart->redraw();
    }

    QStackedBarSeries* series() const {
        const auto all = m_chart->chart()->series();
        EXPECT_EQ(all.size(), 1);
        return all.isEmpty() ? nullptr : qobject_cast<QStackedBarSeries*>(all.front());
    }

    QList<QBarSet*> sets() const {
        QStackedBarSeries* s = series();
        return s ? s->barSets() : QList<QBarSet*>();
    }

    QBarCategoryAxis* categoryAxis() const {
        const auto axes = m_chart->chart()->axes(Qt::Horizontal);
        return axes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis*>(axes.front());
    }

    QValueAxis* valueAxis() const {
        const auto axes = m_chart->chart()->axes(Qt::Vertical);
        return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.front());
    }

    static QStringList texts(const QList<QGraphicsSimpleTextItem*>& items) {
        QStringList out;
        for (const auto* item : items) {
            out.push_back(item->text());
        }
        return out;
    }

    std::unique_ptr<QWidget> m_holder;
    std::unique_ptr<QtOfficeChart> m_chart;
};

// The text shows once updated, as stacked columns with the average column.
TEST_F(OfficeChartTest, DataTextBecomesStackedColumnsAndANewTextReplacesThem) {
    m_chart->setDataText(kMonth);
    EXPECT_EQ(m_chart->dataText(), kMonth);
    EXPECT_TRUE(sets().isEmpty());
    m_chart->redraw();
    const QList<QBarSet*> bars = sets();
    ASSERT_EQ(bars.size(), 2);
    EXPECT_EQ(bars[0]->label(), kUsage);
    EXPECT_EQ(bars[1]->label(), kFree);
    ASSERT_EQ(bars[0]->count(), 4);
    EXPECT_EQ(bars[1]->at(2), 5.0);
    EXPECT_NE(bars[0]->color(), bars[1]->color()) << "uncoloured series are told apart";

    ASSERT_FALSE(m_chart->picture().isNull());
    EXPECT_EQ(texts(m_chart->categoryLabelItems()),
              QStringList({QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03"),
                           QStringLiteral("Avg")}));
    // The value axis reaches past the tallest column, 140.5.
    EXPECT_GE(valueAxis()->max(), 140.5);
    EXPECT_EQ(valueAxis()->min(), 0);

    // A new text replaces the columns, not adds to them; a repeated day keeps its own column.
    feed(QStringLiteral("\t31\t01\t31\r\nUsage\t1.00\t2.00\t3.00"));
    ASSERT_EQ(sets().size(), 1);
    EXPECT_EQ(sets()[0]->count(), 3);
    ASSERT_NE(categoryAxis(), nullptr);
    EXPECT_EQ(categoryAxis()->count(), 3);
    ASSERT_FALSE(m_chart->picture().isNull());
    EXPECT_EQ(texts(m_chart->categoryLabelItems()),
              QStringList({QStringLiteral("31"), QStringLiteral("01"), QStringLiteral("31")}));
}

struct MalformedRow {
    const char* name;
    QString text;
    int sets;
    int categories;
};

void PrintTo(const MalformedRow& row, std::ostream* os) {
    *os << row.name;
}

class OfficeChartMalformedText : public OfficeChartTest,
                                 public ::testing::WithParamInterface<MalformedRow> {};

TEST_P(OfficeChartMalformedText, DrawsWithoutFailing) {
    const MalformedRow& row = GetParam();
    feed(kMonth);
    m_chart->setHasDataTable(true);
    feed(row.text);
    EXPECT_EQ(sets().size(), row.sets);
    EXPECT_EQ(categoryAxis()->count(), row.categories);
    EXPECT_FALSE(m_chart->picture().isNull());
    EXPECT_EQ(m_chart->categoryLabelItems().size(), row.categories);
    // Nothing is labelled with a value the text does not hold.
    for (const ValueLabel& label : m_chart->valueLabels()) {
        EXPECT_NE(label.text, QStringLiteral("0.00"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OfficeChartMalformedText,
    ::testing::Values(MalformedRow{"EmptyTextIsAnEmptyChart", QString(), 0, 0},
                      MalformedRow{"HeaderAloneHasNoColumns", QStringLiteral("\t01\t02"), 0, 2},
                      MalformedRow{"LinesWithoutTabs", QStringLiteral("junk\r\nmore junk"), 1, 0},
                      // Only CR LF ends a line: this is a header of two odd labels.
                      MalformedRow{"LoneLineFeedIsNoLineBreak", QStringLiteral("\t01\nUsage\t1.00"),
                                   0, 2}),
    [](const auto& row) { return std::string(row.param.name); });

// Colours are set by a series' name, before or after the text shows, and stay with the name
// through a new text (as the result window colours once, then feeds with and without the
// average); a name the chart lacks fails and changes nothing.
TEST_F(OfficeChartTest, SeriesColoursFollowTheirNames) {
    m_chart->setDataText(kMonth);
    m_chart->setSeriesColor(kFree, kChartColorFree);
    m_chart->redraw();
    m_chart->setSeriesColor(kUsage, kChartColorNonFree);
    ASSERT_EQ(sets().size(), 2);
    EXPECT_EQ(sets()[0]->color(), QColor(255, 147, 147));
    EXPECT_EQ(sets()[1]->color(), QColor(176, 255, 176));
    EXPECT_FALSE(m_chart->seriesColor(QStringLiteral("Night")).isValid());

    feed(QStringLiteral("\t01\t02\tAvg\r\nUsage\t2.00\t4.00\t3"));
    ASSERT_EQ(sets().size(), 1);
    EXPECT_EQ(sets()[0]->color(), QColor(255, 147, 147));
    EXPECT_THROW(m_chart->setSeriesColor(kFree, RGB(1, 2, 3)), Failure);
    EXPECT_THROW(m_chart->setSeriesColor(QStringLiteral("usage"), RGB(1, 2, 3)), Failure);
    EXPECT_EQ(sets()[0]->color(), QColor(255, 147, 147));
    feed(kMonth);
    EXPECT_EQ(sets()[1]->color(), QColor(176, 255, 176)) << "the failed call kept nothing";
}

TEST_F(OfficeChartTest, TitleShowsOnlyWithHasTitleAndItsMarkupAsText) {
    const QString title = QStringLiteral("<img src=\"/etc/passwd\"> & <b>Mar</b>");
    m_chart->setHasTitle(true);
    m_chart->setChartTitleText(title);
    // The chart draws its title as rich text; a month text is no markup.
    EXPECT_EQ(
        m_chart->chart()->title(),
        QStringLiteral("&lt;img src=&quot;/etc/passwd&quot;&gt; &amp; &lt;b&gt;Mar&lt;/b&gt;"));
    m_chart->setHasTitle(false);
    EXPECT_TRUE(m_chart->chart()->title().isEmpty());
    EXPECT_EQ(m_chart->chartTitleText(), title);
}

TEST_F(OfficeChartTest, AxisOrChartTypeTheChartLacksFails) {
    EXPECT_THROW(m_chart->setTickLabelFontSize(3, 1, 10), Failure);
    EXPECT_THROW(m_chart->setTickLabelFontSize(1, 2, 10), Failure);
    EXPECT_THROW(m_chart->setTickLabelFontSize(0, 1, 10), Failure);
    m_chart->setChartType(52);
    EXPECT_THROW(m_chart->setChartType(51), Failure);
    EXPECT_EQ(m_chart->chartType(), 52);
}

TEST_F(OfficeChartTest, FontSizesByAxisTypeOutOfRangeSizesIgnoredAndValuesOnlyWithTheDataTable) {
    feed(kMonth);
    m_chart->setChartTitleFontSize(8);
    m_chart->setTickLabelFontSize(1, 1, 10);
    m_chart->setTickLabelFontSize(2, 1, 7);
    m_chart->setDataTableFontSize(9);
    for (const double bad : {0.0, -3.0, 410.0, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()}) {
        m_chart->setChartTitleFontSize(bad);
        m_chart->setTickLabelFontSize(2, 1, bad);
        m_chart->setDataTableFontSize(bad);
    }
    EXPECT_EQ(m_chart->chart()->titleFont().pointSizeF(), 8);
    EXPECT_EQ(valueAxis()->labelsFont().pointSizeF(), 7);
    EXPECT_TRUE(m_chart->valueLabelItems().isEmpty());
    m_chart->setHasDataTable(true);
    ASSERT_FALSE(m_chart->picture().isNull());
    ASSERT_EQ(m_chart->categoryLabelItems().size(), 4);
    for (const auto* item : m_chart->categoryLabelItems()) {
        EXPECT_EQ(item->font().pointSizeF(), 10);
    }
    ASSERT_EQ(m_chart->valueLabelItems().size(), 7);  // every value but the zero
    for (const auto* item : m_chart->valueLabelItems()) {
        EXPECT_EQ(item->font().pointSizeF(), 9);
    }
    m_chart->setHasDataTable(false);
    EXPECT_TRUE(m_chart->valueLabelItems().isEmpty());
}

// The chart follows the palette of its window: a dark theme under a dark palette, switched
// when the desktop switches. Its texts read on what they lie on: the title and the day labels
// on the background, each value on its part of the column or, above the column, on the
// background. Values were drawn black whatever the column's colour.
class OfficeChartContrast : public OfficeChartTest, public ::testing::WithParamInterface<bool> {};

TEST_P(OfficeChartContrast, TextsReadOnWhatTheyLieOn) {
    const bool dark = GetParam();
    m_holder->setPalette(dark ? kestrova::testing::darkPalette()
                              : kestrova::testing::lightPalette());
    feed(kMonth);
    m_chart->setSeriesColor(kUsage, RGB(0, 0, 128));  // a dark column under light values
    m_chart->setSeriesColor(kFree, RGB(255, 255, 160));
    m_chart->setHasTitle(true);
    m_chart->setChartTitleText(QStringLiteral("ORVO Broadband Usage Chart"));
    QChart* c = m_chart->chart();
    EXPECT_EQ(c->theme(), dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
    const QImage bare = m_chart->picture();
    const double dpr = bare.devicePixelRatio();
    // The background as painted, in the corner beside the title.
    const QColor back = QColor::fromRgb(bare.pixel(QPoint(3, 3) * dpr));
    EXPECT_EQ(back.lightness() < 128, dark);
    const QRectF plot = c->plotArea();
    const QRect titleArea(QPoint(int(plot.left()), 0) * dpr,
                          QPoint(int(plot.right()), int(plot.top()) - 2) * dpr);
    EXPECT_GE(kestrova::testing::strongestContrast(bare, titleArea, back), kTextContrast);

    auto* view = qobject_cast<QGraphicsView*>(m_chart->widget());
    ASSERT_NE(view, nullptr);
    auto pixelsOf = [&](const QGraphicsItem* item) {
        const QRect r = view->mapFromScene(item->sceneBoundingRect()).boundingRect();
        return QRect(r.topLeft() * dpr, r.size() * dpr);
    };
    ASSERT_FALSE(m_chart->categoryLabelItems().isEmpty());
    for (const QGraphicsSimpleTextItem* label : m_chart->categoryLabelItems()) {
        EXPECT_GE(kestrova::testing::strongestContrast(bare, pixelsOf(label), back), kTextContrast)
            << label->text().toStdString();
    }

    m_chart->setHasDataTable(true);
    ASSERT_FALSE(m_chart->picture().isNull());
    int shown = 0;
    for (const QGraphicsSimpleTextItem* value : m_chart->valueLabelItems()) {
        if (!value->isVisible()) {
            continue;
        }
        ++shown;
        // What the value lies on, as the chart without values shows it there.
        const QPoint centre = pixelsOf(value).center();
        const QColor under = QColor::fromRgb(bare.pixel(centre));
        EXPECT_GE(contrastRatio(value->brush().color(), under), kTextContrast)
            << value->text().toStdString();
    }
    EXPECT_GT(shown, 3);
}

INSTANTIATE_TEST_SUITE_P(Palettes, OfficeChartContrast, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Dark" : "Light"; });

TEST_F(OfficeChartTest, CopyPutsThePictureOnTheClipboardUnlessTheChartHasNoArea) {
    feed(kMonth);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    m_chart->setSize(0, 0);
    m_chart->copyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    m_chart->setSize(640, 360);
    m_chart->copyToClipboard();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), m_chart->picture().size());
}

TEST_F(OfficeChartTest, WidgetGoneWithItsWindowLeavesAQuietObject) {
    feed(kMonth);
    m_holder.reset();
    EXPECT_FALSE(m_chart->isRunning());
    EXPECT_EQ(m_chart->widget(), nullptr);
    EXPECT_EQ(m_chart->chart(), nullptr);
    feed(QStringLiteral("\t01\r\nUsage\t1.00"));
    m_chart->setHasLegend(false);
    m_chart->setHasDataTable(true);
    m_chart->setSeriesColor(kUsage, kChartColorNonFree);
    m_chart->setSize(100, 100);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    m_chart->copyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_TRUE(m_chart->picture().isNull());
    m_chart.reset();
}

class OfficeChartVerbMenu : public OfficeChartTest {
protected:
    void SetUp() override {
        OfficeChartTest::SetUp();
        feed(kMonth);
    }

    void TearDown() override {
        for (QMenu* menu : m_chart->widget()->findChildren<QMenu*>()) {
            delete menu;
        }
    }

    // A right click on the chart; the menu it popped up, if any.
    QMenu* rightClick(bool* accepted = nullptr) {
        QWidget* viewport = static_cast<QAbstractScrollArea*>(m_chart->widget())->viewport();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(50, 50),
                                viewport->mapToGlobal(QPoint(50, 50)));
        event.ignore();
        QApplication::sendEvent(viewport, &event);
        if (accepted) {
            *accepted = event.isAccepted();
        }
        return m_chart->widget()->findChild<QMenu*>(QStringLiteral("mnuChartVerbs"));
    }

    static QAction* action(QMenu* menu, const QString& text) {
        for (QAction* a : menu->actions()) {
            if (a->text() == text) {
                return a;
            }
        }
        ADD_FAILURE() << "no choice " << text.toStdString();
        return nullptr;
    }

    RecordingDialogs m_dialogs;
    ScopedDialogs m_scope{m_dialogs};
};

// Only with AutoVerbMenu does a right click offer the editing choices; the legend and value
// choices toggle their settings.
TEST_F(OfficeChartVerbMenu, OnlyAutoVerbMenuOffersTheEditingChoices) {
    bool accepted = true;
    EXPECT_EQ(rightClick(&accepted), nullptr);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(m_chart->createVerbMenu(nullptr), nullptr);
    m_chart->setAutoVerbMenu(true);
    QMenu* menu = rightClick(&accepted);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_NE(action(menu, QStringLiteral("Free Color...")), nullptr) << "one for each series";
    QAction* legend = action(menu, QStringLiteral("Show &Legend"));
    QAction* values = action(menu, QStringLiteral("Show &Values"));
    ASSERT_TRUE(legend && values);
    EXPECT_TRUE(legend->isChecked());
    EXPECT_FALSE(values->isChecked());
    legend->trigger();
    values->trigger();
    EXPECT_FALSE(m_chart->chart()->legend()->isVisible());
    ASSERT_FALSE(m_chart->picture().isNull());
    EXPECT_FALSE(m_chart->valueLabelItems().isEmpty());

    m_chart->setAutoVerbMenu(false);
    delete menu;
    EXPECT_EQ(rightClick(), nullptr);
}

TEST_F(OfficeChartVerbMenu, ColourChoiceAsksFromTheCurrentColourAndACancelKeepsIt) {
    m_chart->setSeriesColor(kUsage, kChartColorNonFree);
    m_chart->setAutoVerbMenu(true);
    m_dialogs.colors.push_back(std::nullopt);
    m_dialogs.colors.push_back(RGB(10, 20, 30));
    QMenu* menu = rightClick();
    ASSERT_NE(menu, nullptr);
    QAction* usage = action(menu, QStringLiteral("Usage Color..."));
    ASSERT_NE(usage, nullptr);
    usage->trigger();
    EXPECT_EQ(sets()[0]->color(), QColor(255, 147, 147)) << "cancelled";
    usage->trigger();
    ASSERT_EQ(m_dialogs.colorRequests.size(), 2u);
    EXPECT_EQ(m_dialogs.colorRequests[0].initial, kChartColorNonFree);
    EXPECT_EQ(m_dialogs.colorRequests[0].flags & 1u, 1u);
    EXPECT_EQ(sets()[0]->color(), QColor(10, 20, 30));
    EXPECT_NE(sets()[1]->color(), QColor(10, 20, 30));
}

}  // namespace
}  // namespace kestrova
