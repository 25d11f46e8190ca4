#include "core/StampaGriglia.h"

#include "core/StampanteCorrente.h"
#include "core/UtilitaFile.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QUrl>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// The cell of the grid, in printer units, as IniziaStampa measured it.
double gLargCar = 0;
double gAltRiga = 0;

// The document between IniziaStampa and FineStampa, and the file it writes on "PDF".
struct Documento {
    std::unique_ptr<QPainter> pittore;
    QString filePdf;
};

Documento& Aperto()
{
    static Documento documento;
    return documento;
}

QString FilePdf(const QString& cartella, const QString& documento)
{
    const QString scelto = SceltaStampanteCorrente().filePdf;
    if (!scelto.isEmpty())
        return scelto;
    QDir().mkpath(cartella);
    const QString nome = documento.isEmpty()
                             ? u"Stampa_"_s + QDateTime::currentDateTime().toString(u"yyyyMMdd_HHmmss"_s)
                             : documento;
    return CartellaConSeparatore(cartella) + NomeFileSicuro(nome) + u".pdf"_s;
}

QString SenzaSpaziFinali(QString testo)
{
    qsizetype n = testo.size();
    while (n > 0 && testo.at(n - 1) == u' ')
        --n;
    testo.truncate(n);
    return testo;
}

} // namespace

QFont CarattereFisso(int punti)
{
    QFont carattere(u"Courier New"_s);
    carattere.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(carattere).fixedPitch())
        carattere = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    carattere.setPointSize(punti);
    return carattere;
}

bool IniziaStampa(const QString& cartellaPdf, const QString& documento)
{
    QPrinter& stampante = StampanteCorrente(); // first, so it outlives an unfinished document
    FineStampa();
    stampante.setDocName(documento);
    QString file;
    if (StampanteCorrentePdf()) {
        file = FilePdf(cartellaPdf, documento);
        stampante.setOutputFileName(file);
    }
    auto pittore = std::make_unique<QPainter>();
    if (!pittore->begin(&stampante))
        return false;
    pittore->setFont(CarattereFisso(12));
    const QFontMetricsF misure(pittore->font(), pittore->device());
    gLargCar = misure.horizontalAdvance(u'H');
    gAltRiga = misure.height();
    Aperto() = {std::move(pittore), file};
    return true;
}

void StampaA(const QString& testo, std::int16_t riga, std::int16_t colonna, bool grassetto)
{
    QPainter* pittore = Aperto().pittore.get();
    if (!pittore)
        return;
    QFont carattere = pittore->font();
    carattere.setBold(grassetto);
    pittore->setFont(carattere);
    const QFontMetricsF misure(carattere, pittore->device());
    pittore->drawText(QPointF(colonna * gLargCar, riga * gAltRiga + misure.ascent()),
                      SenzaSpaziFinali(testo));
}

void FineStampa()
{
    Documento documento = std::move(Aperto());
    Aperto() = {};
    if (documento.pittore && documento.pittore->end() && !documento.filePdf.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(documento.filePdf));
}
