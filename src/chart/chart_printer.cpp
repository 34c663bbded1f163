// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/chart_printer.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>

namespace kestrova {

namespace {
class SystemPrinters : public PrinterSeam {
public:
    std::unique_ptr<QPrinter> createPrinter() override {
        return std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    bool choosePrinter(QPrinter& printer, QWidget* parent) override {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Print"));
        return dialog.exec() == QDialog::Accepted;
    }
};

SystemPrinters& systemPrinters() {
    static SystemPrinters seam;
    return seam;
}

PrinterSeam* g_installed = nullptr;
}  // namespace

QString printerFailure(const QPrinter& printer) {
    const QString prefix = QStringLiteral("Printer error: ");
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        if (printer.outputFileName().isEmpty()) {
            return prefix + QStringLiteral(
                                "no printer is set up. Choose \"Print to File (PDF)\" "
                                "in the print dialog, or set up a printer.");
        }
        return prefix + QStringLiteral("the file \"%1\" could not be written.")
                            .arg(QDir::toNativeSeparators(printer.outputFileName()));
    }
    return prefix +
           QStringLiteral("the printer \"%1\" could not be used.").arg(printer.printerName());
}

PrinterSeam& printers() {
    return g_installed ? *g_installed : systemPrinters();
}

PrinterSeam* installPrinters(PrinterSeam* seam) {
    PrinterSeam* previous = g_installed;
    g_installed = seam;
    return previous;
}

PdfFilePrinters::PdfFilePrinters(QString folder, QString stem)
    : m_folder(std::move(folder)), m_stem(std::move(stem)) {}

std::unique_ptr<QPrinter> PdfFilePrinters::createPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    const QString file =
        QDir(m_folder).filePath(m_stem + u'-' + QString::number(m_files.size() + 1) + u".pdf");
    printer->setOutputFileName(file);
    m_files << file;
    return printer;
}

}  // namespace kestrova
