# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The report's comparable work done by a plain text tool, for the benchmark pair in
# run-report-pair: read every line of a usage log, write each record's row mark-up (fields
# escaped), a daily total beside the first row of each day, and the month's totals.
#
#   awk -v out=page.htm -f report-rows.awk usage.csv
BEGIN {
    FS = ","
    ORS = ""
    if (out == "") {
        out = "/dev/stdout"
    }
    print "<html><head><title>ORVO BroadBand Bandwidth Usage</title></head><body>" > out
    print "<table><tbody><tr><td>Date</td><td>Time</td><td>Duration</td><td>Download (MB)</td>" > out
    print "<td>Upload (MB)</td><td>Total (MB)</td><td>Daily Total</td></tr>" > out
}
function flush(    i) {
    if (n == 0) {
        return
    }
    print rows[0] "<td rowspan=\"" n "\" align=\"middle\" class=\"dailytotal\"><b><u>" \
        dayTotal " MB</u></b><br></td></tr>" > out
    for (i = 1; i < n; i++) {
        print rows[i] "</tr>" > out
    }
    n = 0
    dayTotal = 0
    days++
}
NR == 1 { next }
{
    sub(/^ +/, "")
    sub(/ +$/, "")
    if ($0 == "" || $0 == "\r") {
        next
    }
    gsub(/&/, "\\&amp;")
    gsub(/</, "\\&lt;")
    gsub(/>/, "\\&gt;")
    day = substr($1, 1, 10)
    if (day != current) {
        flush()
        current = day
    }
    rows[n++] = "<tr usagetype=\"nonfree\" class=\"nonfree\"><td>" $1 "</td><td>" $2 \
        "</td><td>" $3 "</td><td>" $4 "</td><td>" $5 "</td><td>" $6 "</td>"
    dayTotal += $6
    month += $6
    records++
}
END {
    flush()
    print "</tbody></table><p>" records " records, " days " days, " month " MB</p></body></html>" > out
}
