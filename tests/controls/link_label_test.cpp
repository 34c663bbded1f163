// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The link label: one tab stop that shows its focus, opened by Enter, Space or a click.

#include "controls/link_label.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace kestrova;

namespace {

struct LinkWindow {
    LinkWindow() {
        auto* column = new QVBoxLayout(&window);
        before = new QLineEdit(&window);
        link = new LinkLabel(QStringLiteral("ORVO broadband plans"), QStringLiteral("#plans"),
                             &window);
        after = new QLineEdit(&window);
        column->addWidget(before);
        column->addWidget(link);
        column->addWidget(after);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        before->setFocus();
    }
    QWidget window;
    QLineEdit* before;
    LinkLabel* link;
    QLineEdit* after;
};

// QLabel's own keyboard links took a tab stop that showed nothing until another key moved
// onto the link. One Tab now reaches the label, its focus frame shows, the next Tab leaves.
TEST(LinkLabel, OneVisibleTabStop) {
    LinkWindow w;
    const QImage unfocused = w.link->grab().toImage();
    QTest::keyClick(w.before, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w.link);
    EXPECT_NE(w.link->grab().toImage(), unfocused) << "the focus frame";
    QTest::keyClick(w.link, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.after);
}

// Enter, Space and a screen reader's press open it; other keys do not. (Return, a click, its
// role and name are the acceptance check's way to the main window's link.)
TEST(LinkLabel, EnterSpaceAndAScreenReaderOpenIt) {
    LinkWindow w;
    w.link->setToolTip(QStringLiteral("https://plans.example/"));
    QSignalSpy opened(w.link, &QLabel::linkActivated);
    w.link->setFocus();
    QTest::keyClick(w.link, Qt::Key_Enter);
    QTest::keyClick(w.link, Qt::Key_Space);
    QTest::keyClick(w.link, Qt::Key_A);
    ASSERT_EQ(opened.count(), 2);
    EXPECT_EQ(opened.at(0).at(0).toString(), QStringLiteral("#plans"));
    EXPECT_TRUE(w.link->text().contains(QStringLiteral("ORVO broadband plans")));

    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(w.link);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(QAccessible::Description), QStringLiteral("https://plans.example/"));
    ASSERT_NE(link->actionInterface(), nullptr);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(opened.count(), 3);
}

}  // namespace
