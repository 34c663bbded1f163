// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/plan_settings.h"

#include "platform/failure.h"
#include "platform/number_format.h"
#include "platform/settings_store.h"
#include "platform/twips.h"

#include <cmath>
#include <iterator>

namespace kestrova {

double EditBoxDesign::upperLimit() const {
    // Read from its text, so 9.99 is the very double that "9.99" typed in the box reads as.
    QString nines(integerSize, u'9');
    if (decimalSize > 0) {
        nines += u'.' + QString(decimalSize, u'9');
    }
    return requireNumber(nines, QLocale::c()).toDouble();
}

namespace {

const QString kPlanKey = QStringLiteral("Plan3");

// The three edit boxes in the order PlanEditBox names them, which is the order they are read
// and written: each key with its digits, its design value (the default of a missing or
// unusable stored value) and the field that holds it.
struct EditBoxEntry {
    EditBoxDesign design;
    double PlanSettings::*field;
};
const EditBoxEntry kEditBoxes[] = {
    {{QStringLiteral("nebPlanCharge"), 5, 0, 250}, &PlanSettings::planChargeEdit},
    {{QStringLiteral("nebBandWidthLimit"), 10, 0, 1024}, &PlanSettings::bandWidthLimitEdit},
    {{QStringLiteral("nebRsPerMB"), 1, 2, 0.2}, &PlanSettings::rsPerMBEdit},
};

const EditBoxEntry& entryOf(PlanEditBox box) {
    return kEditBoxes[std::size_t(box)];
}

// The result window's size and place, in twips; a place is used only when all four keys read.
struct PlaceEntry {
    QString key;
    double WindowPlace::*field;
};
const PlaceEntry kPlaceKeys[] = {
    {QStringLiteral("frmResult.Height"), &WindowPlace::height},
    {QStringLiteral("frmResult.Width"), &WindowPlace::width},
    {QStringLiteral("frmResult.Left"), &WindowPlace::left},
    {QStringLiteral("frmResult.Top"), &WindowPlace::top},
};

}  // namespace

const EditBoxDesign& editBoxDesign(PlanEditBox box) {
    return entryOf(box).design;
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
    return this->*entryOf(box).field;
}

void PlanSettings::setValue(PlanEditBox box, double value) {
    this->*entryOf(box).field = value;
}

int readPlanIndex(const SettingsStore& store, int entryCount,
                  std::vector<SettingProblem>* problems) {
    const QString text = store.get(kPlanKey, QStringLiteral("-1"));
    bool ok = false;
    const int index = text.trimmed().toInt(&ok);
    if (!ok || index < -1 || index >= entryCount) {
        if (problems != nullptr) {
            problems->push_back({kPlanKey, text});
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
    settings.planIndex = readPlanIndex(store, entryCount, problems);
    for (std::size_t i = 0; i < std::size(kEditBoxes); ++i) {
        const auto box = PlanEditBox(i);
        settings.setValue(box, readEditBoxSetting(store, box, locale, problems));
    }
    return settings;
}

std::optional<WindowPlace> readResultPlace(const SettingsStore& store,
                                           std::vector<SettingProblem>* problems) {
    WindowPlace place;
    bool whole = true;
    for (const PlaceEntry& entry : kPlaceKeys) {
        if (!store.contains(entry.key)) {
            whole = false;
            continue;
        }
        const QString text = store.get(entry.key, QString());
        bool ok = false;
        place.*entry.field = text.toDouble(&ok);
        if (!ok || !isWindowMeasure(place.*entry.field)) {
            whole = false;
            if (problems != nullptr) {
                problems->push_back({entry.key, text});
            }
        }
    }
    return whole ? std::optional(place) : std::nullopt;
}

void writeResultPlace(SettingsStore& store, const WindowPlace& place) {
    for (const PlaceEntry& entry : kPlaceKeys) {
        store.save(entry.key, QString::number(std::lround(place.*entry.field)));
    }
}

std::vector<SettingProblem> resultSettingProblems(const SettingsStore& store, int entryCount,
                                                  const QLocale& locale) {
    std::vector<SettingProblem> problems;
    readPlanSettings(store, entryCount, locale, &problems);
    readResultPlace(store, &problems);
    return problems;
}

void writePlanSettings(SettingsStore& store, const PlanSettings& settings, const QLocale& locale) {
    store.save(kPlanKey, QString::number(settings.planIndex));
    for (const EditBoxEntry& entry : kEditBoxes) {
        store.save(entry.design.key, defaultText(settings.*entry.field, locale));
    }
}

}  // namespace kestrova
