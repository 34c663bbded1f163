// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/property_bag.h"

#include <QFile>

namespace kestrova {

namespace {
// Values may hold line breaks (captions); they are kept on one line as \n, and \ as \\.
QString escapeValue(const QString& v) {
    QString out;
    for (QChar c : v) {
        if (c == u'\\') {
            out += u"\\\\";
        } else if (c == u'\n') {
            out += u"\\n";
        } else if (c == u'\r') {
            out += u"\\r";
        } else {
            out += c;
        }
    }
    return out;
}

QString unescapeValue(QStringView v) {
    QString out;
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == u'\\' && i + 1 < v.size()) {
            const QChar n = v[++i];
            out += n == u'n' ? QChar(u'\n') : n == u'r' ? QChar(u'\r') : n;
        } else {
            out += v[i];
        }
    }
    return out;
}
}  // namespace

bool PropertyBag::contains(const QString& key) const {
    return find(key).has_value();
}

std::optional<QString> PropertyBag::find(const QString& key) const {
    for (const auto& [k, v] : m_entries) {
        if (k.compare(key, Qt::CaseInsensitive) == 0) {
            return v;
        }
    }
    return std::nullopt;
}

QString PropertyBag::read(const QString& key, const QString& defaultValue) const {
    return find(key).value_or(defaultValue);
}

void PropertyBag::write(const QString& key, const QString& value) {
    for (auto& [k, v] : m_entries) {
        if (k.compare(key, Qt::CaseInsensitive) == 0) {
            v = value;
            return;
        }
    }
    m_entries.emplace_back(key, value);
}

void PropertyBag::remove(const QString& key) {
    std::erase_if(m_entries,
                  [&key](const auto& e) { return e.first.compare(key, Qt::CaseInsensitive) == 0; });
}

QStringList PropertyBag::keys() const {
    QStringList out;
    for (const auto& e : m_entries) {
        out << e.first;
    }
    return out;
}

StoredForm StoredForm::parse(const QString& text) {
    StoredForm form;
    PropertyBag* current = nullptr;
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        const QStringView trimmed = QStringView(line).trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#')) {
            continue;
        }
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            form.m_sections.emplace_back(trimmed.sliced(1, trimmed.size() - 2).toString(),
                                         PropertyBag());
            current = &form.m_sections.back().second;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        const QString key = line.left(eq < 0 ? 0 : eq).trimmed();
        // A line without a key is no property (written as "=value" it would not read back).
        if (current == nullptr || key.isEmpty()) {
            continue;
        }
        current->write(key, unescapeValue(QStringView(line).sliced(eq + 1)));
    }
    return form;
}

StoredForm StoredForm::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return parse(QString::fromUtf8(file.readAll()));
}

QString StoredForm::serialize() const {
    QString out;
    for (const auto& [name, bag] : m_sections) {
        out += u'[' + name + u"]\n";
        for (const QString& key : bag.keys()) {
            out += key + u'=' + escapeValue(bag.read(key)) + u'\n';
        }
        out += u'\n';
    }
    return out;
}

PropertyBag StoredForm::bag(const QString& instance) const {
    for (const auto& [name, bag] : m_sections) {
        if (name.compare(instance, Qt::CaseInsensitive) == 0) {
            return bag;
        }
    }
    return {};
}

void StoredForm::setBag(const QString& instance, const PropertyBag& bag) {
    for (auto& [name, existing] : m_sections) {
        if (name.compare(instance, Qt::CaseInsensitive) == 0) {
            existing = bag;
            return;
        }
    }
    m_sections.emplace_back(instance, bag);
}

QStringList StoredForm::instances() const {
    QStringList out;
    for (const auto& s : m_sections) {
        out << s.first;
    }
    return out;
}

}  // namespace kestrova
