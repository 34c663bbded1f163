// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/xchart.h"

#include "chart/accessibility.h"
#include "chart/chart_printer.h"
#include "chart/data_format.h"
#include "chart/legend_panel.h"
#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/property_bag.h"
#include "platform/twips.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <cmath>

namespace kestrova {

namespace {

int vbButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int vbShift(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

// The hourglass for as long as a print job runs, however it ends.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
};

void showPlainMessage(const QString& text) {
    Message message;
    message.text = text;
    dialogs().show(message);
}

void beginOrFail(QPainter& painter, QPrinter& printer) {
    if (!painter.begin(&printer)) {
        throw Failure(printerFailure(printer));
    }
}

}  // namespace

XChart::XChart(QWidget* parent) : QWidget(parent) {
    installChartAccessibility();
    setObjectName(QStringLiteral("XChart"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Reached by Tab; the arrow keys pick columns, the menu key opens the menu.
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setFont(chartFont());
    m_model.setHost(this);

    m_legend = new LegendPanel(this);
    m_splitter = new LegendSplitter(this);
    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("lblInfo"));
    m_info->setAutoFillBackground(true);
    m_info->setMargin(0);
    m_info->setIndent(0);
    m_info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_info->setTextFormat(Qt::PlainText);
    m_info->move(twipsToPixels(60, m_model.twipsPerPixelX()),
                 twipsToPixels(60, m_model.twipsPerPixelY()));
    m_info->hide();
    m_info->installEventFilter(this);

    connect(m_legend, &LegendPanel::rowPressed, this, &XChart::legendRowPressed);
    connect(m_legend, &LegendPanel::panelPressed, this, &XChart::legendPanelPressed);
    connect(m_splitter, &LegendSplitter::dropped, this, &XChart::splitterDropped);
    buildMenus();
    resize(480, 320);
}

XChart::~XChart() {
    m_model.setHost(nullptr);
}

QColor XChart::colour(ColorRef c) const {
    return toQColor(c, palette());
}

QAction* XChart::menuAction(MainMenuEntry entry) const {
    return m_actions[std::size_t(entry)];
}

void XChart::buildMenus() {
    m_mainMenu = new QMenu(this);
    m_mainMenu->setObjectName(QStringLiteral("mnuMain"));
    m_mainMenu->setTitle(QStringLiteral("&Main"));
    auto add = [this](QMenu* menu, const QString& name, void (XChart::*handler)()) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    m_actions[MenuSaveAs] = add(m_mainMenu, QStringLiteral("mnuMainSaveAs"), &XChart::saveChartAs);
    m_actions[MenuPrint] = add(m_mainMenu, QStringLiteral("mnuMainPrint"), &XChart::printFromMenu);
    m_actions[MenuCopy] = add(m_mainMenu, QStringLiteral("mnuMainCopy"), &XChart::copyFromMenu);
    m_mainMenu->addSeparator()->setObjectName(QStringLiteral("mnuSeparator1"));
    m_actions[MenuSelectionInfo] =
        add(m_mainMenu, QStringLiteral("mnuMainSelectionInfo"), &XChart::showSelectionInfo);
    m_actions[MenuViewLegend] =
        add(m_mainMenu, QStringLiteral("mnuMainViewLegend"), &XChart::toggleLegend);
    m_actions[MenuSelectionInfo]->setCheckable(true);
    m_actions[MenuViewLegend]->setCheckable(true);
    m_customSeparator = m_mainMenu->addSeparator();
    m_customSeparator->setObjectName(QStringLiteral("mnuMainCustomItemsSeparator"));
    for (int k = 0; k < kCustomMenuEntries; ++k) {
        QAction* action = m_mainMenu->addAction(QString());
        action->setObjectName(QStringLiteral("mnuMainCustomItems"));
        action->setProperty("index", k);
        connect(action, &QAction::triggered, this, [this, k] { runCustomItem(k); });
        m_custom[std::size_t(k)] = action;
    }

    m_legendMenu = new QMenu(this);
    m_legendMenu->setObjectName(QStringLiteral("mnuLegend"));
    m_legendMenu->setTitle(QStringLiteral("&Legend"));
    m_actions[MenuLegendHide] =
        add(m_legendMenu, QStringLiteral("mnuLegendHide"), &XChart::hideLegend);
    syncMenus();
}

void XChart::syncMenus() {
    const ChartMenuState& menu = m_model.menu();
    for (int i = 0; i < MainMenuEntryCount; ++i) {
        m_actions[std::size_t(i)]->setText(menu.captions[std::size_t(i)]);
    }
    m_actions[MenuSelectionInfo]->setChecked(menu.selectionInfoChecked);
    m_actions[MenuViewLegend]->setChecked(menu.viewLegendChecked);
    for (int k = 0; k < kCustomMenuEntries; ++k) {
        m_custom[std::size_t(k)]->setText(menu.customCaptions[std::size_t(k)]);
        m_custom[std::size_t(k)]->setVisible(menu.customVisible[std::size_t(k)]);
    }
    m_customSeparator->setVisible(menu.customSeparatorVisible);
}

// ---- Host of the model ---------------------------------------------------------------------

void XChart::propertyChanged(const QString& name) {
    Q_EMIT storedPropertyChanged(name);
    if (name == QLatin1String("SelectedColumn")) {
        announceSelectedColumn(*this);
    }
}

void XChart::itemClick(const ChartItemPtr& item) {
    Q_EMIT itemClicked(item);
}

void XChart::buildMainMenu() {
    m_model.buildMainMenuCaptions();
    syncMenus();
    if (m_model.menuType() != 1) {
        m_info->move(twipsToPixels(60, m_model.twipsPerPixelX()),
                     twipsToPixels(60, m_model.twipsPerPixelY()));
    }
}

void XChart::buildCustomMenu() {
    m_model.buildCustomMenuCaptions();
    syncMenus();
}

// ---- Methods -------------------------------------------------------------------------------

void XChart::addItem(const ChartItemPtr& item) {
    m_model.addItem(item);
}

void XChart::clear() {
    m_model.clearItems();
    m_legend->clearLegend();
    drawChart();
}

void XChart::readProperties(const PropertyBag& bag) {
    m_model.readProperties(bag);
}

void XChart::writeProperties(PropertyBag& bag) const {
    m_model.writeProperties(bag);
}

QSize XChart::imageSize() const {
    const QSizeF logical = m_image.deviceIndependentSize();
    return QSize(int(std::lround(logical.width())), int(std::lround(logical.height())));
}

void XChart::ensureImage() {
    // The image has the screen's own pixels (twice as many each way at a scale of 2), so the
    // chart is sharp; the drawing works in the control's pixels all the same.
    const qreal ratio = devicePixelRatioF();
    const QSize logical = size().expandedTo(QSize(1, 1));
    const QSize wanted = (QSizeF(logical) * ratio).toSize();
    if (m_image.size() == wanted && m_image.devicePixelRatio() == ratio) {
        return;
    }
    // The persistent image keeps what it holds; new room shows the background.
    QImage grown(wanted, QImage::Format_RGB32);
    grown.setDevicePixelRatio(ratio);
    // The resolution of the control's pixels: fonts are sized in those, and the device pixel
    // ratio scales the drawing onto the image's own.
    grown.setDotsPerMeterX(int(std::lround(1440.0 / m_model.twipsPerPixelX() / 0.0254)));
    grown.setDotsPerMeterY(int(std::lround(1440.0 / m_model.twipsPerPixelY() / 0.0254)));
    grown.fill(colour(m_model.backColor()));
    if (!m_image.isNull()) {
        QPainter p(&grown);
        p.drawImage(0, 0, m_image);
    }
    m_image = grown;
}

ChartCanvas XChart::canvas() const {
    ChartCanvas c;
    const QSize logical = imageSize();
    c.scaleWidth = logical.width() * m_model.twipsPerPixelX();
    c.scaleHeight = logical.height() * m_model.twipsPerPixelY();
    c.centre =
        m_model.legendShown() ? m_splitter->x() * m_model.twipsPerPixelX() / 2 : c.scaleWidth / 2;
    c.font = chartFont();
    c.palette = palette();
    return c;
}

void XChart::drawChart() {
    const ChartProperties& p = m_model.properties();
    if (!p.autoRedraw) {
        return;
    }
    ensureImage();
    m_model.computeScale();
    // Texts on the legend and the information box stay readable on their backgrounds under
    // any palette.
    const QColor legendText = readableOn(p.legendForeColor, p.legendBackColor, palette());
    m_legend->setFirstRowTextColour(legendText);

    QPalette infoPalette = m_info->palette();
    infoPalette.setColor(QPalette::WindowText,
                         readableOn(p.infoForeColor, p.infoBackColor, palette()));
    infoPalette.setColor(QPalette::Window, colour(p.infoBackColor));
    m_info->setPalette(infoPalette);
    m_info->setVisible(p.selectedColumn > -1 && p.selectionInformation);
    m_model.menuState().selectionInfoChecked = p.selectionInformation;
    syncMenus();

    if (!m_resizing) {
        m_legend->clearLegend();
    }
    ChartRedraw redraw;
    {
        QPainter painter(&m_image);
        redraw = ChartPainter().draw(painter, m_model, canvas());
    }
    m_model.setGeometry(std::move(redraw.geometry));
    if (redraw.selectedDrawn) {
        updateSelectionInfo(p.selectedColumn);
    }
    if (!m_resizing) {
        const QColor back = colour(p.legendBackColor);
        for (const LegendEntry& entry : redraw.legend) {
            m_legend->buildLegend(entry.text, colour(entry.swatch), legendText, back, font());
        }
    }
    if (m_model.legendShown()) {
        refreshLegendPanel();
    }
    update();
}

void XChart::refreshLegendPanel() {
    const ChartProperties& p = m_model.properties();
    m_legend->setBackground(colour(p.legendBackColor));
    if (p.selectable && p.selectedColumn > -1) {
        m_legend->showSelectedRow(p.selectedColumn, colour(p.selectedBarColor));
    } else {
        m_legend->clearSelectedRow();
    }
}

void XChart::showLegend(bool hidden) {
    m_legend->setBorderMarked(true);
    m_model.applyShowLegend(hidden, m_legend->innerWidth() * m_model.twipsPerPixelX(),
                            m_legend->width() * m_model.twipsPerPixelX());
    if (!hidden) {
        m_legend->move(width() - m_legend->width(), 0);
        m_splitter->setMark(187);
    } else {
        m_legend->move(width(), 0);
        m_splitter->setMark(171);
    }
    m_splitter->setGeometry(m_legend->x() - m_splitter->width(), 0, m_splitter->width(),
                            m_legend->innerHeight());
}

QRect XChart::columnRect(int column) const {
    if (column < 0 || column >= m_model.itemCount()) {
        return QRect();
    }
    const QRectF twips = m_model.geometry().columnRect(column);
    return QRect(int(twips.left() / m_model.twipsPerPixelX()),
                 int(twips.top() / m_model.twipsPerPixelY()),
                 int(twips.width() / m_model.twipsPerPixelX()),
                 int(twips.height() / m_model.twipsPerPixelY()));
}

void XChart::updateSelectionInfo(int column) {
    m_info->hide();
    const std::optional<QString> text = m_model.selectionInfoText(column);
    if (!text || text->isEmpty()) {
        return;
    }
    m_infoText = *text;
    QString shown = *text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_info->setFont(font());
    m_info->setText(shown);
    const QFontMetricsF metrics(font(), this);
    double widest = 0;
    const QStringList lines = shown.split(u'\n');
    for (const QString& line : lines) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    m_info->resize(int(std::ceil(widest + 5)),
                   int(std::ceil(double(lines.size()) * metrics.height() * 1.2)));
    m_info->show();
    m_info->raise();
}

void XChart::editCopy() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(m_image);
}

QImage XChart::composeForPrinter() const {
    const ChartProperties& p = m_model.properties();
    const int chartWidth = m_model.legendShown() ? std::max(1, m_splitter->x()) : width();
    const qreal ratio = m_image.devicePixelRatio();
    const QSize logical = imageSize();
    QImage chart = m_image.copy(
        0, 0, int(std::lround(std::min(chartWidth, logical.width()) * ratio)), m_image.height());
    chart.setDevicePixelRatio(ratio);
    if (!m_model.legendShown() || p.legendPrintMode != 1) {
        return chart;
    }
    const QImage legend = m_legend->grab().toImage();
    const QSizeF chartSize = chart.deviceIndependentSize();
    const QSizeF legendSize = legend.deviceIndependentSize();
    QImage page((QSizeF(chartSize.width() + legendSize.width(),
                        std::max(chartSize.height(), legendSize.height())) *
                 ratio)
                    .toSize(),
                QImage::Format_RGB32);
    page.setDevicePixelRatio(ratio);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.drawImage(QPointF(0, 0), chart);
    painter.drawImage(QRectF(QPointF(chartSize.width(), 0), legendSize), legend);
    return page;
}

void XChart::printChart() {
    const ChartProperties& p = m_model.properties();
    const std::unique_ptr<QPrinter> printer = printers().createPrinter();
    if (p.printerOrientation == 1) {
        printer->setPageOrientation(QPageLayout::Portrait);
    } else if (p.printerOrientation == 2) {
        printer->setPageOrientation(QPageLayout::Landscape);
    }
    if (!printers().choosePrinter(*printer, this)) {
        return;
    }
    const WaitCursor hourglass;
    const QImage picture = composeForPrinter();
    QPainter painter;
    beginOrFail(painter, *printer);
    const QRect page = painter.viewport();
    // Sized by the control's pixels; the picture's own (more at a higher scale) give the detail.
    const QSizeF shown = picture.deviceIndependentSize();
    double scale = printer->resolution() / double(logicalDpiX());
    if (p.printerFit == 1) {
        scale = std::min(page.width() / shown.width(), page.height() / shown.height());
    }
    painter.drawImage(QRectF(0, 0, shown.width() * scale, shown.height() * scale), picture);
    painter.end();
    if (m_model.legendShown() && p.legendPrintMode == 2) {
        printLegend();
    }
}

void XChart::printLegend() {
    const ChartProperties& p = m_model.properties();
    const std::unique_ptr<QPrinter> printer = printers().createPrinter();
    if (!printers().choosePrinter(*printer, this)) {
        return;
    }
    QPainter painter;
    beginOrFail(painter, *printer);
    const QRect page = painter.viewport();
    double y = 0;
    auto write = [&](const QString& text, const QFont& font) {
        painter.setFont(font);
        const QFontMetricsF metrics(font, printer.get());
        const double lineHeight = metrics.height() * 1.2;
        if (y + lineHeight > page.height() && y > 0) {
            printer->newPage();
            y = 0;
        }
        painter.drawText(QRectF(0, y, page.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         text);
        y += lineHeight;
    };
    QFont heading = chartFont();
    heading.setPointSizeF(14);
    heading.setBold(true);
    QFont subHeading = chartFont();
    subHeading.setPointSizeF(11);
    QFont body = chartFont();
    body.setPointSizeF(10);
    write(p.chartTitle, heading);
    write(p.chartSubTitle, subHeading);
    for (const ChartItemPtr& item : m_model.items()) {
        write(item->legendDescription + u" (" + formatChartValue(item->value, p.dataFormat) + u')',
              body);
    }
    painter.end();
}

// ---- Menu commands -------------------------------------------------------------------------

void XChart::saveChartAs() {
    SaveFileRequest request;
    const QString caption = m_model.saveAsCaption();
    request.title = caption.isEmpty() ? QStringLiteral("Save chart as") : caption;
    request.defaultName = QStringLiteral("chart.png");
    request.filter = QStringLiteral("PNG image (*.png)");
    const std::optional<QString> chosen = dialogs().saveFileName(request);
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    QString file = *chosen;
    if (QFileInfo(file).suffix().isEmpty()) {
        file += u".png";
    }
    QImageWriter writer(file, "png");
    if (!writer.write(m_image)) {
        showPlainMessage(writer.errorString());
    }
}

void XChart::printFromMenu() {
    try {
        printChart();
    } catch (const Failure& failure) {
        dialogs().show(
            Message(failure.description(), QStringLiteral("Print"), MessageIcon::Warning));
    }
}

void XChart::copyFromMenu() {
    QGuiApplication::clipboard()->setImage(m_image);
}

void XChart::showSelectionInfo() {
    ChartMenuState& menu = m_model.menuState();
    menu.selectionInfoChecked = !menu.selectionInfoChecked;
    m_model.storage().selectionInformation = menu.selectionInfoChecked;
    syncMenus();
    updateSelectionInfo(m_model.selectedColumn());
}

void XChart::toggleLegend() {
    ChartMenuState& menu = m_model.menuState();
    menu.viewLegendChecked = !menu.viewLegendChecked;
    syncMenus();
    showLegend(!menu.viewLegendChecked);
    drawChart();
}

void XChart::hideLegend() {
    ChartMenuState& menu = m_model.menuState();
    menu.viewLegendChecked = !menu.viewLegendChecked;
    syncMenus();
    showLegend(true);
    drawChart();
}

void XChart::runCustomItem(int index) {
    if (index < 0 || index >= kCustomMenuEntries) {
        return;
    }
    Q_EMIT menuItemClicked(index, m_model.menu().customCaptions[std::size_t(index)]);
}

// ---- Events --------------------------------------------------------------------------------

void XChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
    const QSize logical = imageSize();
    if (logical.width() < width() || logical.height() < height()) {
        painter.fillRect(QRect(logical.width(), 0, width() - logical.width(), height()),
                         colour(m_model.backColor()));
        painter.fillRect(QRect(0, logical.height(), width(), height() - logical.height()),
                         colour(m_model.backColor()));
    }
    // The focus frame goes on the screen, not into the picture that is copied and printed.
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        // Shown from the start, not only once the keyboard has moved the focus: a window opens
        // with its focus somewhere, and the user has to see where.
        option.state |= QStyle::State_KeyboardFocusChange;
        const int chartWidth = m_model.legendShown() ? m_splitter->x() : width();
        option.rect = QRect(1, 1, chartWidth - 2, height() - 2);
        option.backgroundColor = colour(m_model.backColor());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void XChart::keyPressEvent(QKeyEvent* event) {
    const int columns = m_model.itemCount() - (m_model.meanOn() ? 1 : 0);
    const int selected = m_model.selectedColumn();
    int pick = -2;
    switch (event->key()) {
        case Qt::Key_Right:
            pick = std::min(selected + 1, columns - 1);
            break;
        case Qt::Key_Left:
            pick = selected < 0 ? columns - 1 : std::max(selected - 1, 0);
            break;
        case Qt::Key_Home:
            pick = 0;
            break;
        case Qt::Key_End:
            pick = columns - 1;
            break;
        case Qt::Key_Escape:
            if (selected < 0) {
                QWidget::keyPressEvent(event);  // the window's Escape
                return;
            }
            pick = -1;
            break;
        case Qt::Key_Menu:
            openMenuFromKeyboard();
            event->accept();
            return;
        case Qt::Key_F10:
            if (event->modifiers() & Qt::ShiftModifier) {
                openMenuFromKeyboard();
                event->accept();
                return;
            }
            break;
        default:
            break;
    }
    if (pick == -2 || !m_model.selectable() || columns <= 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (pick != selected) {
        m_model.setSelectedColumn(pick);
        if (pick >= 0) {
            updateSelectionInfo(pick);
        }
    }
}

void XChart::openMenuFromKeyboard() {
    if (m_model.menuType() != 0) {
        return;
    }
    buildMainMenu();
    buildCustomMenu();
    m_mainMenu->popup(mapToGlobal(rect().center()));
}

void XChart::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void XChart::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void XChart::resizeEvent(QResizeEvent*) {
    ensureImage();
    const int w = width();
    m_legend->move(m_model.legendShown() ? w - m_legend->width() : w, 0);
    m_legend->setPanelSize(m_legend->width(), height());
    m_splitter->setGeometry(m_legend->x() - m_splitter->width(), 0, m_splitter->width(),
                            m_legend->innerHeight());
    m_model.normalizeLegendCaption();
    m_splitter->setToolTip(m_model.legendCaption());
    m_splitter->setMark(171);
    const FlagScope resizing(m_resizing);
    drawChart();
}

void XChart::showEvent(QShowEvent*) {
    if (m_firstShown) {
        return;
    }
    m_firstShown = true;
    drawChart();
    buildMainMenu();
    buildCustomMenu();
}

void XChart::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // The persistent image holds colours resolved from the palette; a new palette (the
    // desktop switched to a dark scheme) redraws it.
    if (event->type() == QEvent::PaletteChange && m_firstShown) {
        drawChart();
    }
}

void XChart::handleLeftPress(int shift, double x, double y) {
    m_model.pressAt(x, y);
    Q_EMIT mouseDown(1, shift, x, y);
}

void XChart::mousePressEvent(QMouseEvent* event) {
    const double x = event->position().x() * m_model.twipsPerPixelX();
    const double y = event->position().y() * m_model.twipsPerPixelY();
    const int shift = vbShift(event->modifiers());
    if (event->button() == Qt::LeftButton) {
        handleLeftPress(shift, x, y);
        return;
    }
    if (event->button() == Qt::RightButton && m_model.menuType() == 0) {
        buildMainMenu();
        buildCustomMenu();
        m_mainMenu->popup(event->globalPosition().toPoint());
    }
    Q_EMIT mouseDown(vbButton(event->button()), shift, x, y);
}

void XChart::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons().testFlag(Qt::LeftButton) || m_model.hotTracking()) {
        handleLeftPress(vbShift(event->modifiers()),
                        event->position().x() * m_model.twipsPerPixelX(),
                        event->position().y() * m_model.twipsPerPixelY());
    }
}

