// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/colour_ref.h"

#include <optional>

namespace kestrova {

// Asks for a colour through the dialogs seam, starting from `initial`, with sixteen white
// custom colours: the chosen colour, or nothing when the user cancels or no dialog can be
// shown.
std::optional<ColorRef> askForColour(ColorRef initial);

}  // namespace kestrova
