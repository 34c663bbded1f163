// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/report_page.h"

#include "platform/dialogs.h"
#include "platform/document.h"
#include "platform/failure.h"
#include "platform/html_document.h"
#include "platform/number_format.h"
#include "retrieval/cache_file.h"
#include "retrieval/row_text.h"
#include "retrieval/usage_log.h"
#include "retrieval/usage_record.h"

#include <QLocale>
#include <QTime>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <map>
#include <type_traits>
#include <vector>

namespace kestrova {

QString reportTemplate() {
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

// The month's figures and the rows' mark-up put into the report template.
QString fillReportTemplate(const QString& reportTemplate, Int128 monthSum, const QString& rows,
                           const QString& monthYear) {
    const auto monthMB = double(monthSum);
    return fillPlaceholders(
        reportTemplate,
        {{QStringLiteral("##mb##"), formatNumber(monthMB, 3)},
         {QStringLiteral("##gb##"), formatNumber(monthMB / 1024.0, 3)},
         {QStringLiteral("##row##"), rows},
         {QStringLiteral("##note##"), QString()},
         {QStringLiteral("##month-year##"), escapeHtmlText(monthYear) + QStringLiteral("<BR>")}});
}

// The row colours and the page's other rules, as a style sheet of the page.
void addStyleRules(Document& doc, const DisplaySettings& display) {
    StyleSheetPtr sheet = doc.createStyleSheet();
    const std::pair<const char*, std::pair<ColorRef, ColorRef>> classes[] = {
        {".free", {display.colorFree, display.colorBackFree}},
        {".mixed", {display.colorMixed, display.colorBackMixed}},
        {".nonfree", {display.colorNonFree, display.colorBackNonFree}}};
    for (const auto& [selector, colours] : classes) {
        sheet->addRule(QString::fromLatin1(selector),
                       u"color:" + colorToHTML(colours.first) + u';');
        sheet->addRule(QString::fromLatin1(selector),
                       u"background-color:" + colorToHTML(colours.second) + u';');
    }
    const std::pair<const char*, const char*> fixedRules[] = {
        {".dailytotal", "color:#000000;"},      {".dailytotal", "background-color:#ffffff;"},
        {"TABLE", "border-collapse:collapse;"}, {"TABLE", "border:1 solid black;"},
        {"TD", "border:1 solid black;"},        {"Body", "font-face:arial;"},
        {"TD", "font-family:arial;"},           {"TD", "font-size:14;"}};
    for (const auto& [selector, declarations] : fixedRules) {
        sheet->addRule(QString::fromLatin1(selector), QString::fromLatin1(declarations));
    }
}

// Where the rows go in the page around them.
const QString kRowsMark = QStringLiteral("<tr id=\"kestrova-rows\"></tr>");

// The daily total's cell as the page's mark-up holds it: "<B><u>" + megabytesText(total) +
// "</u></B><BR>" as a parser serialises it again (the figures hold no mark-up but the break).
void appendDailyTotalCell(QString& out, int rows, Megabytes total) {
    const QString text = megabytesText(total);
    const qsizetype br = text.indexOf(u"<BR>");
    const QStringView parts[] = {QStringView(text).left(br < 0 ? text.size() : br),
                                 br < 0 ? QStringView() : QStringView(text).sliced(br + 4)};
    out += u"<td rowspan=\"";
    out += QString::number(rows);
    out += u"\" align=\"middle\" class=\"dailytotal\"><b><u>";
    appendHtmlEscaped(out, parts[0], false);
    if (br >= 0) {
        out += u"<br>";
        appendHtmlEscaped(out, parts[1], false);
    }
    out += u"</u></b><br></td>";
}

// A row of own row text grows by at most this much as the page's mark-up (lower-case tags,
// the usage type and class); its fields only shrink (quotes and CR LF).
constexpr qsizetype kRowGrowth = 36;

}  // namespace

bool matchesRecordDate(QStringView text) {
    if (text.size() < 10) {
        return false;
    }
    const char16_t* t = text.utf16();
    auto digit = [](char16_t c) { return char16_t(c - u'0') <= 9; };
    return digit(t[0]) && digit(t[1]) && digit(t[2]) && digit(t[3]) && t[4] == u'-' &&
           digit(t[5]) && digit(t[6]) && t[7] == u'-' && digit(t[8]) && digit(t[9]);
}

QString megabytesText(Megabytes used) {
    if (used < Megabytes::fromWhole(1024)) {
        return used.defaultText() + u" MB";
    }
    return used.defaultText() + u" MB<BR>" + formatNumber(used.toDouble() / 1024.0, 2) + u" GB";
}

QString colorToHTML(ColorRef color) {
    const ColorRef packed = isSystemColor(color) ? fromQColor(toQColor(color)) : color;
    const QString bbggrr =
        QStringLiteral("%1").arg(packed & 0xFFFFFF, 6, 16, QChar(u'0')).toUpper();
    return u'#' + bbggrr.mid(4, 2) + bbggrr.mid(2, 2) + bbggrr.mid(0, 2);
}

namespace {

// The row's usage type and class on a night-unlimited plan's page.
const QString& kindName(NightSplit::Kind kind) {
    static const QString free = QStringLiteral("free");
    static const QString mixed = QStringLiteral("mixed");
    static const QString nonfree = QStringLiteral("nonfree");
    switch (kind) {
        case NightSplit::Free:
            return free;
        case NightSplit::Mixed:
            return mixed;
        case NightSplit::NonFree:
            break;
    }
    return nonfree;
}

}  // namespace

// The chart's days, a day at a time from the oldest.
struct ReportBuilder::ChartDays {
    // The unlimited kind's usage is all free and its chart has nothing else to draw, so its
    // free line keeps its days whatever the exclusion (which that kind does not offer).
    explicit ChartDays(const RetrievalState& state)
        : excludeFree(state.display.excludeFree && state.planKind != PlanKind::Unlimited) {}

