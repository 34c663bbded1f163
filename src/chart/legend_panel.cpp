// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/legend_panel.h"

#include "chart/chart_properties.h"
#include "platform/colour_ref.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace kestrova {

using namespace LegendLayout;

QString shortenLegendText(const QString& text, double available, const QFontMetricsF& metrics) {
    if (text.isEmpty() || metrics.horizontalAdvance(text) <= available) {
        return text;
    }
    // Dropping characters one at a time from the end until the rest fits keeps the longest
    // prefix that fits; a prefix is never wider than a longer one, so a binary search finds it
    // with a handful of measurements instead of one per dropped character.
    qsizetype fits = 0;
    qsizetype tooWide = text.size();
    while (tooWide - fits > 1) {
        const qsizetype middle = (fits + tooWide) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) > available) {
            tooWide = middle;
        } else {
            fits = middle;
        }
    }
    return text.left(fits) + u"..";
}

namespace {
int rowTop(int row) {
    return kSwatchTop + row * (kSwatchSize + kRowGap);
}
// The rows and the scroll bar keep one pixel inside the border free for showLegend's outline.
constexpr int kInset = kPanelBorder + 1;
}  // namespace

// ---- Row parts -----------------------------------------------------------------------------

LegendRowPart::LegendRowPart(const QString& name, int index, QWidget* parent)
    : QWidget(parent), m_index(index) {
    setObjectName(name);
    setProperty("index", index);
}

void LegendRowPart::setColours(const QColor& back, const QColor& text) {
    m_back = back;
    m_fore = text;
    update();
}

void LegendRowPart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_back);
    if (!m_text.isEmpty()) {
        p.setPen(m_fore);
        p.setFont(font());
        p.drawText(rect().adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, m_text);
    }
}

void LegendRowPart::mousePressEvent(QMouseEvent* event) {
    Q_EMIT pressed(m_index, event->button(), event->globalPosition().toPoint());
    event->accept();
}

// ---- Container -----------------------------------------------------------------------------

LegendContainer::LegendContainer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picContainer"));
}

void LegendContainer::setSelectionOutline(const QRect& rect, const QColor& colour) {
    m_outline = rect;
    m_outlineColour = colour;
    update();
}

void LegendContainer::setBackground(const QColor& colour) {
    m_back = colour;
    update();
}

void LegendContainer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_back);
    if (m_outline.isValid()) {
        p.setPen(QPen(m_outlineColour, 1));
        p.drawRect(m_outline.adjusted(0, 0, -1, -1));
    }
}

void LegendContainer::mousePressEvent(QMouseEvent* event) {
    Q_EMIT pressed(event->button(), event->globalPosition().toPoint());
    event->accept();
}

// ---- Panel ---------------------------------------------------------------------------------

LegendPanel::LegendPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("picLegend"));
    m_container = new LegendContainer(this);
    m_scroll = new QScrollBar(Qt::Vertical, this);
    m_scroll->setObjectName(QStringLiteral("vsbContainer"));
    m_scroll->setRange(0, 0);
    m_scroll->hide();
    connect(m_scroll, &QScrollBar::valueChanged, this, &LegendPanel::scrollTo);
    connect(m_container, &LegendContainer::pressed, this, &LegendPanel::panelPressed);
    ensureRow(0);
    setPanelSize(kPanelWidth, 100);
}

void LegendPanel::setPanelSize(int width, int height) {
    resize(std::max(width, 2 * kPanelBorder + 1), std::max(height, 2 * kPanelBorder + 1));
    layoutContainer();
}

void LegendPanel::layoutContainer() {
    const int scrollWidth = m_scroll->sizeHint().width();
    const int containerWidth = std::max(1, width() - 2 * kInset - scrollWidth);
    m_container->setGeometry(kInset, kInset - m_scroll->value(), containerWidth,
                             std::max(m_container->height(), 1));
    m_scroll->setGeometry(width() - kInset - scrollWidth, kInset, scrollWidth,
                          std::max(1, height() - 2 * kInset));
    for (LegendRowPart* desc : m_descriptions) {
        desc->resize(std::max(1, containerWidth - kTextLeft - kTextRightGap), kTextHeight);
    }
}

void LegendPanel::setBackground(const QColor& colour) {
    m_back = colour;
    m_container->setBackground(colour);
    update();
}

void LegendPanel::setBorderMarked(bool marked) {
    m_borderMarked = marked;
    update();
}

void LegendPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_back);
    p.setPen(toQColor(0x80000010u, palette()));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_borderMarked) {
        p.setPen(toQColor(0xFFE0E0u));
        p.drawRect(
            rect().adjusted(kPanelBorder, kPanelBorder, -kPanelBorder - 1, -kPanelBorder - 1));
    }
}

void LegendPanel::mousePressEvent(QMouseEvent* event) {
    Q_EMIT panelPressed(event->button(), event->globalPosition().toPoint());
    event->accept();
}

void LegendPanel::ensureRow(int row) {
    while (int(m_swatches.size()) <= row) {
        const int index = int(m_swatches.size());
        auto* box = new LegendRowPart(QStringLiteral("picBox"), index, m_container);
        auto* text = new LegendRowPart(QStringLiteral("picDescription"), index, m_container);
        box->hide();
        text->hide();
        connect(box, &LegendRowPart::pressed, this, &LegendPanel::rowPressed);
        connect(text, &LegendRowPart::pressed, this, &LegendPanel::rowPressed);
        m_swatches.push_back(box);
        m_descriptions.push_back(text);
    }
}

