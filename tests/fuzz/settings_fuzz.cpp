// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The per-user settings file, as a damaged or hand-edited one may be: the input is the INI
// file's text. Nothing read from it may stop a program: every value the windows and the
// commands take from it is one its field can hold (or its default), a stored window place
// always makes a rectangle that fits onto a screen, the stored plan prices a month, and what a
// window writes back at its close reads again as it was written.

#include "fuzz_support.h"

#include "platform/failure.h"
#include "platform/settings_store.h"
#include "platform/twips.h"
#include "results/plan_settings.h"
#include "results/summary_report.h"
#include "results/window/result_layout.h"
#include "settings/main_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstddef>
#include <cstdint>

using namespace kestrova;
using namespace kestrova::fuzz;

namespace {

// The settings folder of the harness's own; each input gets a file of its own, as the settings
// store keeps files it has read.
QString freshApplication() {
    static const bool once = [] {
        qputenv("XDG_CONFIG_HOME", QDir::tempPath().toUtf8() + "/kestrova-fuzz-settings");
        return true;
    }();
    (void)once;
    static int run = 0;
    return QStringLiteral("fuzz-%1").arg(++run);
}

const QRect kScreen(0, 0, 1280, 800);
const QSize kMinimum(400, 300);

void checkPlace(const QRect& stored) {
    const QRect fitted = fitIntoScreen(stored, kScreen, kMinimum);
    check(kScreen.contains(fitted), "a stored place that does not fit onto the screen");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString application = freshApplication();
    QString fileName;
    {
        SettingsStore store(application);
        fileName = store.fileName();
    }
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    {
        QFile file(fileName);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size),
              "the harness could not write its settings file");
    }

    LoadedSettings loaded;
    {
        const SettingsStore store(application);
        loaded = loadMainSettings(store, MainSettings{});
        const MainSettings& s = loaded.values;
        check(s.savePasswordCheck == 0 || s.savePasswordCheck == 1, "a check box beyond 0 and 1");
        check(s.planType >= -1 && s.planType <= 2, "a plan type the list lacks");
        check(s.selfcaresite >= -1 && s.selfcaresite <= 1, "a portal the list lacks");
        check(s.display.chartType >= 0 && s.display.chartType <= 255, "a chart type");
        for (double measure : {s.height, s.width, s.left, s.top}) {
            check(isWindowMeasure(measure), "a window measure beyond any screen");
        }
        checkPlace(storedWindowPlace(s.left, s.top, s.width, s.height));
        (void)describeProblems(loaded.problems);

        // The result window's place, read as it reads it.
        if (const std::optional<WindowPlace> place = readResultPlace(store)) {
            checkPlace(storedWindowPlace(place->left, place->top, place->width, place->height));
        }

        const int entries = int(planListEntries(PlanTable()).size());
        std::vector<SettingProblem> problems;
        const PlanSettings plan = readPlanSettings(store, entries, QLocale::c(), &problems);
        check(plan.planIndex >= -1 && plan.planIndex < entries, "a plan the list lacks");
        for (PlanEditBox box : {PlanEditBox::PlanChargeEdit, PlanEditBox::BandWidthLimitEdit,
                                PlanEditBox::RsPerMBEdit}) {
            check(editBoxValue(box, plan.value(box)) == plan.value(box),
                  "a custom figure its box cannot hold");
        }
        (void)resultSettingProblems(store, entries, QLocale::c());
        if (const std::optional<PlanChoice> choice = storedPlanChoice(store)) {
            try {
                (void)summarizeMonth({1200, 1200, QDate(2013, 4, 15), 80}, *choice,
                                     QDate(2013, 4, 15), QLocale::c());
            } catch (const Failure& failure) {
                fail(u"the stored plan cannot price a month: " + failure.description());
            }
        }
    }

    // What the main window writes at its close reads back as it was, with nothing to tell.
    const QString written = freshApplication();
    {
        SettingsStore store(written);
        saveMainSettings(store, loaded.values, false);
    }
    {
        const LoadedSettings again = loadMainSettings(SettingsStore(written), MainSettings{});
        check(again.problems.empty(), "settings the window wrote do not read again");
        const MainSettings& a = loaded.values;
        const MainSettings& b = again.values;
        check(a.userNameEdit == b.userNameEdit && a.savePasswordCheck == b.savePasswordCheck &&
                  a.cachingEnabled == b.cachingEnabled && a.planType == b.planType &&
                  a.selfcaresite == b.selfcaresite && a.height == b.height && a.width == b.width &&
                  a.left == b.left && a.top == b.top && a.selectedTab == b.selectedTab &&
                  a.display.colorBackFree == b.display.colorBackFree &&
                  a.display.chartType == b.display.chartType,
              "settings the window wrote read back otherwise");
    }
    for (const QString& name : {application, written}) {
        QFile::remove(SettingsStore(name).fileName());
    }
    return 0;
}
