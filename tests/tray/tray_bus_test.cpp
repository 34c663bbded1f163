// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// kestrova --tray as the desktop sees it: the real program on an X display (ctest runs the
// test under xvfb-run), on a private session bus where the test plays the panel's
// StatusNotifierWatcher. The item registers there; its tool tip, icon and menu are read over D-Bus
// as a panel reads them (StatusNotifierItem properties, com.canonical.dbusmenu GetLayout); it
// follows the last check when the daily check renames a new one into place; the menu's "Quit" ends
// it.

#include "cli/fake_notifications.h"
#include "kept_check.h"
#include "support/qt_printers.h"
#include "support/task_runner.h"

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace kestrova {
namespace {

using namespace std::chrono_literals;
using kestrova::test::q;
using testing::spinUntil;

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItem = QStringLiteral("org.kde.StatusNotifierItem");

}  // namespace

// The panel's side: a StatusNotifierWatcher with a host, which items register with.
class FakeWatcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    explicit FakeWatcher(QDBusConnection bus) : m_bus(std::move(bus)) {
        m_registered = m_bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                            QDBusConnection::ExportAllContents) &&
                       m_bus.registerService(kWatcher);
    }
    bool registered() const { return m_registered; }
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return m_items; }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) {
        m_items << service;
        Q_EMIT StatusNotifierItemRegistered(service);
    }
    void RegisterStatusNotifierHost(const QString&) {}

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    QDBusConnection m_bus;
    bool m_registered = false;
    QStringList m_items;
};

namespace {

struct MenuItem {
    int id = 0;
    QVariantMap properties;
    std::vector<MenuItem> children;
};

MenuItem readMenuItem(const QDBusArgument& argument) {
    MenuItem item;
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        item.children.push_back(readMenuItem(child.variant().value<QDBusArgument>()));
    }
    argument.endArray();
    argument.endStructure();
    return item;
}

struct ToolTip {
    QString title;
    QString description;
};

