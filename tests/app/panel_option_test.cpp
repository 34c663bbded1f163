// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's side of the tray item: "Show in the panel" writes and removes the autostart
// entry (disabled, with the reason, where no panel can show the item); a grab that stops keeps
// its failure beside the last check; "Show usage" opens the result window of a kept check.

#include "app/main_window.h"

#include "support/qt_printers.h"
#include "support/task_runner.h"

#include "platform/dialogs.h"
#include "platform/password_store.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "results/last_check.h"
#include "results/window/report_view.h"
#include "support/memory_browser.h"
#include "tray/autostart.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

namespace kestrova {
namespace {

using namespace std::chrono_literals;
using kestrova::test::q;
using testing::spinUntil;

const QString kProgram = QStringLiteral("/opt/kestrova tools/bin/kestrova");

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class PanelOption : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings(SettingsStore().fileName(), QSettings::IniFormat).clear();
        QFile::remove(autostartFile());
        QDir folder(programFolder());
        for (const QString& name : folder.entryList(QDir::Files)) {
            folder.remove(name);
        }
    }
    void TearDown() override { QFile::remove(autostartFile()); }

    std::unique_ptr<MainWindow> open() {
        MainWindowOptions options;
        Deployment deployment;
        deployment.northHost = q("north.portal.test");
        deployment.westHost = q("west.portal.test");
        options.deployment = deployment;
        options.portalBrowser = [this] {
            auto memory = std::make_unique<MemoryBrowser>();
            browser = memory.get();
            return PortalBrowser{std::move(memory), nullptr};
        };
        options.result.reportView = [](QWidget* p) { return new ReportView(p); };
        options.result.clock = [] { return QDate(2026, 12, 1); };
        options.passwordStore = [] { return std::make_unique<MemoryPasswordStore>(); };
        options.trayAvailability = [this] { return tray; };
        options.program = kProgram;
        options.startDetached = [this](const QString& program, const QStringList& arguments) {
            started << (QStringList{program} + arguments).join(u' ');
            return true;
        };
        auto w = std::make_unique<MainWindow>(std::move(options));
        w->show();
        return w;
    }

    RecordingDialogs dialogs;
    ScopedDialogs seam{dialogs};
    MemoryBrowser* browser = nullptr;
    TrayAvailability tray{true, QString()};
    QStringList started;
};

TEST_F(PanelOption, WritesTheAutostartEntryAndStartsTheItemThenRemovesIt) {
    auto w = open();
    QCheckBox* box = w->showInPanelCheck();
    EXPECT_EQ(box->text(), q("Sh&ow in the panel"));
    EXPECT_TRUE(box->isEnabled());
    EXPECT_FALSE(box->isChecked());

    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
    const QString entry = QString::fromUtf8(readAll(autostartFile()));
    EXPECT_TRUE(entry.startsWith(q("[Desktop Entry]\n"))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(q("\nExec=\"/opt/kestrova tools/bin/kestrova\" --tray\n")))
        << entry.toStdString();
    EXPECT_TRUE(entry.contains(q("\nType=Application\n")));
    EXPECT_EQ(started, QStringList{kProgram + q(" --tray")});
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().join(u'|').toStdString();

    // The next window finds it ticked; unticking removes the entry.
    w.reset();
    w = open();
    EXPECT_TRUE(w->showInPanelCheck()->isChecked());
    QTest::mouseClick(w->showInPanelCheck(), Qt::LeftButton);
    EXPECT_FALSE(w->showInPanelCheck()->isChecked());
    EXPECT_FALSE(QFile::exists(autostartFile()));
    EXPECT_EQ(started.size(), 1);
}

TEST_F(PanelOption, WithoutAPanelItIsDisabledWithTheReasonUnlessAnEntryIsThereToRemove) {
    tray = {false, q("The desktop has no panel to show it in.")};
    auto w = open();
    EXPECT_FALSE(w->showInPanelCheck()->isEnabled());
    EXPECT_TRUE(w->showInPanelCheck()->toolTip().endsWith(tray.reason));
    EXPECT_TRUE(w->showInPanelCheck()->accessibleDescription().endsWith(tray.reason));

    QString why;
    ASSERT_TRUE(setAutostart(true, kProgram, why)) << why.toStdString();
    w.reset();
    w = open();
    EXPECT_TRUE(w->showInPanelCheck()->isEnabled());
    EXPECT_TRUE(w->showInPanelCheck()->isChecked());

    // An entry the session has turned off reads as off.
    QFile file(autostartFile());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n");
    file.close();
    EXPECT_FALSE(autostartEnabled());
}

