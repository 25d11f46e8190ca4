#include "app/Globali.h"
#include "core/FileIni.h"
#include "support/DialoghiProva.h"
#include "web/GetHtmPage.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct RigaVies {
    QString titolo;
    QString valore;
};

// A VIES answer page as the revenue agency writes it.
QString PaginaVies(const QString& esito, const QList<RigaVies>& righe, const QString& nota,
                   const QString& data)
{
    QString t =
        u"<html><body><div id=\"vies\">\r\n<p class=\"vies_ok\">"_s + esito + u"</p>\r\n<table>\r\n"_s;
    for (const RigaVies& r : righe)
        t += u"<tr><th>"_s + r.titolo + u"</th><td>"_s + r.valore + u"</td></tr>\r\n"_s;
    t += u"</table>\r\n"_s;
    if (!nota.isNull())
        t += u"<p class=\"vies_note\">"_s + nota + u"</p>\r\n"_s;
    if (!data.isNull())
        t += u"<p class=\"vies_date\">Data della richiesta: "_s + data + u"</p>\r\n"_s;
    return t + u"</div></body></html>"_s;
}

QList<RigaVies> Righe(const QString& nome, const QString& indirizzo, const QString& fine = u"-"_s)
{
    return {{u"Stato membro"_s, u"IT"_s},
            {u"Denominazione"_s, nome},
            {u"Indirizzo"_s, indirizzo},
            {u"Data inizio attivit&agrave;"_s, u"01/02/1990"_s},
            {u"Data fine attivit&agrave;"_s, fine}};
}

} // namespace

class TestLettura : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    DialoghiProva* m_dialoghi = nullptr;