void XChart::mouseReleaseEvent(QMouseEvent* event) {
    Q_EMIT mouseUp(vbButton(event->button()), vbShift(event->modifiers()),
                   event->position().x() * m_model.twipsPerPixelX(),
                   event->position().y() * m_model.twipsPerPixelY());
}

bool XChart::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_info) {
        return QWidget::eventFilter(watched, event);
    }
    const double tppx = m_model.twipsPerPixelX();
    const double tppy = m_model.twipsPerPixelY();
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                m_infoDragStart = QPoint(pixelsToTwips(mouse->position().x(), tppx),
                                         pixelsToTwips(mouse->position().y(), tppy));
                m_infoDragging = true;
            } else {
                m_mainMenu->popup(mouse->globalPosition().toPoint());
            }
            return true;
        }
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: {
            if (!m_infoDragging) {
                return false;
            }
            auto* mouse = static_cast<QMouseEvent*>(event);
            // Where the box is dropped on the control, in twips.
            const QPointF drop = m_info->mapToParent(mouse->position());
            const double left = drop.x() * tppx - m_infoDragStart.x();
            const double top = drop.y() * tppy - m_infoDragStart.y();
            m_info->move(twipsToPixels(left, tppx), twipsToPixels(top, tppy));
            if (event->type() == QEvent::MouseButtonRelease) {
                m_infoDragging = false;
            }
            return true;
        }
        default:
            return false;
    }
}

void XChart::legendRowPressed(int row, Qt::MouseButton button, QPoint globalPos) {
    if (button != Qt::LeftButton) {
        legendPanelPressed(button, globalPos);
        return;
    }
    if (!m_model.selectFromLegend(row)) {
        return;
    }
    const int scroll = m_legend->scrollBar()->value();
    drawChart();
    updateSelectionInfo(row);
    m_legend->scrollBar()->setValue(scroll);
}

void XChart::legendPanelPressed(Qt::MouseButton button, QPoint globalPos) {
    if (button == Qt::RightButton) {
        m_legendMenu->popup(globalPos);
    }
}

void XChart::splitterDropped(int left) {
    const int legendWidth =
        std::max(LegendLayout::kMinimumWidth, width() - (left + m_splitter->width()));
    m_legend->setPanelSize(legendWidth, height());
    m_model.restoreRightMargin();
    m_model.menuState().viewLegendChecked = true;
    syncMenus();
    showLegend(false);
    drawChart();
}

}  // namespace kestrova
