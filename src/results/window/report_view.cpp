// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/report_view.h"

namespace kestrova {

ReportView::ReportView(QWidget* parent) : QWidget(parent) {}

void ReportView::setShownPage(const QString& html) {
    m_page = html;
    ++m_pagesShown;
}

void ReportView::showPage(const QString& html) {
    setShownPage(html);
    Q_EMIT pageShown(true);
}

}  // namespace kestrova
