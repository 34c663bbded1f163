// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Tests that only mean something on a screen at twice the scale (QT_SCALE_FACTOR=2, a 1280x800
// screen); ctest runs them so through kestrova_scaled_test, and the plain run skips them.

#include <gtest/gtest.h>

#include <QGuiApplication>

#define KESTROVA_REQUIRE_SCALE_2()                                                      \
    do {                                                                                \
        if (qApp->devicePixelRatio() < 2) {                                             \
            GTEST_SKIP() << "runs at QT_SCALE_FACTOR=2 (the ctest entry *_at_scale_2)"; \
        }                                                                               \
    } while (false)
