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
            return {d.mlngColorFree, d.mlngColorBackFree};
        case 1:
            return {d.mlngColorMixed, d.mlngColorBackMixed};
        default:
            return {d.mlngColorNonFree, d.mlngColorBackNonFree};
    }
}

}  // namespace

ReportTabFrame::ReportTabFrame(DisplaySettings& display, const ReportViewFactory& viewFactory,
                               QWidget* parent)
    : QFrame(parent), m_display(display) {
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
    connect(m_export, &QPushButton::clicked, this, &ReportTabFrame::cmdExport_Click);
    connect(m_save, &QPushButton::clicked, this, &ReportTabFrame::cmdSave_Click);

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
        connect(label, &RowColourLabel::MouseDown, this,
                [this, i](int button) { lblSetColor_MouseDown(i, button); });
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

void ReportTabFrame::showDocument() {
    m_view->showPage(m_document.outerHTML());
}

void ReportTabFrame::syncView() {
    const QString page = m_document.outerHTML();
    if (page != m_view->shownPage()) {
        m_view->showPage(page);
    }
}

void ReportTabFrame::showBlank() {
    m_document.clear();
    m_document.close();
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

void ReportTabFrame::lblSetColor_MouseDown(int Index, int Button) {
    if (Button != RowColourLabel::kLeftButton && Button != RowColourLabel::kRightButton) {
        return;
    }
    RowColourLabel* label = m_setColor[std::size_t(Index)];
    const bool background = Button == RowColourLabel::kRightButton;
    clsCommonDialog dialog;
    dialog.setFLAGS(1);
    dialog.setColor(background ? label->BackColor() : label->ForeColor());
    dialog.ShowColor();
    const ColorRef before = background ? label->BackColor() : label->ForeColor();
    if (background) {
        label->setBackColor(dialog.Color());
    } else {
        label->setForeColor(dialog.Color());
    }
    auto [fore, back] = rowColours(m_display, Index);
    fore = label->ForeColor();
    back = label->BackColor();
    // A cancelled dialog (or the same colour) would rebuild the very same page; with a large
    // log that is a long wait for nothing.
    if (dialog.Color() != before) {
        Q_EMIT rowColoursChanged();
    }
}

QString ReportTabFrame::askTarget(const QString& ext) {
    // The folder is the dialog's to choose (the last one used, at first Documents).
    const QDate lastUsed = m_lastUsed ? m_lastUsed() : QDate();
    const QString fileName = AskSaveFileName(QString(), suggestedFileName(lastUsed, ext), ext);
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

void ReportTabFrame::cmdSave_Click() {
    try {
        const QString fileName = askTarget(QStringLiteral("htm"));
        if (fileName.isEmpty()) {
            return;
        }
        // SaveFileData reports its own failure; success is only claimed for a written file.
        if (SaveFileData(fileName, reportFileText(m_document), false)) {
            dialogs().show(Message(QStringLiteral("File saved successfully"), QString(),
                                   MessageIcon::Information));
        }
    } catch (const Failure& failure) {
        dialogs().show(Message(failure.description()));
    }
}

void ReportTabFrame::cmdExport_Click() {
    try {
        const QString fileName = askTarget(QStringLiteral("csv"));
        if (fileName.isEmpty()) {
            return;
        }
        SaveFileData(fileName, exportText(m_document), false);
    } catch (const Failure& failure) {
        dialogs().show(Message(failure.description()));
    }
}

}  // namespace kestrova
