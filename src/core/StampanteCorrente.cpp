#include "core/StampanteCorrente.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

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
    p.setOutputFormat(QPrinter::NativeFormat);
    p.setPrinterName(nome);
    return true;
}

bool ImpostaStampanteCorrente(const QString& nome)
{
    return ImpostaStampante(StampanteCorrente(), nome);
}
