// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where the chart's printed documents go: one printer per document. The program prints to the
// system's default printer; tests and the gallery install printers that write PDF files.

#include <QString>
#include <QStringList>
#include <memory>

class QPrinter;
class QWidget;

namespace kestrova {

class PrinterSeam {
public:
    virtual ~PrinterSeam() = default;
    // A printer for the next document.
    virtual std::unique_ptr<QPrinter> createPrinter() = 0;
    // Lets the user choose where the document goes before it is printed; false when the user
    // cancels. The system's seam opens the print dialog (a printer, or "Print to File (PDF)");
    // by default the printer is taken as it is.
    virtual bool choosePrinter(QPrinter& printer, QWidget* parent) {
        (void)printer;
        (void)parent;
        return true;
    }
};

// "Printer error" and what went wrong, for a printer that could not be opened: no printer
// set up, a file that cannot be written, or the named printer.
QString printerFailure(const QPrinter& printer);

// The installed seam; the system's default printer until another is installed.
PrinterSeam& printers();
// Installs `seam` (not owned) and returns the one it replaces; nullptr restores the default.
PrinterSeam* installPrinters(PrinterSeam* seam);

// Each document goes to its own PDF file in a folder: <stem>-1.pdf, <stem>-2.pdf, ...
class PdfFilePrinters : public PrinterSeam {
public:
    PdfFilePrinters(QString folder, QString stem = QStringLiteral("print"));
    std::unique_ptr<QPrinter> createPrinter() override;
    // The files handed out so far, in order.
    const QStringList& files() const { return m_files; }

private:
    QString m_folder;
    QString m_stem;
    QStringList m_files;
};

class ScopedPrinters {
public:
    explicit ScopedPrinters(PrinterSeam& seam) : m_previous(installPrinters(&seam)) {}
    ~ScopedPrinters() { installPrinters(m_previous); }
    ScopedPrinters(const ScopedPrinters&) = delete;
    ScopedPrinters& operator=(const ScopedPrinters&) = delete;

private:
    PrinterSeam* m_previous;
};

}  // namespace kestrova
