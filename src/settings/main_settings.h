// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window's stored settings: every key read in its order when the window loads and
// written in its order when it closes, in the per-user settings store (section
// "ScreenSettings"). Plain values here; the window puts them into its controls and fields.

#include "platform/settings_store.h"
#include "retrieval/retrieval_state.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kestrova {

// The key the remembered password is scrambled with.
inline const QString kPasswordKey = QStringLiteral("qhtwzmkbrla");

struct MainSettings {
    QString userNameEdit;
    // A password older versions kept scrambled under "txtPasswordnew", in clear; read only, to
    // move it into the keyring (the store is never given a password again).
    QString passwordEdit;
    int savePasswordCheck = 0;  // "Remember password": 0 unticked, 1 ticked
    DisplaySettings display;
    bool cachingEnabled = false;  // key "mblnCachingEnabled " (with the blank)
    int planType = 0;             // list index of planTypeCombo
    int selfcaresite = -1;        // list index of selfcaresiteCombo, -1 none
    // The window's inner size and its place on the screen, in twips.
    double height = 0;
    double width = 0;
    double left = 0;
    double top = 0;
    int selectedTab = 1;  // key "ctlTabs1.SelectedTab"
};

struct LoadedSettings {
    MainSettings values;
    std::vector<SettingProblem> problems;
};

// How many items the two drop-downs hold: a stored list index beyond them cannot be applied.
struct SettingLimits {
    int planTypes = 3;
    int selfcareSites = 2;
};

// Reads every key in order; a missing key gives its default, which for the user id and the
// window's size and place is the window's design value in `design` (the other fields of
// `design` are not used). A value that is not a number of its field's kind and range (or a
// list index the drop-down lacks, or a window measure beyond any screen) gives the default too
// and is listed, and the load goes on with the next key.
LoadedSettings loadMainSettings(const SettingsStore& store, const MainSettings& design,
                                SettingLimits limits = {});

// Writes every key in the close order. No password is ever written: both password keys are
// cleared (the keyring keeps it). The window measures are left as they were stored when
// `minimised`.
void saveMainSettings(SettingsStore& store, const MainSettings& values, bool minimised);

// Empties the keys an older version kept the password under, once the keyring holds it.
void clearStoredPasswords(SettingsStore& store);

// The keys saveMainSettings writes, in its order (without the measures when minimised).
QStringList mainSettingsKeys(bool minimised = false);

// The password as the store keeps it, and back (the same scrambling both ways).
QString scramblePassword(const QString& password);

// Conversions of stored texts to fields. Booleans: "True"/"False" in any case, or a number
// (0 is false). Integers: a decimal number, rounded half to even, within the field's range.
// Each gives false when the text does not convert.
bool convertBoolean(const QString& text, bool& value);
bool convertInteger(const QString& text, qint64 minimum, qint64 maximum, qint64& value);
bool convertSingle(const QString& text, double& value);
// A 32-bit colour: signed ("-2147483633", a system colour) or unsigned decimal text.
bool convertColour(const QString& text, ColorRef& value);

// Texts of fields as the store keeps them.
QString booleanText(bool value);
QString colourText(ColorRef value);  // as a signed 32-bit number
QString singleText(double value);

}  // namespace kestrova
