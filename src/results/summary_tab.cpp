// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/summary_tab.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/number_format.h"
#include "platform/settings_store.h"

namespace kestrova {

namespace {
constexpr PlanEditBox kEditBoxes[] = {PlanEditBox::PlanChargeEdit, PlanEditBox::BandWidthLimitEdit,
                                      PlanEditBox::RsPerMBEdit};
}

SummaryTab::SummaryTab(Clock clock, const QLocale& locale)
    : m_clock(clock ? std::move(clock) : Clock([] { return QDate::currentDate(); })),
      m_locale(locale) {}

void SummaryTab::load(const SettingsStore& store) {
    for (PlanEditBox box : kEditBoxes) {
        setEditBoxValue(box, readEditBoxSetting(store, box, m_locale));
    }
    loadCombo(store);
}

void SummaryTab::loadCombo(const SettingsStore& store) {
    m_plans.rebuild();
    m_list.fill(planListEntries(m_plans));
    selectListIndex(readPlanIndex(store, m_list.count()));
}

void SummaryTab::loadCombo(int listIndex) {
    m_plans.rebuild();
    m_list.fill(planListEntries(m_plans));
    selectListIndex(listIndex);
}

PlanSettings SummaryTab::settings() const {
    PlanSettings s = m_editBoxes;
    s.planIndex = m_list.listIndex();
    return s;
}

void SummaryTab::save(SettingsStore& store) const {
    writePlanSettings(store, settings(), m_locale);
}

void SummaryTab::selectListIndex(int index) {
    m_list.setListIndex(index);
    createSummary();
}

void SummaryTab::setEditBoxValue(PlanEditBox box, double value) {
    const QString before = editBoxText(box, m_editBoxes.value(box));
    const QString after = editBoxText(box, value);
    m_editBoxes.setValue(box, requireNumber(after, QLocale::c()).toDouble());
    if (after != before) {
        createSummary();
    }
}

bool SummaryTab::createSummary() {
    if (!m_list.hasSelection()) {
        for (LabelFigure& label : m_figures.labels) {
            label.touched = false;
        }
        return false;
    }
    try {
        m_figures.customFiguresShown = m_list.isCustomSelected();
        PlanRecord& record = m_plans.record(*m_list.selectedSlot());
        if (m_figures.customFiguresShown) {
            record.setText(PlanCharge, defaultText(m_editBoxes.planChargeEdit, m_locale), m_locale);
            record.setText(BandwidthLimitMB, defaultText(m_editBoxes.bandWidthLimitEdit, m_locale),
                           m_locale);
            record.setText(RsPerExcessMB, defaultText(m_editBoxes.rsPerMBEdit, m_locale), m_locale);
        }
        if (record.number(BandwidthLimitMB) == 0) {
            // Set directly rather than through setEditBoxValue: the figures below are already
            // those of the 1 MB allowance, so the box's own change needs no second run.
            record.setText(BandwidthLimitMB, QStringLiteral("1"));
            m_editBoxes.bandWidthLimitEdit = 1;
        }
        kestrova::createSummary(m_inputs, record, m_clock(), m_figures, m_locale);
        return true;
    } catch (const Failure& failure) {
        Message message;
        message.text = failure.description();
        dialogs().show(message);
        return false;
    }
}

std::optional<PlanChoice> SummaryTab::planChoice() const {
    const std::optional<int> slot = m_list.selectedSlot();
    if (!slot) {
        return std::nullopt;
    }
    return m_list.isCustomSelected()
               ? PlanChoice::customPlan({m_editBoxes.planChargeEdit, m_editBoxes.bandWidthLimitEdit,
                                         m_editBoxes.rsPerMBEdit})
               : PlanChoice::catalogue(*slot);
}

std::optional<Forecast> SummaryTab::forecast() const {
    const std::optional<PlanChoice> choice = planChoice();
    if (!choice) {
        return std::nullopt;
    }
    try {
        return forecastMonth(m_inputs, *choice, m_dailyTotals, m_clock(), m_locale);
    } catch (const Failure&) {
        // The summary's own run has already said what is wrong.
        return std::nullopt;
    }
}

std::optional<MonthSummary> SummaryTab::monthSummary() const {
    const std::optional<PlanChoice> choice = planChoice();
    if (!choice) {
        return std::nullopt;
    }
    try {
        return summarizeMonth(m_inputs, *choice, m_clock(), m_locale);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

}  // namespace kestrova
