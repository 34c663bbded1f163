// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <memory>

namespace kestrova {

// One data item of the chart. The host creates and fills it and hands it to XChart::addItem;
// the chart keeps a shared reference and never changes the fields of a host's item.
struct ChartItem {
    QString itemId;
    QString selectedDescription;  // shown in the selection information box
    QString legendDescription;    // the item's legend row
    QString xAxisDescription;     // label under the column; lines split at CR LF
    double value = 0;
};

using ChartItemPtr = std::shared_ptr<ChartItem>;

}  // namespace kestrova
