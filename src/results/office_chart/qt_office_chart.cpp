// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/office_chart/qt_office_chart.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "results/office_chart/chart_labels.h"
#include "results/office_chart/office_chart_view.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QMenu>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QStackedBarSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace kestrova {

namespace {

// The colours an office chart gives its series until the host colours them.
constexpr std::array<ColorRef, 8> kDefaultSeriesColors = {
    RGB(153, 153, 255), RGB(153, 51, 102),  RGB(255, 255, 204), RGB(204, 255, 255),
    RGB(102, 0, 102),   RGB(255, 128, 128), RGB(0, 102, 204),   RGB(204, 204, 255)};

constexpr double kBarWidth = 0.6;  // of a category's width
constexpr int kMargin = 4;         // pixels around the chart
constexpr qreal kLabelZ = 1000;    // above the columns and the grid

QColor defaultSeriesColor(qsizetype index) {
    return toQColor(kDefaultSeriesColors[std::size_t(index) % kDefaultSeriesColors.size()]);
}

bool validFontSize(double points) {
    return std::isfinite(points) && points >= QtOfficeChart::kMinFontSize &&
           points <= QtOfficeChart::kMaxFontSize;
}

QFont withPointSize(QFont font, double points) {
    font.setPointSizeF(points);
    return font;
}

// Chart texts are drawn as rich text; the data text's are plain.
QString plain(const QString& text) {
    return text.toHtmlEscaped();
}

// The colour the chart's background comes to: a theme may paint it as a gradient, whose
// stops then average out.
QColor backgroundColour(const QChart& chart) {
    const QBrush brush = chart.backgroundBrush();
    const QGradient* gradient = brush.gradient();
    if (!gradient || gradient->stops().isEmpty()) {
        return brush.color();
    }
    double r = 0;
    double g = 0;
    double b = 0;
    for (const QGradientStop& stop : gradient->stops()) {
        r += stop.second.redF();
        g += stop.second.greenF();
        b += stop.second.blueF();
    }
    const double n = double(gradient->stops().size());
    return QColor::fromRgbF(float(r / n), float(g / n), float(b / n));
}

// Decimals the value axis needs to tell its ticks apart.
int tickDecimals(const QValueAxis& axis) {
    const int intervals = std::max(1, axis.tickCount() - 1);
    const double step = (axis.max() - axis.min()) / intervals;
    if (!(step > 0)) {
        return 0;
    }
    return std::clamp(int(std::ceil(-std::log10(step) - 1e-9)), 0, 6);
}

}  // namespace

QtOfficeChart::QtOfficeChart(QWidget* parent) {
    auto* view = new OfficeChartView(parent);
    m_view = view;
    view->setObjectName(QStringLiteral("OLE1"));
    view->setMenuRequest([this](const QPoint& globalPos) { return showVerbMenu(globalPos); });
    view->setPaletteChanged([this] { applyTheme(); });

    QChart* c = view->chart();
    m_darkTheme = view->palette().color(QPalette::Window).lightness() < 128;
    if (m_darkTheme) {
        c->setTheme(QChart::ChartThemeDark);
    }
    c->setBackgroundRoundness(0);
    c->setMargins(QMargins(kMargin, kMargin, kMargin, kMargin));
    c->setLocalizeNumbers(true);
    c->setLocale(QLocale());
    c->legend()->setAlignment(Qt::AlignRight);

    auto* categoryAxis = new QBarCategoryAxis;
    auto* valueAxis = new QValueAxis;
    c->addAxis(categoryAxis, Qt::AlignBottom);
    c->addAxis(valueAxis, Qt::AlignLeft);
    // Drawn by fitLabels, which does not cut them short.
    categoryAxis->setLabelsVisible(false);
    m_categoryAxis = categoryAxis;
    m_valueAxis = valueAxis;

    QObject::connect(c, &QChart::plotAreaChanged, c, [this] { fitLabels(); });

    rebuildSeries();
    applyLegend();
    applyTitle();
    applyTickFonts();
    fitLabels();
}

