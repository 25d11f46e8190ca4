#include "checks/ElaboraElenco.h"
#include "core/Attese.h"
#include "core/BloccoFile.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/DialoghiProva.h"
#include "support/ServerProva.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray Vies(const QByteArray& nome, const QByteArray& fine, const QByteArray& data = "05/12/2026")
{
    QByteArray pagina =
        "<p class=\"vies_ok\">Partita IVA valida</p><th>Stato</th><td>IT</td><th>Denominazione</th><td>" +
        nome +
        "</td><th>Indirizzo</th><td>VIA PO 1</td><th>Inizio</th><td>01/02/1990</td>"
        "<th>Fine</th><td>" +
        fine + "</td><p class=\"vies_note\">Nota</p>";
    if (!data.isEmpty())
        pagina += "<p class=\"vies_date\">Data della richiesta: " + data + "</p>";
    return pagina;
}

const QString kValida = u"IT00743110157"_s;
const QString kCessata = u"IT01234567890"_s;
const QString kErrata = u"IT00000000000"_s;
const QString kMuta = u"IT22222222222"_s; // its page never comes: unknown to the server, a 404
const QString kMrn = u"26IT1234567890ABE7"_s;
const QString kMrnTransito = u"26IT1234567890ABT7"_s;
const QDateTime kAdesso(QDate(2026, 12, 6), QTime(9, 30, 0));

QString Percorso(const QString& codice)
{
    return u"/vies?stato="_s + codice.left(2) + u"&piva="_s + codice.mid(2);
}

QByteArray Trattini()
{
    return QByteArray(80, '-') + "\r\n";
}

QByteArray ViesValida(const QString& codice)
{
    return R"({"isValid":true,"requestDate":"2026-12-05T10:31:07.512Z","userError":"VALID","name":")" +
           codice.toLatin1() + R"(","address":"VIA PO 1","requestIdentifier":"W)" + codice.toLatin1() +
           R"(","vatNumber":")" + codice.mid(2).toLatin1() + R"(","countryCode":")" +
           codice.left(2).toLatin1() + R"("})";
}

// Distinct codes of a few member states, and MRNs, whose numbers are not a state.
QString Vat(const QString& stato, int n)
{
    return stato + QString::number(n).rightJustified(stato == u"DE"_s || stato == u"ES"_s ? 9 : 11, u'0');
}
QString Mrn(int n)
{
    return u"26IT"_s + QString::number(n).rightJustified(12, u'0') + u"E7"_s;
}

} // namespace

class TestElenco : public QObject
{
    Q_OBJECT

private:
    ServerProva m_server;
    std::unique_ptr<CartellaProva> m_cartella;
    std::unique_ptr<Sessione> m_sessione;
    DialoghiProva* m_dialoghi = nullptr;
    int m_iniziate = 0;

    QString Scrivi(const QString& nome, const QByteArray& contenuto)
    {
        QFile f(m_cartella->File(nome));
        f.open(QIODevice::WriteOnly);
        f.write(contenuto);
        return f.fileName();
    }
    QString Lista(const QByteArray& contenuto) { return Scrivi(u"lista.txt"_s, contenuto); }
    // Runs the list to its end; `prepara` may connect to the run's signals first.
    EsitoElenco Esegui(const QString& lista, UscitaElenco come,
                       const std::function<void(ElaboraElenco&)>& prepara = {}, int parallelo = 1)
    {
        RichiestaElenco richiesta{lista, come, m_sessione->Politica(kUsoElenco), [] { return kAdesso; },
                                  parallelo};
        ElaboraElenco elaborazione(*m_sessione, richiesta);
        connect(&elaborazione, &ElaboraElenco::Iniziata, this, [this] { ++m_iniziate; });
        if (prepara)
            prepara(elaborazione);
        QSignalSpy conclusa(&elaborazione, &ElaboraElenco::Conclusa);
        elaborazione.Avvia();
        if (!conclusa.wait(20000))
            qFatal("the list run did not end");
        return elaborazione.Esito();
    }
    QByteArray Uscita() const
    {
        QFile f(m_cartella->File(u"EsitiDaEle.txt"_s));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : "assente";
    }
    void Sql(const QString& sql) { QVERIFY(m_sessione->database.Esegui(sql)); }
    QStringList Righe(const QString& tabella, const QString& campi, const QString& ordine = u"Codice"_s)
    {
        QSqlQuery q(m_sessione->database.Connessione());
        q.exec(u"SELECT "_s + campi + u" FROM "_s + tabella + u" ORDER BY "_s + ordine);
        QStringList righe;
        while (q.next()) {
            QStringList campi;
            for (int i = 0; i < q.record().count(); ++i)
                campi << (q.isNull(i) ? u"NULL"_s : q.value(i).toString());
            righe << campi.join(u'|');
        }
        return righe;
    }

