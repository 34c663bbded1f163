// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/settings_store.h"

#include "platform/failure.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>

namespace kestrova {

namespace {
QString organization() {
    return QStringLiteral("Kestrova");
}
}  // namespace

// QSettings escapes what an INI key cannot hold itself (a blank becomes "%20"), so a key that
// ends in one ("mblnCachingEnabled ") goes in as it is. Escaping it here too wrote the blank
// escaped twice ("%2520"); main_settings still reads keys written that way.
QString SettingsStore::storedKey(const QString& key) const {
    return m_section + u'/' + key;
}

SettingsStore::SettingsStore(const QString& application, const QString& section)
    : m_section(section) {
    const QString app = application.isEmpty() ? QCoreApplication::applicationName() : application;
    m_settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             organization(), app.isEmpty() ? organization() : app);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::get(const QString& key, const QString& defaultValue) const {
    const QVariant v = m_settings->value(storedKey(key));
    return v.isValid() ? v.toString() : defaultValue;
}

void SettingsStore::save(const QString& key, const QString& value) {
    m_settings->setValue(storedKey(key), value);
}

void SettingsStore::remove(const QString& key) {
    m_settings->remove(storedKey(key));
}

bool SettingsStore::contains(const QString& key) const {
    return m_settings->contains(storedKey(key));
}

void SettingsStore::sync() {
    m_settings->sync();
}

QString SettingsStore::fileName() const {
    return m_settings->fileName();
}

QString describeProblems(const std::vector<SettingProblem>& problems) {
    QStringList lines;
    for (const SettingProblem& p : problems) {
        lines << QStringLiteral(
                     "The stored setting \"%1\" (%2) could not be read; its default is used "
                     "instead.")
                     .arg(p.key.trimmed(), quotedForMessage(p.stored));
    }
    return lines.join(u'\n');
}

}  // namespace kestrova
