// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where this installation of the program points: the provider's two regional portal hosts,
// its plan pages, the program's home page and the line saying where the program is obtained.
// Compiled-in defaults that a system-scope settings file may override: the first
// "Kestrova/kestrova.ini" found in the XDG configuration folders ($XDG_CONFIG_DIRS, /etc/xdg
// when unset) that holds a key in its [Deployment] group gives that key.

#include <QString>
#include <QStringList>

namespace kestrova {

struct Deployment {
    // The items of selfcaresiteCombo, in this order; a host may carry a port ("127.0.0.1:8080").
    QString northHost = QStringLiteral("selfcare-north.orvo.example");  // key NorthHost
    QString westHost = QStringLiteral("selfcare-west.orvo.example");    // key WestHost
    // plansLabel on the main window: the provider's page of broadband plans.
    QString plansPage = QStringLiteral("https://www.orvo.example/broadband/plans");  // PlansPage
    // plansLabel on the result window's Summary tab: the postpaid plans.
    QString postpaidPlansPage =
        QStringLiteral("https://www.orvo.example/broadband/postpaid-plans");  // PostpaidPlansPage
    QString homePage = QStringLiteral("https://kestrova.example/");           // HomePage
    // The last line of the notice on the "Login Info" page; empty means the line made of the
    // home page (obtainedFromLine()).
    QString obtainedFrom;  // key ObtainedFrom

    QString obtainedFromLine() const;

    // The defaults overridden by the system-scope files, earlier folders first.
    static Deployment load();
    // The defaults overridden by these INI files, earlier files first. Blank values and
    // missing files leave the default.
    static Deployment read(const QStringList& iniFiles);
    // The files load() reads: <folder>/Kestrova/kestrova.ini of every XDG configuration folder
    // (not the per-user one), whether it exists or not.
    static QStringList systemFiles();
};

}  // namespace kestrova
