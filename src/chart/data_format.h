// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocale>
#include <QString>

namespace kestrova {

// A value shown through a format picture, as the chart's dataFormat gives it:
// - empty or "General Number": the general form (up to 15 significant digits);
// - "Fixed" (0.00), "Standard" (#,##0.00), "Percent" (0.00%), "Scientific" (0.00E+00);
// - a picture of up to three ";"-separated sections (positive; negative; zero) made of digit
//   placeholders "0" (always a digit) and "#" (a digit when there is one), one ".", ","
//   between digit placeholders for thousands grouping, "%" (value times 100), and literal
//   text (quoted, escaped with "\", or any other character).
// Decimal and group separators are the locale's; halves round away from zero. Never fails: a
// value beyond 1e20 (also once its "%" signs have scaled it) shows in the general form, a tiny
// one as the zero it rounds to.
QString formatChartValue(double value, const QString& picture, const QLocale& locale = QLocale());

}  // namespace kestrova
