// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/web_report_view.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPromise>
#include <QPushButton>
#include <QThreadPool>
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

QByteArray schemeName() {
    return QByteArray(kReportScheme);
}

bool isReportUrl(const QUrl& url) {
    return url.scheme() == QLatin1String(kReportScheme);
}

// A record row of a report page, and the cell that begins a day.
constexpr QStringView kRowStart = u"<tr usagetype=\"";
constexpr QStringView kDayStart = u"class=\"dailytotal\"";

// Pages up to this many characters are handed to the engine at once: they cannot hold a
// part's worth of records, and turn into bytes in a moment.
constexpr qsizetype kPreparedAtOnce = qsizetype(256) * 1024;

QUrl reportUrl(const QString& path) {
    return QUrl(QString::fromLatin1(kReportScheme) + u':' + path);
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

ReportPageParts cutReportPage(QStringView page, int recordsPerPart) {
    ReportPageParts parts;
    qsizetype row = page.indexOf(kRowStart);
    if (row < 0) {
        return parts;
    }
    parts.rowsBegin = row;
    qsizetype day = page.indexOf(kDayStart, row);
    std::vector<qsizetype> starts;
    std::vector<int> firstRecord;
    int inPart = 0;
    while (row >= 0) {
        const qsizetype next = page.indexOf(kRowStart, row + kRowStart.size());
        qsizetype end = next;
        if (next < 0) {
            const qsizetype close = page.indexOf(u"</tr>", row);
            end = close < 0 ? page.size() : close + 5;
        }
        const bool startsDay = day >= 0 && day < end;
        if (startsDay) {
            day = page.indexOf(kDayStart, end);
        }
        if (starts.empty() || (inPart >= recordsPerPart && startsDay) ||
            inPart >= 2 * recordsPerPart) {
            starts.push_back(row);
            firstRecord.push_back(parts.records);
            inPart = 0;
        }
        ++inPart;
        ++parts.records;
        parts.rowsEnd = end;
        row = next;
    }
    if (starts.size() > 1) {
        parts.starts = std::move(starts);
        parts.firstRecord = std::move(firstRecord);
    }
    return parts;
}

QString ReportPageParts::part(QStringView page, int index) const {
    const qsizetype begin = starts[std::size_t(index)];
    const qsizetype end = index + 1 < count() ? starts[std::size_t(index) + 1] : rowsEnd;
    QString out;
    out.reserve(rowsBegin + (end - begin) + (page.size() - rowsEnd));
    out += page.left(rowsBegin);
    out += page.sliced(begin, end - begin);
    out += page.sliced(rowsEnd);
    return out;
}

// What is made of a large page away from the window's thread.
struct WebReportView::Prepared {
    quint64 generation = 0;
    ReportPageParts parts;
    QByteArray bytes;  // the whole page, or its first part
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

    // The bar that moves between the parts of a large report; hidden for a page shown whole.
    m_partBar = new QWidget(this);
    m_partBar->setObjectName(QStringLiteral("partBar"));
    auto* bar = new QHBoxLayout(m_partBar);
    bar->setContentsMargins(6, 3, 6, 3);
    m_previous = new QPushButton(QStringLiteral("< Previous"), m_partBar);
    m_previous->setObjectName(QStringLiteral("cmdPreviousPart"));
    m_previous->setAutoDefault(false);
    m_partLabel = new QLabel(m_partBar);
    m_partLabel->setObjectName(QStringLiteral("lblPart"));
    m_next = new QPushButton(QStringLiteral("Next >"), m_partBar);
    m_next->setObjectName(QStringLiteral("cmdNextPart"));
    m_next->setAutoDefault(false);
    bar->addWidget(m_previous);
    bar->addWidget(m_partLabel, 1, Qt::AlignCenter);
    bar->addWidget(m_next);
    connect(m_previous, &QPushButton::clicked, this, [this] { showPart(m_part - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showPart(m_part + 1); });
    m_partBar->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_partBar);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
}

WebReportView::~WebReportView() {
    // The page must go before its profile.
    delete m_view;
    m_view = nullptr;
}

QWebEnginePage* WebReportView::page() const {
    return m_view->page();
}

QStringList WebReportView::blockedRequests() const {
    return m_filter->blocked();
}

void WebReportView::showPage(const QString& html) {
    setShownPage(html);
    ++m_generation;
    m_parts = ReportPageParts{};
    m_part = 0;
    updatePartBar();
    if (m_preparing != nullptr) {
        m_preparing->deleteLater();  // what it prepares is for an earlier page
        m_preparing = nullptr;
    }
    if (html.isEmpty()) {
        m_url = QUrl();
        m_handler->setPage(QUrl(), QByteArray());
        m_view->setUrl(QUrl(QStringLiteral("about:blank")));
        return;
    }
    // A new address for every page, so nothing of an earlier one is taken from a cache.
    const QString address = QStringLiteral("report/") + QString::number(m_generation);
    if (html.size() <= kPreparedAtOnce) {
        serve(html.toUtf8(), address);
        return;
    }
    // Where to cut the page and the bytes of what shows first are worked out on a pool
    // thread; until then the earlier page stays, and its late signals are not this page's.
    m_url = reportUrl(address);
    auto promise = std::make_shared<QPromise<std::shared_ptr<Prepared>>>();
    auto* watcher = new QFutureWatcher<std::shared_ptr<Prepared>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        if (watcher != m_preparing || watcher->future().resultCount() == 0) {
            return;
        }
        m_preparing = nullptr;
        const std::shared_ptr<Prepared> prepared = watcher->result();
        if (prepared->generation != m_generation) {
            return;
        }
        m_parts = std::move(prepared->parts);
        m_part = 0;
        updatePartBar();
        serve(prepared->bytes,
              m_parts.count() > 0 ? m_url.path() + QStringLiteral("/1") : m_url.path());
    });
    m_preparing = watcher;
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start(
        [promise, html, perPart = m_recordsPerPart, generation = m_generation] {
            auto prepared = std::make_shared<Prepared>();
            prepared->generation = generation;
            prepared->parts = cutReportPage(html, perPart);
            prepared->bytes = prepared->parts.count() > 0 ? prepared->parts.part(html, 0).toUtf8()
                                                          : html.toUtf8();
            promise->addResult(std::move(prepared));
            promise->finish();
        });
}

