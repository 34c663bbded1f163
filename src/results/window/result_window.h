// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// ResultWindow, the result window: the tab strip tabStrip with the Report, Chart and Summary tabs
// and the footer with "&Close", the average per day and the mixed-usage option. It is the
// report builder's ReportTarget and calls the main window back through ResultWindowHost; the
// main window's public variables it reads and writes are those of RetrievalState.
//
// The main window drives it for a grab: the report builder's writeOutput fills it (the usage
// figures, the report page, the chart, the summary), then prepareToShow() does showOutput's
// part on the window and open() shows it window-modal; finished() tells when it has closed
// (which unloads it: the plan settings are stored). The next use loads it again.

#include "results/office_chart/office_chart.h"
#include "results/summary_tab.h"
#include "results/window/report_view.h"
#include "results/window/result_layout.h"
#include "results/window/result_window_host.h"
#include "retrieval/report_target.h"

#include <QDialog>
#include <QIcon>
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace kestrova {

class ChartTabFrame;
class ReportTabFrame;
class SummaryTabFrame;
class TabStrip;
struct RetrievalState;

// The provider's page of broadband postpaid plans that "ORVO plans" opens, unless the main
// window gives its deployment value.
inline const QString kPostpaidPlansAddress =
    QStringLiteral("https://www.orvo.example/broadband/postpaid-plans");

struct ResultWindowOptions {
    // Makes the office chart object of chart type 2; none (or one that fails) shows the
    // designed label "Microsoft Office is required for displaying Chart type 2." instead.
    OfficeChartFactory officeChart;
    // Makes the report view; none gives WebReportView.
    ReportViewFactory reportView;
    // Today's date for the summary; none is the system clock.
    SummaryTab::Clock clock;
    QString plansAddress = kPostpaidPlansAddress;
};

class ResultWindow : public QDialog, public ReportTarget {
    Q_OBJECT
public:
    ResultWindow(RetrievalState& state, ResultWindowHost& host, ResultWindowOptions options = {},
                 QWidget* parent = nullptr);
    ~ResultWindow() override;

    // --- The public procedures the main window calls ---------------------------------------
    void loadCombo();
    void createSummary() override;
    void updateGraphControl() override;
    void resizeChart();

    // showOutput's part on the window, before the main window shows it: the plan list, the
    // stored options into the check boxes, colour boxes and row colour labels (with
    // disableRefreshing set meanwhile), the free-usage controls by the plan kind, the icon.
    void prepareToShow(const QIcon& mainWindowIcon = QIcon());
    // The report browser shows the blank page (the check command's first step).
    void clearReport();
    // Loaded: from construction (or the next use after closing) until it closes.
    bool isLoaded() const { return m_loaded; }

    // --- Public variables -------------------------------------------------------------------
    ResultWindowFlags& flags() { return m_flags; }
    const ResultWindowFlags& flags() const { return m_flags; }
    std::int32_t totalUsage() const;
    std::int32_t chargedUsage() const;
    std::int32_t lastDayUsage() const;
    QDate lastUsedDate() const;  // mdtLastUsedDate

    // --- ReportTarget -----------------------------------------------------------------------
    void setReportPage(QByteArray page) override;
    void setListingExport(std::function<QString()> listing) override;
    void reportReady() override;
    ReportOutcome outcome() const override;
    void applyOutcome(const ReportOutcome& outcome) override;
    bool graphInitialised() const override { return m_flags.graphInitialised; }
    bool officeChartRunning() const override;
    void setOfficeChartData(const QString& dataText) override;
    void setInbuiltChartInitialised(bool initialised) override {
        m_flags.inbuiltChartInitialised = initialised;
    }

    // --- Controls ---------------------------------------------------------------------------
    TabStrip* tabStrip() const { return m_tabs; }
    ReportTabFrame* reportGroup() const { return m_report; }
    ChartTabFrame* chartGroup() const { return m_chart; }
    SummaryTabFrame* summaryGroup() const { return m_summary; }
    QFrame* footerGroup() const { return m_footer; }
    QPushButton* closeButton() const { return m_close; }
    QLabel* averageCaptionLabel() const { return m_averageCaption; }
    QLabel* averageLabel() const { return m_average; }
    QCheckBox* excludeCheck(int index) const { return m_exclude[std::size_t(index)]; }
    QFrame* nightUnlimitedGroup() const { return m_nightFrame; }
    QCheckBox* nightUnlimitedCheck() const { return m_night; }
    // The placed controls' rectangles in twips, as the last resize left them.
    const ResultLayout& placedTwips() const { return m_layout; }

    // --- Event handlers ---------------------------------------------------------------------
    void onTabClicked(int oldTab, int newTab);
    void toggleExclusion(int index);
    void toggleNightUnlimited();

public Q_SLOTS:
    // Every way of closing (Close, Escape, the window's close button) ends here: unload.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildFooter();
    // The size and place of the last run (settings "frmResult.Height" and so on, twips), or
    // the design size; either kept on the screen.
    void loadWindowPlace();
    void saveWindowPlace() const;
    void loadWindow();
    void unloadWindow();
    void ensureLoaded();
    // The main window rebuilds the report; a rebuild that ends early shows again the page the
    // Report tab holds, as the browser would.
    void rebuildReport();
    // Free-usage controls: shown or enabled only for plan kind 1 and a ticked night box.
    void applyFreeUsageControls();
    // The sizes the controls' contents ask for (twips), the footer's lines for the window's
    // width, and the window's minimum size: the smallest in which nothing overlaps or is cut.
    void refreshDesignSizes();
    // The footer's lines for the window's width (m_optionBesideAverage, the night options'
    // direction) and its height.
    void arrangeFooter();
    // The smallest window in which nothing overlaps or is cut.
    void updateMinimumSize();
    // Where the footer's average ends, and the footer's height (twips) for a line arrangement.
    int averageRight() const;
    int footerHeight(bool optionBeside, bool nightShown) const;
    void applyLayout();
    void placeFooterContents();
    void selectTabBy(int step);
    SummaryInputs inputs() const;
    void setInputs(const SummaryInputs& inputs);

    RetrievalState& m_state;
    ResultWindowHost& m_host;
    ResultWindowFlags m_flags;
    ResultLayout m_layout;
    bool m_loaded = false;
    // The footer's mixed-usage option stands beside the average (else on a line below).
    bool m_optionBesideAverage = true;
    int m_reportsReady = 0;

    TabStrip* m_tabs = nullptr;
    ReportTabFrame* m_report = nullptr;
    ChartTabFrame* m_chart = nullptr;
    SummaryTabFrame* m_summary = nullptr;
    QFrame* m_footer = nullptr;
    QPushButton* m_close = nullptr;
    QLabel* m_averageCaption = nullptr;
    QLabel* m_average = nullptr;
    std::array<QCheckBox*, 3> m_exclude{};
    QFrame* m_nightFrame = nullptr;
    QCheckBox* m_night = nullptr;
};

}  // namespace kestrova