    void NuovaCartella()
    {
        m_sessione.reset();
        m_cartella = std::make_unique<CartellaProva>();
        m_cartella->IndirizziVerso(m_server, 5);
        m_sessione = ApriSessione(m_cartella->Percorso(), ModoSessione::Comando);
        m_dialoghi = DialoghiProva::Installa();
    }
    // Every code's page, each late by its own time so that answers come back in another order than
    // asked: the fifth one's comes last, after those of later codes, and the unreachable code's 404
    // later still. With `vies` about a third of the codes are found busy at first.
    void Pagine(const QStringList& codici, bool vies)
    {
        QRandomGenerator casuale(7);
        for (const QString& codice : codici) {
            PaginaProva pagina = PaginaProva::Html(Vies(codice.toLatin1(), ""));
            pagina.ritardoMs = codice == codici[4] ? 250 : int(casuale.bounded(120));
            if (codice == kMuta) {
                pagina.corpo = "Pagina non trovata";
                pagina.stato = 404;
                pagina.ritardoMs = 200;
                m_server.Imposta(Percorso(codice), pagina);
            } else if (NumeroMrn(codice)) {
                m_server.Imposta(u"/export?mrn="_s + codice, pagina); // not an export page: a reading error
                pagina.corpo = "<p class=\"err\">Per l'MRN: <b>X</b></p>non presente"; // another one
                m_server.Imposta(u"/transito?mrn="_s + codice, pagina);
            } else if (!vies) {
                m_server.Imposta(Percorso(codice), pagina);
            } else {
                pagina = PaginaProva::Html(ViesValida(codice), "application/json");
                PaginaProva occupato = PaginaProva::Html(
                    R"({"isValid":false,"userError":"MS_MAX_CONCURRENT_REQ"})", "application/json");
                occupato.ritardoMs = pagina.ritardoMs = int(casuale.bounded(120));
                const QString percorso = u"/ms/"_s + codice.left(2) + u"/vat/"_s + codice.mid(2);
                m_server.Imposta(percorso, casuale.bounded(3) == 0 ? QList{occupato, pagina} : QList{pagina});
            }
        }
    }
    // One run of `codici` in a program folder of its own, told as lines: the signals in order, with
    // the messages shown and the pages saved by each answer written, the end, EsitiDaEle.txt, the
    // rows in the order written, the merged table and the saved pages.
    QStringList Traccia(const QStringList& codici, int parallelo, UscitaElenco come, int fermaDopo, bool vies,
                        EsitoElenco& esito)
    {
        NuovaCartella();
        m_server.Svuota();
        Pagine(codici, vies);
        if (vies) {
            m_sessione->indirizzi.fonte = FonteVat::Vies;
            m_sessione->indirizzi.VatRest = m_server.Indirizzo(u"/ms/"_s).toString();
        }
        const QString cartella = m_cartella->File(u"pagine"_s);
        QDir().mkpath(cartella);
        m_sessione->parametriWeb.Save[kUsoElenco] = 1;
        m_sessione->parametriWeb.DirSave[kUsoElenco] = cartella;
        const auto salvate = [&] { return QDir(cartella).entryList(QDir::Files); };
        QStringList traccia;
        const auto prepara = [&](ElaboraElenco& e) {
            connect(&e, &ElaboraElenco::Interrogo, this, [&](int k, int totale, const QString& codice) {
                traccia << u"Interrogo %1/%2 %3"_s.arg(k).arg(totale).arg(codice);
            });
            connect(&e, &ElaboraElenco::Scritta, this, [&](int k, const RispostaQuery& r) {
                traccia << u"Scritta %1 %2, %3 messaggi, %4 pagine salvate"_s.arg(k)
                               .arg(r.numero)
                               .arg(m_dialoghi->Messaggi().size())
                               .arg(salvate().size());
                if (k == fermaDopo)
                    e.Ferma();
            });
        };
        esito = Esegui(Lista(codici.join(u"\r\n"_s).toLatin1()), come, prepara, parallelo);
        traccia << u"Fine %1 dopo %2, fusione %3"_s.arg(int(esito.fine))
                       .arg(esito.elaborati)
                       .arg(int(esito.fusione));
        traccia += QString::fromLatin1(Uscita()).split(u'\n'); // byte for byte
        traccia += Righe(u"WKPartiteIVA"_s, u"*"_s, u"rowid"_s);
        traccia += Righe(u"PartiteIVA"_s, u"*"_s);
        for (const QString& file : salvate()) {
            QFile f(cartella + u'/' + file);
            f.open(QIODevice::ReadOnly);
            traccia << file + u": "_s + QString::fromLatin1(f.readAll());
        }
        return traccia;
    }
    // The most requests being answered at once, of any code and of one member state.
    std::pair<int, int> Contemporanee() const
    {
        int tutte = 0, perStato = 0;
        for (const QStringList& aperte : m_server.Contemporanee()) {
            tutte = std::max(tutte, int(aperte.size()));
            for (const QString& a : aperte) {
                if (a.startsWith(u"/vies?stato="_s))
                    perStato = std::max(perStato, int(aperte.filter(a.left(14)).size()));
            }
        }
        return {tutte, perStato};
    }

private Q_SLOTS:
    void init()
    {
        m_server.Svuota();
        m_server.Imposta(Percorso(kValida), PaginaProva::Html(Vies("ROSSI SOCIET&agrave; SRL", "")));
        m_server.Imposta(Percorso(kCessata), PaginaProva::Html(Vies("BIANCHI SPA", "31/12/2020", "")));
        m_server.Imposta(Percorso(kErrata), PaginaProva::Html("<p class=\"vies_er\">Numero non valido</p>"));
        m_server.Imposta(u"/export"_s, PaginaProva::Html("<i class=\"outexport1\">MRN&nbsp;</i>"
                                                         "<i class=\"outexport2\">26IT</i>"
                                                         "<i class=\"outexport1\">Stato&nbsp;</i>"
                                                         "<i class=\"outexport2\">USCITA</i>"
                                                         "<i class=\"outexport1\">&nbsp;</i>"
                                                         "<i class=\"outexport2\">3/12</i>"));
        NuovaCartella();
        m_iniziate = 0;
        QLocale::setDefault(QLocale::c());
        Attese().viesPausaMs = 10;
    }
    void cleanup() { m_sessione.reset(); }

