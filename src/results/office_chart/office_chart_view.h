// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The office chart's place on the window: a chart view that hands its context menu request to
// the object that owns it.

#include <QtCharts/QChartView>
#include <functional>

namespace kestrova {

class OfficeChartView : public QChartView {
    Q_OBJECT
public:
    // Answers a context menu request at a global position: true when it showed a menu.
    using MenuRequest = std::function<bool(const QPoint& globalPos)>;

    explicit OfficeChartView(QWidget* parent = nullptr);

    void setMenuRequest(MenuRequest request) { m_menuRequest = std::move(request); }
    // Called when the view's palette changes (the desktop switched to a dark scheme).
    void setPaletteChanged(std::function<void()> changed) { m_paletteChanged = std::move(changed); }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    MenuRequest m_menuRequest;
    std::function<void()> m_paletteChanged;
};

}  // namespace kestrova
