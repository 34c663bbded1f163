// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/colour_dialog.h"

#include "platform/dialogs.h"
#include "platform/failure.h"

namespace kestrova {

std::optional<ColorRef> askForColour(ColorRef initial) {
    ColorRequest request;
    request.initial = initial;
    request.flags = 1;  // start from the initial colour
    request.customColors.fill(0xFFFFFFu);
    try {
        if (const std::optional<std::uint32_t> chosen = dialogs().chooseColor(request)) {
            return *chosen & 0x00FFFFFFu;
        }
    } catch (const Failure&) {
        // A dialog that could not be shown changes nothing, as a cancelled one.
    }
    return std::nullopt;
}

}  // namespace kestrova
