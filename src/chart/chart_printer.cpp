#include "chart/chart_printer.h"

#include <QDir>
#include <QPrinter>

namespace kestrova {

namespace {
class SystemPrinters : public PrinterSeam {
public:
    std::unique_ptr<QPrinter> createPrinter() override {
        return std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
};

SystemPrinters& systemPrinters() {
    static SystemPrinters seam;
    return seam;
}

PrinterSeam* g_installed = nullptr;
}  // namespace

PrinterSeam& printers() { return g_installed ? *g_installed : systemPrinters(); }

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
