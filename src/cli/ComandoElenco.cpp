#include "cli/ComandoElenco.h"

#include "checks/ElaboraElenco.h"
#include "cli/OpzioniPagine.h"
#include "cli/RigaComando.h"
#include "core/CartellaProgramma.h"
#include "session/Sessione.h"

#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kUscitaInterrotta = 130; // 128 + SIGINT, as shells report it
constexpr int kLarghezzaBarra = 30;

int gSegnale[2] = {-1, -1}; // written by the signal handler, read in the event loop

void SuInterruzione(int)
{
    const char c = 1;
    [[maybe_unused]] const auto scritti = ::write(gSegnale[1], &c, 1);
}

// Ctrl+C raises the run's stop flag, once: a second one ends the program at once, as usual.
class Interruzione
{
public:
    explicit Interruzione(ElaboraElenco& elaborazione)
    {
        if (::pipe2(gSegnale, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        m_notifica = std::make_unique<QSocketNotifier>(gSegnale[0], QSocketNotifier::Read);
        QObject::connect(m_notifica.get(), &QSocketNotifier::activated, &elaborazione, [this, &elaborazione] {
            char c;
            while (::read(gSegnale[0], &c, 1) > 0) {
            }
            if (m_ricevuta)
                return;
            m_ricevuta = true;
            std::signal(SIGINT, SIG_DFL);
            QTextStream(stderr) << u"\nInterruzione: termino il codice in corso e registro le risposte.\n"_s;
            elaborazione.Ferma();
        });
        struct sigaction azione {
        };
        azione.sa_handler = SuInterruzione;
        sigemptyset(&azione.sa_mask);
        ::sigaction(SIGINT, &azione, &m_precedente);
    }
    ~Interruzione()
    {
        ::sigaction(SIGINT, &m_precedente, nullptr);
        m_notifica.reset();
        for (int& fd : gSegnale) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }
    Interruzione(const Interruzione&) = delete;
    Interruzione& operator=(const Interruzione&) = delete;

private:
    std::unique_ptr<QSocketNotifier> m_notifica;
    struct sigaction m_precedente {
    };
    bool m_ricevuta = false;
};

// A bar redrawn on one line when standard error is a terminal, one line per code otherwise.
class Avanzamento
{
public:
    Avanzamento() : m_terminale(::isatty(STDERR_FILENO) == 1) {}

    void Codice(int k, int totale, const QString& codice)
    {
        const QString conto = QString::number(k) + u'/' + QString::number(totale);
        if (!m_terminale) {
            m_err << conto << u' ' << codice << u'\n';
        } else {
            const int pieni = int(qint64(kLarghezzaBarra) * k / qMax(1, totale));
            m_err << u"\r\x1b[K["_s << QString(pieni, u'#') << QString(kLarghezzaBarra - pieni, u'-')
                  << u"] "_s << conto << u' ' << codice.left(40);
            m_aperta = true;
        }
        m_err.flush();
    }
    void Riga(const QString& testo)
    {
        Chiudi();
        m_err << testo << u'\n';
        m_err.flush();
    }
    void Chiudi()
    {
        if (m_aperta)
            m_err << u'\n';
        m_aperta = false;
    }

private:
    QTextStream m_err{stderr};
    bool m_terminale;
    bool m_aperta = false;
};

std::optional<UscitaElenco> UscitaDaTesto(const QString& testo)
{
    const QString t = testo.toLower();
    if (t == u"file"_s)
        return UscitaElenco::File;
    if (t == u"stampa"_s)
        return UscitaElenco::Stampa;
    if (t == u"db"_s)
        return UscitaElenco::DataBase;
    return std::nullopt;
}

int Uso(const QString& errore)
{
    QTextStream err(stderr);
    if (!errore.isEmpty())
        err << u"tarvel elenco: "_s << errore << u'\n';
    err << u"Uso: tarvel elenco FILE [--come file|stampa|db] [--salva CARTELLA] [--fonte pagina|vies] "
           u"[--parallelo N]\n"_s;
    return kUscitaUso;
}

} // namespace

QString ComandoElenco::Aiuto()
{
    return u"  elenco FILE [--come file|stampa|db] [--salva CARTELLA] [--fonte pagina|vies] [--parallelo N]\n"
           u"               controlla i codici del file di elenco come la finestra Elenco: scrive\n"
           u"               EsitiDaEle.txt nella cartella del programma (una riga per codice con\n"
           u"               file, un rapporto stampabile con stampa, vuoto con db), registra le\n"
           u"               risposte nel database e le unisce a PartiteIVA; senza --come vale la\n"
           u"               scelta salvata dalla finestra; --salva e --fonte come per verifica.\n"
           u"               --parallelo: pagine chieste insieme, da 1 a 6 (oltre 6 vale 6, le\n"
           u"               connessioni che Qt apre verso un server; al massimo 2 per Stato\n"
           u"               membro); senza, PARALLELO della sezione EleVat, o 4. Le risposte\n"
           u"               sono scritte comunque nell'ordine dell'elenco.\n"
           u"               Ctrl+C ferma tra un codice e l'altro.\n"
           u"               Uscita: 0 elenco finito, 9 servizio non raggiungibile, 130 fermato con\n"
           u"               Ctrl+C, 1 elenco mancante o vuoto, file dei risultati non creato, altro\n"
           u"               elenco in corso o unione non riuscita\n"_s;
}

int ComandoElenco::Esegui(const QStringList& argomenti)
{
    QCommandLineParser parser;
    const QCommandLineOption come(u"come"_s, {}, u"SCELTA"_s);
    const QCommandLineOption parallelo(u"parallelo"_s, {}, u"N"_s);
    parser.addOption(come);
    const OpzioniPagine pagineSalvate(parser);
    parser.addOption(parallelo);
    if (!parser.parse(argomenti))
        return Uso(parser.errorText());
    const QStringList file = parser.positionalArguments(); // the first argument, the command, is left out
    if (file.size() != 1)
        return Uso(file.isEmpty() ? QString() : u"un solo file di elenco"_s);
    std::optional<UscitaElenco> uscita;
    if (parser.isSet(come)) {
        uscita = UscitaDaTesto(parser.value(come));
        if (!uscita)
            return Uso(u"scelta sconosciuta: "_s + parser.value(come));
    }
    if (const QString errore = pagineSalvate.Errore(); !errore.isEmpty())
        return Uso(errore);
    std::optional<int> pagine;
    if (parser.isSet(parallelo)) {
        bool numero = false;
        pagine = parser.value(parallelo).toInt(&numero);
        if (!numero || *pagine < 1)
            return Uso(u"--parallelo vuole un numero intero da 1 a 6: "_s + parser.value(parallelo));
    }

    const std::unique_ptr<Sessione> sessione = ApriSessione(CartellaProgramma(), ModoSessione::Comando);
    RichiestaElenco richiesta;
    richiesta.politica = pagineSalvate.Applica(*sessione);
    richiesta.fileElenco = QFileInfo(file.first()).absoluteFilePath();
    richiesta.come = uscita.value_or(UscitaDaImpostazioni(sessione->impostazioni));
    // The run brings it within its bounds.
    richiesta.parallelo = pagine.value_or(ParalleloDaImpostazioni(sessione->impostazioni));
    if (richiesta.come == UscitaElenco::DataBase && !sessione->database.Aperto())
        richiesta.come = UscitaElenco::Stampa; // as the window does

    ElaboraElenco elaborazione(*sessione, std::move(richiesta));
    Avanzamento avanzamento;
    QObject::connect(&elaborazione, &ElaboraElenco::Iniziata, &elaborazione, [&](int totale) {
        avanzamento.Riga(u"Elaborazione di "_s + QString::number(totale) + u" VAT in corso ..."_s);
    });
    QObject::connect(
        &elaborazione, &ElaboraElenco::Interrogo, &elaborazione,
        [&](int k, int totale, const QString& codice) { avanzamento.Codice(k, totale, codice); });
    const Interruzione interruzione(elaborazione);
    QEventLoop ciclo;
    QObject::connect(&elaborazione, &ElaboraElenco::Conclusa, &ciclo, &QEventLoop::quit);
    elaborazione.Avvia();
    ciclo.exec();
    avanzamento.Chiudi();

    const EsitoElenco& esito = elaborazione.Esito();
    QTextStream out(stdout);
    switch (esito.fine) {
    case FineElenco::SenzaElenco:
        avanzamento.Riga(u"tarvel elenco: "_s + file.first() + u": elenco mancante, illeggibile o vuoto"_s);
        return 1;
    case FineElenco::UscitaMancante:
        avanzamento.Riga(u"tarvel elenco: impossibile creare "_s + FileEsitiElenco(sessione->cartella));
        return 1;
    case FineElenco::Occupata:
        return 1;
    default:
        break;
    }
    out << u"Codici elaborati: "_s << esito.elaborati << u'\n' << u"File dei risultati: "_s
        << QDir::toNativeSeparators(FileEsitiElenco(sessione->cartella)) << u'\n';
    if (esito.fusione == Fusione::Fallita)
        return 1;
    switch (esito.fine) {
    case FineElenco::NonRaggiungibile:
        return 9;
    case FineElenco::Fermata:
        return kUscitaInterrotta;
    default:
        return 0;
    }
}