QtOfficeChart::~QtOfficeChart() {
    // The parent may have taken the widget already; otherwise it goes with the object.
    delete m_view.data();
}

QWidget* QtOfficeChart::widget() {
    return m_view.data();
}

bool QtOfficeChart::isRunning() const {
    return !m_view.isNull();
}

QChart* QtOfficeChart::chart() const {
    return m_view ? m_view->chart() : nullptr;
}

void QtOfficeChart::setDataText(const QString& text) {
    m_dataText = text;
    m_textSeriesNames.clear();
    for (const OfficeChartSeries& series : officeChartData(text).series) {
        m_textSeriesNames.push_back(series.name);
    }
}

void QtOfficeChart::redraw() {
    m_shown = officeChartData(m_dataText);
    rebuildSeries();
}

void QtOfficeChart::setHasLegend(bool on) {
    if (m_settings.hasLegend == on) {
        return;
    }
    m_settings.hasLegend = on;
    applyLegend();
}

void QtOfficeChart::setChartType(int type) {
    if (type != kStackedColumns) {
        throw Failure(QStringLiteral("The chart type %1 is not available; only stacked columns "
                                     "(%2) are drawn")
                          .arg(type)
                          .arg(kStackedColumns));
    }
    m_settings.chartType = type;
}

void QtOfficeChart::setHasTitle(bool on) {
    if (m_settings.hasTitle == on) {
        return;
    }
    m_settings.hasTitle = on;
    applyTitle();
}

void QtOfficeChart::setChartTitleText(const QString& title) {
    if (m_settings.titleText == title) {
        return;
    }
    m_settings.titleText = title;
    applyTitle();
}

void QtOfficeChart::setChartTitleFontSize(double points) {
    if (!validFontSize(points) || m_settings.titleFontSize == points) {
        return;
    }
    m_settings.titleFontSize = points;
    applyTitle();
}

void QtOfficeChart::setTickLabelFontSize(int axisType, int axisGroup, double points) {
    if ((axisType != 1 && axisType != 2) || axisGroup != 1) {
        throw Failure(QStringLiteral("The chart has no axis of type %1 in group %2")
                          .arg(axisType)
                          .arg(axisGroup));
    }
    if (!validFontSize(points)) {
        return;
    }
    double& size = axisType == 1 ? m_settings.categoryTickFontSize : m_settings.valueTickFontSize;
    if (size == points) {
        return;
    }
    size = points;
    applyTickFonts();
}

void QtOfficeChart::setHasDataTable(bool on) {
    if (m_settings.hasDataTable == on) {
        return;
    }
    m_settings.hasDataTable = on;
    fitLabels();
}

void QtOfficeChart::setDataTableFontSize(double points) {
    if (!validFontSize(points) || m_settings.dataTableFontSize == points) {
        return;
    }
    m_settings.dataTableFontSize = points;
    fitLabels();
}

void QtOfficeChart::setSeriesColor(const QString& seriesName, ColorRef color) {
    if (!m_textSeriesNames.contains(seriesName)) {
        throw Failure(QStringLiteral("The chart has no series named \"%1\"").arg(seriesName));
    }
    m_settings.seriesColors.insert(seriesName, color);
    applyColors();
}

void QtOfficeChart::setApplicationSize(int width, int height) {
    m_settings.applicationSize = QSize(std::max(0, width), std::max(0, height));
}

void QtOfficeChart::setSize(int width, int height) {
    m_settings.size = QSize(std::max(0, width), std::max(0, height));
    if (m_view) {
        m_view->resize(m_settings.size);
    }
}

void QtOfficeChart::setAutoVerbMenu(bool on) {
    m_settings.autoVerbMenu = on;
}

void QtOfficeChart::copyToClipboard() {
    const QImage image = picture();
    if (image.isNull()) {
        return;
    }
    QGuiApplication::clipboard()->setImage(image);
}

