// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/main_settings.h"

#include "platform/failure.h"
#include "platform/number_format.h"
#include "platform/settings_store.h"
#include "platform/twips.h"
#include "retrieval/xor_cipher.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <type_traits>

namespace kestrova {

namespace {

// The default of a key whose absence (or unreadable value) leaves the value the window was
// designed with: the user id box's text, the window's size and place.
struct DesignValue {};
constexpr DesignValue kDesignValue{};

// The range a stored integer must lie in.
struct IntegerRange {
    qint64 minimum = 0;
    qint64 maximum = 0;
};
constexpr IntegerRange kInt16Range{std::numeric_limits<qint16>::min(),
                                   std::numeric_limits<qint16>::max()};

// When a key is read: in its turn, or after all others (the tab strip's page is chosen once
// the window stands where it was kept).
enum class ReadOrder { InTurn, Last };

const QString kCachingKey = QStringLiteral("mblnCachingEnabled ");
// The same key as files of earlier versions hold it: its blank escaped twice
// ("mblnCachingEnabled%2520" in the file). Read when the key itself is missing, removed when
// the key is written.
const QString kOldCachingKey = QStringLiteral("mblnCachingEnabled%20");

// Every stored setting of the main window, each once, in the order a close writes them: its
// key, its field, its kind (the member called), its default and where it has one its range.
// Loading and saving both walk this list.
template <class Settings, class Visitor>
requires std::is_same_v<std::remove_const_t<Settings>, MainSettings>
void visitMainSettings(Settings& s, Visitor& v) {
    auto& d = s.display;
    v.text(QStringLiteral("txtUserName"), s.userNameEdit, kDesignValue);
    // The password lives in the desktop keyring. Both keys are written empty, so that a
    // password an older version kept here never outlives the move; the second is still read.
    v.clearedPassword(QStringLiteral("txtPassword"));
    v.scrambledPassword(QStringLiteral("txtPasswordnew"), s.passwordEdit);
    v.integer(QStringLiteral("chkSavePassword"), s.savePasswordCheck, 0, IntegerRange{0, 1});
    v.boolean(QStringLiteral("mblnExcludeFree"), d.excludeFree, true);
    v.boolean(QStringLiteral("mblnExcludeNonFree"), d.excludeNonFree, false);
    v.boolean(QStringLiteral("mblnExcludeMixed"), d.excludeMixed, false);
    v.boolean(kCachingKey, s.cachingEnabled, false, kOldCachingKey);
    v.colour(QStringLiteral("mlngColorFree"), d.colorFree, 0);
    v.colour(QStringLiteral("mlngColorBackFree"), d.colorBackFree, 14811105);
    v.colour(QStringLiteral("mlngColorMixed"), d.colorMixed, 16711680);
    v.colour(QStringLiteral("mlngColorBackMixed"), d.colorBackMixed, 15790305);
    v.colour(QStringLiteral("mlngColorNonFree"), d.colorNonFree, 0);
    v.colour(QStringLiteral("mlngColorBackNonFree"), d.colorBackNonFree, 15395583);
    v.colour(QStringLiteral("mlngChartColorFree"), d.chartColorFree, 11599792);
    v.colour(QStringLiteral("mlngChartColorNonFree"), d.chartColorNonFree, 9671679);
    v.colour(QStringLiteral("mlngInbuiltChartColor"), d.inbuiltChartColor, 9671679);
    v.integer(QStringLiteral("ChartType"), d.chartType, 0, IntegerRange{0, 255});
    // The tab strip clamps a page number itself.
    v.integer(QStringLiteral("ctlTabs1.SelectedTab"), s.selectedTab, 1, kInt16Range,
              ReadOrder::Last);
    v.boolean(QStringLiteral("mblnShowTotalValue"), d.showTotalValue, false);
    v.boolean(QStringLiteral("mblnShowAverage"), d.showAverage, false);
    v.boolean(QStringLiteral("mblnNightUnlimitedPlan"), d.nightUnlimitedPlan, false);
    v.listIndex(QStringLiteral("PlanType"), s.planType, 0, &SettingLimits::planTypes);
    v.listIndex(QStringLiteral("Selfcaresite"), s.selfcaresite, -1, &SettingLimits::selfcareSites);
    // Left as they were stored while the window is minimised.
    v.windowMeasure(QStringLiteral("Height"), s.height, kDesignValue);
    v.windowMeasure(QStringLiteral("Width"), s.width, kDesignValue);
    v.windowMeasure(QStringLiteral("Left"), s.left, kDesignValue);
    v.windowMeasure(QStringLiteral("Top"), s.top, kDesignValue);
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

// Reads each key into its field. A missing key gives the key's default; so does a value that
// does not convert, which is noted, and the load goes on with the next key.
class Reader {
public:
    Reader(const SettingsStore& store, SettingLimits limits, std::vector<SettingProblem>& problems)
        : m_store(store), m_limits(limits), m_problems(problems) {}

    void text(const QString& key, QString& field, DesignValue) {
        if (const auto t = stored(key)) {
            field = *t;
        }
    }
    void clearedPassword(const QString&) {}
    void scrambledPassword(const QString& key, QString& field) {
        if (const auto t = stored(key); t && !t->isEmpty()) {
            field = scramblePassword(*t);
        }
    }
    void boolean(const QString& key, bool& field, bool fallback,
                 const QString& formerKey = QString()) {
        const QString& k = formerKey.isEmpty() || m_store.contains(key) ? key : formerKey;
        read(k, field, fallback, [](const QString& t, bool& v) { return convertBoolean(t, v); });
    }
    void integer(const QString& key, int& field, int fallback, IntegerRange range,
                 ReadOrder order = ReadOrder::InTurn) {
        if (order == ReadOrder::Last) {
            m_last.emplace_back(
                [this, key, &field, fallback, range] { integer(key, field, fallback, range); });
            return;
        }
        read(key, field, fallback, [range](const QString& t, int& v) {
            qint64 wide = 0;
            if (!convertInteger(t, range.minimum, range.maximum, wide)) {
                return false;
            }
            v = int(wide);
            return true;
        });
    }
    // -1 selects nothing; an index the drop-down lacks cannot be selected.
    void listIndex(const QString& key, int& field, int fallback, int SettingLimits::*items) {
        integer(key, field, fallback,
                IntegerRange{-1, std::min<qint64>(kInt16Range.maximum, m_limits.*items - 1)});
    }
    void colour(const QString& key, ColorRef& field, ColorRef fallback) {
        read(key, field, fallback,
             [](const QString& t, ColorRef& v) { return convertColour(t, v); });
    }
    // A window's place or size: a measure no screen has is no place.
    void windowMeasure(const QString& key, double& field, DesignValue) {
        read(key, field, field,
             [](const QString& t, double& v) { return convertSingle(t, v) && isWindowMeasure(v); });
    }

    // The keys read after all others.
    void readLast() {
        for (const auto& read : m_last) {
            read();
        }
    }

private:
    // The stored text, or nothing when the key is absent.
    std::optional<QString> stored(const QString& key) const {
        if (!m_store.contains(key)) {
            return std::nullopt;
        }
        return m_store.get(key, QString());
    }

    template <class T, class Convert>
    void read(const QString& key, T& field, T fallback, Convert convert) {
        const std::optional<QString> t = stored(key);
        T value = fallback;
        if (t && !convert(*t, value)) {
            m_problems.push_back(SettingProblem{key, *t});
            value = fallback;
        }
        field = value;
    }

    const SettingsStore& m_store;
    SettingLimits m_limits;
    std::vector<SettingProblem>& m_problems;
    std::vector<std::function<void()>> m_last;
};

// Writes each key's text: to the store, or to a list of the keys written.
class Writer {
public:
    using Save = std::function<void(const QString& key, const QString& text)>;
    using Remove = std::function<void(const QString& key)>;

    Writer(Save save, Remove remove, bool minimised)
        : m_save(std::move(save)), m_remove(std::move(remove)), m_minimised(minimised) {}

    void text(const QString& key, const QString& field, DesignValue) { m_save(key, field); }
    void clearedPassword(const QString& key) { m_save(key, QString()); }
    void scrambledPassword(const QString& key, const QString&) { m_save(key, QString()); }
    void boolean(const QString& key, bool field, bool, const QString& formerKey = QString()) {
        m_save(key, booleanText(field));
        if (!formerKey.isEmpty()) {
            m_remove(formerKey);
        }
    }
    void integer(const QString& key, int field, int, IntegerRange, ReadOrder = ReadOrder::InTurn) {
        m_save(key, QString::number(field));
    }
    void listIndex(const QString& key, int field, int, int SettingLimits::*) {
        m_save(key, QString::number(field));
    }
    void colour(const QString& key, ColorRef field, ColorRef) { m_save(key, colourText(field)); }
    void windowMeasure(const QString& key, double field, DesignValue) {
        if (!m_minimised) {
            m_save(key, singleText(field));
        }
    }

private:
    Save m_save;
    Remove m_remove;
    bool m_minimised;
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
    XorCipher().scramble(text, kPasswordKey);
    return text;
}

LoadedSettings loadMainSettings(const SettingsStore& store, const MainSettings& design,
                                SettingLimits limits) {
    LoadedSettings loaded{design, {}};
    Reader reader(store, limits, loaded.problems);
    visitMainSettings(loaded.values, reader);
    reader.readLast();
    return loaded;
}

QStringList mainSettingsKeys(bool minimised) {
    QStringList keys;
    Writer lister([&keys](const QString& key, const QString&) { keys << key; },
                  [](const QString&) {}, minimised);
    const MainSettings any;
    visitMainSettings(any, lister);
    return keys;
}

void saveMainSettings(SettingsStore& store, const MainSettings& values, bool minimised) {
    Writer writer([&store](const QString& key, const QString& text) { store.save(key, text); },
                  [&store](const QString& key) { store.remove(key); }, minimised);
    visitMainSettings(values, writer);
    store.sync();
}

namespace {

// Walks the table for its password keys only.
class PasswordClearer {
public:
    explicit PasswordClearer(SettingsStore& store) : m_store(store) {}
    void clearedPassword(const QString& key) { m_store.save(key, QString()); }
    void scrambledPassword(const QString& key, const QString&) { m_store.save(key, QString()); }
    void text(const QString&, const QString&, DesignValue) {}
    void boolean(const QString&, bool, bool, const QString& = QString()) {}
    void integer(const QString&, int, int, IntegerRange, ReadOrder = ReadOrder::InTurn) {}
    void listIndex(const QString&, int, int, int SettingLimits::*) {}
    void colour(const QString&, ColorRef, ColorRef) {}
    void windowMeasure(const QString&, double, DesignValue) {}

private:
    SettingsStore& m_store;
};

}  // namespace

void clearStoredPasswords(SettingsStore& store) {
    PasswordClearer clearer(store);
    const MainSettings none;
    visitMainSettings(none, clearer);
    store.sync();
}

}  // namespace kestrova
