#include "retrieval/headless.h"

#include <QCoreApplication>

namespace kestrova {

void HeadlessHost::processPendingEvents() {
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
    }
}

}  // namespace kestrova
