#include "results/window/web_report_view.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QMenu>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace kestrova {

namespace {

QByteArray schemeName() { return QByteArray(kReportScheme); }

bool isReportUrl(const QUrl& url) {
    return url.scheme() == QLatin1String(kReportScheme);
}

// The engine takes scheme registrations only before it starts.
[[maybe_unused]] const bool g_schemeRegistered = (registerReportScheme(), true);

// Refuses navigation away from the report (a link, a dropped file, a typed address).
class ReportWebPage : public QWebEnginePage {
public:
    ReportWebPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        return isMainFrame && (isReportUrl(url) || url == QUrl(QStringLiteral("about:blank")));
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}
};

}  // namespace

void registerReportScheme() {
    static const bool registered = [] {
        QWebEngineUrlScheme scheme(schemeName());
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        // A local scheme whose pages may not reach remote addresses (with the settings below):
        // the engine refuses outside loads before the request filter would see them; the
        // filter stays as the second guard.
        scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
        QWebEngineUrlScheme::registerScheme(scheme);
        return true;
    }();
    Q_UNUSED(registered);
}

// Serves the page handed over last; any other address of the scheme is not found.
class ReportSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void setPage(const QUrl& url, QByteArray bytes) {
        m_url = url;
        m_bytes = std::move(bytes);
    }

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        if (job->requestMethod() != "GET" || job->requestUrl() != m_url) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* body = new QBuffer(job);
        body->setData(m_bytes);
        // The page's own meta tag names Latin-1; the header's charset wins, and UTF-8 keeps
        // every character of the text.
        job->reply(QByteArrayLiteral("text/html;charset=utf-8"), body);
    }

private:
    QUrl m_url;
    QByteArray m_bytes;
};

class ReportRequestFilter : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (!isReportUrl(info.requestUrl())) {
            m_blocked << info.requestUrl().toString();
            info.block(true);
        }
    }

    QStringList blocked() const { return m_blocked; }

private:
    QStringList m_blocked;
};

WebReportView::WebReportView(QWidget* parent) : ReportView(parent) {
    registerReportScheme();
    // Off the record: the report leaves nothing on disk.
    m_profile = new QWebEngineProfile(this);
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_handler = new ReportSchemeHandler(this);
    m_profile->installUrlSchemeHandler(schemeName(), m_handler);
    m_filter = new ReportRequestFilter(this);
    m_profile->setUrlRequestInterceptor(m_filter);

    m_view = new QWebEngineView(this);
    auto* webPage = new ReportWebPage(m_profile, m_view);
    QWebEngineSettings* s = webPage->settings();
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    s->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
    s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    s->setAttribute(QWebEngineSettings::WebGLEnabled, false);
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    // The page asks for Arial; where no such family is installed the engine's standard font
    // would be a serif one.
    const QString sans = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    s->setFontFamily(QWebEngineSettings::StandardFont, sans);
    s->setFontFamily(QWebEngineSettings::SansSerifFont, sans);
    m_view->setPage(webPage);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, &WebReportView::showContextMenu);
    connect(webPage, &QWebEnginePage::loadFinished, this, [this, webPage](bool ok) {
        // A load overtaken by a newer page reports for that newer one.
        if (webPage->url() == (m_url.isEmpty() ? QUrl(QStringLiteral("about:blank")) : m_url)) {
            Q_EMIT pageShown(ok);
        }
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
}

WebReportView::~WebReportView() {
    // The page must go before its profile.
    delete m_view;
    m_view = nullptr;
}

QWebEnginePage* WebReportView::page() const { return m_view->page(); }

QStringList WebReportView::blockedRequests() const { return m_filter->blocked(); }

void WebReportView::showPage(const QString& html) {
    setShownPage(html);
    if (html.isEmpty()) {
        m_url = QUrl();
        m_handler->setPage(QUrl(), QByteArray());
        m_view->setUrl(QUrl(QStringLiteral("about:blank")));
        return;
    }
    // A new address for every page, so nothing of an earlier one is taken from a cache.
    m_url = QUrl(QString::fromLatin1(kReportScheme) + QStringLiteral(":report/") +
                 QString::number(++m_generation));
    m_handler->setPage(m_url, html.toUtf8());
    m_view->setUrl(m_url);
}

void WebReportView::showContextMenu(const QPoint& pos) {
    // Copying is all the report offers; back, reload or page source mean nothing here. The
    // menu pops up without a loop of its own, as nothing near the engine may nest one.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(page()->action(QWebEnginePage::Copy));
    menu->addAction(page()->action(QWebEnginePage::SelectAll));
    menu->popup(m_view->mapToGlobal(pos));
}

}  // namespace kestrova
