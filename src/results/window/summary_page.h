// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// summaryGroup, the Summary tab: the plan list and the custom plan's edit boxes, the figures of
// the last createSummary, the two frames that share one place, the usage bar, the "today"
// fields and notes, and the cheapest catalogue plan for the month. Every figure comes from
// SummaryTab; this frame only shows it.

#include "results/summary_tab.h"

#include <QFrame>
#include <array>

class QComboBox;
class QGridLayout;
class QLayout;
class QVBoxLayout;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace kestrova {

class ForecastFrame;
class PropertyBag;
class ResultWindowHost;
class UsageBar;
class StoredForm;
class NumericEdit;

class SummaryTabFrame : public QFrame {
    Q_OBJECT
public:
    // The edit boxes take their stored properties from `form`; `plansAddress` is the page
    // "ORVO plans" opens through the host's openLink.
    SummaryTabFrame(ResultWindowHost& host, const StoredForm& form, SummaryTab::Clock clock,
                    QString plansAddress, QWidget* parent = nullptr);

    SummaryTab& logic() { return m_logic; }
    const SummaryTab& logic() const { return m_logic; }

    // Window load: the edit boxes from the settings store, then loadCombo.
    void load();
    // Window unload: "Plan3" and the three edit box values.
    void save() const;
    // Refills the plan list and selects the stored plan.
    void loadCombo();
    void createSummary();
    // The month's usage handed over by the main window.
    void setInputs(const SummaryInputs& inputs) { m_logic.setInputs(inputs); }

    QComboBox* plansCombo() const { return m_plans; }
    NumericEdit* editBox(PlanEditBox box) const { return m_editBoxes[std::size_t(box)]; }
    // The label (or, for PercentageEdit, nothing: see percentageEdit()) that shows a figure.
    QLabel* figureLabel(SummaryLabel label) const { return m_figures[std::size_t(label)]; }
    QLineEdit* percentageEdit() const { return m_percentage; }
    QGroupBox* availableGroup() const { return m_available; }
    QGroupBox* excessGroup() const { return m_excess; }
    UsageBar* usageBarBox() const { return m_bar; }
    QFrame* downloadAllowedBox() const { return m_barAllowed; }
    QFrame* actualDownloadBox() const { return m_barActual; }
    QFrame* excessDownloadBox() const { return m_barExcess; }
    QLabel* mbLabel() const { return m_mbLabel; }
    QLabel* plansLabel() const { return m_plansLabel; }
    // The control array `lbl`: the "today" captions and the footnote.
    const std::array<QLabel*, 6>& lbl() const { return m_today; }
    QLabel* cheapestPlanLabel() const { return m_cheapestPlan; }
    QLabel* cheapestSavingLabel() const { return m_cheapestSaving; }
    ForecastFrame* forecastGroup() const { return m_forecast; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The two columns of figures side by side, or one under the other in a narrow tab.
    void arrangeColumns();
    void buildPlanBox(QWidget* box, const StoredForm& form);
    QWidget* buildUsageBox(QWidget* content);
    QWidget* buildFrames(QWidget* content);
    QWidget* buildBill(QWidget* content);
    QWidget* buildCheapest(QWidget* content);
    QLabel* makeFigure(QWidget* parent, SummaryLabel label);

    void fillPlanList();
    void editBoxChanged(PlanEditBox box);
    // Paints the logic's state into the widgets: list index, edit boxes, figures, frames, bar.
    void showFigures();
    void showBar();
    void showCheapestPlan();

    ResultWindowHost& m_host;
    SummaryTab::Clock m_clock;
    SummaryTab m_logic;
    QString m_plansAddress;
    bool m_syncing = false;

    QWidget* m_content = nullptr;
    QGridLayout* m_grid = nullptr;
    // The notes stand at the foot of the left column while the columns are side by side.
    QVBoxLayout* m_left = nullptr;
    QLayout* m_right = nullptr;
    QLayout* m_notes = nullptr;
    bool m_twoColumns = true;
    QComboBox* m_plans = nullptr;
    QLabel* m_plansLabel = nullptr;  // a LinkLabel
    QLabel* m_mbLabel = nullptr;
    std::array<NumericEdit*, 3> m_editBoxes{};
    // The captions of the three figures, which become the edit boxes' captions.
    struct EditCaption {
        QLabel* label = nullptr;
        QLabel* value = nullptr;  // the plan's figure, shown instead of the edit box
        QString text;
        char16_t mnemonic = 0;
    };
    std::array<EditCaption, 3> m_editCaptions{};
    std::array<QLabel*, kSummaryLabelCount> m_figures{};
    QLineEdit* m_percentage = nullptr;
    QGroupBox* m_available = nullptr;
    QGroupBox* m_excess = nullptr;
    UsageBar* m_bar = nullptr;
    QFrame* m_barAllowed = nullptr;
    QFrame* m_barActual = nullptr;
    QFrame* m_barExcess = nullptr;
    std::array<QLabel*, 6> m_today{};
    QWidget* m_cheapestBox = nullptr;
    QLabel* m_cheapestPlan = nullptr;
    QLabel* m_cheapestSaving = nullptr;
    ForecastFrame* m_forecast = nullptr;
};

}  // namespace kestrova
