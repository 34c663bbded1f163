// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/plan_catalogue.h"

#include "platform/failure.h"
#include "platform/number_format.h"

namespace kestrova {

const QStringList& planCatalogue() {
    static const QStringList lines = {
        QStringLiteral("BBG 250, 250, 1024, 0.3, 0"),
        QStringLiteral("BBG Combo 299, 299, 1024, 0.2, 0"),
        QStringLiteral("BB Home UL 499, 499, -1, 0, 0"),
        QStringLiteral("BBG FN Combo 500, 500, 1536, 0.2, 1"),
        QStringLiteral("BBG FN Combo 599, 599, 4096, 0.2, 1"),
        QStringLiteral("BBG FN Combo 600, 600, 2560, 0.2, 1"),
        QStringLiteral("BB Home Combo UL 625, 625, -1, 0, 0"),
        QStringLiteral("BBG 700, 700, 4096, 0.2, 0"),
        QStringLiteral("BB Home UL 750, 750, -1, 0, 0"),
        QStringLiteral("BB Home Combo UL 750, 750, -1, 0, 0"),
        QStringLiteral("BBG Combo ULD 850, 850, -1, 0, 0"),
        QStringLiteral("BB Home Combo ULD 900, 900, -1, 0, 0"),
        QStringLiteral("BBG Combo ULD 1000, 1000, -1, 0, 0"),
        QStringLiteral("BBG Combo 1111, 1111, 15360, 0.1, 0"),
        QStringLiteral("BBG Combo ULD 1350, 1350, -1, 0, 0"),
        QStringLiteral("BBG Combo ULD 1700, 1700, -1, 0, 0"),
        QStringLiteral("BBG ULD 2150, 2150, -1, 0, 0"),
        QStringLiteral("BBG Combo ULD 2150, 2150, -1, 0, 0"),
        QStringLiteral("BBG Speed Combo 2799, 2799, 61440, 0.1, 0"),
        QStringLiteral("BBG ULD 3300, 3300, -1, 0, 0"),
        QStringLiteral("BBG Combo ULD 3300, 3300, -1, 0, 0"),
        QStringLiteral("BBG Super Speed Combo 4999, 4999, 128000, 0.1, 0"),
        QStringLiteral("BBG ULD 6000, 6000, -1, 0, 0"),
        QStringLiteral("BBG Combo ULD 6000, 6000, -1, 0, 0"),
        QStringLiteral("BBG Super Speed Combo 6999, 6999, 256000, 0.1, 0"),
        QStringLiteral("BBG UL 9000, 9000, -1, 0, 0"),
        QStringLiteral("BBG Combo UL 9000, 9000, -1, 0, 0"),
        QStringLiteral("BBG UL 15000, 15000, -1, 0, 0"),
        QStringLiteral("BBG Combo UL 15000, 15000, -1, 0, 0"),
        QStringLiteral("Custom/User entered, 0, 0, 0, 0"),
    };
    return lines;
}

namespace {

std::variant<double, QString> figureOf(const QString& text, const QLocale& locale) {
    try {
        return requireNumber(text, locale).toDouble();
    } catch (const Failure& failure) {
        return failure.description();
    }
}

}  // namespace

PlanRecord::PlanRecord() {
    m_figures.fill(figureOf(QString(), QLocale()));
}

PlanRecord PlanRecord::fromLine(const QString& line) {
    const QStringList parts = line.split(u',');
    if (parts.size() != 5) {
        throw Failure(QStringLiteral("A plan line needs five fields: \"%1\"").arg(line));
    }
    PlanRecord record;
    for (int i = 0; i < 5; ++i) {
        record.setText(PlanField(i), parts[i]);
    }
    return record;
}

void PlanRecord::setText(PlanField field, const QString& text, const QLocale& locale) {
    m_texts[field] = text;
    m_figures[field] = figureOf(text, locale);
}

double PlanRecord::number(PlanField field) const {
    if (const QString* failure = std::get_if<QString>(&m_figures[field])) {
        throw Failure(*failure);
    }
    return std::get<double>(m_figures[field]);
}

PlanTable::PlanTable() {
    rebuild();
}

void PlanTable::rebuild() {
    // Split and read once: every plan list and every priced month starts from the same records.
    static const std::vector<PlanRecord> records = [] {
        std::vector<PlanRecord> split;
        for (const QString& line : planCatalogue()) {
            split.push_back(PlanRecord::fromLine(line));
        }
        return split;
    }();
    for (int slot = 0; slot < kSlots; ++slot) {
        if (slot < int(records.size())) {
            m_slots[std::size_t(slot)] = records[std::size_t(slot)];
        } else {
            m_slots[std::size_t(slot)].reset();
        }
    }
}

bool PlanTable::holdsRecord(int slot) const {
    return slot >= 0 && slot < kSlots && m_slots[std::size_t(slot)].has_value();
}

const PlanRecord& PlanTable::record(int slot) const {
    if (!holdsRecord(slot)) {
        throw Failure(QStringLiteral("Plan slot %1 holds no plan").arg(slot));
    }
    return *m_slots[std::size_t(slot)];
}

PlanRecord& PlanTable::record(int slot) {
    if (!holdsRecord(slot)) {
        throw Failure(QStringLiteral("Plan slot %1 holds no plan").arg(slot));
    }
    return *m_slots[std::size_t(slot)];
}

QString leftPad(const QString& value, int length) {
    QString text = value;
    while (text.size() < length) {
        text.prepend(u' ');
    }
    return text;
}

QString planListText(const PlanRecord& record) {
    if (record.number(PlanCharge) != 0) {
        return leftPad(record.text(PlanCharge).trimmed(), 5) + QStringLiteral(" - ") +
               record.text(PlanName);
    }
    return record.text(PlanName).trimmed();
}

std::vector<PlanListEntry> planListEntries(const PlanTable& table) {
    std::vector<PlanListEntry> entries;
    for (int slot = 0; slot < PlanTable::kSlots; ++slot) {
        if (table.holdsRecord(slot)) {
            entries.push_back({planListText(table.record(slot)), slot});
        }
    }
    return entries;
}

void PlanList::fill(std::vector<PlanListEntry> entries) {
    m_entries = std::move(entries);
    m_listIndex = -1;
}

void PlanList::setListIndex(int index) {
    if (index < -1 || index >= count()) {
        throw Failure(QStringLiteral("Invalid property value"));
    }
    m_listIndex = index;
}

std::optional<int> PlanList::selectedSlot() const {
    if (!hasSelection()) {
        return std::nullopt;
    }
    return m_entries[std::size_t(m_listIndex)].itemData;
}

int PlanList::indexOfSlot(int slot) const {
    for (int i = 0; i < count(); ++i) {
        if (m_entries[std::size_t(i)].itemData == slot) {
            return i;
        }
    }
    return -1;
}

}  // namespace kestrova