TEST_F(PanelOption, TheEntryStartsTheProgramAsTheDesktopEntryFormatQuotesIt) {
    const struct {
        const char* program;
        const char* exec;
    } rows[] = {
        {"/usr/local/bin/kestrova", "Exec=/usr/local/bin/kestrova --tray"},
        {"/opt/kestrova tools/kestrova", "Exec=\"/opt/kestrova tools/kestrova\" --tray"},
        {"/opt/100%/kestrova", "Exec=/opt/100%%/kestrova --tray"},
        {"/opt/a\"b$c/kestrova", "Exec=\"/opt/a\\\"b\\$c/kestrova\" --tray"},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(autostartEntry(q(row.program)).contains(u'\n' + q(row.exec) + u'\n'))
            << autostartEntry(q(row.program)).toStdString();
    }
}

TEST_F(PanelOption, AGrabThatStopsKeepsItsFailureBesideTheLastCheck) {
    auto w = open();
    browser->setLoadFailure(QUrl(q("http://north.portal.test/")), q("the connection was reset"));
    w->selfcaresiteCombo()->setCurrentIndex(0);
    w->userNameEdit()->setText(q("abc"));
    w->passwordEdit()->setText(q("secret"));
    QTest::mouseClick(w->calculateButton(), Qt::LeftButton);
    ASSERT_TRUE(spinUntil([&] { return !dialogs.messages.empty(); }, 5s));
    const std::optional<CheckFailure> failure =
        readCheckFailure(lastCheckFiles(programFolder(), q("abc"), false).failure);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->reason,
              q("Cannot load the portal's page from north.portal.test: the connection was reset."));
    EXPECT_FALSE(QFile::exists(lastCheckFiles(programFolder(), q("abc"), false).document));
}

TEST_F(PanelOption, ShowUsageOpensTheResultWindowOfTheKeptCheck) {
    const LastCheckFiles files = lastCheckFiles(programFolder(), q("demo"), false);
    ASSERT_TRUE(QFile::copy(q(KESTROVA_SOURCE_DIR "/samples/usage.htm"), files.log));
    QFile document(files.document);
    ASSERT_TRUE(document.open(QIODevice::WriteOnly));
    document.write(
        QJsonDocument(QJsonObject{{q("schemaVersion"), 1},
                                  {q("month"), QJsonObject{{q("period"), q("period 01-11-2026 "
                                                                           "TO 30-11-2026")},
                                                           {q("planKind"), 0}}},
                                  {q("check"), QJsonObject{{q("user"), q("demo")},
                                                           {q("kind"), q("unbilled")}}}})
            .toJson());
    document.close();
    const QByteArray before = readAll(files.document);

    auto w = open();
    QSignalSpy closed(w.get(), &MainWindow::outputClosed);
    ASSERT_TRUE(w->showLastCheck(files.document));
    ASSERT_TRUE(spinUntil([&] { return w->resultWindow().isVisible(); }, 10s))
        << dialogs.texts().join(u'|').toStdString();
    EXPECT_EQ(w->state().monthYear, q("period 01-11-2026 TO 30-11-2026"));
    EXPECT_EQ(w->state().userName, q("demo"));
    EXPECT_EQ(w->state().records.count(q("<TR>")), 185);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().join(u'|').toStdString();
    // Only a check downloaded now is kept: this one stays as it was.
    EXPECT_EQ(readAll(files.document), before);
    QTest::mouseClick(w->resultWindow().closeButton(), Qt::LeftButton);
    ASSERT_TRUE(spinUntil([&] { return closed.count() == 1; }, 5s));

    // A document that is none, or a log that is gone, is said.
    QFile::remove(files.log);
    EXPECT_FALSE(w->showLastCheck(files.document));
    EXPECT_FALSE(w->showLastCheck(programFolder() + q("/nothing.json")));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const Message& m : dialogs.messages) {
        EXPECT_TRUE(m.text.startsWith(q("The last check cannot be shown: ")))
            << m.text.toStdString();
    }
}

}  // namespace
}  // namespace kestrova
