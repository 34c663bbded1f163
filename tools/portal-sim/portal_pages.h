// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The mark-up of the simulated portal's pages: only the structure the program relies on
// (element ids, names, frame order, the usage table's nesting), plus enough text for a person
// to find their way in the demo.

#include "usage_data.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::portal {

inline constexpr std::string_view kNotAvailableText =
    "The usage details are currently not available,please try after some time or contact "
    "call center representative";

// The names of the usage view's six drop-downs, also their query parameters.
inline constexpr std::string_view kFromDay = "aaab.BBUsageView.ddkFromDay";
inline constexpr std::string_view kFromMonth = "aaab.BBUsageView.ddkFromMonth";
inline constexpr std::string_view kFromYear = "aaab.BBUsageView.ddkFromYear";
inline constexpr std::string_view kToDay = "aaab.BBUsageView.ddkToDay";
inline constexpr std::string_view kToMonth = "aaab.BBUsageView.ddkToMonth";
inline constexpr std::string_view kToYear = "aaab.BBUsageView.ddkToYear";

enum class Billing { Unbilled, Billed };

// The form that holds a usage table: "SWEForm2_0" unbilled, "SWEForm1_0" billed.
std::string_view formName(Billing billing);

std::string htmlEscape(std::string_view text);

struct UsageViewState {
    Date from;
    Date to;
    int firstYear = 0;  // the year drop-downs offer firstYear..lastYear
    int lastYear = 0;
    bool showDetails = false;  // "View Usage Details" was clicked with a valid period
    std::string downloadHref;  // the download link's target when showDetails
    std::size_t sessions = 0;
    std::string error;  // why the chosen period was refused
};

struct UsageTablePage {
    Billing billing = Billing::Unbilled;
    std::vector<UsageRecord> entries;  // this page's entries, newest first
    int page = 0;                      // from 0
    int pageCount = 1;
    std::size_t firstEntry = 0;  // index of entries.front() in the whole period
    std::size_t totalEntries = 0;
    std::string previousHref;  // empty on the first page
    std::string nextHref;      // empty on the last page
    std::string title;
};

class Pages {
public:
    explicit Pages(std::set<std::string> omit) : m_omit(std::move(omit)) {}

    std::string login(std::string_view message) const;
    std::string noticeFrame() const;
    std::string top(std::string_view userId) const;
    std::string headerFrame() const;
    std::string menuFrame() const;
    std::string workFrame() const;
    std::string titleFrame() const;
    std::string navigation() const;
    std::string services() const;
    std::string usageView(const UsageViewState& state) const;
    std::string usageTable(const UsageTablePage& page) const;
    std::string notAvailable() const;

private:
    bool shown(std::string_view idOrName) const { return !m_omit.contains(std::string(idOrName)); }
    std::string select(std::string_view name, int first, int last, int width, int chosen) const;

    std::set<std::string> m_omit;
};

}  // namespace kestrova::portal
