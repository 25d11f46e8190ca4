#include "cli/ComandoVerifica.h"

#include "checks/RispostaSingola.h"
#include "cli/OpzioniPagine.h"
#include "cli/RigaComando.h"
#include "core/CartellaProgramma.h"
#include "session/Sessione.h"
#include "web/GetHtmPage.h"

#include <QCommandLineParser>
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

QString RigaJson(const RispostaQuery& r)
{
    return u"{\"codice\":"_s + Json(r.numero) + u",\"stato\":"_s + QString::number(r.stato) +
           u",\"titoli\":"_s + ElencoJson(r.ElencoTitoli) + u",\"esiti\":"_s + ElencoJson(r.ElencoEsiti) +
           u",\"errore\":"_s + Json(r.motivo) + u",\"consultazione\":"_s + Json(r.consultazione) + u"}\n"_s;
}

// A control character from a page or a code would drive the terminal (clear it, ring, move the
// cursor): it is shown escaped, as \u001b, the way the JSON lines show it.
QString Stampabile(const QString& testo)
{
    QString risultato;
    risultato.reserve(testo.size());
    for (const QChar c : testo) {
        if (c.category() == QChar::Other_Control)
            risultato += u"\\u"_s + QString::number(c.unicode(), 16).rightJustified(4, u'0');
        else
            risultato += c;
    }
    return risultato;
}

QString Testo(const RispostaQuery& r)
{
    QString testo = Stampabile(r.numero) + u'\n';
    const RispostaSingola risposta = LeggiRispostaSingola(r);
    if (!risposta.errore.isEmpty())
        return testo + u"  "_s + Stampabile(risposta.errore) + u'\n';
    for (const RigaRisposta& riga : risposta.righe)
        testo += u"  "_s + Stampabile(riga.titolo).leftJustified(25) + u' ' + Stampabile(riga.valore) + u'\n';
    return testo;
}

} // namespace

QString ComandoVerifica::Aiuto()
{
    return u"  verifica [--json] [--salva CARTELLA] [--fonte pagina|vies] CODICE...\n"
           u"               controlla partite IVA (prefisso del paese e numero) o MRN e stampa le\n"
           u"               risposte; con --json una riga JSON per codice, con --salva salva le\n"
           u"               pagine di risposta nella cartella, con --fonte sceglie chi risponde per\n"
           u"               le partite IVA (pagina dell'Agenzia delle Entrate o servizio VIES).\n"
           u"               Uscita: 0 tutte lette, 1 errori di formato, 9 servizio non\n"
           u"               raggiungibile o pagina illeggibile\n"_s;
}

int ComandoVerifica::Esegui(const QStringList& argomenti)
{
    QCommandLineParser parser;
    const QCommandLineOption json(u"json"_s);
    parser.addOption(json);
    const OpzioniPagine pagineSalvate(parser);
    QTextStream err(stderr);
    QStringList codici = parser.parse(argomenti) ? parser.positionalArguments() : QStringList();
    if (!pagineSalvate.Errore().isEmpty())
        codici.clear();
    if (codici.isEmpty()) {
        if (!parser.errorText().isEmpty())
            err << u"tarvel verifica: "_s << parser.errorText() << u'\n';
        err << u"Uso: tarvel verifica [--json] [--salva CARTELLA] [--fonte pagina|vies] CODICE...\n"_s;
        return kUscitaUso;
    }

    const std::unique_ptr<Sessione> sessione = ApriSessione(CartellaProgramma(), ModoSessione::Comando);
    const PoliticaPagine politica = pagineSalvate.Applica(*sessione);

    QTextStream out(stdout);
    bool nonLetti = false;
    bool formatoErrato = false;
    for (const QString& codice : codici) {
        const RispostaQuery risposta = InterrogaNumero(sessione->Contesto(), politica, codice);
        nonLetti = nonLetti || risposta.stato == 9;
        formatoErrato = formatoErrato || risposta.stato == 1;
        out << (parser.isSet(json) ? RigaJson(risposta) : Testo(risposta));
        out.flush();
    }
    return nonLetti ? 9 : formatoErrato ? 1 : 0;
}
