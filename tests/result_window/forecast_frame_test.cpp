// The Summary tab's "Forecast" frame on its own: the rows a known month's forecast gives.

#include "results/window/forecast_frame.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QLabel>

namespace kestrova {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

QString text(const ForecastFrame& frame, const char* name) {
    const QLabel* label = frame.findChild<QLabel*>(q(name));
    return label ? label->text() : q("(no label)");
}

TEST(ForecastFrame, ShowsEachRowOfAKnownMonthAndHidesWithoutAForecast) {
    ForecastFrame frame;
    EXPECT_EQ(frame.objectName(), q("fraForecast"));
    EXPECT_EQ(frame.title(), q("Forecast"));
    EXPECT_TRUE(frame.isHidden());  // until a plan is chosen

    // 1000 MB by the 14th of April on BBG 250 (1024 MB, 0.3 a MB beyond): 2142.857 MB at this
    // pace, run out on the 15th; 1118.857 MB over costs 335.66, 585.66 with the charge and
    // 645.98 with tax.
    const QDate last(2013, 4, 14);
    frame.setForecast(forecastMonth({1000, 1000, last, 100}, PlanChoice::catalogue(0), {}, last,
                                    QLocale::c()));
    EXPECT_FALSE(frame.isHidden());
    const std::pair<const char*, const char*> rows[] = {
        {"lblForecastMonthCaption", "Month :"},
        {"lblForecastMonth", "day 14 of 30"},
        {"lblForecastUsageCaption", "Projected usage :"},
        {"lblForecastUsage", "2142.857 MB"},
        {"lblForecastAllowanceCaption", "Allowance :"},
        {"lblForecastAllowance", "Runs out about 15 Apr"},
        {"lblForecastTotalAndTaxCaption", "Projected Total + Tax :"},
        {"lblForecastTotalAndTax", "Rs. 645.98"},
        {"lblForecastCheapestCaption", "Cheapest at this pace :"},
        {"lblForecastCheapest", "BB Home UL 499   Rs. 550.40"},
        {"lblForecastSaving", "Saves Rs. 95.58 against the selected plan"},
    };
    for (const auto& [name, shown] : rows) {
        EXPECT_EQ(text(frame, name), q(shown)) << name;
    }
    EXPECT_TRUE(frame.value(q("lblForecastTotalAndTax"))->font().bold());
    // The bill as its total with tax only.
    EXPECT_EQ(frame.value(q("lblForecastTotal")), nullptr);
    EXPECT_EQ(frame.findChild<QLabel*>(q("lblForecastTaxCaption")), nullptr);

    frame.setForecast(std::nullopt);
    EXPECT_TRUE(frame.isHidden());
}

}  // namespace
}  // namespace kestrova