QColor QtOfficeChart::seriesColor(const QString& seriesName) const {
    if (const auto it = m_settings.seriesColors.constFind(seriesName);
        it != m_settings.seriesColors.constEnd()) {
        return toQColor(*it);
    }
    for (std::size_t i = 0; i < m_shown.series.size(); ++i) {
        if (m_shown.series[i].name == seriesName) {
            return defaultSeriesColor(qsizetype(i));
        }
    }
    if (const qsizetype i = m_textSeriesNames.indexOf(seriesName); i >= 0) {
        return defaultSeriesColor(i);
    }
    return QColor();
}

QImage QtOfficeChart::picture() const {
    OfficeChartView* view = m_view.data();
    if (!view || view->width() <= 0 || view->height() <= 0) {
        return QImage();
    }
    // A view not shown yet leaves its chart unsized and unlaid; placing the labels under the
    // plot asks for one more layout after the first.
    QChart* c = view->chart();
    if (c->size() != QSizeF(view->size())) {
        c->resize(view->size());
    }
    for (int pass = 0; pass < 2; ++pass) {
        c->layout()->activate();
        QCoreApplication::sendPostedEvents(c, QEvent::MetaCall);
    }
    return view->grab().toImage();
}

QMenu* QtOfficeChart::createVerbMenu(QWidget* parent) {
    if (!m_settings.autoVerbMenu) {
        return nullptr;
    }
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("mnuChartVerbs"));
    for (const OfficeChartSeries& series : m_shown.series) {
        QString caption = series.name;
        caption.replace(u'&', QStringLiteral("&&"));
        QAction* color = menu->addAction(caption + QStringLiteral(" Color..."));
        QObject::connect(color, &QAction::triggered, menu,
                         [this, name = series.name] { chooseSeriesColor(name); });
    }
    if (!m_shown.series.empty()) {
        menu->addSeparator();
    }
    QAction* legend = menu->addAction(QStringLiteral("Show &Legend"));
    legend->setCheckable(true);
    legend->setChecked(m_settings.hasLegend);
    QObject::connect(legend, &QAction::toggled, menu, [this](bool on) { setHasLegend(on); });
    QAction* values = menu->addAction(QStringLiteral("Show &Values"));
    values->setCheckable(true);
    values->setChecked(m_settings.hasDataTable);
    QObject::connect(values, &QAction::toggled, menu, [this](bool on) { setHasDataTable(on); });
    return menu;
}

bool QtOfficeChart::showVerbMenu(const QPoint& globalPos) {
    QMenu* menu = createVerbMenu(m_view);
    if (!menu) {
        return false;
    }
    // Popped up, not run in a loop of its own: the window beside it holds a browser engine.
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
    return true;
}

void QtOfficeChart::chooseSeriesColor(const QString& seriesName) {
    // Called from a menu: nothing may leave it.
    try {
        ColorRequest request;
        request.initial = fromQColor(seriesColor(seriesName));
        request.flags = 1;
        request.customColors.fill(0xFFFFFFu);
        if (const auto chosen = dialogs().chooseColor(request)) {
            setSeriesColor(seriesName, *chosen & 0xFFFFFFu);
        }
    } catch (const Failure&) {
        // The chart's own editing fails quietly, as its other statements do.
    }
}

