#pragma once

// The report view on the browser engine: the page is served from memory under a scheme of our
// own (so pages larger than setHtml's 2 MB limit show as well), with script, plugins and every
// request other than the page itself turned off.

#include "results/window/report_view.h"

#include <QStringList>
#include <QUrl>

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace kestrova {

class ReportRequestFilter;
class ReportSchemeHandler;

// The scheme the report pages are served under: "kestrova-report:report/<n>".
inline constexpr char kReportScheme[] = "kestrova-report";

// Registers the scheme with the browser engine. It must happen before the engine starts, in
// practice before the QApplication is made; linking this library already does it during
// static initialisation, and calling it again does nothing.
void registerReportScheme();

class WebReportView : public ReportView {
    Q_OBJECT
public:
    explicit WebReportView(QWidget* parent = nullptr);
    ~WebReportView() override;

    void showPage(const QString& html) override;

    QWebEngineView* view() const { return m_view; }
    QWebEnginePage* page() const;
    // The address of the page handed over last (empty for the blank page).
    QUrl pageUrl() const { return m_url; }
    // Requests refused since the view was made: everything that is not the page itself.
    QStringList blockedRequests() const;

private:
    void showContextMenu(const QPoint& pos);

    QWebEngineProfile* m_profile = nullptr;
    ReportSchemeHandler* m_handler = nullptr;
    ReportRequestFilter* m_filter = nullptr;
    QWebEngineView* m_view = nullptr;
    QUrl m_url;
    quint64 m_generation = 0;
};

}  // namespace kestrova
