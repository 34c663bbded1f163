// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Summary tab's "Forecast" frame: the month-end forecast for the selected plan, one caption
// and value per row (the month, projected usage, the allowance, the projected total with tax,
// the daily budget, the cheapest plan at this pace and its saving). A row with nothing to say
// for the forecast (no budget on an unlimited plan) is hidden. It only shows a Forecast; the
// billing library computes it.

#include "results/forecast.h"

#include <QGroupBox>
#include <optional>
#include <vector>

class QLabel;

namespace kestrova {

class ForecastFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit ForecastFrame(QWidget* parent = nullptr);

    // Shows the forecast's texts; none hides the frame (no plan selected).
    void setForecast(const std::optional<Forecast>& forecast);

    // The value label of a row by its name ("lblForecastUsage"), or nullptr.
    QLabel* value(const QString& name) const;

private:
    // In the order of forecastRows(); null for a row the frame leaves out, and for the
    // caption of a row that has none.
    std::vector<QLabel*> m_values;
    std::vector<QLabel*> m_captions;
};

}  // namespace kestrova