void QtOfficeChart::rebuildSeries() {
    if (!m_view) {
        return;
    }
    QChart* c = m_view->chart();
    c->removeAllSeries();

    m_categoryAxis->clear();
    m_categoryAxis->append(distinctCategoryLabels(m_shown.categories));

    auto* series = new QStackedBarSeries;
    series->setBarWidth(kBarWidth);
    double top = 0;
    double bottom = 0;
    std::vector<double> above(std::size_t(m_shown.categories.size()), 0.0);
    std::vector<double> below(above.size(), 0.0);
    for (const OfficeChartSeries& data : m_shown.series) {
        auto* set = new QBarSet(plain(data.name));
        QList<qreal> values;
        values.reserve(qsizetype(data.values.size()));
        for (std::size_t i = 0; i < data.values.size(); ++i) {
            const double v = data.values[i];
            values.push_back(v);
            // Stacked columns grow up from 0 for the positive parts and down for the negative.
            (v >= 0 ? above[i] : below[i]) += v;
            top = std::max(top, above[i]);
            bottom = std::min(bottom, below[i]);
        }
        set->append(values);
        series->append(set);
    }
    c->addSeries(series);
    series->attachAxis(m_categoryAxis);
    series->attachAxis(m_valueAxis);
    m_series = series;

    if (top == bottom) {
        top = bottom + 10;
    }
    m_valueAxis->setRange(bottom, top);
    m_valueAxis->applyNiceNumbers();
    m_valueAxis->setLabelFormat(QStringLiteral("%.%1f").arg(tickDecimals(*m_valueAxis)));

    applyColors();
    fitLabels();
}