void WebReportView::showPart(int index) {
    if (index < 0 || index >= m_parts.count() || index == m_part) {
        return;
    }
    m_part = index;
    updatePartBar();
    // A part is some thousands of rows: a moment's work here.
    serve(m_parts.part(shownPage(), index).toUtf8(),
          QStringLiteral("report/%1/%2").arg(m_generation).arg(index + 1));
}

void WebReportView::serve(const QByteArray& bytes, const QString& address) {
    m_url = reportUrl(address);
    m_handler->setPage(m_url, bytes);
    m_view->setUrl(m_url);
}

void WebReportView::updatePartBar() {
    const int parts = m_parts.count();
    m_partBar->setVisible(parts > 1);
    if (parts <= 1) {
        return;
    }
    const QLocale locale;
    const int first = m_parts.firstRecord[std::size_t(m_part)] + 1;
    const int last =
        m_part + 1 < parts ? m_parts.firstRecord[std::size_t(m_part) + 1] : m_parts.records;
    m_partLabel->setText(QStringLiteral("Records %1 to %2 of %3 (part %4 of %5)")
                             .arg(locale.toString(first), locale.toString(last),
                                  locale.toString(m_parts.records), locale.toString(m_part + 1),
                                  locale.toString(parts)));
    m_previous->setEnabled(m_part > 0);
    m_next->setEnabled(m_part + 1 < parts);
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
