// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/office_chart/office_chart_view.h"

#include <QContextMenuEvent>
#include <QEvent>

namespace kestrova {

OfficeChartView::OfficeChartView(QWidget* parent) : QChartView(parent) {
    setFrameShape(QFrame::NoFrame);
    setRenderHint(QPainter::Antialiasing);
}

void OfficeChartView::contextMenuEvent(QContextMenuEvent* event) {
    if (m_menuRequest && m_menuRequest(event->globalPos())) {
        event->accept();
    } else {
        event->ignore();
    }
}

void OfficeChartView::changeEvent(QEvent* event) {
    QChartView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_paletteChanged) {
        m_paletteChanged();
    }
}

}  // namespace kestrova
