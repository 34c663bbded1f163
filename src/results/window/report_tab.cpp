// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/report_tab.h"

#include "controls/colour_dialog.h"
#include "platform/dialogs.h"
#include "platform/failure.h"
#include "results/report_export.h"
#include "results/window/colour_box.h"
#include "retrieval/cache_file.h"
#include "retrieval/retrieval_state.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace kestrova {

namespace {

// The text and background colour of row class `index` (0 free, 1 mixed, 2 non-free).
std::pair<ColorRef&, ColorRef&> rowColours(DisplaySettings& d, int index) {
    switch (index) {
        case 0:
            return {d.colorFree, d.colorBackFree};
        case 1:
            return {d.colorMixed, d.colorBackMixed};
        default:
            return {d.colorNonFree, d.colorBackNonFree};
    }
}

// What a browser's empty document saves as.
const QByteArray kBlankPage = QByteArrayLiteral("<html><head></head><body></body></html>");

}  // namespace

ReportTabFrame::ReportTabFrame(DisplaySettings& display, const ReportViewFactory& viewFactory,
                               QWidget* parent)
    : QFrame(parent), m_display(display), m_page(kBlankPage) {
    setObjectName(QStringLiteral("fraReport"));

    m_view = viewFactory ? viewFactory(this) : nullptr;
    if (m_view == nullptr) {
        m_view = new ReportView(this);
    }
    m_view->setParent(this);
    m_view->setObjectName(QStringLiteral("WebBrowser1"));

    m_export = new QPushButton(QStringLiteral("&Export..."), this);
    m_export->setObjectName(QStringLiteral("cmdExport"));
    m_save = new QPushButton(QStringLiteral("&Save Report.."), this);
    m_save->setObjectName(QStringLiteral("cmdSave"));
    connect(m_export, &QPushButton::clicked, this, &ReportTabFrame::exportReport);
    connect(m_save, &QPushButton::clicked, this, &ReportTabFrame::saveReport);

    m_footer = new QFrame(this);
    m_footer->setObjectName(QStringLiteral("fraReportFooter"));
    auto* row = new QHBoxLayout(m_footer);
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(6);
    m_setRowColour = new QLabel(QStringLiteral("Set &Row Colour"), m_footer);
    m_setRowColour->setObjectName(QStringLiteral("lblSetRowColour"));
    row->addWidget(m_setRowColour);
    const char* captions[] = {"Free", "Mixed", "Text"};
    for (int i = 0; i < 3; ++i) {
        auto* label = new RowColourLabel(QString::fromLatin1(captions[i]), m_footer);
        label->setObjectName(QStringLiteral("lblSetColor_%1").arg(i));
        label->setMinimumWidth(56);
        connect(label, &RowColourLabel::mouseDown, this,
                [this, i](int button) { pickRowColour(i, button); });
        row->addWidget(label);
        m_setColor[std::size_t(i)] = label;
    }
    // Alt+R reaches the labels from their caption; the first one shown (see setRowColourBuddy).
    m_setRowColour->setBuddy(m_setColor[2]);
    // The window's load hands this tip on to the other two labels.
    m_setColor[0]->setToolTip(
        QStringLiteral("Left click to set font colour - Right Click to set Background colour"));
    showRowColours();
}

void ReportTabFrame::showReport() {
    m_view->showPage(textOfFileBytes(m_page));
}

void ReportTabFrame::showBlank() {
    m_page = kBlankPage;
    m_listing = nullptr;
    m_view->showBlank();
}

void ReportTabFrame::setRowColourBuddy() {
    for (RowColourLabel* label : m_setColor) {
        if (!label->isHidden()) {
            m_setRowColour->setBuddy(label);
            return;
        }
    }
}

void ReportTabFrame::showRowColours() {
    for (int i = 0; i < 3; ++i) {
        const auto [fore, back] = rowColours(m_display, i);
        m_setColor[std::size_t(i)]->setForeColor(fore);
        m_setColor[std::size_t(i)]->setBackColor(back);
    }
}

void ReportTabFrame::pickRowColour(int index, int button) {
    if (button != RowColourLabel::kLeftButton && button != RowColourLabel::kRightButton) {
        return;
    }
    RowColourLabel* label = m_setColor[std::size_t(index)];
    const bool background = button == RowColourLabel::kRightButton;
    const ColorRef before = background ? label->backColor() : label->foreColor();
    const ColorRef chosen = askForColour(before).value_or(before);
    if (background) {
        label->setBackColor(chosen);
    } else {
        label->setForeColor(chosen);
    }
    auto [fore, back] = rowColours(m_display, index);
    fore = label->foreColor();
    back = label->backColor();
    // A cancelled dialog (or the same colour) would rebuild the very same page; with a large
    // log that is a long wait for nothing.
    if (chosen != before) {
        Q_EMIT rowColoursChanged();
    }
}

QString ReportTabFrame::askTarget(const QString& ext) {
    // The folder is the dialog's to choose (the last one used, at first Documents).
    const QDate lastUsed = m_lastUsed ? m_lastUsed() : QDate();
    QString fileName = askSaveFileName(QString(), suggestedFileName(lastUsed, ext), ext);
    if (fileName.isEmpty()) {
        return QString();
    }
    if (QFileInfo::exists(fileName)) {
        const Message question(QStringLiteral("File Already exist. So you want to overwrite ?"),
                               QString(), MessageIcon::Question, MessageButtons::YesNo,
                               MessageAnswer::No);
        if (dialogs().ask(question) != MessageAnswer::Yes) {
            return QString();
        }
    }
    return fileName;
}

void ReportTabFrame::saveReport() {
    try {
        const QString fileName = askTarget(QStringLiteral("htm"));
        if (fileName.isEmpty()) {
            return;
        }
        // saveFileData reports its own failure; success is only claimed for a written file.
        if (saveFileBytes(fileName, m_page)) {
            dialogs().show(Message(QStringLiteral("File saved successfully"), QString(),
                                   MessageIcon::Information));
        }
    } catch (const Failure& failure) {
        dialogs().show(Message(failure.description()));
    }
}

void ReportTabFrame::exportReport() {
    try {
        if (!m_listing) {
            throw Failure(QStringLiteral("There is no report to export"));
        }
        const QString fileName = askTarget(QStringLiteral("csv"));
        if (fileName.isEmpty()) {
            return;
        }
        saveFileData(fileName, m_listing(), false);
    } catch (const Failure& failure) {
        dialogs().show(Message(failure.description()));
    }
}

}  // namespace kestrova
