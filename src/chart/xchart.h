// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// XChart: the program's own column chart control. A widget over a ChartModel: it keeps the
// persistent image that each redraw paints (and that editCopy copies), the legend panel with its
// splitter, the selection information box and the two pop-up menus, and turns mouse input into
// the model's picks and the control's events. Properties live in model().

#include "chart/chart_item.h"
#include "chart/chart_model.h"
#include "chart/chart_painter.h"

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <array>

class QAction;
class QLabel;
class QMenu;

namespace kestrova {

class LegendPanel;
class LegendSplitter;
class PropertyBag;

class XChart : public QWidget, private ChartModelHost {
    Q_OBJECT
public:
    explicit XChart(QWidget* parent = nullptr);
    ~XChart() override;

    ChartModel& model() { return m_model; }
    const ChartModel& model() const { return m_model; }

    // --- Methods ---------------------------------------------------------------------------
    // Appends an item (keeping the mean item last while meanOn); no redraw.
    void addItem(const ChartItemPtr& item);
    // Empties the clipboard, then puts the current image on it as a bitmap.
    void editCopy();
    // Prints chartTitle, chartSubTitle and one line per item as a document of its own.
    void printLegend();
    // Prints the chart (and the legend, by legendPrintMode). Each document first goes through
    // the print dialog (printers().choosePrinter); a cancelled dialog prints nothing. Throws
    // Failure, naming what went wrong, when the printer cannot be used.
    void printChart();
    void refresh() { drawChart(); }
    // A new empty item list, no legend rows, no selection; redraws.
    void clear();
    // The full redraw; nothing at all while autoRedraw is False.
    void drawChart() override;
    // Hides (True) or shows (False) the legend panel; callers redraw afterwards.
    void showLegend(bool hidden);

    // The stored form's set: loading assigns storage directly; saving writes every key.
    void readProperties(const PropertyBag& bag);
    void writeProperties(PropertyBag& bag) const;

    // --- Interaction -----------------------------------------------------------------------
    int columnAt(double x, double y) const { return m_model.columnAt(x, y); }
    // Where column `column` is drawn, in the control's pixels (empty for no such column).
    QRect columnRect(int column) const;
    void updateSelectionInfo(int column);
    void buildMainMenu() override;
    void buildCustomMenu() override;

    // The persistent image: what the redraw painted, at the control's size in the screen's
    // pixels (its device pixel ratio is the control's).
    const QImage& image() const { return m_image; }
    QMenu* mainMenu() const { return m_mainMenu; }
    QMenu* legendMenu() const { return m_legendMenu; }
    QAction* menuAction(MainMenuEntry entry) const;
    QAction* customMenuAction(int index) const { return m_custom[std::size_t(index)]; }
    QAction* customItemsSeparator() const { return m_customSeparator; }
    LegendPanel* legendPanel() const { return m_legend; }
    LegendSplitter* splitter() const { return m_splitter; }
    QLabel* infoBox() const { return m_info; }
    // The information box's text as the control composed it (lines joined by CR LF).
    QString infoText() const { return m_infoText; }

    // Menu commands.
    void saveChartAs();
    void printFromMenu();
    void copyFromMenu();
    void showSelectionInfo();
    void toggleLegend();
    void hideLegend();
    void runCustomItem(int index);

Q_SIGNALS:
    void itemClicked(const kestrova::ChartItemPtr& item);
    void menuItemClicked(int index, const QString& caption);
    // Button 1 left, 2 right, 4 middle; Shift 1 shift, 2 control, 4 alt; X, Y in twips.
    void mouseDown(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);
    // A persisted property changed; the name is the property's.
    void storedPropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Left and Right step the selected column (Home and End go to the ends, Escape clears
    // it) while Selectable; the menu key or Shift+F10 opens the pop-up menu.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void propertyChanged(const QString& name) override;
    void itemClick(const ChartItemPtr& item) override;

    void buildMenus();
    void openMenuFromKeyboard();
    void syncMenus();
    void ensureImage();
    // The image's size in the control's pixels.
    QSize imageSize() const;
    ChartCanvas canvas() const;
    QColor colour(ColorRef c) const;
    void refreshLegendPanel();
    void legendRowPressed(int row, Qt::MouseButton button, QPoint globalPos);
    void legendPanelPressed(Qt::MouseButton button, QPoint globalPos);
    void splitterDropped(int left);
    void handleLeftPress(int shift, double x, double y);
    QImage composeForPrinter() const;

    ChartModel m_model;
    QImage m_image;
    bool m_resizing = false;
    bool m_firstShown = false;
    QString m_infoText;
    QPoint m_infoDragStart;  // twips inside the box where the drag began
    bool m_infoDragging = false;

    LegendPanel* m_legend = nullptr;
    LegendSplitter* m_splitter = nullptr;
    QLabel* m_info = nullptr;
    QMenu* m_mainMenu = nullptr;
    QMenu* m_legendMenu = nullptr;
    std::array<QAction*, MainMenuEntryCount> m_actions{};
    std::array<QAction*, kCustomMenuEntries> m_custom{};
    QAction* m_customSeparator = nullptr;
};

}  // namespace kestrova
