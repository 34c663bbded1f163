// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/forecast_frame.h"

#include <QGridLayout>
#include <QLabel>

namespace kestrova {

namespace {

// The Summary tab's figure rows: caption on the left, the value right-aligned in a column
// that holds a bill figure.
constexpr int kValueWidth = 120;

QLabel* plainLabel(QWidget* parent, const QString& text, const QString& name) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(name);
    return label;
}

void setBold(QLabel* label) {
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
}

}  // namespace

ForecastFrame::ForecastFrame(QWidget* parent) : QGroupBox(QStringLiteral("Forecast"), parent) {
    setObjectName(QStringLiteral("fraForecast"));
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);

    // The rows and their captions are fixed; an empty forecast gives them. The bill shows as
    // its total with tax (its parts are in the command line's summary): the frame then fits
    // below the tab's other frames at the window's designed size.
    int r = 0;
    for (const ForecastRow& row : forecastRows(Forecast{})) {
        if (row.name == u"lblForecastTotal" || row.name == u"lblForecastTax") {
            m_values.push_back(nullptr);
            m_captions.push_back(nullptr);
            continue;
        }
        // The caption first: a screen reader reads the children in the order they were made.
        QLabel* caption =
            row.caption.isEmpty() ? nullptr : plainLabel(this, row.caption, row.name + u"Caption");
        QLabel* value = plainLabel(this, QString(), row.name);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        if (!caption) {
            // The saving reads as a sentence under the cheapest plan.
            value->setWordWrap(true);
            grid->addWidget(value, r, 0, 1, 3);
        } else if (row.name == u"lblForecastCheapest") {
            // A plan's name and its bill need the frame's width, as in the cheapest plan box.
            grid->addWidget(caption, r, 0, 1, 3);
            grid->addWidget(value, ++r, 0, 1, 3);
        } else {
            grid->addWidget(caption, r, 0);
            value->setMinimumWidth(kValueWidth);
            grid->addWidget(value, r, 2);
        }
        if (caption) {
            caption->setBuddy(value);  // the value is labelled by its caption
        }
        m_values.push_back(value);
        m_captions.push_back(caption);
        ++r;
    }
    setBold(value(QStringLiteral("lblForecastTotalAndTax")));
    setBold(value(QStringLiteral("lblForecastCheapest")));
    hide();
}

QLabel* ForecastFrame::value(const QString& name) const {
    for (QLabel* label : m_values) {
        if (label && label->objectName() == name) {
            return label;
        }
    }
    return nullptr;
}

void ForecastFrame::setForecast(const std::optional<Forecast>& forecast) {
    if (!forecast) {
        hide();
        return;
    }
    const std::vector<ForecastRow> rows = forecastRows(*forecast);
    for (std::size_t i = 0; i < rows.size() && i < m_values.size(); ++i) {
        if (m_values[i]) {
            m_values[i]->setText(rows[i].text);
            m_values[i]->setVisible(rows[i].shown);
        }
        if (m_captions[i]) {
            m_captions[i]->setVisible(rows[i].shown);
        }
    }
    show();
}

}  // namespace kestrova
