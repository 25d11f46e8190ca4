#include "core/StampanteCorrente.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

QString gFilePdf; // the output file chosen for "PDF"

QString NomePdf()
{
    return QString::fromUtf16(kStampantePdf);
}

} // namespace

QPrinter& StampanteCorrente()
{
    static QPrinter stampante; // the system's default printer
    static const bool iniziata = [] {
        if (stampante.printerName().isEmpty())
            stampante.setOutputFormat(QPrinter::PdfFormat); // no printer installed: PDF is the only one
        return true;
    }();
    Q_UNUSED(iniziata);
    return stampante;
}

QString NomeStampanteCorrente()
{
    return StampanteCorrentePdf() ? NomePdf() : StampanteCorrente().printerName();
}

bool StampanteCorrentePdf()
{
    return StampanteCorrente().outputFormat() == QPrinter::PdfFormat;
}

SceltaStampante SceltaStampanteCorrente()
{
    return {NomeStampanteCorrente(), StampanteCorrentePdf() ? gFilePdf : QString()};
}

QStringList ElencoStampanti()
{
    QStringList nomi = QPrinterInfo::availablePrinterNames();
    nomi.removeAll(NomePdf());
    nomi.append(NomePdf());
    return nomi;
}

bool ImpostaStampante(QPrinter& p, const QString& nome)
{
    if (nome == NomePdf()) {
        p.setOutputFormat(QPrinter::PdfFormat);
        return true;
    }
    if (!QPrinterInfo::availablePrinterNames().contains(nome))
        return false;
    p.setOutputFileName(QString()); // a file left by a PDF print would take the real printer's pages
    p.setOutputFormat(QPrinter::NativeFormat);
    p.setPrinterName(nome);
    return true;
}

bool ImpostaStampanteCorrente(const QString& nome, const QString& filePdf)
{
    if (!ImpostaStampante(StampanteCorrente(), nome))
        return false;
    gFilePdf = nome == NomePdf() ? filePdf : QString();
    return true;
}

void ScegliStampanteCorrente()
{
    const SceltaStampante scelta = DialoghiCorrenti().ScegliStampante(SceltaStampanteCorrente());
    if (!scelta.nome.isEmpty())
        ImpostaStampanteCorrente(scelta.nome, scelta.filePdf);
}
