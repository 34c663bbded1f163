// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// portal-sim as a program: its first line names the port, it serves there, and it stops with
// status 0 on SIGINT and SIGTERM.

#include <gtest/gtest.h>
#include <httplib.h>

#include <QProcess>
#include <QRegularExpression>

#include <csignal>

namespace {

constexpr int kWaitMs = 10000;

QString program() {
    return QStringLiteral(PORTAL_SIM_EXECUTABLE);
}

struct Finished {
    int status = -1;
    QString out;
    QString err;
};

Finished runToEnd(const QStringList& arguments) {
    QProcess process;
    process.start(program(), arguments);
    EXPECT_TRUE(process.waitForFinished(kWaitMs));
    return Finished{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                    QString::fromUtf8(process.readAllStandardOutput()),
                    QString::fromUtf8(process.readAllStandardError())};
}

// Starts portal-sim and reads the port from its first line; 0 when it did not say.
int startListening(QProcess& process, const QStringList& arguments) {
    process.start(program(), arguments);
    if (!process.waitForStarted(kWaitMs)) {
        return 0;
    }
    while (!process.canReadLine() && process.waitForReadyRead(kWaitMs)) {
    }
    const QString line = QString::fromUtf8(process.readLine()).trimmed();
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$")).match(line);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

TEST(PortalProcess, HelpDescribesTheOptionsAndTheAccount) {
    const Finished run = runToEnd({QStringLiteral("--help")});
    EXPECT_EQ(run.status, 0);
    for (const char* text : {"--port", "--delay-ms", "--omit", "--drop-session-before-download",
                             "--fail-download", "--user", "--password", "\"demo\"", "127.0.0.1",
                             "/usage.csv", "SWEForm2_0", "SWEForm1_0"}) {
        EXPECT_TRUE(run.out.contains(QLatin1String(text))) << text;
    }
}

struct BadCommandRow {
    const char* name;
    QStringList arguments;
    const char* complaint;
};

void PrintTo(const BadCommandRow& row, std::ostream* out) {
    *out << row.name;
}

class PortalBadCommand : public ::testing::TestWithParam<BadCommandRow> {};

TEST_P(PortalBadCommand, ExitsWithStatusTwoAndSaysWhy) {
    const Finished run = runToEnd(GetParam().arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains(QLatin1String(GetParam().complaint))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PortalBadCommand,
    ::testing::Values(
        BadCommandRow{"UnknownOption", {QStringLiteral("--frobnicate")}, "unknown option"},
        BadCommandRow{
            "PortOutOfRange", {QStringLiteral("--port"), QStringLiteral("70000")}, "--port"},
        BadCommandRow{"PortNotANumber", {QStringLiteral("--port=80a")}, "--port"},
        BadCommandRow{"MissingValue", {QStringLiteral("--delay-ms")}, "needs a value"},
        BadCommandRow{"FlagWithValue", {QStringLiteral("--fail-download=yes")}, "takes no value"},
        BadCommandRow{
            "BadToday", {QStringLiteral("--today"), QStringLiteral("2013-02-30")}, "--today"},
        BadCommandRow{"EmptyUser", {QStringLiteral("--user=")}, "--user"}),
    [](const auto& p) { return std::string(p.param.name); });

class PortalStopSignal : public ::testing::TestWithParam<int> {};

TEST_P(PortalStopSignal, ServesOnThePrintedPortThenExitsCleanly) {
    QProcess process;
    const int port = startListening(process, {QStringLiteral("--today=2013-04-17")});
    ASSERT_GT(port, 0);
    httplib::Client client("127.0.0.1", port);
    const httplib::Result res = client.Get("/");
    ASSERT_TRUE(res);
    EXPECT_NE(res->body.find("logonuidfield"), std::string::npos);

    ::kill(pid_t(process.processId()), GetParam());
    ASSERT_TRUE(process.waitForFinished(kWaitMs));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Signals, PortalStopSignal, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& p) {
                             return std::string(p.param == SIGINT ? "SIGINT" : "SIGTERM");
                         });

TEST(PortalProcess, AGivenPortIsUsedAndATakenOneIsRefused) {
    QProcess first;
    const int port = startListening(first, {});
    ASSERT_GT(port, 0);
    QProcess second;
    const int again = startListening(second, {QStringLiteral("--port"), QString::number(port)});
    EXPECT_EQ(again, 0);
    ASSERT_TRUE(second.state() == QProcess::NotRunning || second.waitForFinished(kWaitMs));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(second.readAllStandardError()).contains(QString::number(port)));

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(kWaitMs));
    QProcess third;
    EXPECT_EQ(startListening(third, {QStringLiteral("--port"), QString::number(port)}), port);
    third.terminate();
    EXPECT_TRUE(third.waitForFinished(kWaitMs));
}

}  // namespace