    // The items as the run queries them, whether the file comes whole or a byte at a time.
    void lettura_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QStringList>("voci");
        QTest::newRow("description after a blank")
            << QByteArray("it123 Rossi srl\r\n") << QStringList{u"IT123"_s};
        QTest::newRow("comma in a description")
            << QByteArray("IT123 Rossi, srl\r\n") << QStringList{u"IT123"_s, u"SRL"_s};
        QTest::newRow("quoted items")
            << QByteArray("\"it1,2\" ,  \"DE3\"x,\r\n") << QStringList{u"IT1,2"_s, u"DE3"_s, QString()};
        QTest::newRow("blank lines") << QByteArray("A\r\n\r\n\n \nB")
                                     << QStringList{u"A"_s, {}, {}, {}, u"B"_s};
        QTest::newRow("final line end") << QByteArray("A\n") << QStringList{u"A"_s};
        QTest::newRow("trailing comma") << QByteArray("A,\nB,") << QStringList{u"A"_s, {}, u"B"_s, {}};
        QTest::newRow("tabs") << QByteArray("\tIT1\tROSSI\n") << QStringList{u"IT1"_s};
        QTest::newRow("lone CR") << QByteArray("A\rB\r\n") << QStringList{u"A"_s, u"B"_s};
        QTest::newRow("quote that never closes")
            << QByteArray("\"IT1, 2\nDE3") << QStringList{u"IT1,"_s, u"DE3"_s};
        QTest::newRow("Windows-1252") << QByteArray("\xE8x \xE0") << QStringList{u"ÈX"_s};
        QTest::newRow("UTF-8 with its mark")
            << QByteArray("\xEF\xBB\xBF\xC3\xA8x,IT1") << QStringList{u"ÈX"_s, u"IT1"_s};
        QTest::newRow("over 1000 characters") << QByteArray("IT" + QByteArray(5000, '1') + ",DE1")
                                              << QStringList{u"IT"_s + QString(998, u'1'), u"DE1"_s};
        QTest::newRow("cut between the halves of a character")
            << "\xEF\xBB\xBFx" + QString(u"\U0001F600"_s).repeated(600).toUtf8()
            << QStringList{u"X"_s + QString(u"\U0001F600"_s).repeated(499)};
    }
    void lettura()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QStringList, voci);
        QStringList intere;
        for (const QString& v : VociElenco(contenuto))
            intere << NormalizzaVoce(v);
        QCOMPARE(intere, voci);

        ScomposizioneElenco scomposizione;
        QList<QString> aByte;
        for (const char c : std::as_const(contenuto))
            scomposizione.Aggiungi(QByteArrayView(&c, 1), aByte);
        scomposizione.Chiudi(aByte);
        QCOMPARE(aByte, VociElenco(contenuto));
    }

    // EsitiDaEle.txt in its three forms, byte for byte: Windows-1252, CR LF, no header.
    void formati_data()
    {
        QTest::addColumn<int>("come");
        QTest::addColumn<QByteArray>("uscita");
        const QByteArray valida =
            "IT00743110157|Partita IVA valida|IT|ROSSI SOCIET\xE0 SRL|VIA PO 1|01/02/1990||"
            "Nota|05/12/2026|" +
            QByteArray(11, '|') + "\r\n";
        QTest::newRow("FILE") << 0
                              << valida + "IT1|" + QByteArray(19, '|') + "\r\nIT00000000000|" +
                                     QByteArray(19, '|') + "\r\n";
        QTest::newRow("Stampa") << 1
                                << "1) Risultato Partita IVA: IT00743110157\r\nEsito: Partita IVA valida\r\n"
                                   "Stato IT\r\nDenominazione ROSSI SOCIET\xE0 SRL\r\nIndirizzo VIA PO 1\r\n"
                                   "Inizio 01/02/1990\r\n Nota\r\n" +
                                       Trattini() + "2) Risultato Partita IVA: IT1\r\n" + Trattini() +
                                       "3) Risultato Partita IVA: IT00000000000\r\n" + Trattini();
        QTest::newRow("D.B.") << 2 << QByteArray();
    }
    void formati()
    {
        QFETCH(int, come);
        QFETCH(QByteArray, uscita);
        QStringList numeri;
        const EsitoElenco esito =
            Esegui(Lista("it00743110157 Rossi\r\n\r\nIT1\r\n,IT00000000000\r\n"), UscitaElenco(come),
                   [&](ElaboraElenco& e) {
                       connect(&e, &ElaboraElenco::Interrogo, this,
                               [&](int k, int totale) { numeri << u"%1/%2"_s.arg(k).arg(totale); });
                   });
        // Empty items count in the total, without a number of their own.
        QCOMPARE(numeri, (QStringList{u"1/5"_s, u"2/5"_s, u"3/5"_s}));
        QCOMPARE(esito.elaborati, 3);
        QCOMPARE(esito.fine, FineElenco::Completa);
        QCOMPARE(Uscita(), uscita);
    }

    // "#,##0" groups thousands as the system's locale does.
    void numerazione_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QByteArray>("millesimo");
        QTest::newRow("it_IT") << QLocale(QLocale::Italian, QLocale::Italy) << QByteArray("\r\n1.000) ");
        QTest::newRow("C") << QLocale::c() << QByteArray("\r\n1,000) ");
    }
    void numerazione()
    {
        QFETCH(QLocale, locale);
        QFETCH(QByteArray, millesimo);
        QLocale::setDefault(locale);
        m_sessione->database.Chiudi(); // nothing stored, the file still written
        QByteArray lista;
        for (int i = 1; i <= 1000; ++i)
            lista += "X" + QByteArray::number(i) + "\r\n";
        QCOMPARE(Esegui(Lista(lista), UscitaElenco::Stampa).elaborati, 1000);
        QVERIFY(Uscita().contains(QByteArray(millesimo + "Risultato Partita IVA: X1000\r\n")));
        QVERIFY(Uscita().contains("\r\n999) Risultato Partita IVA: X999\r\n"));
    }

    // Fields and outcome classes; a code twice keeps its later answer; an MRN is stored the same way.
    void campi()
    {
        const QString lista =
            Lista((u"IT00743110157\nIT01234567890\nIT00000000000\nFR1\n"_s + kMrn + u"\nit00743110157\n"_s)
                      .toLatin1());
        Esegui(lista, UscitaElenco::File, [this](ElaboraElenco& e) {
            connect(&e, &ElaboraElenco::Scritta, this, [this](int k) {
                if (k == 1)
                    m_server.Imposta(Percorso(kValida),
                                     PaginaProva::Html(Vies("ROSSI SRL", "-", "7/1/2027")));
            });
        });
        const QStringList attese{
            u"26IT1234567890ABE7|26|IT1234567890ABE7| | | |NULL|NULL|0|2026-12-06 09:30:00"_s,
            u"FR1|FR|1|Lunghezza VAT errata 11-11 | | |NULL|NULL|1|2026-12-06 09:30:00"_s,
            u"IT00000000000|IT|00000000000|Numero non valido | | |NULL|NULL|1|2026-12-06 09:30:00"_s,
            u"IT00743110157|IT|00743110157|Partita IVA valida |ROSSI SRL |VIA PO 1 |1990-02-01 "
            u"00:00:00|NULL|0|"
            u"2027-01-07 00:00:00"_s,
            u"IT01234567890|IT|01234567890|Partita IVA valida |BIANCHI SPA |VIA PO 1 |1990-02-01 00:00:00|"
            u"2020-12-31 00:00:00|2|2026-12-06 09:30:00"_s};
        const QString campi =
            u"Codice, Nazione, VAT, Esito, Denominazione, Indirizzo, Inizio, Fine, OK, DataRichiesta"_s;
        QCOMPARE(Righe(u"WKPartiteIVA"_s, campi), attese);
        QCOMPARE(Righe(u"PartiteIVA"_s, campi), attese);
    }

    // The work table is emptied when a run starts, never after the merge; the merge replaces the rows
    // of the codes answered and keeps all others. An answer of the EU's VIES service keeps its
    // consultation number; others have none.
    void fusione()
    {
        m_sessione->indirizzi.fonte = FonteVat::Vies;
        m_sessione->indirizzi.VatRest = m_server.Indirizzo(u"/ms/"_s).toString();
        m_server.Imposta(u"/ms/IT/vat/00743110157"_s,
                         PaginaProva::Html(ViesValida(kValida), "application/json"));
        Sql(u"INSERT INTO PartiteIVA (Codice, Esito, OK) VALUES ('IT00743110157', 'Vecchio ', 1), "
            u"('DE123456789', 'Altro ', 0)"_s);
        Sql(u"INSERT INTO WKPartiteIVA (Codice, Consultazione) VALUES ('FR00000000000', 'VECCHIO')"_s);
        QCOMPARE(Esegui(Lista("IT00743110157,FR1"), UscitaElenco::DataBase).fusione, Fusione::Riuscita);
        QCOMPARE(
            Righe(u"PartiteIVA"_s, u"Codice, Esito, OK, Consultazione, DataRichiesta"_s),
            (QStringList{u"DE123456789|Altro |0|NULL|NULL"_s,
                         u"FR1|Lunghezza VAT errata 11-11 |1|NULL|2026-12-06 09:30:00"_s,
                         u"IT00743110157|Sì, numero IVA valido |0|WIT00743110157|2026-12-05 00:00:00"_s}));
        QCOMPARE(Righe(u"WKPartiteIVA"_s, u"Codice"_s), (QStringList{u"FR1"_s, kValida}));
    }

    // The stop at an unreachable page (whose item still counts) and the stop flag, seen between codes:
    // what was written before is merged.
    void fermate_data()
    {
        QTest::addColumn<QString>("lista");
        QTest::addColumn<QString>("fermaA"); // the signal and item at which the stop flag goes up
        QTest::addColumn<int>("k");
        QTest::addColumn<FineElenco>("fine");
        QTest::addColumn<QStringList>("fusi");
        const QString tre = kValida + u",FR1,"_s + kCessata;
        QTest::newRow("unreachable third") << kValida + u",FR1,"_s + kMuta + u',' + kCessata << QString() << 3
                                           << FineElenco::NonRaggiungibile << QStringList{u"FR1"_s, kValida};
        QTest::newRow("server that hangs") << kValida + u",IT33333333333,FR1"_s << QString() << 2
                                           << FineElenco::NonRaggiungibile << QStringList{kValida};
        QTest::newRow("unreachable first")
            << kMuta + u',' + kValida << QString() << 1 << FineElenco::NonRaggiungibile << QStringList();
        QTest::newRow("stop after the second")
            << tre << u"Scritta 2"_s << 2 << FineElenco::Fermata << QStringList{u"FR1"_s, kValida};
        QTest::newRow("stop while the first is asked")
            << tre << u"Interrogo 1"_s << 1 << FineElenco::Fermata << QStringList{kValida};
    }
    void fermate()
    {
        QFETCH(QString, lista);
        QFETCH(QString, fermaA);
        QFETCH(int, k);
        QFETCH(FineElenco, fine);
        QFETCH(QStringList, fusi);
        const auto ferma = [fermaA](ElaboraElenco& e, const QString& segnale, int n) {
            if (fermaA == segnale + u' ' + QString::number(n))
                e.Ferma();
        };
        PaginaProva muta;
        muta.maiRisposta = true;
        m_server.Imposta(Percorso(u"IT33333333333"_s), muta);
        m_sessione->client.ImpostaTempoMassimo(std::chrono::milliseconds(1000));
        int scritti = 0;
        const EsitoElenco esito = Esegui(Lista(lista.toLatin1()), UscitaElenco::File, [&](ElaboraElenco& e) {
            connect(&e, &ElaboraElenco::Interrogo, this, [&](int n) { ferma(e, u"Interrogo"_s, n); });
            connect(&e, &ElaboraElenco::Scritta, this, [&](int n) {
                ++scritti;
                ferma(e, u"Scritta"_s, n);
            });
        });
        QCOMPARE(esito.elaborati, k);
        QCOMPARE(esito.fine, fine);
        QCOMPARE(esito.fusione, Fusione::Riuscita);
        QCOMPARE(scritti, fusi.size());
        QCOMPARE(Uscita().count("\r\n"), fusi.size());
        QCOMPARE(Righe(u"PartiteIVA"_s, u"Codice"_s), fusi);
        QVERIFY(!m_server.Richieste().contains(Percorso(lista.section(u',', k, k)))); // nothing asked after
    }

    // Any bytes at all, a line of 10 MB: every item is queried or gets its format message.
    void ostile()
    {
        m_server.Imposta(u"/vies"_s, PaginaProva::Html(Vies("ROSSI", "")));
        QByteArray lista = "IT1 " + QByteArray(10 * 1024 * 1024, 'x') + "\r\n" + kValida.toLatin1() + "\r\n";
        QRandomGenerator casuale(13);
        for (int i = 0; i < 20000; ++i)
            lista += char(casuale.bounded(256));
        int scritte = 0;
        QSet<QString> codici;
        const EsitoElenco esito = Esegui(Lista(lista), UscitaElenco::File, [&](ElaboraElenco& e) {
            connect(&e, &ElaboraElenco::Scritta, this, [&](int, const RispostaQuery& r) {
                ++scritte;
                codici.insert(r.numero);
            });
        });
        QCOMPARE(esito.fine, FineElenco::Completa);
        QVERIFY(esito.elaborati > 100);
        QCOMPARE(scritte, esito.elaborati);
        QCOMPARE(Righe(u"PartiteIVA"_s, u"Codice"_s).size(), codici.size());
        QVERIFY(m_server.Richieste().contains(Percorso(kValida)));
    }

    // A run that cannot start touches neither the output file nor the tables; a list of only empty
    // items still runs: a new empty output, an emptied work table, 0.
    void partenza_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<FineElenco>("fine");
        QTest::addColumn<QString>("titolo"); // of the one message shown, "" for none
        QTest::newRow("missing list") << u"mancante"_s << FineElenco::SenzaElenco << QString();
        QTest::newRow("empty list") << u"vuoto"_s << FineElenco::SenzaElenco << QString();
        QTest::newRow("list held by another program")
            << u"bloccata"_s << FineElenco::SenzaElenco << u"Errori su  "_s;
        QTest::newRow("another run going")
            << u"occupata"_s << FineElenco::Occupata << u"ELENCO GIA' IN CORSO"_s;
        QTest::newRow("output cannot be created") << u"cartella"_s << FineElenco::UscitaMancante << QString();
        QTest::newRow("only empty items") << u"vuote"_s << FineElenco::Completa << QString();
    }
    void partenza()
    {
        QFETCH(QString, caso);
        QFETCH(FineElenco, fine);
        QFETCH(QString, titolo);
        Sql(u"INSERT INTO WKPartiteIVA (Codice) VALUES ('IT1')"_s);
        const QString uscita = m_cartella->File(u"EsitiDaEle.txt"_s);
        if (caso == u"cartella"_s)
            QVERIFY(QDir().mkpath(uscita + u"/dentro"_s));
        else
            Scrivi(u"EsitiDaEle.txt"_s, "precedente");
        QString lista = Lista(caso == u"vuoto"_s   ? QByteArray()
                              : caso == u"vuote"_s ? QByteArray(" \r\n,,\r\n\"\"\r\n")
                                                   : QByteArray("IT1\n"));
        if (caso == u"mancante"_s)
            lista += u".no"_s;
        BloccoFile altro;
        if (caso == u"occupata"_s)
            QVERIFY(altro.Prendi(FileBloccoElenco(m_cartella->Percorso())));
        if (caso == u"bloccata"_s) {
            QVERIFY(altro.Prendi(lista));
            m_dialoghi->ProssimaRisposta(Risposta::Annulla);
            titolo += lista;
        }

        const EsitoElenco esito = Esegui(lista, UscitaElenco::File);
        const bool corsa = fine == FineElenco::Completa;
        QCOMPARE(esito.elaborati, 0);
        QCOMPARE(esito.fine, fine);
        QCOMPARE(esito.fusione, corsa ? Fusione::Riuscita : Fusione::Nessuna);
        QCOMPARE(m_iniziate, corsa ? 1 : 0);
        QCOMPARE(Righe(u"WKPartiteIVA"_s, u"Codice"_s), corsa ? QStringList() : QStringList{u"IT1"_s});
        if (caso != u"cartella"_s)
            QCOMPARE(Uscita(), corsa ? QByteArray() : QByteArray("precedente"));
        QCOMPARE(m_dialoghi->Messaggi().isEmpty() ? QString() : m_dialoghi->Messaggi().last().titolo, titolo);
        QVERIFY(m_server.Richieste().isEmpty());
    }

    // A merge statement that fails is reported and undoes the other one.
    void fusioneFallita()
    {
        Sql(u"INSERT INTO PartiteIVA (Codice, Esito) VALUES ('IT00743110157', 'Vecchio ')"_s);
        Sql(u"CREATE TRIGGER blocca BEFORE INSERT ON PartiteIVA WHEN NEW.Codice = 'FR1' "
            u"BEGIN SELECT RAISE(ABORT, 'riga rifiutata'); END"_s);
        QCOMPARE(Esegui(Lista("IT00743110157,FR1"), UscitaElenco::File).fusione, Fusione::Fallita);
        QCOMPARE(Righe(u"PartiteIVA"_s, u"Codice, Esito"_s), QStringList{u"IT00743110157|Vecchio "_s});
        QCOMPARE(m_dialoghi->Messaggi().size(), 1);
        QCOMPARE(m_dialoghi->Messaggi()[0].titolo, u"ERRORE IN AGGIORNAMENTO TABELLA PartiteIVA"_s);
        QVERIFY(m_dialoghi->Messaggi()[0].testo.contains(u"riga rifiutata"_s));
    }

    // Without its work table the run asks to retry; on Cancel it still writes its file and merges nothing.
    void senzaTabellaLavoro()
    {
        Sql(u"DROP TABLE WKPartiteIVA"_s);
        Sql(u"INSERT INTO PartiteIVA (Codice, Esito) VALUES ('FR1', 'Vecchio ')"_s);
        m_dialoghi->ProssimaRisposta(Risposta::Riprova);
        m_dialoghi->ProssimaRisposta(Risposta::Annulla);
        const EsitoElenco esito = Esegui(Lista("FR1"), UscitaElenco::File);
        QCOMPARE(esito.elaborati, 1);
        QCOMPARE(esito.fusione, Fusione::Nessuna);
        QCOMPARE(Uscita(), "FR1|" + QByteArray(19, '|') + "\r\n");
        QCOMPARE(m_dialoghi->Messaggi().size(), 2);
        QCOMPARE(m_dialoghi->Messaggi()[1].titolo, u"ERRORE IN APERTURA TABELLA PartiteIVA"_s);
        QCOMPARE(Righe(u"PartiteIVA"_s, u"Codice, Esito"_s), QStringList{u"FR1|Vecchio "_s});
    }

    // Several pages at once leave exactly what one page at a time leaves, though the answers come
    // back in another order: what a run writes and shows, and when. Where a run ends early, pages
    // fetched for later codes are dropped.
    void parallelo_data()
    {
        QTest::addColumn<QStringList>("codici");
        QTest::addColumn<int>("parallelo");
        QTest::addColumn<UscitaElenco>("come");
        QTest::addColumn<int>("fermaDopo"); // the stop flag goes up as this item is written; 0 never
        QTest::addColumn<bool>("vies");
        QTest::addColumn<FineElenco>("fine");
        QStringList codici;
        const QStringList stati{u"IT"_s, u"DE"_s, u"FR"_s, u"IT"_s, u"ES"_s, u"IT"_s};
        for (int i = 1; i <= 18; ++i)
            codici << Vat(stati[i % stati.size()], i);
        codici.insert(3, u"FR1"_s); // malformed: answered at once
        codici.insert(6, kMrn);
        codici.insert(9, kMrnTransito); // messages about both its pages
        codici.insert(12, codici[1]);   // a code twice
        codici.insert(15, u"X9"_s);
        QStringList conMuta = codici;
        conMuta.insert(11, kMuta);
        QTest::newRow("P 4") << codici << 4 << UscitaElenco::File << 0 << false << FineElenco::Completa;
        QTest::newRow("P 6, Stampa") << codici << 6 << UscitaElenco::Stampa << 0 << false
                                     << FineElenco::Completa;
        QTest::newRow("unreachable in the middle")
            << conMuta << 6 << UscitaElenco::File << 0 << false << FineElenco::NonRaggiungibile;
        QTest::newRow("stop after the fifth")
            << codici << 4 << UscitaElenco::File << 5 << false << FineElenco::Fermata;
        QTest::newRow("VIES, busy at first")
            << codici << 4 << UscitaElenco::File << 0 << true << FineElenco::Completa;
    }
    void parallelo()
    {
        QFETCH(QStringList, codici);
        QFETCH(int, parallelo);
        QFETCH(UscitaElenco, come);
        QFETCH(int, fermaDopo);
        QFETCH(bool, vies);
        QFETCH(FineElenco, fine);
        EsitoElenco esito;
        const QStringList attesa = Traccia(codici, 1, come, fermaDopo, vies, esito);
        const qsizetype richieste = m_server.Richieste().size();
        QCOMPARE(esito.fine, fine);
        QCOMPARE(Contemporanee().first, 1);

        QCOMPARE(Traccia(codici, parallelo, come, fermaDopo, vies, esito), attesa);
        QVERIFY(Contemporanee().first > 1 && Contemporanee().first <= parallelo);
        // Where the run ends early, pages of later codes were fetched too, and dropped.
        QCOMPARE(m_server.Richieste().size() > richieste, fine != FineElenco::Completa);
    }

    // At most P pages at once, at most two of one member state; an MRN begins with a year, not a
    // state. P is 1 when pages are shown, and never above 6: Qt's network manager would hold back a
    // seventh page to one host, its time limit already running. Pages waiting for their turn never
    // run into the time limit, however long the run.
    void limiti_data()
    {
        QTest::addColumn<QStringList>("codici");
        QTest::addColumn<int>("parallelo");
        QTest::addColumn<bool>("mostrate");
        QTest::addColumn<int>("insieme");  // the most pages asked at once
        QTest::addColumn<int>("perStato"); // the most of one member state at once
        QStringList misti, italiani, mrn;
        for (int i = 1; i <= 12; ++i) {
            misti << (i % 3 == 0 ? Mrn(i) : Vat(i % 3 == 1 ? u"IT"_s : u"DE"_s, i));
            italiani << Vat(u"IT"_s, i);
            mrn << Mrn(i);
        }
        QTest::newRow("two states and MRNs") << misti << 6 << false << 6 << 2;
        QTest::newRow("one state") << italiani.first(6) << 6 << false << 2 << 2;
        QTest::newRow("only MRNs") << mrn.first(8) << 4 << false << 4 << 0;
        QTest::newRow("above 6") << mrn.first(10) << 10 << false << 6 << 0;
        QTest::newRow("pages shown") << misti.first(4) << 4 << true << 1 << 1;
        QTest::newRow("one at a time, longer than the time limit") << misti.first(4) << 1 << false << 1 << 1;
    }
    void limiti()
    {
        QFETCH(QStringList, codici);
        QFETCH(int, parallelo);
        QFETCH(bool, mostrate);
        QFETCH(int, insieme);
        QFETCH(int, perStato);
        PaginaProva lenta = PaginaProva::Html(Vies("ROSSI", ""));
        lenta.ritardoMs = 400;
        m_server.Imposta(u"/vies"_s, lenta);
        m_server.Imposta(u"/export"_s, lenta);
        m_sessione->client.ImpostaLimitePerHost(10);
        m_sessione->client.ImpostaTempoMassimo(std::chrono::milliseconds(700));
        m_sessione->parametriWeb.View[kUsoElenco] = mostrate;
        const EsitoElenco esito =
            Esegui(Lista(codici.join(u',').toLatin1()), UscitaElenco::File, {}, parallelo);
        QCOMPARE(esito.fine, FineElenco::Completa);
        QCOMPARE(esito.elaborati, codici.size());
        QCOMPARE(Contemporanee(), std::make_pair(insieme, perStato));
    }
};

QTEST_GUILESS_MAIN(TestElenco)
#include "tst_Elenco.moc"
