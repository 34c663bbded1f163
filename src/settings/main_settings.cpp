// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/main_settings.h"

#include "platform/failure.h"
#include "platform/number_format.h"
#include "platform/settings_store.h"
#include "platform/twips.h"
#include "retrieval/xor_cipher.h"

#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace kestrova {

namespace {

const QString kCachingKey = QStringLiteral("mblnCachingEnabled ");
// The same key as files of earlier versions hold it: its blank escaped twice
// ("mblnCachingEnabled%2520" in the file). Read when the key itself is missing, removed when
// the key is written.
const QString kOldCachingKey = QStringLiteral("mblnCachingEnabled%20");
const QString kSelectedTabKey = QStringLiteral("ctlTabs1.SelectedTab");

// The six row colours and the three chart colours, in their stored order.
struct ColourKey {
    const char* key;
    ColorRef DisplaySettings::*field;
};
const ColourKey kColourKeys[] = {
    {"mlngColorFree", &DisplaySettings::mlngColorFree},
    {"mlngColorBackFree", &DisplaySettings::mlngColorBackFree},
    {"mlngColorMixed", &DisplaySettings::mlngColorMixed},
    {"mlngColorBackMixed", &DisplaySettings::mlngColorBackMixed},
    {"mlngColorNonFree", &DisplaySettings::mlngColorNonFree},
    {"mlngColorBackNonFree", &DisplaySettings::mlngColorBackNonFree},
    {"mlngChartColorFree", &DisplaySettings::mlngChartColorFree},
    {"mlngChartColorNonFree", &DisplaySettings::mlngChartColorNonFree},
    {"mlngInbuiltChartColor", &DisplaySettings::mlngInbuiltChartColor},
};

QString key(const char* name) {
    return QString::fromLatin1(name);
}

std::optional<Decimal> number(const QString& text) {
    if (text.trimmed().isEmpty()) {
        return std::nullopt;
    }
    try {
        return readNumber(text);
    } catch (const Failure&) {
        return std::nullopt;  // more digits than any field holds
    }
}

// Reads one key after another; a value that does not convert leaves the field as it was (its
// default) and is noted.
class Reader {
public:
    Reader(const SettingsStore& store, std::vector<SettingProblem>& problems)
        : m_store(store), m_problems(problems) {}

    // The stored text, or nothing when the key is absent.
    std::optional<QString> text(const QString& k) const {
        if (!m_store.contains(k)) {
            return std::nullopt;
        }
        return m_store.get(k, QString());
    }

    void string(const QString& k, QString& field) const {
        if (const auto t = text(k)) {
            field = *t;
        }
    }

    void boolean(const QString& k, bool& field) {
        convert(k, [&](const QString& t) { return convertBoolean(t, field); });
    }

    void integer(const QString& k, int& field, qint64 minimum, qint64 maximum) {
        convert(k, [&](const QString& t) {
            qint64 v = 0;
            if (!convertInteger(t, minimum, maximum, v)) {
                return false;
            }
            field = int(v);
            return true;
        });
    }

    void colour(const QString& k, ColorRef& field) {
        convert(k, [&](const QString& t) { return convertColour(t, field); });
    }

    void single(const QString& k, double& field) {
        convert(k, [&](const QString& t) { return convertSingle(t, field); });
    }

    // A window's place or size: a measure no screen has is no place.
    void windowMeasure(const QString& k, double& field) {
        convert(k, [&](const QString& t) {
            double v = 0;
            if (!convertSingle(t, v) || !isWindowMeasure(v)) {
                return false;
            }
            field = v;
            return true;
        });
    }

private:
    void convert(const QString& k, const std::function<bool(const QString&)>& apply) {
        const auto t = text(k);
        if (t && !apply(*t)) {
            m_problems.push_back(SettingProblem{k, *t});
        }
    }

    const SettingsStore& m_store;
    std::vector<SettingProblem>& m_problems;
};

}  // namespace

bool convertBoolean(const QString& text, bool& value) {
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0) {
        value = true;
        return true;
    }
    if (t.compare(u"False", Qt::CaseInsensitive) == 0) {
        value = false;
        return true;
    }
    const std::optional<Decimal> n = number(t);
    if (!n) {
        return false;
    }
    value = n->scaled != 0;
    return true;
}

bool convertInteger(const QString& text, qint64 minimum, qint64 maximum, qint64& value) {
    const std::optional<Decimal> n = number(text);
    if (!n) {
        return false;
    }
    const Int128 whole = n->roundedTiesToEven(0);
    if (whole < minimum || whole > maximum) {
        return false;
    }
    value = qint64(whole);
    return true;
}

bool convertSingle(const QString& text, double& value) {
    const std::optional<Decimal> n = number(text);
    if (!n) {
        return false;
    }
    const double v = n->toDouble();
    if (!std::isfinite(v) || std::fabs(v) > double(std::numeric_limits<float>::max())) {
        return false;
    }
    value = double(float(v));
    return true;
}

bool convertColour(const QString& text, ColorRef& value) {
    qint64 v = 0;
    if (!convertInteger(text, std::numeric_limits<qint32>::min(),
                        std::numeric_limits<quint32>::max(), v)) {
        return false;
    }
    value = ColorRef(quint32(v));
    return true;
}

QString booleanText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString colourText(ColorRef value) {
    return QString::number(qint32(value));
}

QString singleText(double value) {
    return defaultText(double(float(value)), QLocale::c());
}

QString scramblePassword(const QString& password) {
    QString text = password;
    ClsAsmXor().EnDeCrypt(text, kPasswordKey);
    return text;
}

