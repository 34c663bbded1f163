// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// controls-gallery: the three tab strips and the three numeric edit boxes in the configurations
// the main and result windows give them (from their stored forms), and the tab strip in each
// of its eight styles. --screenshot PATH saves a picture of the window and exits.

#include "controls/colour_dialog.h"
#include "controls/numeric_edit_box.h"
#include "controls/qt_dialogs.h"
#include "controls/tab_strip.h"
#include "forms/forms.h"
#include "platform/property_bag.h"

#include "chart_pages.h"

#include "chart/xchart.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

using namespace kestrova;

namespace {

// Keeps a tab strip's frames over its page whenever the strip is resized, as the windows'
// resize handlers do.
class PageFitter : public QObject {
public:
    explicit PageFitter(TabStrip* tabs) : QObject(tabs), m_tabs(tabs) {
        tabs->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
            const QRect page = pageRect(m_tabs->state(), m_tabs->size()).toQRect();
            for (QWidget* frame : m_tabs->frames()) {
                frame->setGeometry(page.adjusted(6, 6, -6, -6));
            }
        }
        return false;
    }

private:
    TabStrip* m_tabs;
};

TabStrip* loadTabs(QWidget* parent, const StoredForm& form, const QString& name) {
    auto* tabs = new TabStrip(parent);
    tabs->setObjectName(name);
    tabs->readProperties(form.bag(name));
    new PageFitter(tabs);
    return tabs;
}

QFrame* page(TabStrip* tabs, const QString& name) {
    auto* frame = new QFrame(tabs);
    frame->setObjectName(name);
    return frame;
}

NumericEdit* loadNumberBox(QWidget* parent, const StoredForm& form, const QString& name) {
    auto* box = new NumericEdit(parent);
    box->setObjectName(name);
    box->readProperties(form.bag(name));
    return box;
}

QWidget* mainWindowTabs(const StoredForm& form) {
    auto* group = new QGroupBox(QStringLiteral("frmMain: ctlTabs1 / ctlPasswordVersion"));
    auto* outer = loadTabs(group, form, QStringLiteral("ctlTabs1"));
    auto* password = page(outer, QStringLiteral("fraPassword"));
    auto* cache = page(outer, QStringLiteral("fraUseCacheData"));
    auto* cacheLayout = new QVBoxLayout(cache);
    cacheLayout->addWidget(new QLabel(QStringLiteral("Select the cache file to generate report")));
    cacheLayout->addStretch();

    auto* inner = loadTabs(password, form, QStringLiteral("ctlPasswordVersion"));
    auto* passwordLayout = new QVBoxLayout(password);
    passwordLayout->setContentsMargins(0, 0, 0, 0);
    passwordLayout->addWidget(inner);
    auto* login = page(inner, QStringLiteral("fraLoginInfo"));
    auto* loginLayout = new QGridLayout(login);
    loginLayout->addWidget(new QLabel(QStringLiteral("User ID")), 0, 0);
    loginLayout->addWidget(new QLineEdit, 0, 1);
    loginLayout->addWidget(new QLabel(QStringLiteral("Password")), 1, 0);
    auto* pass = new QLineEdit;
    pass->setEchoMode(QLineEdit::Password);
    loginLayout->addWidget(pass, 1, 1);
    loginLayout->setRowStretch(2, 1);
    auto* processing = page(inner, QStringLiteral("fraProcessing"));
    (new QVBoxLayout(processing))
        ->addWidget(new QLabel(QStringLiteral("Fetching log. Please wait...")));

    auto* layout = new QVBoxLayout(group);
    layout->addWidget(outer);
    outer->setMinimumSize(380, 260);
    return group;
}

