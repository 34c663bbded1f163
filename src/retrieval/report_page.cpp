#include "retrieval/report_page.h"

#include "platform/dialogs.h"
#include "platform/document.h"
#include "platform/failure.h"
#include "platform/number_format.h"
#include "retrieval/row_text.h"

#include <QLocale>
#include <QTime>
#include <limits>
#include <map>

namespace kestrova {

QString ReportTemplate() {
    static const QString headingCellStart = QStringLiteral(
        "<td style=\"color: rgb(255, 255, 255); text-align: center; background-color: "
        "rgb(51, 51, 255); font-weight: bold;\">");
    static const QString headingCellEnd = QStringLiteral("</td>      ");
    QString t = QStringLiteral(
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><html><head>  <meta "
        "content=\"text/html; charset=ISO-8859-1\" http-equiv=\"content-type\">  <title>ORVO "
        "BroadBand Bandwidth Usage</title></head><body><table style=\"text-align: left; width: "
        "100%;\" border=\"1\" cellpadding=\"2\" cellspacing=\"2\">  <tbody>    <tr>      <td "
        "colspan=\"3\" rowspan=\"1\">      Bandwidth usage summary for ##month-year##     </td>  "
        "  </tr>    <tr>      <td style=\"text-align: center; font-weight: bold; color: rgb(255, "
        "255, 255); background-color: rgb(51, 51, 255);\">MegaByte</td>      <td "
        "style=\"text-align: center; color: rgb(255, 255, 255); background-color: rgb(51, 51, "
        "255);\"><span style=\"font-weight: bold;\">GigaByte</span></td>    </tr>    <tr>");
    t += QStringLiteral("     <td style=\"text-align: center;\">##mb##</td>      <td style=");
    t += QStringLiteral(
        "\"text-align: center;\">##gb##</td>    </tr>##note##  </tbody></table><br>");
    t += QStringLiteral(
        "<table style=\"text-align: left; width: 100%;\" border=\"1\" cellpadding=\"2\" "
        "cellspacing=\"2\">  <tbody>    <tr>      <td colspan=\"12\" rowspan=\"1\">      Detail "
        "listing&nbsp;for ##month-year##     </td>    </tr>    <tr>  ");
    for (const char* heading :
         {"Date", "Time", "Duration", "Download (MB)", "Upload (MB)", "Total (MB)",
          "&nbsp;&nbsp;&nbsp;&nbsp;Daily Total&nbsp;&nbsp;&nbsp;&nbsp;"}) {
        t += headingCellStart + QString::fromLatin1(heading) + headingCellEnd;
    }
    t += QStringLiteral("</tr>##row##  </tbody></table><br></body></html>");
    return t;
}

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Replaces every placeholder in one pass, so text put in is never searched again.
QString fillPlaceholders(const QString& text, const std::map<QString, QString>& values) {
    QString out;
    qsizetype reserve = text.size();
    for (const auto& [key, value] : values) {
        reserve += value.size();
    }
    out.reserve(reserve);
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(u"##", at);
        if (open < 0) {
            break;
        }
        bool replaced = false;
        for (const auto& [key, value] : values) {
            if (QStringView(text).sliced(open).startsWith(key)) {
                out += QStringView(text).sliced(at, open - at);
                out += value;
                at = open + key.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out += QStringView(text).sliced(at, open + 2 - at);
            at = open + 2;
        }
    }
    out += QStringView(text).sliced(at);
    return out;
}

std::int32_t toLong(Int128 whole) {
    if (whole > std::numeric_limits<std::int32_t>::max() ||
        whole < std::numeric_limits<std::int32_t>::min()) {
        throw Failure(QStringLiteral("Overflow"));
    }
    return std::int32_t(whole);
}

// The record's date from its date field: the year, month and day of "YYYY-MM-DD".
QDate recordDate(const QString& field) {
    const QStringView f(field);
    const QDate d(f.left(4).toInt(), f.mid(5, 2).toInt(), f.mid(8, 2).toInt());
    if (!d.isValid()) {
        throw Failure(QStringLiteral("Type mismatch: \"%1\" is not a date").arg(field));
    }
    return d;
}

// Seconds of "HH:MM:SS" or "MM:SS" or a plain number of seconds; -1 when unreadable.
int secondsOf(const QString& text) {
    const QStringList parts = text.trimmed().split(u':');
    if (parts.isEmpty() || parts.size() > 3) {
        return -1;
    }
    int seconds = 0;
    for (const QString& p : parts) {
        bool ok = false;
        const int v = p.toInt(&ok);
        if (!ok || v < 0) {
            return -1;
        }
        seconds = seconds * 60 + v;
    }
    return seconds;
}

}  // namespace

