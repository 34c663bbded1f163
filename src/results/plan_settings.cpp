// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/plan_settings.h"

#include "platform/failure.h"
#include "platform/number_format.h"
#include "platform/settings_store.h"
#include "platform/twips.h"

#include <cmath>

namespace kestrova {

double EditBoxDesign::upperLimit() const {
    // Read from its text, so 9.99 is the very double that "9.99" typed in the box reads as.
    QString nines(integerSize, u'9');
    if (decimalSize > 0) {
        nines += u'.' + QString(decimalSize, u'9');
    }
    return requireNumber(nines, QLocale::c()).toDouble();
}

const EditBoxDesign& editBoxDesign(PlanEditBox box) {
    static const EditBoxDesign planCharge{QStringLiteral("nebPlanCharge"), 5, 0, 250};
    static const EditBoxDesign bandWidthLimit{QStringLiteral("nebBandWidthLimit"), 10, 0, 1024};
    static const EditBoxDesign rsPerMB{QStringLiteral("nebRsPerMB"), 1, 2, 0.2};
    switch (box) {
        case PlanEditBox::nebPlanCharge:
            return planCharge;
        case PlanEditBox::nebBandWidthLimit:
            return bandWidthLimit;
        case PlanEditBox::nebRsPerMB:
            break;
    }
    return rsPerMB;
}

std::optional<double> editBoxValue(PlanEditBox box, double value) {
    const EditBoxDesign& design = editBoxDesign(box);
    // Far outside before any rounding: a figure of 36 digits has no text to round.
    if (!std::isfinite(value) || value < -1 || value > design.upperLimit() + 1) {
        return std::nullopt;
    }
    // Rounded first: 9.996 shows as 10.00, which the one-digit rate box cannot hold.
    const double held =
        requireNumber(formatNumber(value, design.decimalSize, QLocale::c())).toDouble();
    if (held < 0 || held > design.upperLimit()) {
        return std::nullopt;
    }
    return held;
}

QString editBoxText(PlanEditBox box, double value) {
    return formatNumber(value, editBoxDesign(box).decimalSize, QLocale::c());
}

double PlanSettings::value(PlanEditBox box) const {
    switch (box) {
        case PlanEditBox::nebPlanCharge:
            return nebPlanCharge;
        case PlanEditBox::nebBandWidthLimit:
            return nebBandWidthLimit;
        case PlanEditBox::nebRsPerMB:
            break;
    }
    return nebRsPerMB;
}

void PlanSettings::setValue(PlanEditBox box, double value) {
    switch (box) {
        case PlanEditBox::nebPlanCharge:
            nebPlanCharge = value;
            return;
        case PlanEditBox::nebBandWidthLimit:
            nebBandWidthLimit = value;
            return;
        case PlanEditBox::nebRsPerMB:
            nebRsPerMB = value;
            return;
    }
}

int readPlan3(const SettingsStore& store, int entryCount, std::vector<SettingProblem>* problems) {
    const QString text = store.get(QStringLiteral("Plan3"), QStringLiteral("-1"));
    bool ok = false;
    const int index = text.trimmed().toInt(&ok);
    if (!ok || index < -1 || index >= entryCount) {
        if (problems != nullptr) {
            problems->push_back({QStringLiteral("Plan3"), text});
        }
        return -1;
    }
    return index;
}

double readEditBoxSetting(const SettingsStore& store, PlanEditBox box, const QLocale& locale,
                          std::vector<SettingProblem>* problems) {
    const EditBoxDesign& design = editBoxDesign(box);
    const QString text = store.get(design.key, QString());
    if (text.isEmpty()) {
        return design.designValue;
    }
    std::optional<double> value;
    try {
        if (const std::optional<Decimal> number = readNumber(text, locale)) {
            value = editBoxValue(box, number->toDouble());
        }
    } catch (const Failure&) {
        // A number beyond what any figure holds ("1e36"): no value of the box.
    }
    if (!value) {
        if (problems != nullptr) {
            problems->push_back({design.key, text});
        }
        return design.designValue;
    }
    return *value;
}

PlanSettings readPlanSettings(const SettingsStore& store, int entryCount, const QLocale& locale,
                              std::vector<SettingProblem>* problems) {
    PlanSettings settings;
    settings.Plan3 = readPlan3(store, entryCount, problems);
    for (PlanEditBox box :
         {PlanEditBox::nebPlanCharge, PlanEditBox::nebBandWidthLimit, PlanEditBox::nebRsPerMB}) {
        settings.setValue(box, readEditBoxSetting(store, box, locale, problems));
    }
    return settings;
}

const std::array<QString, 4>& resultPlaceKeys() {
    static const std::array<QString, 4> keys = {
        QStringLiteral("frmResult.Height"), QStringLiteral("frmResult.Width"),
        QStringLiteral("frmResult.Left"), QStringLiteral("frmResult.Top")};
    return keys;
}

std::vector<SettingProblem> resultSettingProblems(const SettingsStore& store, int entryCount,
                                                  const QLocale& locale) {
    std::vector<SettingProblem> problems;
    readPlanSettings(store, entryCount, locale, &problems);
    for (const QString& key : resultPlaceKeys()) {
        if (!store.contains(key)) {
            continue;
        }
        const QString text = store.get(key, QString());
        bool ok = false;
        const double twips = text.toDouble(&ok);
        if (!ok || !isWindowMeasure(twips)) {
            problems.push_back({key, text});
        }
    }
    return problems;
}

void writePlanSettings(SettingsStore& store, const PlanSettings& settings, const QLocale& locale) {
    store.save(QStringLiteral("Plan3"), QString::number(settings.Plan3));
    for (PlanEditBox box :
         {PlanEditBox::nebPlanCharge, PlanEditBox::nebBandWidthLimit, PlanEditBox::nebRsPerMB}) {
        store.save(editBoxDesign(box).key, defaultText(settings.value(box), locale));
    }
}

}  // namespace kestrova
