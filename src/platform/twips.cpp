#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace kestrova {

namespace {
double fromDpi(double dpi) { return dpi > 0 ? 1440.0 / dpi : 15.0; }

QScreen* screen() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return nullptr;
    }
    return QGuiApplication::primaryScreen();
}
}  // namespace

double twipsPerPixelX() {
    QScreen* s = screen();
    return s ? fromDpi(s->logicalDotsPerInchX()) : 15.0;
}

double twipsPerPixelY() {
    QScreen* s = screen();
    return s ? fromDpi(s->logicalDotsPerInchY()) : 15.0;
}

}  // namespace kestrova
