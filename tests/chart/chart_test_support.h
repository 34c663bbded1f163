// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "chart/chart_item.h"
#include "chart/chart_model.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace kestrova::test {

inline ChartItemPtr item(double value, const QString& label = QString(),
                         const QString& description = QString()) {
    auto i = std::make_shared<ChartItem>();
    i->value = value;
    i->itemId = label;
    i->xAxisDescription = label;
    i->legendDescription = description.isEmpty() ? label : description;
    i->selectedDescription = description;
    return i;
}

// Records what the model asks of its host.
class RecordingHost : public ChartModelHost {
public:
    void drawChart() override {
        ++redraws;
        if (model) {
            selectedAtRedraw.push_back(model->selectedColumn());
        }
    }
    void propertyChanged(const QString& name) override { changed << name; }
    void itemClick(const ChartItemPtr& i) override { clicked.push_back(i); }
    void buildMainMenu() override {
        if (model) {
            model->buildMainMenuCaptions();
        }
    }
    void buildCustomMenu() override {
        ++customMenuBuilds;
        if (model) {
            model->buildCustomMenuCaptions();
        }
    }

    ChartModel* model = nullptr;
    int redraws = 0;
    int customMenuBuilds = 0;
    QStringList changed;
    std::vector<ChartItemPtr> clicked;
    std::vector<int> selectedAtRedraw;  // selectedColumn as each redraw saw it
};

}  // namespace kestrova::test