bool matchesRecordDate(QStringView text) {
    if (text.size() < 10) {
        return false;
    }
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!isDigit(text[i])) {
            return false;
        }
    }
    return text[4] == u'-' && text[7] == u'-';
}

QString GetKBMBGBString(Megabytes curUsedValue) {
    if (curUsedValue < Megabytes::fromWhole(1024)) {
        return curUsedValue.defaultText() + u" MB";
    }
    return curUsedValue.defaultText() + u" MB<BR>" +
           formatNumber(curUsedValue.toDouble() / 1024.0, 2) + u" GB";
}

QString DateMMtoMMM(const QString& strdate) {
    const QStringList parts = strdate.split(u'-');
    if (parts.size() < 3) {
        throw Failure(QStringLiteral("Subscript out of range: \"%1\" is not a date").arg(strdate));
    }
    bool ok = false;
    const int month = parts[1].toInt(&ok);
    if (!ok || month < 1 || month > 12) {
        throw Failure(QStringLiteral("Type mismatch: \"%1\" is not a date").arg(strdate));
    }
    return parts[2] + u'-' + QLocale().monthName(month, QLocale::ShortFormat) + u'-' + parts[0];
}

QString ColorToHTML(ColorRef Color) {
    const ColorRef packed = isSystemColor(Color) ? fromQColor(toQColor(Color)) : Color;
    const QString bbggrr = QStringLiteral("%1").arg(packed & 0xFFFFFF, 6, 16, QChar(u'0')).toUpper();
    return u'#' + bbggrr.mid(4, 2) + bbggrr.mid(2, 2) + bbggrr.mid(0, 2);
}

QString classifyRecord(int planKind, const QString& time, const QString& duration) {
    static const QString free = QStringLiteral("free");
    static const QString mixed = QStringLiteral("mixed");
    static const QString nonfree = QStringLiteral("nonfree");
    if (planKind != kNightUnlimitedPlan) {
        return nonfree;
    }
    // The night window is 02:00 to 08:00 of the record's day, and of the next day for a
    // session that runs past midnight.
    const int start = secondsOf(time);
    const int length = secondsOf(duration);
    if (start < 0 || length < 0) {
        return nonfree;
    }
    const int end = start + length;
    auto overlap = [&](int from, int to) {
        return std::max(0, std::min(end, to) - std::max(start, from));
    };
    constexpr int hour = 3600;
    if (length == 0) {
        const bool inside = (start >= 2 * hour && start < 8 * hour) ||
                            (start >= 26 * hour && start < 32 * hour);
        return inside ? free : nonfree;
    }
    const int night = overlap(2 * hour, 8 * hour) + overlap(26 * hour, 32 * hour);
    if (night == 0) {
        return nonfree;
    }
    return night == length ? free : mixed;
}

void ReportBuilder::GrabbingFinished() {
    m_state.mstrReportTemplate = ReportTemplate();
    QString page = m_state.mstrReportTemplate;
    page.replace(QStringLiteral("##row##"), m_state.mstrRecords);
    Document& temp = m_host.wbTemp();
    temp.clear();
    temp.write(page);
    temp.close();
    m_host.processPendingEvents();
    m_host.enableTimer1();
}

void ReportBuilder::WriteOutput() {
    m_host.setBusy(true);
    try {
        writeOutput();
    } catch (const Failure& failure) {
        m_host.setBusy(false);
        dialogs().show(Message{failure.description()});
        return;
    }
    m_host.setBusy(false);
}