void QtOfficeChart::applyTheme() {
    if (!m_view) {
        return;
    }
    const bool dark = m_view->palette().color(QPalette::Window).lightness() < 128;
    if (dark == m_darkTheme) {
        return;
    }
    m_darkTheme = dark;
    QChart* c = m_view->chart();
    // A theme brings its own fonts, colours and background; the object's settings go back on.
    c->setTheme(dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
    c->setBackgroundRoundness(0);
    applyTitle();
    applyTickFonts();
    applyColors();
    fitLabels();
}

QColor QtOfficeChart::valueLabelColour(const ValueLabel& label) const {
    const QColor background = m_view ? backgroundColour(*m_view->chart()) : QColor(Qt::white);
    if (label.series >= m_shown.series.size() || label.category < 0 ||
        std::size_t(label.category) >= m_shown.series[label.series].values.size()) {
        return textColourOn(background);
    }
    // The label's part of the column: from the sum of the parts below it to that plus its own.
    double below = 0;
    const double value = m_shown.series[label.series].values[std::size_t(label.category)];
    for (std::size_t s = 0; s < label.series; ++s) {
        const std::vector<double>& values = m_shown.series[s].values;
        const double v =
            std::size_t(label.category) < values.size() ? values[std::size_t(label.category)] : 0;
        if ((v >= 0) == (value >= 0)) {
            below += v;
        }
    }
    ColumnFrame frame;
    frame.plotArea = m_view->chart()->plotArea();
    frame.minValue = m_valueAxis->min();
    frame.maxValue = m_valueAxis->max();
    const double y1 = frame.yOf(below);
    const double y2 = frame.yOf(below + value);
    const bool onItsPart =
        label.centre.y() >= std::min(y1, y2) && label.centre.y() <= std::max(y1, y2);
    return textColourOn(onItsPart ? seriesColor(m_shown.series[label.series].name) : background);
}

void QtOfficeChart::applyLegend() {
    if (!m_view) {
        return;
    }
    m_view->chart()->legend()->setVisible(m_settings.hasLegend);
}

void QtOfficeChart::applyTitle() {
    if (!m_view) {
        return;
    }
    QChart* c = m_view->chart();
    c->setTitle(m_settings.hasTitle ? plain(m_settings.titleText) : QString());
    QFont font = withPointSize(c->titleFont(), m_settings.titleFontSize);
    font.setBold(true);
    c->setTitleFont(font);
}

void QtOfficeChart::applyTickFonts() {
    if (!m_view) {
        return;
    }
    m_categoryAxis->setLabelsFont(
        withPointSize(m_categoryAxis->labelsFont(), m_settings.categoryTickFontSize));
    m_valueAxis->setLabelsFont(
        withPointSize(m_valueAxis->labelsFont(), m_settings.valueTickFontSize));
    fitLabels();
}

void QtOfficeChart::applyColors() {
    if (!m_view || !m_series) {
        return;
    }
    const QList<QBarSet*> sets = m_series->barSets();
    for (qsizetype i = 0; i < sets.size() && std::size_t(i) < m_shown.series.size(); ++i) {
        sets[i]->setColor(seriesColor(m_shown.series[std::size_t(i)].name));
        sets[i]->setBorderColor(QColor(60, 60, 60));
    }
}

void QtOfficeChart::fitLabels() {
    QChart* c = chart();
    if (!c) {
        return;
    }
    for (QGraphicsSimpleTextItem* item : std::as_const(m_labelItems)) {
        delete item;
    }
    m_labelItems.clear();
    m_categoryLabelItems.clear();
    m_valueLabelItems.clear();

    ColumnFrame frame;
    frame.plotArea = c->plotArea();
    frame.minValue = m_valueAxis->min();
    frame.maxValue = m_valueAxis->max();
    frame.barWidth = kBarWidth;

    const QFont categoryFont = m_categoryAxis->labelsFont();
    const QFontMetricsF categoryMetrics(categoryFont);
    m_categoryLabels = placeCategoryLabels(m_shown.categories, frame, [&](const QString& text) {
        return categoryMetrics.size(Qt::TextSingleLine, text);
    });
    // Day labels in the theme's colour for axis labels, as the value axis has them.
    const QColor categoryColour = m_valueAxis->labelsBrush().color();
    for (const CategoryLabel& label : m_categoryLabels.labels) {
        QGraphicsSimpleTextItem* item =
            addLabelItem(label.text, categoryFont, label.centre, label.angle);
        item->setBrush(categoryColour);
        m_categoryLabelItems.push_back(item);
    }
    // The room under the plot follows the labels. This runs inside the chart's layout, which
    // drops a change of margins made there, so the change comes after it; the layout it asks
    // for places the labels again.
    const QMargins margins(kMargin, kMargin, kMargin,
                           kMargin + int(std::ceil(m_categoryLabels.depth)));
    if (c->margins() != margins) {
        QMetaObject::invokeMethod(
            c, [c, margins] { c->setMargins(margins); }, Qt::QueuedConnection);
    }

    m_valueLabels.clear();
    if (!m_settings.hasDataTable) {
        return;
    }
    const QFont valueFont = withPointSize(QFont(), m_settings.dataTableFontSize);
    const QFontMetricsF valueMetrics(valueFont);
    m_valueLabels = placeValueLabels(
        m_shown, frame,
        [&](const QString& text) { return valueMetrics.size(Qt::TextSingleLine, text); },
        c->locale());
    for (const ValueLabel& label : m_valueLabels) {
        QGraphicsSimpleTextItem* item =
            addLabelItem(label.text, valueFont, label.centre, label.angle);
        item->setBrush(valueLabelColour(label));
        item->setVisible(label.shown);
        m_valueLabelItems.push_back(item);
    }
}

QGraphicsSimpleTextItem* QtOfficeChart::addLabelItem(const QString& text, const QFont& font,
                                                     const QPointF& centre, double angle) {
    auto* item = new QGraphicsSimpleTextItem(text, chart());
    item->setFont(font);
    item->setBrush(Qt::black);
    item->setZValue(kLabelZ);
    const QPointF middle = item->boundingRect().center();
    item->setTransformOriginPoint(middle);
    item->setRotation(angle);
    item->setPos(centre - middle);
    m_labelItems.push_back(item);
    return item;
}

std::unique_ptr<OfficeChart> createOfficeChart(const QString& className, QWidget* parent) {
    if (className.compare(QStringLiteral("MSGRAPH"), Qt::CaseInsensitive) != 0) {
        throw Failure(
            QStringLiteral("Cannot create an embedded object of class \"%1\"").arg(className));
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        throw Failure(QStringLiteral("Cannot create an embedded object without a window system"));
    }
    return std::make_unique<QtOfficeChart>(parent);
}

}  // namespace kestrova
