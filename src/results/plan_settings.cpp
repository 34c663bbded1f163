// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/plan_settings.h"

#include "platform/number_format.h"
#include "platform/settings_store.h"

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
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const EditBoxDesign& design = editBoxDesign(box);
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

int readPlan3(const SettingsStore& store, int entryCount) {
    bool ok = false;
    const int index = store.get(QStringLiteral("Plan3"), QStringLiteral("-1")).trimmed().toInt(&ok);
    if (!ok || index < -1 || index >= entryCount) {
        return -1;
    }
    return index;
}

double readEditBoxSetting(const SettingsStore& store, PlanEditBox box, const QLocale& locale) {
    const EditBoxDesign& design = editBoxDesign(box);
    const QString text = store.get(design.key, QString());
    if (text.isEmpty()) {
        return design.designValue;
    }
    const std::optional<Decimal> number = readNumber(text, locale);
    if (!number) {
        return design.designValue;
    }
    return editBoxValue(box, number->toDouble()).value_or(design.designValue);
}

PlanSettings readPlanSettings(const SettingsStore& store, int entryCount, const QLocale& locale) {
    PlanSettings settings;
    settings.Plan3 = readPlan3(store, entryCount);
    for (PlanEditBox box :
         {PlanEditBox::nebPlanCharge, PlanEditBox::nebBandWidthLimit, PlanEditBox::nebRsPerMB}) {
        settings.setValue(box, readEditBoxSetting(store, box, locale));
    }
    return settings;
}

void writePlanSettings(SettingsStore& store, const PlanSettings& settings, const QLocale& locale) {
    store.save(QStringLiteral("Plan3"), QString::number(settings.Plan3));
    for (PlanEditBox box :
         {PlanEditBox::nebPlanCharge, PlanEditBox::nebBandWidthLimit, PlanEditBox::nebRsPerMB}) {
        store.save(editBoxDesign(box).key, defaultText(settings.value(box), locale));
    }
}

}  // namespace kestrova
