// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Each installed program's manual page against what the program itself says: every option its
// --help lists has an entry in the page's OPTIONS, no entry there names an option the program
// no longer has, the JSON Schemas it names are installed, and --version answers on a terminal
// without a display.

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

namespace {

using kestrova::test::q;

struct Program {
    const char* name;
    const char* executable;
};

void PrintTo(const Program& program, std::ostream* os) {
    *os << program.name;
}

// The program's output, run as from a terminal with no display at all.
QString runAlone(const Program& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        env.remove(q(name));
    }
    process.setProcessEnvironment(env);
    process.start(q(program.executable), arguments);
    if (!process.waitForFinished(60000)) {
        ADD_FAILURE() << program.name << " did not finish";
        return {};
    }
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << program.name;
    EXPECT_EQ(process.exitCode(), 0)
        << program.name << ": " << process.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

const QRegularExpression kOptionName(q("(?:^|[ ,])(--?[A-Za-z0-9][A-Za-z0-9-]*)"));

// The options a line of the help's "Options:" list names ("  -o, --output <PATH>  Write ...").
QSet<QString> helpOptions(const QString& help) {
    QSet<QString> options;
    static const QRegularExpression entry(q("^  (-[^ ].*?)(?:  |$)"));
    for (const QString& line : help.split(u'\n')) {
        const QRegularExpressionMatch listed = entry.match(line);
        if (!listed.hasMatch()) {
            continue;
        }
        auto names = kOptionName.globalMatch(listed.captured(1));
        while (names.hasNext()) {
            options.insert(names.next().captured(1));
        }
    }
    return options;
}

// roff source as a reader sees it: "\-" as "-", no font changes, no quotes.
QString plain(QString roff) {
    static const QRegularExpression font(q(R"(\\f[BIRP])"));
    roff.remove(font);
    roff.replace(q(R"(\-)"), q("-"));
    roff.remove(u'"');
    return roff;
}

// The options the page's OPTIONS section has entries for: the tag line after each ".TP".
QSet<QString> pageOptions(const QString& page) {
    QSet<QString> options;
    const QStringList lines = page.split(u'\n');
    bool inOptions = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(q(".SH"))) {
            inOptions = lines[i].trimmed() == q(".SH OPTIONS");
            continue;
        }
        if (!inOptions || lines[i].trimmed() != q(".TP") || i + 1 >= lines.size()) {
            continue;
        }
        QString tag = plain(lines[i + 1]);
        tag.remove(QRegularExpression(q("^\\.[A-Z]+ ?")));
        auto names = kOptionName.globalMatch(tag);
        while (names.hasNext()) {
            options.insert(names.next().captured(1));
        }
    }
    return options;
}

QString manPage(const Program& program) {
    QFile file(q(KESTROVA_SOURCE_DIR "/data/man/") + q(program.name) + q(".1"));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no manual page " << file.fileName().toStdString();
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QStringList sorted(const QSet<QString>& set) {
    QStringList list(set.begin(), set.end());
    list.sort();
    return list;
}

class ManPage : public ::testing::TestWithParam<Program> {};

TEST_P(ManPage, DescribesExactlyTheOptionsTheProgramLists) {
    const Program program = GetParam();
    const QSet<QString> listed = helpOptions(runAlone(program, {q("--help")}));
    ASSERT_TRUE(listed.contains(q("--help")) && listed.contains(q("--version")))
        << "the --help output is not read as expected: " << sorted(listed).join(u' ').toStdString();

    const QString page = manPage(program);
    const QSet<QString> described = pageOptions(page);
    EXPECT_EQ(sorted(listed - described), QStringList())
        << "listed by " << program.name << " --help but missing from its manual page";
    EXPECT_EQ(sorted(described - listed), QStringList())
        << "in " << program.name << ".1 but no longer an option of the program";
    // Named in the page's header and NAME line, as man and apropos find it.
    EXPECT_TRUE(plain(page).contains(q(".SH NAME\n") + q(program.name) + q(" - ")));

    // A program that prints JSON names the schema of its document, and every schema a page
    // names is one that is installed.
    if (listed.contains(q("--format"))) {
        EXPECT_TRUE(plain(page).contains(q(program.name) + q(".schema.json"))) << program.name;
    }
    static const QRegularExpression schema(q("([a-z-]+\\.schema\\.json)"));
    auto named = schema.globalMatch(plain(page));
    while (named.hasNext()) {
        const QString file = named.next().captured(1);
        EXPECT_TRUE(QFile::exists(q(KESTROVA_SOURCE_DIR "/data/schema/") + file))
            << program.name << ".1 names " << file.toStdString() << ", which is not in data/schema";
    }
}

TEST_P(ManPage, VersionAnswersWithoutADisplay) {
    const Program program = GetParam();
    EXPECT_EQ(runAlone(program, {q("--version")}),
              q(program.name) + u' ' + q(KESTROVA_VERSION) + u'\n');
}

INSTANTIATE_TEST_SUITE_P(Programs, ManPage,
                         ::testing::Values(Program{"kestrova", KESTROVA_EXE},
                                           Program{"kestrova-report", KESTROVA_REPORT_EXE},
                                           Program{"kestrova-check", KESTROVA_CHECK_EXE}),
                         [](const auto& instance) {
                             QString name = q(instance.param.name);
                             name.remove(u'-');
                             return name.toStdString();
                         });

}  // namespace
