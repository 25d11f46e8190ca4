// `tarvel elenco` on 10 000 codes whose pages come from the loopback server 50 ms late each, 4 and
// 6 pages at once, and on the first 1 000 one page at a time; beside it `xargs -P` and `curl`
// fetching the same addresses as many at once: the network floor. The codes are spread evenly over
// the member states, so the limit per state is not what is measured. Seconds of the wall clock;
// memory is the program's peak resident size, which must stay flat whatever the list's length.

#include "Processo.h"
#include "core/Impostazioni.h"
#include "countries/Nazioni.h"
#include "support/CartellaProva.h"
#include "support/ServerProva.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kCodici = 10000;
constexpr int kCodiciUnaAllaVolta = 1000;
constexpr int kLatenzaMs = 50;

// Lists as the program takes them, with CR LF; xargs wants LF alone.
bool Scrivi(const QString& file, const QStringList& righe, const QString& capo = u"\r\n"_s)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly) && f.write((righe.join(capo) + capo).toLatin1()) > 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Impostazioni memoria(QString(), Impostazioni::Scrittura::SoloMemoria);
    Nazioni nazioni;
    nazioni.Carica(memoria);
    const QList<RigaNazione> stati = nazioni.Righe().first(nazioni.Righe().size() - 1); // the last is blank

    ServerProva server;
    CartellaProva cartella;
    cartella.IndirizziVerso(server, 30);
    QStringList codici, indirizzi;
    for (int i = 0; i < kCodici; ++i) {
        const RigaNazione& stato = stati[i % stati.size()];
        const QString codice =
            stato.codice + QString::number(i / stati.size()).rightJustified(stato.max1, u'0');
        const QString percorso = u"/vies?stato="_s + codice.left(2) + u"&piva="_s + codice.mid(2);
        PaginaProva pagina = PaginaProva::Html(
            "<p class=\"vies_ok\">Partita IVA valida</p><th>Stato</th><td>" + codice.left(2).toLatin1() +
            "</td><th>Denominazione</th><td>DITTA " + codice.toLatin1() +
            "</td><th>Indirizzo</th><td>VIA PO 1</td><th>Inizio</th><td>01/02/1990</td><th>Fine</th><td></td>"
            "<p class=\"vies_note\">Nota</p><p class=\"vies_date\">Data della richiesta: 05/12/2026</p>");
        pagina.ritardoMs = kLatenzaMs;
        server.Imposta(percorso, pagina);
        codici << codice;
        indirizzi << server.Indirizzo(percorso).toString();
    }
    const QString tutti = cartella.File(u"elenco.txt"_s);
    const QString primi = cartella.File(u"primi.txt"_s);
    const QString fileIndirizzi = cartella.File(u"indirizzi.txt"_s);
    if (!Scrivi(tutti, codici) || !Scrivi(primi, codici.first(kCodiciUnaAllaVolta)) ||
        !Scrivi(fileIndirizzi, indirizzi, u"\n"_s)) {
        std::printf("impossibile scrivere gli elenchi\n");
        return 1;
    }

    bool riuscite = true;
    const auto tarvel = [&](const QString& lista, int parallelo, int attesi) {
        const qsizetype prima = server.Richieste().size();
        const MisuraProcesso m = EseguiProgramma(
            cartella.Percorso(),
            {u"elenco"_s, lista, u"--come"_s, u"file"_s, u"--parallelo"_s, QString::number(parallelo)}, true);
        QFile esiti(cartella.File(u"EsitiDaEle.txt"_s));
        const qsizetype righe = esiti.open(QIODevice::ReadOnly) ? esiti.readAll().count("\r\n") : 0;
        const bool riuscita = m.stato == 0 && righe == attesi && server.Richieste().size() - prima == attesi;
        riuscite = riuscite && riuscita;
        std::printf("tarvel, %d alla volta, %d codici: %.1f s, %.1f MB%s\n", parallelo, attesi, m.secondi,
                    m.memoriaMb, riuscita ? "" : ", NON RIUSCITO");
        std::fflush(stdout);
        return m;
    };
    const auto curl = [&](int parallelo) {
        const qsizetype prima = server.Richieste().size();
        QElapsedTimer orologio;
        orologio.start();
        const int stato = QProcess::execute(
            u"/bin/sh"_s,
            {u"-c"_s, u"xargs -P %1 -n 100 curl -s < '%2' > /dev/null"_s.arg(parallelo).arg(fileIndirizzi)});
        const double secondi = double(orologio.nsecsElapsed()) / 1e9;
        const bool riuscita = stato == 0 && server.Richieste().size() - prima == kCodici;
        riuscite = riuscite && riuscita;
        std::printf("xargs -P %d + curl, %d indirizzi: %.1f s%s\n", parallelo, kCodici, secondi,
                    riuscita ? "" : ", NON RIUSCITO");
        std::fflush(stdout);
        return secondi;
    };

    const MisuraProcesso p4 = tarvel(tutti, 4, kCodici);
    const double curl4 = curl(4);
    const MisuraProcesso p6 = tarvel(tutti, 6, kCodici);
    const double curl6 = curl(6);
    const MisuraProcesso p1 = tarvel(primi, 1, kCodiciUnaAllaVolta);
    std::printf("rapporto con curl: %.2f a 4, %.2f a 6; una alla volta, per codice: %.1f ms\n",
                p4.secondi / curl4, p6.secondi / curl6, p1.secondi * 1000 / kCodiciUnaAllaVolta);
    std::printf(
        "{\"codici\":%d,\"p1_s\":%.1f,\"p4_s\":%.1f,\"p6_s\":%.1f,\"curl_p4_s\":%.1f,\"curl_p6_s\":%.1f,"
        "\"memoria_mb\":%.1f}\n",
        kCodici, p1.secondi, p4.secondi, p6.secondi, curl4, curl6,
        std::max({p1.memoriaMb, p4.memoriaMb, p6.memoriaMb}));
    return riuscite ? 0 : 1;
}