QWidget* resultWindowTabs(const StoredForm& form) {
    auto* group =
        new QGroupBox(QStringLiteral("frmResult: ctlTabs1 with nebPlanCharge, "
                                     "nebBandWidthLimit, nebRsPerMB"));
    auto* tabs = loadTabs(group, form, QStringLiteral("ctlTabs1"));
    (new QVBoxLayout(page(tabs, QStringLiteral("fraReport"))))
        ->addWidget(new QLabel(QStringLiteral("Report")));
    (new QVBoxLayout(page(tabs, QStringLiteral("fraChart"))))
        ->addWidget(new QLabel(QStringLiteral("Chart")));
    auto* summary = page(tabs, QStringLiteral("fraSummary"));
    auto* grid = new QGridLayout(summary);
    const struct {
        const char* caption;
        const char* name;
    } rows[] = {{"Plan Charge :", "nebPlanCharge"},
                {"Bandwidth Limit :", "nebBandWidthLimit"},
                {"Rs/Excess MB :", "nebRsPerMB"}};
    int r = 0;
    for (const auto& row : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(row.caption)), r, 0);
        grid->addWidget(loadNumberBox(summary, form, QString::fromLatin1(row.name)), r, 1);
        ++r;
    }
    grid->addWidget(new QLabel(QStringLiteral("(MB)")), 1, 2);
    auto* colour = new QPushButton(QStringLiteral("Colour..."));
    QObject::connect(colour, &QPushButton::clicked, colour, [colour] {
        if (const std::optional<ColorRef> chosen = askForColour(0)) {
            colour->setText(QStringLiteral("Colour %1").arg(*chosen, 6, 16, QLatin1Char('0')));
        }
    });
    grid->addWidget(colour, r, 1);
    grid->setRowStretch(r + 1, 1);
    tabs->setSelectedTab(3);

    auto* layout = new QVBoxLayout(group);
    layout->addWidget(tabs);
    tabs->setMinimumSize(380, 260);
    return group;
}

QWidget* styles() {
    auto* group = new QGroupBox(QStringLiteral("Style 0 to 7, CaptionAlignment 4"));
    auto* grid = new QGridLayout(group);
    for (int style = 0; style < 8; ++style) {
        auto* tabs = new TabStrip(group);
        tabs->setObjectName(QStringLiteral("ctlStyle%1").arg(style));
        tabs->setTabCount(3);
        tabs->setTabsWidth(style < 4 ? 44 : 40);
        tabs->setTabStyle(style);
        tabs->setSelectedTab(2);
        tabs->setCaption(QStringLiteral("S%1").arg(style));
        tabs->setMinimumSize(170, 90);
        grid->addWidget(tabs, style / 4, style % 4);
    }
    return group;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("controls-gallery"));
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the controls page to PATH and exit."),
        QStringLiteral("PATH"));
    const QCommandLineOption screenshots(
        QStringLiteral("screenshots"),
        QStringLiteral("Save a picture of every page and of each chart in FOLDER and exit."),
        QStringLiteral("FOLDER"));
    parser.addOptions({screenshot, screenshots});
    parser.process(app);

    QtDialogs qtDialogs;
    installDialogs(&qtDialogs);

    QTabWidget window;
    window.setWindowTitle(QStringLiteral("Kestrova controls"));
    auto* controls = new QWidget;
    auto* layout = new QGridLayout(controls);
    layout->addWidget(mainWindowTabs(StoredForm::load(storedFormPath(QStringLiteral("frmMain")))),
                      0, 0);
    layout->addWidget(
        resultWindowTabs(StoredForm::load(storedFormPath(QStringLiteral("frmResult")))), 0, 1);
    layout->addWidget(styles(), 1, 0, 1, 2);
    window.addTab(controls, QStringLiteral("Controls"));
    const ChartPages charts = makeChartPages();
    window.addTab(charts.resultPage, QStringLiteral("Chart"));
    window.addTab(charts.shapesPage, QStringLiteral("Chart shapes and modes"));
    window.resize(900, 620);
    window.show();

    int rc = 0;
    auto save = [&rc](QWidget* widget, const QString& path) {
        if (!widget->grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            rc = 1;
        }
    };
    if (parser.isSet(screenshot)) {
        const QString path = parser.value(screenshot);
        QTimer::singleShot(200, &window, [&, path] {
            save(controls, path);
            QApplication::quit();
        });
    } else if (parser.isSet(screenshots)) {
        const QDir folder(parser.value(screenshots));
        QDir().mkpath(folder.path());
        QTimer::singleShot(200, &window, [&, folder] {
            save(controls, folder.filePath(QStringLiteral("controls.png")));
            window.setCurrentIndex(1);
            save(charts.result, folder.filePath(QStringLiteral("result-window-chart.png")));
            charts.result->model().setSelectedColumn(19);
            save(charts.result,
                 folder.filePath(QStringLiteral("result-window-chart-selected.png")));
            window.setCurrentIndex(2);
            charts.shapesPage->resize(900, 1400);
            for (XChart* chart : charts.shapes) {
                save(chart, folder.filePath(chart->objectName() + u".png"));
            }
            QApplication::quit();
        });
    }
    const int loop = QApplication::exec();
    installDialogs(nullptr);
    return rc != 0 ? rc : loop;
}