LegendRowPart* LegendPanel::swatch(int row) const {
    return row >= 0 && row < rowCount() ? m_swatches[std::size_t(row)] : nullptr;
}

LegendRowPart* LegendPanel::description(int row) const {
    return row >= 0 && row < rowCount() ? m_descriptions[std::size_t(row)] : nullptr;
}

void LegendPanel::setFirstRowTextColour(const QColor& colour) {
    m_descriptions.front()->setTextColour(colour);
}

void LegendPanel::buildLegend(const QString& text, const QColor& swatchColour,
                              const QColor& textColour, const QColor& back, const QFont& font) {
    const int row = m_rowsBuilt ? m_used : 0;
    m_rowsBuilt = true;
    ensureRow(row);
    const int top = rowTop(row);
    LegendRowPart* box = m_swatches[std::size_t(row)];
    box->setGeometry(kSwatchLeft, top, kSwatchSize, kSwatchSize);
    box->setColours(swatchColour, textColour);

    const int containerWidth = m_container->width();
    const QFontMetricsF metrics(font, m_container);
    const QString shown =
        shortenLegendText(text, containerWidth - kTextLeft - kShortenGap, metrics);
    LegendRowPart* desc = m_descriptions[std::size_t(row)];
    desc->setGeometry(kTextLeft, top - kTextRaise,
                      std::max(1, containerWidth - kTextLeft - kTextRightGap), kTextHeight);
    desc->setFont(font);
    desc->setColours(back, textColour);
    desc->setTag(shown == text ? QString() : text);
    desc->setText(shown);
    box->show();
    desc->show();
    m_used = row + 1;

    const int containerHeight = top + kSwatchSize + kSwatchTop;
    m_container->resize(containerWidth, containerHeight);
    const int visible = m_scroll->height();
    if (containerHeight > visible) {
        m_scroll->setMaximum(containerHeight - visible);
        m_scroll->setPageStep(std::max(1, visible));
        m_scroll->setSingleStep(kSwatchSize + kRowGap);
        m_scroll->show();
    } else {
        m_scroll->setMaximum(0);
        m_scroll->hide();
    }
}

void LegendPanel::clearLegend() {
    if (!m_rowsBuilt) {
        return;
    }
    for (int row = 0; row < m_used; ++row) {
        m_swatches[std::size_t(row)]->hide();
        m_descriptions[std::size_t(row)]->hide();
    }
    m_used = 0;
    m_rowsBuilt = false;
    clearSelectedRow();
}

int LegendPanel::rowsFitting() const {
    return std::abs(int(std::lround(double(innerHeight()) / double(kRowGap + kSwatchSize) - 1)));
}

void LegendPanel::scrollTo(int value) {
    m_container->hide();
    m_container->move(m_container->x(), kInset - value);
    m_container->show();
}

void LegendPanel::showSelectedRow(int row, const QColor& outline) {
    if (row < 0 || row >= rowCount()) {
        clearSelectedRow();
        return;
    }
    if (row + 1 <= rowsFitting()) {
        m_scroll->setValue(0);
    } else {
        // The selected row becomes the lowest one in view.
        const int bottom = rowTop(row) + kSwatchSize + kSwatchTop;
        m_scroll->setValue(std::clamp(bottom - m_scroll->height(), 0, m_scroll->maximum()));
    }
    const LegendRowPart* box = m_swatches[std::size_t(row)];
    const LegendRowPart* desc = m_descriptions[std::size_t(row)];
    m_container->setSelectionOutline(
        QRect(QPoint(box->x() - 3, box->y() - 3),
              QPoint(desc->geometry().right() + 2, box->geometry().bottom() + 2)),
        outline);
}

void LegendPanel::clearSelectedRow() {
    m_container->setSelectionOutline(QRect(), QColor());
}

// ---- Splitter ------------------------------------------------------------------------------

LegendSplitter::LegendSplitter(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picSplitter"));
    setMouseTracking(true);
    resize(kSplitterWidth, 100);
}

void LegendSplitter::setMark(int character) {
    m_mark = character;
    update();
}

void LegendSplitter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), toQColor(m_dragging ? 0x80000010u : kSystemButtonFace, palette()));
    QFont mark(QStringLiteral("Times New Roman"));
    mark.setPointSizeF(8);
    mark.setStyleHint(QFont::Serif);
    p.setFont(mark);
    p.setPen(toQColor(0x80000012u, palette()));
    p.drawText(QRect(0, 0, width(), QFontMetrics(mark).height()), Qt::AlignHCenter | Qt::AlignTop,
               QString(QChar(char16_t(m_mark))));
}

void LegendSplitter::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_grab = int(event->position().x());
        update();
    }
    event->accept();
}

void LegendSplitter::mouseMoveEvent(QMouseEvent* event) {
    setCursor(event->position().y() > 5 ? Qt::SizeHorCursor : Qt::ArrowCursor);
    if (!m_dragging || !parentWidget()) {
        return;
    }
    const int left = x() + int(event->position().x()) - m_grab;
    const int parentWidth = parentWidget()->width();
    if (left >= parentWidth / 2 && left <= parentWidth - kMinimumWidth - width()) {
        move(left, y());
    }
}

void LegendSplitter::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging) {
        m_dragging = false;
        update();
        unsetCursor();
        Q_EMIT dropped(x());
    }
    event->accept();
}

}  // namespace kestrova