class TrayOnTheBus : public ::testing::Test {
protected:
    void SetUp() override {
        if (bus.address().isEmpty()) {
            GTEST_SKIP() << "no dbus-daemon to run a private session bus";
        }
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            GTEST_SKIP() << "no X display for the program (ctest runs this under xvfb-run)";
        }
        ASSERT_TRUE(home.isValid());
        QDir().mkpath(dataFolder());
        QDir().mkpath(home.filePath(q("config/Kestrova")));
        QDir().mkpath(home.filePath(q("runtime")));
        QFile(home.filePath(q("runtime")))
            .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_TRUE(test::writeFile(home.filePath(q("config/Kestrova/kestrova.ini")),
                                    "[ScreenSettings]\ntxtUserName=demo\n"));
    }

    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.terminate();
            if (!program.waitForFinished(10000)) {
                program.kill();
                program.waitForFinished(5000);
            }
        }
    }

    QString dataFolder() const { return home.filePath(q("data/kestrova")); }

    void keepCheck(int usedMB) { test::keepCheck(dataFolder(), usedMB); }

    void startTray() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(q("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        env.insert(q("XDG_CONFIG_HOME"), home.filePath(q("config")));
        env.insert(q("XDG_DATA_HOME"), home.filePath(q("data")));
        env.insert(q("XDG_RUNTIME_DIR"), home.filePath(q("runtime")));
        env.insert(q("QT_QPA_PLATFORM"), q("xcb"));
        env.insert(q("LC_ALL"), q("C"));
        env.remove(q("AT_SPI_BUS_ADDRESS"));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(q(KESTROVA_EXE), {q("--tray")});
        ASSERT_TRUE(program.waitForStarted(10000));
    }

    QVariant property(const QString& name) {
        QDBusMessage get = QDBusMessage::createMethodCall(
            item, q("/StatusNotifierItem"), q("org.freedesktop.DBus.Properties"), q("Get"));
        get << kItem << name;
        const QDBusMessage reply = panel.call(get, QDBus::Block, 10000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            ADD_FAILURE() << name.toStdString() << ": " << reply.errorMessage().toStdString();
            return {};
        }
        return reply.arguments().constFirst().value<QDBusVariant>().variant();
    }

    ToolTip toolTip() {
        ToolTip tip;
        const QDBusArgument argument = property(q("ToolTip")).value<QDBusArgument>();
        QString iconName;
        argument.beginStructure();
        argument >> iconName;
        argument.beginArray();
        while (!argument.atEnd()) {
            int width = 0;
            int height = 0;
            QByteArray bytes;
            argument.beginStructure();
            argument >> width >> height >> bytes;
            argument.endStructure();
        }
        argument.endArray();
        argument >> tip.title >> tip.description;
        argument.endStructure();
        return tip;
    }

    // A connection's name is the process's: each test's own.
    QString connectionName(const char* role) const {
        return QString::fromLatin1(role) + u'-' +
               QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    testing::PrivateBus bus;
    QDBusConnection panel = bus.connect(connectionName("panel"));
    QTemporaryDir home;
    QProcess program;
    QString item;  // the item's service name, as it registered
};

TEST_F(TrayOnTheBus, RegistersWithThePanelAndShowsTheMonthOverDBus) {
    FakeWatcher watcher(bus.connect(connectionName("watcher")));
    ASSERT_TRUE(watcher.registered());
    keepCheck(300);
    startTray();
    ASSERT_TRUE(spinUntil([&] { return !watcher.items().isEmpty(); }, 60s))
        << "the tray item did not register with the watcher";
    item = watcher.items().constFirst();

    // The tool tip: the figures one hover away (each line is the panel status tests' own).
    const QStringList lines = toolTip().title.split(u'\n');
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[1], q("Used 300 MB of 1024 MB (29 %)"));
    EXPECT_EQ(property(q("Status")).toString(), q("Active"));

    // The icon: drawn for each size a panel asks for, not one picture scaled.
    const QDBusArgument pixmaps = property(q("IconPixmap")).value<QDBusArgument>();
    QList<int> widths;
    pixmaps.beginArray();
    while (!pixmaps.atEnd()) {
        int width = 0;
        int height = 0;
        QByteArray argb;
        pixmaps.beginStructure();
        pixmaps >> width >> height >> argb;
        pixmaps.endStructure();
        EXPECT_EQ(width, height);
        EXPECT_EQ(argb.size(), width * height * 4);
        widths << width;
    }
    pixmaps.endArray();
    for (const int size : {16, 22, 32, 64}) {
        EXPECT_TRUE(widths.contains(size)) << size;
    }

    // The menu, as the panel shows it (mnemonics as dbusmenu writes them).
    const QDBusObjectPath menuPath = property(q("Menu")).value<QDBusObjectPath>();
    QDBusMessage getLayout = QDBusMessage::createMethodCall(
        item, menuPath.path(), q("com.canonical.dbusmenu"), q("GetLayout"));
    getLayout << 0 << -1 << QStringList();
    const QDBusMessage layout = panel.call(getLayout, QDBus::Block, 10000);
    ASSERT_EQ(layout.type(), QDBusMessage::ReplyMessage) << layout.errorMessage().toStdString();
    const MenuItem root = readMenuItem(layout.arguments().at(1).value<QDBusArgument>());
    QStringList labels;
    int quitId = -1;
    for (const MenuItem& entry : root.children) {
        if (entry.properties.value(q("type")).toString() == u"separator") {
            labels << q("-");
            continue;
        }
        const QString label = entry.properties.value(q("label")).toString();
        labels << label;
        if (label == u"_Quit") {
            quitId = entry.id;
        }
    }
    EXPECT_EQ(labels, (QStringList{q("_Check now"), q("_Show usage"), q("_Open Kestrova"), q("-"),
                                   q("_Quit")}));

    // The daily check renames a new document into place: the panel follows.
    keepCheck(600);
    ASSERT_TRUE(spinUntil([&] { return toolTip().title.contains(q("Used 600 MB")); }, 20s))
        << toolTip().title.toStdString();

    // "Quit" from the panel's menu ends the program.
    ASSERT_GE(quitId, 0);
    QDBusMessage event = QDBusMessage::createMethodCall(item, menuPath.path(),
                                                        q("com.canonical.dbusmenu"), q("Event"));
    event << quitId << q("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
    panel.call(event, QDBus::Block, 10000);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

// One item a session: a second start leaves the first.
TEST_F(TrayOnTheBus, ASecondStartLeavesTheFirst) {
    FakeWatcher watcher(bus.connect(connectionName("watcher")));
    ASSERT_TRUE(watcher.registered());
    startTray();
    ASSERT_TRUE(spinUntil([&] { return !watcher.items().isEmpty(); }, 60s));
    QProcess second;
    second.setProcessEnvironment(program.processEnvironment());
    second.start(q(KESTROVA_EXE), {q("--tray")});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(watcher.items().size(), 1);
    EXPECT_EQ(program.state(), QProcess::Running);
}

}  // namespace
}  // namespace kestrova

#include "tray_bus_test.moc"
