// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// reportGroup, the Report tab: the report view webBrowser over the window's report document,
// and below it the row colour labels and the two file commands.

#include "platform/html_document.h"
#include "results/window/report_view.h"

#include <QDate>
#include <QFrame>
#include <array>
#include <functional>

class QLabel;
class QPushButton;

namespace kestrova {

struct DisplaySettings;
class RowColourLabel;

class ReportTabFrame : public QFrame {
    Q_OBJECT
public:
    ReportTabFrame(DisplaySettings& display, const ReportViewFactory& viewFactory,
                   QWidget* parent = nullptr);

    // The report browser's document: the report builder writes the finished page here.
    HtmlDocument& document() { return m_document; }
    const HtmlDocument& document() const { return m_document; }
    // Shows what the document holds now.
    void showDocument();
    // Shows the document again when it no longer is what the view shows.
    void syncView();
    // The blank page, in the document and the view.
    void showBlank();

    ReportView* webBrowser() const { return m_view; }
    QFrame* reportFooterGroup() const { return m_footer; }
    RowColourLabel* setColorLabel(int index) const { return m_setColor[std::size_t(index)]; }
    QPushButton* exportButton() const { return m_export; }
    QPushButton* saveButton() const { return m_save; }

    // The month the report's last record belongs to: the save prompt suggests a name from it.
    void setReportMonth(std::function<QDate()> lastUsed) { m_lastUsed = std::move(lastUsed); }

    // "Set Row Colour"'s mnemonic goes to the first row colour label shown.
    void setRowColourBuddy();

    // The labels show the six row colours of the display settings.
    void showRowColours();

    // A mouse button pressed on setColorLabel(Index): 1 sets the text colour, 2 the background,
    // any other button nothing.
    void pickRowColour(int index, int button);
    void saveReport();
    void exportReport();

Q_SIGNALS:
    // A row colour changed: the main window rebuilds the report.
    void rowColoursChanged();

private:
    // The save prompt and the overwrite question; the empty text when the command ends there.
    QString askTarget(const QString& ext);

    DisplaySettings& m_display;
    std::function<QDate()> m_lastUsed;
    HtmlDocument m_document;
    ReportView* m_view = nullptr;
    QFrame* m_footer = nullptr;
    QLabel* m_setRowColour = nullptr;
    std::array<RowColourLabel*, 3> m_setColor{};
    QPushButton* m_export = nullptr;
    QPushButton* m_save = nullptr;
};

}  // namespace kestrova
