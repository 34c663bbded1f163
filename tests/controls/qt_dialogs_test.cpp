// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/qt_dialogs.h"

#include "platform/colour_ref.h"
#include "platform/settings_store.h"

#include "test_strings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace kestrova;

namespace {
// Runs `act` on the modal dialog once it is open (ask() and the file dialogs block in exec()).
void whenModalOpens(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}
}  // namespace

TEST(QtDialogs, ShowOpensAWindowModalBoxAndReturnsAtOnce) {
    QWidget owner;
    owner.show();
    QtDialogs seam(&owner);
    Message m;
    m.text = QStringLiteral("Select one cache file to create report");
    m.icon = MessageIcon::Information;
    seam.show(m);
    QMessageBox* box = seam.lastShown();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->text(), m.text);
    EXPECT_EQ(box->windowTitle(), u"Kestrova");
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    // Its text (an address the program could not open, say) can be selected and copied.
    EXPECT_TRUE(box->textInteractionFlags() & Qt::TextSelectableByMouse);
    const QPointer<QMessageBox> guard(box);
    box->button(QMessageBox::Ok)->click();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return guard.isNull(); }, 2000));  // deletes itself once closed
}

struct AskCase {
    const char* name;
    MessageIcon icon;
    MessageButtons buttons;
    MessageAnswer preferred;
    QMessageBox::Icon qtIcon;
    QMessageBox::StandardButton qtDefault;
    QMessageBox::StandardButton clicked;
    MessageAnswer answer;
};

class QtDialogsAsk : public ::testing::TestWithParam<AskCase> {};

TEST_P(QtDialogsAsk, ShowsTheIconButtonsAndDefaultAndReturnsTheClick) {
    const AskCase& c = GetParam();
    QtDialogs seam;
    Message m;
    m.text = QStringLiteral("Overwrite?");
    m.title = QStringLiteral("Save");
    m.icon = c.icon;
    m.buttons = c.buttons;
    m.defaultAnswer = c.preferred;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QPushButton* preferred = nullptr;
    QAbstractButton* expectedDefault = nullptr;
    QString title;
    whenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        title = box->windowTitle();
        preferred = box->defaultButton();
        expectedDefault = box->button(c.qtDefault);
        box->button(c.clicked)->click();
    });
    EXPECT_EQ(seam.ask(m), c.answer);
    EXPECT_EQ(icon, c.qtIcon);
    EXPECT_EQ(title, u"Save");
    EXPECT_NE(preferred, nullptr);
    EXPECT_EQ(preferred, expectedDefault);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QtDialogsAsk,
    ::testing::Values(AskCase{"YesNoAnswersNo", MessageIcon::Question, MessageButtons::YesNo,
                              MessageAnswer::Yes, QMessageBox::Question, QMessageBox::Yes,
                              QMessageBox::No, MessageAnswer::No},
                      AskCase{"OkCancelAnswersCancel", MessageIcon::Warning,
                              MessageButtons::OkCancel, MessageAnswer::Cancel, QMessageBox::Warning,
                              QMessageBox::Cancel, QMessageBox::Cancel, MessageAnswer::Cancel},
                      AskCase{"YesNoCancelAnswersYes", MessageIcon::Critical,
                              MessageButtons::YesNoCancel, MessageAnswer::No, QMessageBox::Critical,
                              QMessageBox::No, QMessageBox::Yes, MessageAnswer::Yes},
                      AskCase{"PlainOk", MessageIcon::None, MessageButtons::Ok, MessageAnswer::Ok,
                              QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok,
                              MessageAnswer::Ok}),
    ByName());

TEST(QtDialogs, ColourDialogStartsFromTheColourWithFlagOneAndUsesTheCustomColours) {
    QtDialogs seam;
    ColorRequest r;
    r.initial = RGB(10, 20, 30);
    r.flags = 1;
    r.customColors.fill(0xFFFFFFu);
    r.customColors[3] = RGB(1, 2, 3);
    QColor start;
    QColor custom0;
    QColor custom3;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        start = dialog->currentColor();
        custom0 = QColorDialog::customColor(0);
        custom3 = QColorDialog::customColor(3);
        dialog->setCurrentColor(QColor(200, 100, 50));
        dialog->accept();
    });
    EXPECT_EQ(seam.chooseColor(r), std::optional<std::uint32_t>(RGB(200, 100, 50)));
    EXPECT_EQ(start, QColor(10, 20, 30));
    EXPECT_EQ(custom0, QColor(255, 255, 255));
    EXPECT_EQ(custom3, QColor(1, 2, 3));
    whenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(seam.chooseColor(ColorRequest{}), std::nullopt) << "cancelled";
}

