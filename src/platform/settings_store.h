// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <memory>
#include <vector>

class QSettings;

namespace kestrova {

// The per-user settings store: text values under the program's executable name, in the
// section "ScreenSettings" unless another is named. An INI file in the user's configuration
// folder; a missing key yields the caller's default.
class SettingsStore {
public:
    // application: the executable's base name (QCoreApplication::applicationName()).
    explicit SettingsStore(const QString& application = QString(),
                           const QString& section = SettingsStore::section());
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    QString get(const QString& key, const QString& defaultValue) const;
    void save(const QString& key, const QString& value);
    bool contains(const QString& key) const;
    void remove(const QString& key);
    // Writes pending changes to disk now.
    void sync();
    QString fileName() const;

    static QString section() { return QStringLiteral("ScreenSettings"); }

private:
    QString storedKey(const QString& key) const;

    std::unique_ptr<QSettings> m_settings;
    QString m_section;
};

// A stored value that could not be used (not a value of its kind, or out of its range): the
// key got its default.
struct SettingProblem {
    QString key;
    QString stored;
    friend bool operator==(const SettingProblem&, const SettingProblem&) = default;
};

// One line per problem, for the one message that tells the subscriber.
QString describeProblems(const std::vector<SettingProblem>& problems);

}  // namespace kestrova
