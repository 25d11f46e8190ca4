// Peak resident memory and time of one `tarvel verifica` against hostile answers, beside the same
// query of a normal page: the size limit must bound memory whatever the server sends.

#include "Processo.h"
#include "support/BombaGzip.h"
#include "support/CartellaProva.h"
#include "support/ServerProva.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray vies =
        "<p class=\"vies_ok\">Valida</p><th>Stato</th><td>IT</td><th>Nome</th><td>ROSSI</td>"
        "<th>Via</th><td>ROMA</td><th>Inizio</th><td>1990</td><th>Fine</th><td>-</td>";
    PaginaProva a4MiB = PaginaProva::Html(vies + QByteArray(4 * 1024 * 1024 - vies.size(), ' '));
    PaginaProva aPezzi;
    aPezzi.generati = 1000LL * 1024 * 1024;
    PaginaProva gzip = PaginaProva::Html(BombaGzip(117 * 1024 * 1024, 2000));
    gzip.intestazioni.append({QByteArray("Content-Encoding"), QByteArray("gzip")});
    gzip.senzaLunghezza = true;
    PaginaProva gzip1000 = gzip;
    gzip1000.corpo = BombaGzip(1024LL * 1024 * 1024, 0);
    const QList<std::pair<QString, PaginaProva>> casi = {
        {u"riferimento"_s, PaginaProva::Html(vies)},
        {u"pagina_4MiB"_s, a4MiB},
        {u"chunked_1000MiB"_s, aPezzi},
        {u"gzip_117MiB_30a1"_s, gzip},
        {u"gzip_1GiB_1000a1"_s, gzip1000},
    };

    ServerProva server;
    CartellaProva cartella;
    cartella.IndirizziVerso(server, 60);
    QJsonObject figure;
    double massimo = 0;
    std::printf("%-20s %10s %8s  %s\n", "caso", "memoria", "tempo", "errore");
    for (const auto& [nome, pagina] : casi) {
        server.Imposta(u"/vies"_s, pagina);
        const MisuraProcesso m =
            EseguiProgramma(cartella.Percorso(), {u"verifica"_s, u"--json"_s, u"IT00743110157"_s});
        std::printf("%-20s %7.1f MB %6.2f s  %s\n", qPrintable(nome), m.memoriaMb, m.secondi,
                    qPrintable(CampoJson(m.uscita, u"errore"_s)));
        figure.insert(nome + u"_mb"_s, qRound(m.memoriaMb * 10) / 10.0);
        figure.insert(nome + u"_s"_s, qRound(m.secondi * 100) / 100.0);
        if (nome != u"riferimento"_s)
            massimo = std::max(massimo, m.memoriaMb);
    }
    figure.insert(u"massimo_mb"_s, qRound(massimo * 10) / 10.0);
    figure.insert(u"rapporto_massimo_riferimento"_s,
                  qRound(massimo / figure.value(u"riferimento_mb"_s).toDouble() * 100) / 100.0);
    std::printf("%s\n", QJsonDocument(figure).toJson(QJsonDocument::Compact).constData());
    return 0;
}