// Without a folder asked for, the dialog opens in the folder a file was last chosen in, and
// the first time in the user's Documents folder (it once opened in the process's working
// folder). It asks no overwrite question: the program asks its own, and there were two.
class SaveDialogFolders : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        QDir(root.path()).mkpath(QStringLiteral("Documents"));
        QDir(root.path()).mkpath(QStringLiteral("elsewhere"));
        // The Documents folder as the desktop names it, in the test's own configuration folder.
        QFile dirs(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/user-dirs.dirs"));
        QDir().mkpath(QFileInfo(dirs).absolutePath());
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dirs.write("XDG_DOCUMENTS_DIR=\"" + documents().toLocal8Bit() + "\"\n");
        dirs.close();
        QSettings(SettingsStore().fileName(), QSettings::IniFormat).clear();
    }
    void TearDown() override {
        QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/user-dirs.dirs"));
    }
    QString documents() const { return root.filePath(QStringLiteral("Documents")); }
    QString elsewhere() const { return root.filePath(QStringLiteral("elsewhere")); }

    // Opens the dialog for `request`, notes where it opened and what it would do, and accepts
    // `pick` (a path; empty: the name offered) or cancels when there is none.
    std::optional<QString> run(const SaveFileRequest& request, const std::optional<QString>& pick) {
        whenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            openedIn = QDir(dialog->directory()).absolutePath();
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            asksOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            width = dialog->width();
            titleWidth = dialog->fontMetrics().horizontalAdvance(dialog->windowTitle());
            // A dialog that would ask its own question about an existing file is not accepted
            // (the question would wait for an answer nobody gives).
            if (!pick || asksOverwrite) {
                static_cast<QDialog*>(dialog)->reject();
                return;
            }
            if (!pick->isEmpty()) {
                dialog->setDirectory(QFileInfo(*pick).absolutePath());
                dialog->selectFile(*pick);
            }
            static_cast<QDialog*>(dialog)->accept();
        });
        return QtDialogs().saveFileName(request);
    }

    QTemporaryDir root;
    QString openedIn;
    QString title;
    QStringList filters;
    bool asksOverwrite = true;
    int width = 0;
    int titleWidth = 0;
};

TEST_F(SaveDialogFolders, FirstDocumentsThenTheLastFolderUsed) {
    SaveFileRequest r;
    r.title = QStringLiteral("Enter Filename to save");
    r.filter = QStringLiteral("Output file (*.csv)");
    r.defaultName = QStringLiteral("usage-2026-11.csv");
    const QString existing = QDir(elsewhere()).filePath(QStringLiteral("old.csv"));
    QFile(existing).open(QIODevice::WriteOnly);

    EXPECT_EQ(run(r, existing), existing);
    EXPECT_EQ(openedIn, QDir(documents()).absolutePath());
    EXPECT_EQ(title, r.title);
    EXPECT_EQ(filters, QStringList{r.filter});
    EXPECT_FALSE(asksOverwrite);
    EXPECT_GE(width, titleWidth + QtDialogs::kTitleButtonRoom);

    EXPECT_EQ(run(r, std::nullopt), std::nullopt) << "cancelled";
    EXPECT_EQ(openedIn, QDir(elsewhere()).absolutePath());

    // A folder that has gone since: Documents again. A folder asked for wins.
    ASSERT_TRUE(QDir(elsewhere()).removeRecursively());
    run(r, std::nullopt);
    EXPECT_EQ(openedIn, QDir(documents()).absolutePath());
    ASSERT_TRUE(QDir(documents()).removeRecursively());
    run(SaveFileRequest{}, std::nullopt);
    EXPECT_EQ(openedIn, QDir::home().absolutePath()) << "without a Documents folder: home";
    r.initialDirectory = root.path();
    EXPECT_EQ(run(r, QString()), QDir(root.path()).absoluteFilePath(r.defaultName))
        << "the name offered, in the folder asked for";
    EXPECT_EQ(openedIn, QDir(root.path()).absolutePath());
}
