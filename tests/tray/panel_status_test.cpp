// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the panel says, as a table over the forecast's cases: each month priced by the real
// Summary and forecast into the check's document, read back as the tray item reads it, gives
// the tool tip's lines and the gauge's colour. A document that is damaged or hostile gives the
// reason instead of figures, never a crash or a forged line.

#include "tray/panel_status.h"
#include "tray/gauge_painter.h"

#include "support/qt_printers.h"

#include "results/check_document.h"
#include "retrieval/report_page.h"
#include "retrieval/retrieval_state.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

namespace kestrova {
namespace {

using kestrova::test::q;

const QDateTime kChecked(QDate(2013, 4, 10), QTime(7, 30));

// The document a check of `inputs` on `plan` makes, as kestrova-check and the window keep it.
QJsonObject checked(const SummaryInputs& inputs, std::optional<PlanChoice> plan, QDate today,
                    bool billed = false) {
    RetrievalState state;
    state.monthYear = q("period 01-04-2013 TO 10-04-2013");
    ReportFigures figures;
    figures.records = 12;
    figures.monthSumMB = inputs.totalUsage;
    std::optional<MonthSummary> summary;
    std::optional<Forecast> forecast;
    if (plan) {
        summary = summarizeMonth(inputs, *plan, today, QLocale::c());
        forecast = forecastMonth(inputs, *plan, {}, today, QLocale::c());
    }
    return checkDocument(state, figures, summary, forecast,
                         CheckFacts{q("portal.test"), q("demo"), QDate(2013, 4, 1), today, billed,
                                    q("/data/usage.htm"), kChecked});
}

struct PanelCase {
    const char* name;
    QJsonObject document;
    GaugeLevel level;
    double share;
    QStringList lines;
};

void PrintTo(const PanelCase& c, std::ostream* os) {
    *os << c.name;
}

const PlanChoice kBbg250 = PlanChoice::catalogue(0);  // 1024 MB, Rs. 250, 0.3 a MB beyond
const PlanChoice kUnlimited499 = PlanChoice::catalogue(2);

std::vector<PanelCase> cases() {
    return {
        // 300 MB by the 10th (today): 900 MB at this pace; 724 MB left over 21 days.
        {"LastsTheMonth",
         checked({300, 300, QDate(2013, 4, 10), 30}, kBbg250, QDate(2013, 4, 10)),
         GaugeLevel::LastsTheMonth,
         300.0 / 1024,
         {q("Kestrova: demo"), q("Used 300 MB of 1024 MB (29 %)"),
          q("Day 10 of 30: lasts the month"), q("Daily budget: 34.48 MB"),
          q("Projected Total + Tax: Rs. 275.75"), q("Cheapest at this pace: BBG 250 (Rs. 275.75)"),
          q("Checked 10 Apr, 07:30")}},
        // 600 MB by the 10th: 1800 MB at this pace passes 1024 MB on the 18th; 424 MB left
        // over 21 days; 776 MB beyond at 0.3: Rs. 482.80 + 10.30 %.
        {"RunsOut",
         checked({600, 600, QDate(2013, 4, 10), 60}, kBbg250, QDate(2013, 4, 10)),
         GaugeLevel::RunsOut,
         600.0 / 1024,
         {q("Kestrova: demo"), q("Used 600 MB of 1024 MB (59 %)"),
          q("Day 10 of 30: runs out about 18 Apr"), q("Daily budget: 20.19 MB"),
          q("Projected Total + Tax: Rs. 532.53"),
          q("Cheapest at this pace: BBG Combo 299 (Rs. 500.98)"), q("Checked 10 Apr, 07:30")}},
        // Passed on the last recorded day (no daily totals given): nothing left a day; 1650 MB
        // at this pace, 626 MB beyond at 0.3.
        {"RanOut",
         checked({1100, 1100, QDate(2013, 4, 20), 50}, kBbg250, QDate(2013, 4, 20)),
         GaugeLevel::RanOut,
         1.0,
         {q("Kestrova: demo"), q("Used 1100 MB of 1024 MB (107 %)"),
          q("Day 20 of 30: ran out on 20 Apr"), q("Daily budget: ran out"),
          q("Projected Total + Tax: Rs. 482.89"),
          q("Cheapest at this pace: BBG Combo 299 (Rs. 467.89)"), q("Checked 10 Apr, 07:30")}},
        {"Unlimited",
         checked({1100, 1100, QDate(2013, 4, 20), 50}, kUnlimited499, QDate(2013, 4, 20)),
         GaugeLevel::Unlimited,
         0,
         {q("Kestrova: demo"), q("Used 1100 MB (unlimited plan)"), q("Day 20 of 30"),
          q("Projected Total + Tax: Rs. 550.40"),
          q("Cheapest at this pace: BBG Combo 299 (Rs. 467.89)"), q("Checked 10 Apr, 07:30")}},
        // Today is past April: no day left, so no budget.
        {"MonthComplete",
         checked({900, 900, QDate(2013, 4, 30), 30}, kBbg250, QDate(2013, 5, 3)),
         GaugeLevel::LastsTheMonth,
         900.0 / 1024,
         {q("Kestrova: demo"), q("Used 900 MB of 1024 MB (88 %)"),
          q("Month complete: lasts the month"), q("Projected Total + Tax: Rs. 275.75"),
          q("Cheapest at this pace: BBG 250 (Rs. 275.75)"), q("Checked 10 Apr, 07:30")}},
        {"NoPlanChosen",
         checked({300, 300, QDate(2013, 4, 10), 30}, std::nullopt, QDate(2013, 4, 10), true),
         GaugeLevel::Unknown,
         0,
         {q("Kestrova: demo, billed usage"), q("Used 300 MB this period"),
          q("Choose a plan on the Summary tab for the forecast"), q("Checked 10 Apr, 07:30")}},
    };
}

class PanelSays : public ::testing::TestWithParam<PanelCase> {};

TEST_P(PanelSays, TheFiguresAndTheColourOfTheForecast) {
    const PanelCase& c = GetParam();
    const PanelStatus status = panelStatusOf(c.document);
    EXPECT_EQ(status.unreadable, QString());
    EXPECT_EQ(toolTipLines(status, QLocale::c()), c.lines);
    const GaugeState gauge = gaugeStateOf(status);
    EXPECT_EQ(gauge.level, c.level);
    EXPECT_NEAR(gauge.usedShare, c.share, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Forecasts, PanelSays, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<PanelCase>& row) {
                             return std::string(row.param.name);
                         });

class LastCheckFolder : public ::testing::Test {
protected:
    QTemporaryDir dir;
    // A check whose month lasts.
    const QByteArray lasting =
        QJsonDocument(checked({300, 300, QDate(2013, 4, 10), 30}, kBbg250, QDate(2013, 4, 10)))
            .toJson();
    LastCheckFiles files = lastCheckFiles(dir.path(), q("demo"), false);
};

TEST_F(LastCheckFolder, AFailureAfterTheCheckIsSaidAndAnOlderOneIsNot) {
    ASSERT_TRUE(test::writeFile(files.document, lasting));
    QString why;
    ASSERT_TRUE(keepCheckFailure(
        dir.path(), {q("demo"), false, q("the portal cannot be reached"), kChecked.addSecs(3600)},
        why))
        << why.toStdString();
    QStringList lines = toolTipLines(readPanelStatus(files), QLocale::c());
    EXPECT_EQ(lines.size(), 8);
    EXPECT_EQ(lines.last(), q("Last check failed: the portal cannot be reached (10 Apr, 08:30)"));

    ASSERT_TRUE(
        keepCheckFailure(dir.path(), {q("demo"), false, q("old"), kChecked.addSecs(-60)}, why));
    lines = toolTipLines(readPanelStatus(files), QLocale::c());
    EXPECT_EQ(lines.size(), 7);
    EXPECT_FALSE(lines.join(u'\n').contains(q("failed")));

    // No check yet, only a failure.
    const LastCheckFiles other = lastCheckFiles(dir.path(), q("other"), false);
    ASSERT_TRUE(keepCheckFailure(dir.path(), {q("other"), false, q("no password"), kChecked}, why));
    EXPECT_EQ(toolTipLines(readPanelStatus(other), QLocale::c()),
              (QStringList{q("Kestrova"), q("No check yet: choose \"Check now\""),
                           q("Last check failed: no password (10 Apr, 07:30)")}));
}

TEST_F(LastCheckFolder, TheUsersOwnUnbilledCheckIsFollowedElseTheNewest) {
    EXPECT_EQ(chooseLastCheck(dir.path(), q("demo")).document, files.document);
    const LastCheckFiles other = lastCheckFiles(dir.path(), q("other"), true);
    ASSERT_TRUE(test::writeFile(other.document, lasting));
    EXPECT_EQ(chooseLastCheck(dir.path(), q("demo")).document, other.document);
    EXPECT_EQ(chooseLastCheck(dir.path(), q("demo")).log, other.log);
    ASSERT_TRUE(test::writeFile(files.document, lasting));
    EXPECT_EQ(chooseLastCheck(dir.path(), q("demo")).document, files.document);
}

// Damaged or hostile files: the reason, never figures made up, a crash or a line of its own.
TEST_F(LastCheckFolder, ADamagedDocumentSaysWhyItCannotBeRead) {
    const QJsonObject good =
        checked({600, 600, QDate(2013, 4, 10), 60}, kBbg250, QDate(2013, 4, 10));
    const auto with = [&good](const char* part, const char* key, const QJsonValue& value) {
        QJsonObject document = good;
        QJsonObject inner = document.value(QLatin1String(part)).toObject();
        inner.insert(QLatin1String(key), value);
        document.insert(QLatin1String(part), inner);
        return QJsonDocument(document).toJson();
    };
    QJsonObject newer = good;
    newer.insert(q("schemaVersion"), 2);
    const struct {
        const char* name;
        QByteArray bytes;
        const char* says;
    } damaged[] = {
        {"not JSON", "{\"schemaVersion\": 1, \"check\": ", "it is no JSON document"},
        {"another shape", QJsonDocument(newer).toJson(), "not of the shape"},
        {"text for a figure", with("forecast", "usedMB", q("lots")), "\"usedMB\" is no figure"},
        {"a huge figure", with("forecast", "usedMB", 1e300), "\"usedMB\" is no figure"},
        {"no check", with("check", "user", 7), "\"user\" is no text"},
        {"a date that is none", with("forecast", "allowanceRunsOut", q("2013-02-30")),
         "\"allowanceRunsOut\" is no date"},
        {"far too large", QByteArray(5 * 1024 * 1024, ' '), "far larger than a check"},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.name);
        ASSERT_TRUE(test::writeFile(files.document, d.bytes));
        const PanelStatus status = readPanelStatus(files);
        EXPECT_TRUE(status.unreadable.contains(QLatin1String(d.says)))
            << status.unreadable.toStdString();
        EXPECT_EQ(gaugeStateOf(status).level, GaugeLevel::Unknown);
        const QStringList lines = toolTipLines(status, QLocale::c());
        ASSERT_EQ(lines.size(), 2);
        EXPECT_TRUE(lines[1].startsWith(q("The last check cannot be read: ")));
    }

    // Mark-up and line breaks in a name: one plain line, no tag for a tool tip to render.
    QJsonObject forecast = good.value(q("forecast")).toObject();
    QJsonObject cheapest = forecast.value(q("cheapest")).toObject();
    cheapest.insert(q("name"), q("<img src=x>Plan\nChecked 1 Jan, 00:00"));
    forecast.insert(q("cheapest"), cheapest);
    QJsonObject hostile = good;
    hostile.insert(q("forecast"), forecast);
    const QStringList lines = toolTipLines(panelStatusOf(hostile), QLocale::c());
    EXPECT_EQ(lines.size(), 7);
    EXPECT_FALSE(lines.join(u'\n').contains(u'<'));
    EXPECT_EQ(lines[5], q("Cheapest at this pace: \u2039img src=x\u203APlan Checked 1 Jan, 00:00 "
                          "(Rs. 500.98)"));
}

}  // namespace
}  // namespace kestrova
