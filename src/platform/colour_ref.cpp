#include "platform/colour_ref.h"

#include <QGuiApplication>

namespace kestrova {

QColor toQColor(ColorRef color) {
    if (!isSystemColor(color)) {
        return toQColor(color, QPalette());
    }
    return toQColor(color, qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                               ? QGuiApplication::palette()
                               : QPalette());
}

QColor toQColor(ColorRef color, const QPalette& palette) {
    if (!isSystemColor(color)) {
        return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
    }
    // The number is everything below the flag bit: 0x80000105 is no window colour 5.
    switch (color & ~kSystemColorFlag) {
    case 5:
        return palette.color(QPalette::Active, QPalette::Base);
    case 8:
        return palette.color(QPalette::Active, QPalette::Text);
    case 15:
        return palette.color(QPalette::Active, QPalette::Button);
    case 16:
        return palette.color(QPalette::Active, QPalette::Dark);
    case 17:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return palette.color(QPalette::Active, QPalette::ButtonText);
    case 20:
        return palette.color(QPalette::Active, QPalette::Light);
    case 23:
        return palette.color(QPalette::Active, QPalette::ToolTipText);
    case 24:
        return palette.color(QPalette::Active, QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Active, QPalette::Window);
    }
}

ColorRef fromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}

}  // namespace kestrova
