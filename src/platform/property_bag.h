// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A control's design-time properties as its host window's stored form keeps them: text values
// under fixed keys, matched without regard to case, kept in the order they were written.
//
// A stored form is a text of sections, one per control instance ("[XChart1]"), each holding
// "key=value" lines; the program carries one per window as a Qt resource under forms/.

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace kestrova {

class PropertyBag {
public:
    bool contains(const QString& key) const;
    // The stored text, or defaultValue when the key is missing.
    QString read(const QString& key, const QString& defaultValue = QString()) const;
    std::optional<QString> find(const QString& key) const;
    // Replaces the value of an existing key (keeping its place) or appends the key.
    void write(const QString& key, const QString& value);
    void remove(const QString& key);
    QStringList keys() const;
    int count() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }

    friend bool operator==(const PropertyBag&, const PropertyBag&) = default;

private:
    std::vector<std::pair<QString, QString>> m_entries;
};

// The sections of a stored form by instance name, in file order.
class StoredForm {
public:
    static StoredForm parse(const QString& text);
    // Reads a stored form file or resource (":/forms/frmResult.form"); empty when missing.
    static StoredForm load(const QString& path);
    QString serialize() const;

    // The instance's bag; an empty bag when the form holds no such instance.
    PropertyBag bag(const QString& instance) const;
    void setBag(const QString& instance, const PropertyBag& bag);
    QStringList instances() const;

private:
    std::vector<std::pair<QString, PropertyBag>> m_sections;
};

}  // namespace kestrova
