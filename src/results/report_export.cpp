// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/report_export.h"

#include "platform/document.h"
#include "platform/failure.h"

namespace kestrova {

namespace {

// Blanks only: a cell's other white space is its own.
QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == u' ') {
        --end;
    }
    return text.mid(begin, end - begin);
}

bool needsQuotes(const QString& cell) {
    return std::any_of(cell.cbegin(), cell.cend(),
                       [](QChar c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; });
}

QString csvCell(const QString& cell) {
    if (!needsQuotes(cell)) {
        return cell;
    }
    QString quoted = cell;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

}  // namespace

QString exportText(const Document& page) {
    const ElementPtr table = page.elementsByTagName(QStringLiteral("TABLE")).item(1);
    QString text;
    const int rows = table->rowCount();
    for (int r = 1; r < rows; ++r) {
        const int k = table->row(1)->cellCount();
        const ElementPtr row = table->row(r);
        QString line;
        for (int c = 0; c <= k - 2; ++c) {
            if (!line.isEmpty()) {
                line += QStringLiteral(", ");
            }
            line += csvCell(trimBlanks(row->cell(c)->innerText()));
        }
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

QString reportFileText(const Document& page) {
    const ElementPtr root = page.documentElement();
    if (!root) {
        throw Failure(QStringLiteral("The report page has no document element"));
    }
    return root->outerHTML();
}

SaveFileRequest saveFileRequest(const QString& initialDir, const QString& defaultName,
                                const QString& ext) {
    SaveFileRequest request;
    request.title = QStringLiteral("Enter Filename to save");
    request.initialDirectory = initialDir;
    request.defaultName = defaultName;
    request.filter = QStringLiteral("Output file (*.") + ext + u')';
    return request;
}

QString withExtension(const QString& chosen, const QString& ext) {
    QString name = chosen;
    const qsizetype nul = name.indexOf(QChar(u'\0'));
    if (nul >= 0) {
        name.truncate(nul);
    }
    const QString suffix = u'.' + ext;
    if (!name.contains(suffix)) {
        name += suffix;
    }
    return name;
}

QString suggestedFileName(const QDate& lastUsed, const QString& ext) {
    const QString stem =
        lastUsed.isValid() ? QStringLiteral("usage-") + lastUsed.toString(QStringLiteral("yyyy-MM"))
                           : QStringLiteral("usage");
    return stem + u'.' + ext;
}

QString askSaveFileName(const QString& initialDir, const QString& defaultName, const QString& ext) {
    const std::optional<QString> chosen =
        dialogs().saveFileName(saveFileRequest(initialDir, defaultName, ext));
    if (!chosen) {
        return QString();
    }
    return withExtension(*chosen, ext);
}

}  // namespace kestrova
