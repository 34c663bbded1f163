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

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    MenuRequest m_menuRequest;
};

}  // namespace kestrova