    void addDay(QStringView dayOfMonth, Megabytes nonFree, Megabytes free) {
        ++days;
        labels.append(dayOfMonth.toString());
        usage.push_back(chartValue(nonFree));
        if (!excludeFree) {
            this->free.push_back(chartValue(free));
        }
        monthNonFree += nonFree;
        monthFree += free;
    }

    QStringList labels;
    std::vector<Megabytes> usage;
    std::vector<Megabytes> free;
    bool excludeFree;
    int days = 0;
    Megabytes monthNonFree;
    Megabytes monthFree;
};

// Everything the page needs, worked out before anything is changed.
struct ReportBuilder::PagePlan {
    PagePlan(const RetrievalState& state, UsageRecords usageRecords)
        : records(std::move(usageRecords)), chart(state) {}

    // The records of this page: a page writer a target keeps writes from them, whatever the
    // builder reads later.
    const UsageRecords records;

    // A block of rows of one day, in the order of the rows text (the oldest first).
    struct Day {
        qsizetype lastRow = 0;  // the block's last record, the first in the page
        int rows = 0;
        QDate date;
        Megabytes total;
        Megabytes charged;     // of the total, what the report's plan kind charges
        qsizetype cellAt = 0;  // its daily total's cell in `cells`
        qsizetype cellLength = 0;
    };
    std::vector<NightSplit::Kind> kinds;  // each record's, on a night-unlimited plan
    std::vector<Day> days;
    std::vector<DailyTotal> dailyTotals;  // oldest day first
    QString cells;                        // the daily total cells' mark-up, one after the other
    qsizetype rowsLength = 0;             // the rows' mark-up at most, cells included
    bool latin1Rows = true;               // every record's mark-up fits one byte a character
    QDate latest;
    Int128 monthSum = 0;
    std::int32_t usageMB = 0;
    Megabytes usage;
    Megabytes charged;
    Megabytes nightCharged;
    int mixedRecords = 0;
    std::int32_t lastDayUsage = -1;
    int recordCount = 0;
    ChartDays chart;
    QString before;  // the page up to the rows
    QString after;   // and from them on
    // The listing's headings as the page reads them, but for the daily total's.
    QStringList headings;

