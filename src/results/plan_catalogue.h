// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The provider's tariff plans as the program carries them, the plan table `plans` built
// from them and the entries of the plan list `plansCombo`.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <variant>
#include <vector>

namespace kestrova {

// The fields of a plan record, in catalogue order.
enum PlanField {
    PlanName = 0,          // shown in the list
    PlanCharge = 1,        // monthly charge, rupees; 0 only on the custom line
    BandwidthLimitMB = 2,  // free allowance, MB; -1 is unlimited
    RsPerExcessMB = 3,     // rupees per MB beyond the allowance
    NightUnlimited = 4,    // 1: only charged (day-time) usage counts against the allowance
};

inline constexpr int kCatalogueSize = 30;
// The custom line "Custom/User entered": its figures come from the three edit boxes.
inline constexpr int kCustomPlanSlot = 29;

// The thirty catalogue lines, in slot order, exactly as stored.
const QStringList& planCatalogue();

// One catalogue line split at every "," with nothing trimmed, so fields 1 to 4 keep the blank
// that follows each comma (" 250"). The texts are shown as stored; each field's figure is read
// when its text is set, so it never outlives the text, and a field that holds no number fails
// only where its figure is used.
class PlanRecord {
public:
    PlanRecord();  // five empty fields
    static PlanRecord fromLine(const QString& line);

    const QString& text(PlanField field) const { return m_texts[field]; }
    // Sets the text and reads its figure: "." first, then the form of `locale`, the one the
    // custom figures are written in.
    void setText(PlanField field, const QString& text, const QLocale& locale = QLocale());

    // The field's figure; throws the Failure its reading met ("Type mismatch") when it has none.
    double number(PlanField field) const;
    bool isUnlimited() const { return number(BandwidthLimitMB) == -1; }
    bool isNightUnlimited() const { return number(NightUnlimited) == 1; }

private:
    std::array<QString, 5> m_texts;
    // The figure, or the description of the Failure reading the text threw.
    std::array<std::variant<double, QString>, 5> m_figures;
};

// `plans`: 101 slots, 0 to 100. rebuild() puts catalogue line i into slot i; slots 30 to
// 100 stay empty and every reader skips them.
class PlanTable {
public:
    static constexpr int kSlots = 101;

    PlanTable();  // already rebuilt
    // Back to the catalogue, discarding figures copied into the custom record.
    void rebuild();

    bool holdsRecord(int slot) const;
    // Throws Failure for an empty slot or one outside 0..100.
    const PlanRecord& record(int slot) const;
    PlanRecord& record(int slot);

private:
    std::array<std::optional<PlanRecord>, kSlots> m_slots;
};

// `value` with blanks put in front until it is `length` long; a longer text stays as it is.
QString leftPad(const QString& value, int length);

struct PlanListEntry {
    QString text;      // "  250 - BBG 250"
    int itemData = 0;  // the slot of the record
    friend bool operator==(const PlanListEntry&, const PlanListEntry&) = default;
};

// The list text of a record: the charge padded to five places, " - " and the name; a record
// whose charge is 0 is listed by its trimmed name alone.
QString planListText(const PlanRecord& record);
// One entry per filled slot, in slot order.
std::vector<PlanListEntry> planListEntries(const PlanTable& table);

// `plansCombo`: the entries and the selected index (-1: nothing selected). The custom line is
// recognised by position (the last entry), the record through the entry's item data.
class PlanList {
public:
    void fill(std::vector<PlanListEntry> entries);
    const std::vector<PlanListEntry>& entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }

    int listIndex() const { return m_listIndex; }
    // -1 or 0..count()-1; throws Failure ("Invalid property value") otherwise.
    void setListIndex(int index);
    bool hasSelection() const { return m_listIndex >= 0; }
    bool isCustomSelected() const { return hasSelection() && m_listIndex == count() - 1; }
    // The item data of the selected entry; nullopt while nothing is selected.
    std::optional<int> selectedSlot() const;
    // The index of the entry that carries `slot`, or -1.
    int indexOfSlot(int slot) const;

private:
    std::vector<PlanListEntry> m_entries;
    int m_listIndex = -1;
};

}  // namespace kestrova
