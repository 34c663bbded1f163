// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// webBrowser, the Report tab's view of the report page. This base keeps the page it was
// given and shows nothing (tests and tools that need no browser engine use it as it is);
// WebReportView renders the page with the browser engine.

#include <QString>
#include <QWidget>
#include <functional>

namespace kestrova {

class ReportView : public QWidget {
    Q_OBJECT
public:
    explicit ReportView(QWidget* parent = nullptr);

    // Replaces the shown page by this mark-up (a whole page, any size).
    virtual void showPage(const QString& html);
    // The blank page.
    void showBlank() { showPage(QString()); }

    const QString& shownPage() const { return m_page; }
    // How many pages were handed over since the view was made.
    int pagesShown() const { return m_pagesShown; }

Q_SIGNALS:
    // The page handed over last has been shown (ok) or could not be (not ok).
    void pageShown(bool ok);

protected:
    void setShownPage(const QString& html);

private:
    QString m_page;
    int m_pagesShown = 0;
};

// Makes the result window's report view; the window's default is WebReportView.
using ReportViewFactory = std::function<ReportView*(QWidget* parent)>;

}  // namespace kestrova
