#include "results/office_chart/office_chart_view.h"

#include <QContextMenuEvent>

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

}  // namespace kestrova
