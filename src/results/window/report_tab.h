// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// reportGroup, the Report tab: the report view webBrowser over the report's page, and below it
// the row colour labels and the two file commands.

#include "results/window/report_view.h"

#include <QByteArray>
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

    // The finished page as the bytes of its saved file, which Save Report writes as they are.
    void setPage(QByteArray page) { m_page = std::move(page); }
    // What Export writes, asked for only when the command is given (see ReportTarget).
    void setListingExport(std::function<QString()> listing) { m_listing = std::move(listing); }
    // Shows the page held now.
    void showReport();
    // The blank page, held and shown; there is no listing to export then.
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
    QByteArray m_page;
    std::function<QString()> m_listing;
    ReportView* m_view = nullptr;
    QFrame* m_footer = nullptr;
    QLabel* m_setRowColour = nullptr;
    std::array<RowColourLabel*, 3> m_setColor{};
    QPushButton* m_export = nullptr;
    QPushButton* m_save = nullptr;
};

}  // namespace kestrova
