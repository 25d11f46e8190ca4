// Time of one query with a 15 MB settings file beside one of a few lines: settings are parsed once
// per change of the file, so a large file costs its one reading at start, not a reading per key.

#include "Processo.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/ServerProva.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kVolte = 5;

// Sections of keys that nobody reads, about `byte` bytes of them.
QByteArray Riempitivo(qint64 byte)
{
    QByteArray testo;
    testo.reserve(byte + 100);
    for (int s = 0; testo.size() < byte; ++s) {
        testo += "[ARCHIVIO" + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 50; ++k)
            testo += "Voce" + QByteArray::number(k) + "=un valore che nessuno legge, lungo quanto basta\r\n";
    }
    return testo;
}

// The addresses come last, after whatever else the file holds.
void ScriviIni(const CartellaProva& cartella, const QByteArray& riempitivo, const ServerProva& server)
{
    QFile f(cartella.File(u"tarvel.ini"_s));
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(riempitivo + "[INDIRIZZIWEB]\r\nVAT=" + server.Indirizzo(u"/vies?stato="_s).toEncoded() +
                "\r\nTEMPOMAX=10\r\n") < 0)
        qFatal("impossibile scrivere %s", qPrintable(f.fileName()));
}

struct Tempi {
    double aperturaMs, interrogazioneMs, comandoS, megabyte;
};

Tempi Misura(const CartellaProva& cartella)
{
    QList<double> apertura, interrogazione, comando;
    for (int i = 0; i < kVolte; ++i) {
        QElapsedTimer orologio;
        orologio.start();
        const auto sessione = ApriSessione(cartella.Percorso(), ModoSessione::Comando);
        apertura << double(orologio.nsecsElapsed()) / 1e6;
        orologio.restart();
        const RispostaQuery r =
            InterrogaNumero(sessione->Contesto(), {{}, sessione->dirTemp, nullptr}, u"IT00743110157"_s);
        interrogazione << double(orologio.nsecsElapsed()) / 1e6;
        if (r.stato != 0)
            qFatal("interrogazione non riuscita: %s", qPrintable(r.motivo + r.ElencoTitoli[2]));
        const MisuraProcesso m =
            EseguiProgramma(cartella.Percorso(), {u"verifica"_s, u"--json"_s, u"IT00743110157"_s});
        if (m.stato != 0)
            qFatal("comando non riuscito: %s", m.uscita.constData());
        comando << m.secondi;
    }
    return {Mediana(apertura), Mediana(interrogazione), Mediana(comando),
            double(QFile(cartella.File(u"tarvel.ini"_s)).size()) / 1e6};
}

double Arrotonda(double x, int cifre)
{
    const double scala = std::pow(10, cifre);
    return std::round(x * scala) / scala;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ServerProva server;
    server.Imposta(u"/vies"_s,
                   PaginaProva::Html("<p class=\"vies_ok\">Valida</p><th>Stato</th><td>IT</td><th>Nome</th>"
                                     "<td>ROSSI</td><th>Via</th><td>ROMA</td><th>Inizio</th><td>1990</td>"
                                     "<th>Fine</th><td>-</td>"));
    CartellaProva piccola, grande;
    ScriviIni(piccola, {}, server);
    ScriviIni(grande, Riempitivo(15'000'000), server);

    QJsonObject figure;
    std::printf("%-10s %8s %12s %16s %10s\n", "file", "MB", "apertura", "interrogazione", "comando");
    for (const auto& [nome, cartella] :
         {std::pair{u"piccolo"_s, &piccola}, std::pair{u"grande"_s, &grande}}) {
        const Tempi t = Misura(*cartella);
        std::printf("%-10s %8.2f %9.1f ms %13.1f ms %8.3f s\n", qPrintable(nome), t.megabyte, t.aperturaMs,
                    t.interrogazioneMs, t.comandoS);
        figure.insert(nome + u"_apertura_ms"_s, Arrotonda(t.aperturaMs, 1));
        figure.insert(nome + u"_interrogazione_ms"_s, Arrotonda(t.interrogazioneMs, 1));
        figure.insert(nome + u"_comando_s"_s, Arrotonda(t.comandoS, 3));
    }
    figure.insert(u"rapporto_comando"_s, Arrotonda(figure.value(u"grande_comando_s"_s).toDouble() /
                                                       figure.value(u"piccolo_comando_s"_s).toDouble(),
                                                   2));
    std::printf("%s\n", QJsonDocument(figure).toJson(QJsonDocument::Compact).constData());
    return 0;
}
