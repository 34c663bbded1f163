// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The legend panel at the chart's right edge (picLegend): a container of rows (picContainer),
// each a colour swatch (picBox) and a text (picDescription), scrolled by vsbContainer; and the
// splitter (picSplitter) left of it, which the user drags to resize the legend.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QFrame>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

class QScrollBar;

namespace kestrova {

// A legend text cut to fit `available` pixels: while it is wider and not empty its last
// character goes; a text that got shorter ends with "..".
QString shortenLegendText(const QString& text, double available, const QFontMetricsF& metrics);

// Layout of the rows inside the container, in pixels.
namespace LegendLayout {
constexpr int kPanelWidth = 160;  // outer width of the panel when first shown
constexpr int kPanelBorder = 1;   // on each side
constexpr int kSplitterWidth = 8;
constexpr int kMinimumWidth = 40;  // narrowest legend the splitter leaves
constexpr int kSwatchLeft = 6;
constexpr int kSwatchTop = 8;
constexpr int kSwatchSize = 12;
constexpr int kRowGap = 10;  // between one row's swatch and the next
constexpr int kTextLeft = 24;
constexpr int kTextRightGap = 4;
constexpr int kTextHeight = 16;
constexpr int kTextRaise = 2;   // the text box starts this far above its swatch
constexpr int kShortenGap = 5;  // room kept free right of a row's text
}  // namespace LegendLayout

// One part of a legend row; presses go to the panel with the row's index.
class LegendRowPart : public QWidget {
    Q_OBJECT
public:
    LegendRowPart(const QString& name, int index, QWidget* parent);
    int index() const { return m_index; }
    void setColours(const QColor& back, const QColor& text);
    void setTextColour(const QColor& text) {
        m_fore = text;
        update();
    }
    QColor background() const { return m_back; }
    QColor textColour() const { return m_fore; }
    void setText(const QString& text) {
        m_text = text;
        update();
    }
    QString text() const { return m_text; }
    // The full text of a shortened row (the window's tag).
    QString tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

Q_SIGNALS:
    void pressed(int index, Qt::MouseButton button, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int m_index;
    QColor m_back;
    QColor m_fore;
    QString m_text;
    QString m_tag;
};

class LegendContainer : public QWidget {
    Q_OBJECT
public:
    explicit LegendContainer(QWidget* parent);
    // The outline drawn around the selected row; an invalid rect draws none.
    void setSelectionOutline(const QRect& rect, const QColor& colour);
    QRect selectionOutline() const { return m_outline; }
    void setBackground(const QColor& colour);

Q_SIGNALS:
    void pressed(Qt::MouseButton button, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor m_back;
    QRect m_outline;
    QColor m_outlineColour;
};

class LegendPanel : public QFrame {
    Q_OBJECT
public:
    explicit LegendPanel(QWidget* parent);

    int innerWidth() const { return width() - 2 * LegendLayout::kPanelBorder; }
    int innerHeight() const { return height() - 2 * LegendLayout::kPanelBorder; }
    // Width and height of the panel with its rows' container and scroll bar laid out inside.
    void setPanelSize(int width, int height);
    void setBackground(const QColor& colour);
    // showLegend's outline along the inner border.
    void setBorderMarked(bool marked);

    // buildLegend and clearLegend.
    void buildLegend(const QString& text, const QColor& swatch, const QColor& textColour,
                     const QColor& back, const QFont& font);
    void clearLegend();
    bool rowsBuilt() const { return m_rowsBuilt; }
    int rowCount() const { return m_rowsBuilt ? m_used : 0; }
    LegendRowPart* swatch(int row) const;
    LegendRowPart* description(int row) const;
    void setFirstRowTextColour(const QColor& colour);

    // Scrolls so that `row` is in view and outlines it; the first rows scroll to the top.
    void showSelectedRow(int row, const QColor& outline);
    void clearSelectedRow();
    int rowsFitting() const;
    QScrollBar* scrollBar() const { return m_scroll; }
    LegendContainer* container() const { return m_container; }

Q_SIGNALS:
    void rowPressed(int row, Qt::MouseButton button, QPoint globalPos);
    void panelPressed(Qt::MouseButton button, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ensureRow(int row);
    void scrollTo(int value);
    void layoutContainer();

    LegendContainer* m_container;
    QScrollBar* m_scroll;
    std::vector<LegendRowPart*> m_swatches;  // created on demand, reused across redraws
    std::vector<LegendRowPart*> m_descriptions;
    int m_used = 0;
    bool m_rowsBuilt = false;
    bool m_borderMarked = false;
    QColor m_back;
};

// picSplitter: shows a double-angle mark; dragging it resizes the legend.
class LegendSplitter : public QWidget {
    Q_OBJECT
public:
    explicit LegendSplitter(QWidget* parent);
    // 171 (pointing left) or 187 (pointing right).
    void setMark(int character);
    int mark() const { return m_mark; }
    bool dragging() const { return m_dragging; }

Q_SIGNALS:
    // The splitter was dropped at a new left edge (in its parent's pixels).
    void dropped(int left);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_mark = 171;
    bool m_dragging = false;
    int m_grab = 0;
};

}  // namespace kestrova
