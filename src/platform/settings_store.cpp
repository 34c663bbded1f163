#include "platform/settings_store.h"

#include <QCoreApplication>
#include <QSettings>

namespace kestrova {

namespace {
QString organization() { return QStringLiteral("Kestrova"); }
}  // namespace

// QSettings drops blanks at the ends of INI keys, and the program has a key that ends in one
// ("mblnCachingEnabled "); keep such keys intact by storing the blank escaped.
QString SettingsStore::storedKey(const QString& key) const {
    QString k = key;
    if (k.endsWith(u' ')) {
        k.chop(1);
        k += u"%20";
    }
    return m_section + u'/' + k;
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

bool SettingsStore::contains(const QString& key) const {
    return m_settings->contains(storedKey(key));
}

void SettingsStore::sync() { m_settings->sync(); }

QString SettingsStore::fileName() const { return m_settings->fileName(); }

}  // namespace kestrova
