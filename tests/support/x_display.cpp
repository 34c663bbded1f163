// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/x_display.h"

#include <X11/Xlib.h>

namespace kestrova::testing {

bool requestWindowClose(const QString& display, unsigned long window) {
    Display* connection = XOpenDisplay(display.toLatin1().constData());
    if (!connection) {
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const int sent = XSendEvent(connection, window, False, NoEventMask, &event);
    XCloseDisplay(connection);  // sends what is queued
    return sent != 0;
}

}  // namespace kestrova::testing