LoadedSettings loadMainSettings(const SettingsStore& store, const MainSettings& defaults,
                                SettingLimits limits) {
    LoadedSettings loaded{defaults, {}};
    MainSettings& s = loaded.values;
    DisplaySettings& d = s.display;
    Reader r(store, loaded.problems);
    constexpr qint64 kInt16Min = std::numeric_limits<qint16>::min();
    constexpr qint64 kInt16Max = std::numeric_limits<qint16>::max();

    r.string(QStringLiteral("txtUserName"), s.txtUserName);
    QString scrambled;
    r.string(QStringLiteral("txtPasswordnew"), scrambled);
    if (!scrambled.isEmpty()) {
        s.txtPassword = scramblePassword(scrambled);
    }
    // A check box holds 0 or 1.
    r.integer(QStringLiteral("chkSavePassword"), s.chkSavePassword, 0, 1);
    r.boolean(QStringLiteral("mblnExcludeFree"), d.mblnExcludeFree);
    r.boolean(QStringLiteral("mblnExcludeNonFree"), d.mblnExcludeNonFree);
    r.boolean(QStringLiteral("mblnExcludeMixed"), d.mblnExcludeMixed);
    r.boolean(store.contains(kCachingKey) ? kCachingKey : kOldCachingKey, s.mblnCachingEnabled);
    for (const ColourKey& c : kColourKeys) {
        r.colour(key(c.key), d.*(c.field));
    }
    r.integer(QStringLiteral("ChartType"), d.mbytChartType, 0, 255);
    r.boolean(QStringLiteral("mblnShowTotalValue"), d.mblnShowTotalValue);
    r.boolean(QStringLiteral("mblnShowAverage"), d.mblnShowAverage);
    r.boolean(QStringLiteral("mblnNightUnlimitedPlan"), d.mblnNightUnlimitedPlan);
    // -1 selects nothing; an index the list lacks cannot be selected.
    r.integer(QStringLiteral("PlanType"), s.PlanType, -1,
              std::min<qint64>(kInt16Max, limits.planTypes - 1));
    r.integer(QStringLiteral("Selfcaresite"), s.Selfcaresite, -1,
              std::min<qint64>(kInt16Max, limits.selfcareSites - 1));
    r.windowMeasure(QStringLiteral("Height"), s.Height);
    r.windowMeasure(QStringLiteral("Width"), s.Width);
    r.windowMeasure(QStringLiteral("Left"), s.Left);
    r.windowMeasure(QStringLiteral("Top"), s.Top);
    // The tab strip clamps a page number itself.
    r.integer(kSelectedTabKey, s.SelectedTab, kInt16Min, kInt16Max);
    return loaded;
}

QStringList mainSettingsKeys(bool minimised) {
    QStringList keys = {QStringLiteral("txtUserName"),      QStringLiteral("txtPasswordnew"),
                        QStringLiteral("txtPassword"),      QStringLiteral("chkSavePassword"),
                        QStringLiteral("mblnExcludeFree"),  QStringLiteral("mblnExcludeNonFree"),
                        QStringLiteral("mblnExcludeMixed"), kCachingKey};
    for (const ColourKey& c : kColourKeys) {
        keys << key(c.key);
    }
    keys << QStringLiteral("ChartType") << kSelectedTabKey << QStringLiteral("mblnShowTotalValue")
         << QStringLiteral("mblnShowAverage") << QStringLiteral("mblnNightUnlimitedPlan")
         << QStringLiteral("PlanType") << QStringLiteral("Selfcaresite");
    if (!minimised) {
        keys << QStringLiteral("Height") << QStringLiteral("Width") << QStringLiteral("Left")
             << QStringLiteral("Top");
    }
    return keys;
}

void saveMainSettings(SettingsStore& store, const MainSettings& s, bool minimised) {
    const DisplaySettings& d = s.display;
    store.save(QStringLiteral("txtUserName"), s.txtUserName);
    // The password lives in the desktop keyring; both keys stay, empty, so that a password
    // an older version kept here never outlives the move.
    store.save(QStringLiteral("txtPassword"), QString());
    store.save(QStringLiteral("txtPasswordnew"), QString());
    store.save(QStringLiteral("chkSavePassword"), QString::number(s.chkSavePassword));
    store.save(QStringLiteral("mblnExcludeFree"), booleanText(d.mblnExcludeFree));
    store.save(QStringLiteral("mblnExcludeNonFree"), booleanText(d.mblnExcludeNonFree));
    store.save(QStringLiteral("mblnExcludeMixed"), booleanText(d.mblnExcludeMixed));
    store.save(kCachingKey, booleanText(s.mblnCachingEnabled));
    store.remove(kOldCachingKey);
    for (const ColourKey& c : kColourKeys) {
        store.save(key(c.key), colourText(d.*(c.field)));
    }
    store.save(QStringLiteral("ChartType"), QString::number(d.mbytChartType));
    store.save(kSelectedTabKey, QString::number(s.SelectedTab));
    store.save(QStringLiteral("mblnShowTotalValue"), booleanText(d.mblnShowTotalValue));
    store.save(QStringLiteral("mblnShowAverage"), booleanText(d.mblnShowAverage));
    store.save(QStringLiteral("mblnNightUnlimitedPlan"), booleanText(d.mblnNightUnlimitedPlan));
    store.save(QStringLiteral("PlanType"), QString::number(s.PlanType));
    store.save(QStringLiteral("Selfcaresite"), QString::number(s.Selfcaresite));
    if (!minimised) {
        store.save(QStringLiteral("Height"), singleText(s.Height));
        store.save(QStringLiteral("Width"), singleText(s.Width));
        store.save(QStringLiteral("Left"), singleText(s.Left));
        store.save(QStringLiteral("Top"), singleText(s.Top));
    }
    store.sync();
}

}  // namespace kestrova
