// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The report view on the browser engine: the page is served from memory under a scheme of our
// own (so pages larger than setHtml's 2 MB limit show as well), with script, plugins and every
// request other than the page itself turned off.
//
// A report of more records than the engine shows in reasonable time and memory (a month of
// history can hold a million, and the engine's renderer runs out of memory long before) is
// shown in parts of some thousands of records, each with the report's summary and headings,
// cut where a day begins; a bar above the page moves between the parts. The page kept and
// saved is the whole one. Taking a large page apart, and turning it into bytes for the
// engine, happens away from the window's thread, so the window never waits for it.

#include "results/window/report_view.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace kestrova {

class ReportRequestFilter;
class ReportSchemeHandler;

// Where a report page's record rows ("<tr usagetype=...") are cut into parts of about
// `recordsPerPart` records: a part ends before the first row of a day once it holds that many
// records, and at twice that many whatever the day. No parts (nothing in `starts`) for a page
// of fewer records, or of no record rows at all. Offsets are in characters of the page.
struct ReportPageParts {
    qsizetype rowsBegin = 0;        // the first record row
    qsizetype rowsEnd = 0;          // just after the last one
    std::vector<qsizetype> starts;  // where each part's first row starts
    std::vector<int> firstRecord;   // the number (from 0) of each part's first record
    int records = 0;

    int count() const { return int(starts.size()); }
    // The page of part `index`: the page up to the rows, the part's rows, the rest.
    QString part(QStringView page, int index) const;
};
ReportPageParts cutReportPage(QStringView page, int recordsPerPart);

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

    // How many records a part of a large report holds (default 5,000; at least 1). Takes
    // effect with the next page.
    void setRecordsPerPart(int records) { m_recordsPerPart = std::max(1, records); }
    int recordsPerPart() const { return m_recordsPerPart; }
    // The parts of the page shown (1 for a page shown whole) and the one shown, from 0.
    int partCount() const { return std::max(1, m_parts.count()); }
    int currentPart() const { return m_part; }
    // Shows part `index` of the page (ignored when there is no such part).
    void showPart(int index);

    QWebEngineView* view() const { return m_view; }
    QWebEnginePage* page() const;
    // The address of what is shown: the page handed over last, or its part (empty for the
    // blank page).
    QUrl pageUrl() const { return m_url; }
    // Requests refused since the view was made: everything that is not the page itself.
    QStringList blockedRequests() const;

private:
    struct Prepared;

    void showContextMenu(const QPoint& pos);
    void serve(const QByteArray& bytes, const QString& address);
    void prepared();
    void updatePartBar();

    QWebEngineProfile* m_profile = nullptr;
    ReportSchemeHandler* m_handler = nullptr;
    ReportRequestFilter* m_filter = nullptr;
    QWebEngineView* m_view = nullptr;
    QWidget* m_partBar = nullptr;
    QLabel* m_partLabel = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QUrl m_url;
    quint64 m_generation = 0;
    // The engine takes about 0.15 to 0.2 ms a row to show a page here: a heavy month (3,000
    // records) shows its first part in about a fifth of a second instead of waiting over half
    // a second for the whole; an ordinary month (a few hundred records) is one part.
    int m_recordsPerPart = 1000;
    ReportPageParts m_parts;
    int m_part = 0;
    QFutureWatcher<std::shared_ptr<Prepared>>* m_preparing = nullptr;
};

}  // namespace kestrova