private Q_SLOTS:
    void init()
    {
        gFileIni = m_dir.filePath(u"tarvel.ini"_s);
        QFile::remove(gFileIni);
        m_dialoghi = DialoghiProva::Installa();
    }

    void vies_data()
    {
        QTest::addColumn<QString>("pagina");
        QTest::addColumn<bool>("risultato");
        QTest::addColumn<QStringList>("titoli"); // 1..7
        QTest::addColumn<QStringList>("esiti");  // 1..8

        // Titolo 7 stays empty: the labels end with the table.
        const QStringList titoli =
            u"Esito:|Stato membro|Denominazione|Indirizzo|Data inizio attività|Data fine attività|"_s.split(
                u'|');
        QTest::newRow("valid") << PaginaVies(u"Partita IVA valida"_s,
                                             Righe(u"ROSSI SRL"_s, u"VIA ROMA 1 20100 MILANO"_s),
                                             u"Nota: dati forniti dallo Stato membro"_s,
                                             u"05/12/2026 10:31"_s)
                               << true << titoli
                               << QStringList{u"Partita IVA valida"_s,
                                              u"IT"_s,
                                              u"ROSSI SRL"_s,
                                              u"VIA ROMA 1 20100 MILANO"_s,
                                              u"01/02/1990"_s,
                                              u"-"_s,
                                              u"Nota: dati forniti dallo Stato membro"_s,
                                              u"05/12/2026 10:31"_s};
        QTest::newRow("ceased, cleaned values")
            << PaginaVies(u"Partita IVA non attiva"_s,
                          Righe(u"CAF&Egrave; <strong>BAR</strong>? \u0141ODZ"_s,
                                u"VIA\r\nPO 2\n10100 TORINO"_s, u"31/12/2020"_s),
                          u"n"_s, u"05/12/2026"_s)
            << true << titoli
            << QStringList{u"Partita IVA non attiva"_s,
                           u"IT"_s,
                           u"CAF&Egrave; BARe' s e' sODZ"_s,
                           u"VIAPO 210100 TORINO"_s,
                           u"01/02/1990"_s,
                           u"31/12/2020"_s,
                           u"n"_s,
                           u"05/12/2026"_s};
        QTest::newRow("no note, so no date")
            << PaginaVies(u"ok"_s, Righe(u"A"_s, u"B"_s), QString(), u"05/12/2026"_s) << true << titoli
            << QStringList{u"ok"_s, u"IT"_s, u"A"_s, u"B"_s, u"01/02/1990"_s, u"-"_s, QString(), QString()};
        QTest::newRow("service error")
            << u"<p class=\"vies_er\">  Servizio non disponibile, riprovare  </p><table><th>x</th></table>"_s
            << false
            << QStringList{QString(), u"*** Servizio non disponibile, riprovare"_s, {}, {}, {}, {}, {}}
            << QStringList(8);
        QTest::newRow("empty date after lead-in")
            << PaginaVies(u"ok"_s, Righe(u"A"_s, u"B"_s), u"n"_s, u""_s) << true << titoli
            << QStringList{u"ok"_s, u"IT"_s, u"A"_s, u"B"_s, u"01/02/1990"_s, u"-"_s, u"n"_s, QString()};
    }
    void vies()
    {
        QFETCH(QString, pagina);
        QFETCH(bool, risultato);
        QFETCH(QStringList, titoli);
        QFETCH(QStringList, esiti);
        GetHtmPage p;
        p.ImpostaTestoPagina(pagina);
        QCOMPARE(p.xGetVat(true), risultato);
        QStringList letti;
        for (int j = 1; j <= 7; ++j)
            letti << p.pgTitolo(j);
        QCOMPARE(letti, titoli);
        letti.clear();
        for (int j = 1; j <= 8; ++j)
            letti << p.pgEsito(j);
        QCOMPARE(letti, esiti);
        QCOMPARE(p.pgEsito(0), QString());
        QCOMPARE(p.pgTitolo(0), QString());
    }

    void viesIlleggibile_data()
    {
        QTest::addColumn<QString>("pagina");
        QTest::addColumn<int>("codice");
        const QString valida = PaginaVies(u"ok"_s, Righe(u"A"_s, u"B"_s), u"n"_s, u"05/12/2026"_s);
        QTest::newRow("no marker") << u"<html><body>Errore interno del server</body></html>"_s << 5;
        QTest::newRow("server error page") << u"<h1>502 Bad Gateway</h1>"_s << 5;
        QTest::newRow("empty page") << QString() << 5;
        QTest::newRow("only four rows")
            << PaginaVies(u"ok"_s, Righe(u"A"_s, u"B"_s).mid(1), u"n"_s, u"d"_s) << 5;
        QTest::newRow("end marker beyond the cut")
            << PaginaVies(u"ok"_s, Righe(QString(160, u'N'), u"B"_s), u"n"_s, u"d"_s) << 5;
        QTest::newRow("date paragraph shorter than its lead-in")
            << QString(valida).replace(u"Data della richiesta: 05/12/2026"_s, u"breve"_s) << 5;
        QTest::newRow("marker beyond 32767") << QString(32760, u' ') + valida << 6;
        QTest::newRow("error marker beyond 32767")
            << QString(32760, u' ') + u"<p class=\"vies_er\">x</p>"_s << 6;
    }
    void viesIlleggibile()
    {
        QFETCH(QString, pagina);
        QFETCH(int, codice);
        GetHtmPage p;
        p.ImpostaTestoPagina(pagina);
        try {
            p.xGetVat(true);
            QFAIL("the page was read");
        } catch (const GetHtmPage::ErroreLettura& e) {
            QCOMPARE(e.codice, codice);
        }
    }

    void posizioneAlLimite()
    {
        // A marker ending exactly at 32767 still fits; one character later it does not.
        const QString coda = u"ok</p><th>a</th><td>b</td><th>a</th><td>b</td><th>a</th><td>b</td>"
                             u"<th>a</th><td>b</td><th>a</th><td>b</td>"_s;
        GetHtmPage p;
        p.ImpostaTestoPagina(QString(32767 - 16, u' ') + u"class=\"vies_ok\">"_s + coda);
        QVERIFY_THROWS_EXCEPTION(GetHtmPage::ErroreLettura, p.xGetVat(true));
        p.ImpostaTestoPagina(QString(32767 - 17, u' ') + u"class=\"vies_ok\">"_s + coda);
        QVERIFY_THROWS_EXCEPTION(GetHtmPage::ErroreLettura, p.xGetVat(true)); // <th> lies past 32767
        p.ImpostaTestoPagina(QString(32000, u' ') + u"class=\"vies_ok\">"_s + coda);
        QVERIFY(p.xGetVat(true));
        QCOMPARE(p.pgEsito(6), u"b"_s);
    }

    void sostituzioneSoloNellaLunghezzaOriginale()
    {
        // Each "?" grows the cut by three characters, but the scan stops at the original length.
        GetHtmPage p;
        p.ImpostaTestoPagina(u"class=\"vies_er\">??ab?</p>"_s);
        QVERIFY(!p.xGetVat(true));
        QCOMPARE(p.pgTitolo(2), u"*** e' se' sab?"_s);
    }
};

QTEST_GUILESS_MAIN(TestLettura)
#include "tst_Lettura.moc"
