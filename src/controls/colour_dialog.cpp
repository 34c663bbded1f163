// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/colour_dialog.h"

#include "platform/dialogs.h"

#include <optional>

namespace kestrova {

void CommonDialog::showColor() {
    m_action = kShowColorAction;
    m_apiReturn = 0;
    m_extendedError = 0;

    ColorRequest request;
    request.initial = m_color;
    request.flags = std::uint32_t(m_flags);
    request.customColors.fill(kCustomColorWhite);

    std::optional<std::uint32_t> chosen;
    try {
        chosen = dialogs().chooseColor(request);
    } catch (const Failure&) {
        return;  // a dialog that could not be shown ends the call quietly
    }
    if (chosen) {
        m_apiReturn = 1;
        m_color = *chosen & 0x00FFFFFFu;
        return;
    }
    if (m_cancelError) {
        throw CommonDialogError(kCancelPressed, QStringLiteral("Cancel Pressed"));
    }
}

}  // namespace kestrova