    // Closes the block of rows of a day (none when it has no rows): its daily total's cell,
    // its column of the chart, its total.
    void endDay(Day& block, bool freeKind) {
        if (block.rows == 0) {
            return;
        }
        lastDayUsage = toLong(block.total.toDecimal().roundedTiesToEven(0));
        block.cellAt = cells.size();
        appendDailyTotalCell(cells, block.rows, block.total);
        block.cellLength = cells.size() - block.cellAt;
        rowsLength += block.cellLength;
        chart.addDay(QStringLiteral("%1").arg(block.date.day(), 2, 10, QChar(u'0')),
                     freeKind ? Megabytes() : block.charged,
                     freeKind ? block.total : block.total - block.charged);
        dailyTotals.push_back({block.date, block.total});
        days.push_back(block);
        block = Day{};
    }
};

void ReportBuilder::grabbingFinished() {
    m_state.reportTemplate = reportTemplate();
    m_records = m_state.records;
    m_host.processPendingEvents();
    m_host.startResumeTimer();
}

void ReportBuilder::writeOutput() {
    m_host.setBusy(true);
    try {
        writeReport();
    } catch (const Failure& failure) {
        applyOutcome();  // what was found before the failure
        m_host.setBusy(false);
        dialogs().show(Message{failure.description()});
        return;
    }
    m_host.setBusy(false);
}

void ReportBuilder::applyOutcome() {
    if (!m_outcomeApplied) {
        m_outcomeApplied = true;
        m_result.applyOutcome(m_outcome);
    }
}

void ReportBuilder::writeReport() {
    m_figures = ReportFigures{};
    m_outcome = m_result.outcome();
    m_outcomeApplied = false;
    m_outcome.mdtLastUsedDate = QDate(2000, 1, 1);
    // Shared with the page writer a target may keep.
    m_records.requireReadable();
    const auto plan = std::make_shared<PagePlan>(m_state, m_records);
    planRows(*plan);
    planPageAround(*plan);
    takeFigures(*plan);
    handOverPage(plan);
    m_outcome.lastDayUsage = plan->chart.days > 0 ? plan->lastDayUsage : -1;
    m_figures.dailyTotals = std::move(plan->dailyTotals);
    finishReport(plan->chart);
}

void ReportBuilder::planRows(PagePlan& plan) {
    // The records in the order of the rows text; the page lists them from the last up, and a
    // day's total stands beside the first row of its block there.
    const bool freeKind = m_state.planKind == PlanKind::Unlimited;
    const bool nightKind = m_state.planKind == PlanKind::NightUnlimited;
    const qsizetype count = plan.records.size();
    PagePlan::Day block;
    Megabytes usage;
    for (qsizetype r = 0; r < count; ++r) {
        const UsageRecord record = plan.records.at(r);
        const QDate date = record.day();
        if (block.rows == 0 || date != block.date) {
            plan.endDay(block, freeKind);
            block.date = date;
            if (block.date > m_outcome.mdtLastUsedDate) {
                m_outcome.mdtLastUsedDate = block.date;
            }
        }
        const Megabytes megabytes = record.total();
        usage += megabytes;
        block.total += megabytes;
        const NightSplit split = record.nightSplit();
        if (nightKind) {
            plan.kinds.push_back(split.kind);
        }
        const Megabytes night = chargedPart(megabytes, split);
        plan.nightCharged += night;
        const Megabytes charged = nightKind ? night : megabytes;
        plan.charged += charged;
        block.charged += charged;
        if (nightKind && split.kind == NightSplit::Mixed) {
            ++plan.mixedRecords;
        }
        ++block.rows;
        block.lastRow = r;
        if (!record.isOwn()) {
            // The row's tags with the longest class, and six "<td></td>".
            plan.rowsLength += 45 + 6 * 9;
            for (std::size_t f = 0; f < 6; ++f) {
                plan.rowsLength += record.markup(f).size();
                plan.latin1Rows = plan.latin1Rows && fitsLatin1(record.markup(f));
            }
        }
        ++plan.recordCount;
    }
    plan.endDay(block, freeKind);
    if (plan.records.isOwn()) {
        // The rows as the text holds them, title rows too: room enough for their mark-up.
        plan.rowsLength += plan.records.latin1RowText().size() + plan.recordCount * kRowGrowth;
    }
    plan.usage = usage;
    plan.monthSum = usage.toDecimal().roundedTiesToEven(0);
    plan.usageMB = toLong(plan.monthSum);
}

void ReportBuilder::planPageAround(PagePlan& plan) const {
    // The page around the rows, from a document of the template with a marker row where
    // the rows go.
    HtmlDocument shell(
        fillReportTemplate(m_state.reportTemplate, plan.monthSum, kRowsMark, m_state.monthYear));
    addStyleRules(shell, m_state.display);
    const QString page = shell.outerHTML();
    const qsizetype mark = page.indexOf(kRowsMark);
    if (mark < 0 || page.indexOf(kRowsMark, mark + 1) >= 0) {
        throw Failure(QStringLiteral("The report template has no single place for the rows"));
    }
    plan.before = page.left(mark);
    plan.after = page.sliced(mark + kRowsMark.size());
    // The headings row: the listing's second row, ending with the daily total's heading.
    const ElementPtr headings = shell.elementsByTagName(QStringLiteral("TABLE")).item(1)->row(1);
    if (headings->cellCount() != 7) {
        throw Failure(QStringLiteral("The report template's listing has no six record headings"));
    }
    for (int c = 0; c < 6; ++c) {
        plan.headings.append(headings->cell(c)->innerText());
    }
}

void ReportBuilder::takeFigures(const PagePlan& plan) {
    m_figures.records = plan.recordCount;
    m_outcome.chargedUsage = toLong(plan.charged.toDecimal().roundedTiesToEven(0));
    m_outcome.totalUsage = plan.usageMB;
    m_outcome.nightChargedUsage = toLong(plan.nightCharged.toDecimal().roundedTiesToEven(0));
    m_figures.chargedMB = plan.charged;
    m_figures.freeMB = plan.usage - plan.charged;
    m_figures.nightChargedMB = plan.nightCharged;
    m_figures.mixedRecords = plan.mixedRecords;
    m_figures.monthSumMB = std::int64_t(plan.monthSum);
}

namespace {

// Where writePage puts the page: `put` takes mark-up as it stands, `putCell` a field of own
// row text as its cell's mark-up.
class WideSink {
public:
    explicit WideSink(char16_t* out) : m_out(out) {}
    void put(QStringView text) {
        if (!text.isEmpty()) {
            std::memcpy(m_out, text.utf16(), std::size_t(text.size()) * sizeof(char16_t));
            m_out += text.size();
        }
    }
    void putCell(QLatin1StringView field) { m_out = writeCellMarkup(m_out, field); }
    char16_t* end() const { return m_out; }

private:
    char16_t* m_out;
};

// One byte per character: only for a page whose every character fits.
class Latin1Sink {
public:
    explicit Latin1Sink(char* out) : m_out(out) {}
    void put(QStringView text) {
        for (const QChar c : text) {
            *m_out++ = char(c.unicode());
        }
    }
    void putCell(QLatin1StringView field) { m_out = writeCellMarkup(m_out, field); }
    char* end() const { return m_out; }

private:
    char* m_out;
};

// One byte per character onto a device, a chunk at a time.
class DeviceSink {
public:
    explicit DeviceSink(QIODevice& device) : m_device(device) { m_chunk.reserve(2 * kChunk); }
    void put(QStringView text) {
        const qsizetype at = m_chunk.size();
        m_chunk.resize(at + text.size());
        char* out = m_chunk.data() + at;
        for (const QChar c : text) {
            *out++ = char(c.unicode());
        }
        if (m_chunk.size() >= kChunk) {
            flush();
        }
    }
    void putCell(QLatin1StringView field) {
        // A cell's mark-up is never longer than its field's row text.
        const qsizetype at = m_chunk.size();
        m_chunk.resize(at + field.size());
        m_chunk.truncate(writeCellMarkup(m_chunk.data() + at, field) - m_chunk.data());
        if (m_chunk.size() >= kChunk) {
            flush();
        }
    }
    // False when a write failed (the device's error says why); nothing is written after it.
    bool flush() {
        if (m_written && !m_chunk.isEmpty()) {
            m_written = writeAll(m_device, m_chunk);
        }
        m_chunk.resize(0);
        return m_written;
    }

private:
    static constexpr qsizetype kChunk = qsizetype(1) << 20;
    QIODevice& m_device;
    QByteArray m_chunk;
    bool m_written = true;
};

}  // namespace

void ReportBuilder::handOverPage(const std::shared_ptr<PagePlan>& plan) {
    // The listing keeps the plan, not the builder: a window exports it long after.
    m_result.setListingExport([plan] { return listingText(*plan); });
    if (m_result.takesPageWriter()) {
        m_result.setPageWriter(
            [this, plan](QIODevice& device) { return writePage(*plan, device); });
        return;
    }
    if (pageFitsLatin1(*plan)) {
        QByteArray page(plan->before.size() + plan->rowsLength + plan->after.size(),
                        Qt::Uninitialized);
        Latin1Sink sink(page.data());
        writePage(*plan, sink);
        page.truncate(sink.end() - page.data());
        m_result.setReportPage(std::move(page));
    } else {
        m_result.setReportPage(fileBytes(widePage(*plan)));
    }
    plan->cells = QString();  // only the page has the daily totals' cells
}

bool ReportBuilder::pageFitsLatin1(const PagePlan& plan) {
    // Own row text is one byte per character; so is the page around it, but for a period
    // text beyond Latin-1, which takes the wide page and its UTF-8 bytes.
    return plan.latin1Rows && fitsLatin1(plan.before) && fitsLatin1(plan.after);
}

QString ReportBuilder::widePage(const PagePlan& plan) const {
    QString page(plan.before.size() + plan.rowsLength + plan.after.size(), Qt::Uninitialized);
    auto* const begin = reinterpret_cast<char16_t*>(page.data());
    WideSink sink(begin);
    writePage(plan, sink);
    page.truncate(sink.end() - begin);
    return page;
}

bool ReportBuilder::writePage(const PagePlan& plan, QIODevice& device) const {
    if (!pageFitsLatin1(plan)) {
        return writeAll(device, fileBytes(widePage(plan)));
    }
    DeviceSink sink(device);
    writePage(plan, sink);
    return sink.flush();
}

template <typename Sink>
void ReportBuilder::writePage(const PagePlan& plan, Sink& sink) const {
    sink.put(plan.before);
    const bool nightPlan = m_state.planKind == PlanKind::NightUnlimited;
    for (auto day = plan.days.crbegin(); day != plan.days.crend(); ++day) {
        for (qsizetype r = day->lastRow; r > day->lastRow - day->rows; --r) {
            const UsageRecord record = plan.records.at(r);
            const QString& kind =
                kindName(nightPlan ? plan.kinds[std::size_t(r)] : NightSplit::NonFree);
            sink.put(u"<tr usagetype=\"");
            sink.put(kind);
            sink.put(u"\" class=\"");
            sink.put(kind);
            sink.put(u"\">");
            for (std::size_t f = 0; f < 6; ++f) {
                sink.put(u"<td>");
                if (record.isOwn()) {
                    sink.putCell(record.ownField(f));
                } else {
                    sink.put(record.markup(f));
                }
                sink.put(u"</td>");
            }
            if (r == day->lastRow) {
                sink.put(QStringView(plan.cells).sliced(day->cellAt, day->cellLength));
            }
            sink.put(u"</tr>");
        }
    }
    sink.put(plan.after);
}

namespace {

// Blanks only: a cell's other white space is its own.
QStringView trimBlanks(QStringView text) {
    while (!text.isEmpty() && text.front() == u' ') {
        text = text.sliced(1);
    }
    while (!text.isEmpty() && text.back() == u' ') {
        text.chop(1);
    }
    return text;
}

void appendCsvCell(QString& line, QStringView text) {
    if (!line.isEmpty()) {
        line += u", ";
    }
    const QStringView cell = trimBlanks(text);
    const bool quoted = std::any_of(cell.cbegin(), cell.cend(), [](QChar c) {
        return c == u',' || c == u'"' || c == u'\r' || c == u'\n';
    });
    if (!quoted) {
        line += cell;
        return;
    }
    line += u'"';
    for (const QChar c : cell) {
        line += c;
        if (c == u'"') {
            line += c;
        }
    }
    line += u'"';
}

}  // namespace

QString ReportBuilder::listingText(const PagePlan& plan) {
    QString text;
    QString line;
    for (const QString& heading : plan.headings) {
        appendCsvCell(line, heading);
    }
    text += line;
    text += u"\r\n";
    QString scratch;
    for (auto day = plan.days.crbegin(); day != plan.days.crend(); ++day) {
        for (qsizetype r = day->lastRow; r > day->lastRow - day->rows; --r) {
            const UsageRecord record = plan.records.at(r);
            line.clear();
            for (std::size_t f = 0; f < 6; ++f) {
                appendCsvCell(line, record.cellText(f, scratch));
            }
            text += line;
            text += u"\r\n";
        }
    }
    return text;
}

// The average per day of each chart series, as the chart data text with the average shows it.
struct ReportBuilder::DayAverages {
    Megabytes nonFree;
    Megabytes free;
};

void ReportBuilder::finishReport(ChartDays& chart) {
    m_figures.days = chart.days;
    m_outcome.dailyTotals = m_figures.dailyTotals;
    writeChartData(chart, averagePerDay(chart));
    applyOutcome();
    m_result.reportReady();
    feedCharts();
    m_result.createSummary();
}

ReportBuilder::DayAverages ReportBuilder::averagePerDay(const ChartDays& chart) {
    const int days = chart.days;
    if (days <= 0) {
        return DayAverages{chart.monthNonFree, chart.monthFree};
    }
    auto perDay = [days](Megabytes sum) {
        // Shown with two decimals and kept as shown.
        return Megabytes::fromDecimal(
            requireNumber(formatNumber(sum.toDouble() / days, 2, QLocale::c()), QLocale::c()));
    };
    m_figures.averageCaption =
        formatNumber((chart.monthFree + chart.monthNonFree).toDouble() / days, 2);
    m_outcome.averageCaption = m_figures.averageCaption;
    return DayAverages{perDay(chart.monthNonFree), perDay(chart.monthFree)};
}

void ReportBuilder::writeChartData(const ChartDays& chart, const DayAverages& averages) {
    const DisplaySettings& display = m_state.display;
    DailyChart data;
    data.dayLabels = chart.labels;
    if (!display.excludeNonFree) {
        data.series.push_back({QStringLiteral("Usage"), chart.usage, averages.nonFree});
    }
    if ((m_state.planKind == PlanKind::NightUnlimited && !display.excludeFree) ||
        m_state.planKind == PlanKind::Unlimited) {
        data.series.push_back({QStringLiteral("Free"), chart.free, averages.free});
    }
    m_state.chart = std::move(data);
}

void ReportBuilder::feedCharts() {
    const DisplaySettings& display = m_state.display;
    if (display.chartType == int(ResultChart::Office) && m_result.graphInitialised() &&
        m_result.officeChartRunning()) {
        m_result.setOfficeChartData(chartDataText(m_state, display.showAverage));
    }
    m_result.setInbuiltChartInitialised(false);
    m_result.updateGraphControl();
}

}  // namespace kestrova
