#include "core/StampaGriglia.h"

#include "core/StampanteCorrente.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// The cell of the grid, in printer units, as IniziaStampa measured it.
double gLargCar = 0;
double gAltRiga = 0;

// The document between IniziaStampa and FineStampa.
std::unique_ptr<QPainter>& Pittore()
{
    static std::unique_ptr<QPainter> pittore;
    return pittore;
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

bool IniziaStampa()
{
    QPrinter& stampante = StampanteCorrente(); // first, so it outlives an unfinished document
    FineStampa();
    auto pittore = std::make_unique<QPainter>();
    if (!pittore->begin(&stampante))
        return false;
    pittore->setFont(CarattereFisso(12));
    const QFontMetricsF misure(pittore->font(), pittore->device());
    gLargCar = misure.horizontalAdvance(u'H');
    gAltRiga = misure.height();
    Pittore() = std::move(pittore);
    return true;
}

void StampaA(const QString& testo, std::int16_t riga, std::int16_t colonna, bool grassetto)
{
    QPainter* pittore = Pittore().get();
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
    if (Pittore())
        Pittore()->end();
    Pittore().reset();
}
