#include "cli/Verifica.h"

#include "app/Avvio.h"
#include "app/Globali.h"
#include "checks/RispostaSingola.h"
#include "countries/Nazioni.h"
#include "web/GetHtmPage.h"
#include "web/IndirizziWeb.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

namespace {

QString Json(const QJsonValue& valore)
{
    // A bare value cannot be a document: wrap it in an array and take the brackets off.
    const QByteArray testo = QJsonDocument(QJsonArray{valore}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(testo.mid(1, testo.size() - 2));
}

template <std::size_t N> QString ElencoJson(const std::array<QString, N>& elenco)
{
    QJsonArray a;
    for (std::size_t j = 1; j < N; ++j)
        a.append(elenco[j]);
    return QString::fromUtf8(QJsonDocument(a).toJson(QJsonDocument::Compact));
}

QString RigaJson(const QString& codice, int stato)
{
    return u"{\"codice\":"_s + Json(codice) + u",\"stato\":"_s + QString::number(stato) + u",\"titoli\":"_s +
           ElencoJson(ElencoTitoli) + u",\"esiti\":"_s + ElencoJson(ElencoEsiti) + u'}';
}

QString Testo(const QString& codice, int stato)
{
    QString testo = codice + u'\n';
    const RispostaSingola risposta = LeggiRispostaSingola(stato);
    if (!risposta.errore.isEmpty())
        return testo + u"  "_s + risposta.errore + u'\n';
    for (const RigaRisposta& r : risposta.righe)
        testo += u"  "_s + r.titolo.leftJustified(25) + u' ' + r.valore + u'\n';
    return testo;
}

} // namespace

int EseguiVerifica(const QStringList& argomenti)
{
    const bool json = argomenti.value(0) == u"--json"_s;
    const QStringList codici = argomenti.mid(json ? 1 : 0);
    if (codici.isEmpty()) {
        QTextStream(stderr) << u"Uso: tarvel verifica [--json] CODICE...\n"_s;
        return 2;
    }

    ImpostaPercorsi();
    CaricaParametriWeb();
    CaricaNazioni();
    LeggiIndirizziWeb();
    gTipoWeb = 1;

    QTextStream out(stdout);
    bool nonLetti = false;
    bool formatoErrato = false;
    for (const QString& codice : codici) {
        GetHtmPage pagina;
        const int stato = InterrogaNumero(pagina, codice);
        nonLetti = nonLetti || stato == 9;
        formatoErrato = formatoErrato || stato == 1;
        out << (json ? RigaJson(codice, stato) + u'\n' : Testo(codice, stato));
        out.flush();
    }
    return nonLetti ? 9 : formatoErrato ? 1 : 0;
}