void ReportBuilder::writeOutput() {
    m_figures = ReportFigures{};
    const DisplaySettings& display = m_state.display;

    // Classify and total the records of the skeleton, collecting their rows.
    ElementPtr table = m_host.wbTemp().elementsByTagName(QStringLiteral("Table")).item(1);
    Int128 monthSum = 0;
    Megabytes usage;
    QString rowsHtml;
    rowsHtml.reserve(qsizetype(table->rowCount()) * 180);  // a record row's usual mark-up
    m_result.setLastUsedDate(QDate(2000, 1, 1));
    for (int i = table->rowCount() - 1; i >= 0; --i) {
        ElementPtr row = table->row(i);
        const QString date = row->cell(0)->innerText();
        if (!matchesRecordDate(date)) {
            continue;  // titles and headings
        }
        const QDate d = recordDate(date);
        if (d > m_result.lastUsedDate()) {
            m_result.setLastUsedDate(d);
        }
        // Only the night-unlimited kind looks at the time and duration.
        const QString kind =
            m_state.planKind == kNightUnlimitedPlan
                ? classifyRecord(m_state.planKind, row->cell(1)->innerText(),
                                 row->cell(2)->innerText())
                : classifyRecord(m_state.planKind, QString(), QString());
        row->setAttribute(QStringLiteral("usagetype"), kind);
        row->setClassName(kind);
        const Decimal total = requireNumber(row->cell(5)->innerText());
        monthSum += total.roundedTiesToEven(0);
        usage += Megabytes::fromDecimal(total);
        row->appendOuterHTML(rowsHtml);
        ++m_figures.records;
    }
    const std::int32_t usageMB = toLong(usage.toDecimal().roundedTiesToEven(0));
    m_result.setChargedUsage(usageMB);
    m_result.setTotalUsage(usageMB);

    // The finished page, in the result window.
    m_figures.monthSumMB = std::int64_t(monthSum);
    const double monthMB = double(monthSum);
    const QString page = fillPlaceholders(
        m_state.mstrReportTemplate,
        {{QStringLiteral("##mb##"), formatNumber(monthMB, 3)},
         {QStringLiteral("##gb##"), formatNumber(monthMB / 1024.0, 3)},
         {QStringLiteral("##row##"), rowsHtml},
         {QStringLiteral("##note##"), QString()},
         {QStringLiteral("##month-year##"),
          escapeHtmlText(m_state.mstrMonthYear) + QStringLiteral("<BR>")}});
    rowsHtml.clear();
    Document& doc = m_result.reportDocument();
    doc.clear();
    doc.write(page);
    doc.close();
    m_result.setLastDayUsage(-1);

    // Daily totals and the chart data texts, in one walk up the listing from its last row.
    // A day's block ends at the first row of another day: its top row (the one below) then
    // gets the cell with the day's total, spanning the block, and the day becomes a column of
    // the chart texts (oldest day first). Row 1 (the headings) ends the last block.
    ElementPtr listing = doc.elementsByTagName(QStringLiteral("Table")).item(1);
    const bool freeKind = m_state.planKind == kUnlimitedPlan;
    QString previousDate;
    QStringView previousDay;  // the first ten characters of previousDate, or "Over"
    Megabytes dayTotal;
    int rowsInDay = 0;
    int days = 0;
    Megabytes dayNonFree, dayFree, monthNonFree, monthFree;
    QString labels;
    QString usageLine = display.mblnExcludeNonFree ? QString() : QStringLiteral("Usage");
    QString freeLine = display.mblnExcludeFree ? QString() : QStringLiteral("Free");
    for (int i = listing->rowCount() - 1; i >= 1; --i) {
        ElementPtr row = listing->row(i);
        const bool headings = i == 1;
        const QString date = headings ? QString() : row->cell(0)->innerText();
        const QStringView day = headings ? QStringView(u"Over") : QStringView(date).left(10);
        if (day != previousDay && !previousDay.isEmpty()) {
            ElementPtr cell = listing->row(i + 1)->insertCell();
            cell->setRowSpan(rowsInDay);
            cell->setInnerHTML(u"<B><u>" + GetKBMBGBString(dayTotal) + u"</u></B><BR>");
            cell->setAlign(QStringLiteral("middle"));
            cell->setClassName(QStringLiteral("dailytotal"));
            m_result.setLastDayUsage(toLong(dayTotal.toDecimal().roundedTiesToEven(0)));
            m_figures.dailyTotals.push_back({recordDate(previousDate), dayTotal});
            ++days;
            dayTotal = Megabytes();
            rowsInDay = 0;

            labels += u'\t' + previousDate.mid(8, 2);
            usageLine += u'\t' + formatNumber(dayNonFree.toDecimal(), 2);
            if (!display.mblnExcludeFree) {
                freeLine += u'\t' + formatNumber(dayFree.toDecimal(), 2);
            }
            monthNonFree += dayNonFree;
            monthFree += dayFree;
            dayNonFree = Megabytes();
            dayFree = Megabytes();
        }
        if (!headings) {
            const Megabytes total = Megabytes::fromText(row->cell(5)->innerText());
            dayTotal += total;
            ++rowsInDay;
            (freeKind ? dayFree : dayNonFree) += total;
        }
        previousDate = date;
        previousDay = headings ? QStringView(u"Over") : QStringView(previousDate).left(10);
    }
    m_figures.days = days;
    m_result.setDailyTotals(m_figures.dailyTotals);

    Megabytes averageNonFree = monthNonFree;
    Megabytes averageFree = monthFree;
    if (days > 0) {
        auto perDay = [days](Megabytes sum) {
            // Shown with two decimals and kept as shown.
            return Megabytes::fromDecimal(
                requireNumber(formatNumber(sum.toDouble() / days, 2, QLocale::c()), QLocale::c()));
        };
        m_figures.averageCaption = formatNumber((monthFree + monthNonFree).toDouble() / days, 2);
        m_result.setAverageCaption(m_figures.averageCaption);
        averageNonFree = perDay(monthNonFree);
        averageFree = perDay(monthFree);
    }
    m_state.mstrGraphData = labels;
    m_state.mstrGraphDataWithAverage = labels + QStringLiteral("\tAvg");
    if (!display.mblnExcludeNonFree) {
        m_state.mstrGraphData += u"\r\n" + usageLine;
        m_state.mstrGraphDataWithAverage +=
            u"\r\n" + usageLine + u'\t' + averageNonFree.defaultText();
    }
    if ((m_state.planKind == kNightUnlimitedPlan && !display.mblnExcludeFree) ||
        m_state.planKind == kUnlimitedPlan) {
        m_state.mstrGraphData += u"\r\n" + freeLine;
        m_state.mstrGraphDataWithAverage += u"\r\n" + freeLine + u'\t' + averageFree.defaultText();
    }

    // The row colours as style rules of the page.
    StyleSheetPtr sheet = doc.createStyleSheet();
    const std::pair<const char*, std::pair<ColorRef, ColorRef>> classes[] = {
        {".free", {display.mlngColorFree, display.mlngColorBackFree}},
        {".mixed", {display.mlngColorMixed, display.mlngColorBackMixed}},
        {".nonfree", {display.mlngColorNonFree, display.mlngColorBackNonFree}}};
    for (const auto& [selector, colours] : classes) {
        sheet->addRule(QString::fromLatin1(selector), u"color:" + ColorToHTML(colours.first) + u';');
        sheet->addRule(QString::fromLatin1(selector),
                       u"background-color:" + ColorToHTML(colours.second) + u';');
    }
    const std::pair<const char*, const char*> fixedRules[] = {
        {".dailytotal", "color:#000000;"},       {".dailytotal", "background-color:#ffffff;"},
        {"TABLE", "border-collapse:collapse;"}, {"TABLE", "border:1 solid black;"},
        {"TD", "border:1 solid black;"},        {"Body", "font-face:arial;"},
        {"TD", "font-family:arial;"},           {"TD", "font-size:14;"}};
    for (const auto& [selector, declarations] : fixedRules) {
        sheet->addRule(QString::fromLatin1(selector), QString::fromLatin1(declarations));
    }
    m_result.reportReady();

    if (display.mbytChartType == 1 && m_result.graphInitialised() &&
        m_result.officeChartRunning()) {
        m_result.setOfficeChartData(display.mblnShowAverage ? m_state.mstrGraphDataWithAverage
                                                            : m_state.mstrGraphData);
    }
    m_result.setInbuiltChartInitialised(false);
    m_result.UpdateGraphControl();
    m_result.CreateSummary();
}

}  // namespace kestrova
