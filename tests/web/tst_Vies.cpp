#include "core/Attese.h"
#include "core/ChiaviIni.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/DialoghiProva.h"
#include "support/ServerProva.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray Valida(const QByteArray& identificativo)
{
    return R"({"isValid":true,"requestDate":"2026-12-05T10:31:07.512Z","userError":"VALID",)"
           R"("name":"ROSSI SRL","address":"VIA ROMA 1\n\n  20100 MILANO \n","requestIdentifier":")" +
           identificativo + R"(","vatNumber":"00743110157","countryCode":"IT","viesApproximate":{}})";
}

QByteArray Errore(const QByteArray& codice)
{
    return R"({"isValid":false,"requestDate":"2026-12-05T10:31:07.512Z","userError":")" + codice +
           R"(","name":"---","address":"---","vatNumber":"00743110157","countryCode":"IT"})";
}

} // namespace

// The European Commission's VIES service as a second source of VAT answers.
class TestVies : public QObject
{
    Q_OBJECT

    ServerProva m_server;
    std::unique_ptr<CartellaProva> m_cartella;

    RispostaQuery Interroga(const QString& numero)
    {
        const std::unique_ptr<Sessione> s = ApriSessione(m_cartella->Percorso(), ModoSessione::Comando);
        return InterrogaNumero(s->Contesto(), s->Politica(kUsoSingola), numero);
    }
    void Risponde(const QString& percorso, const QByteArray& corpo, int stato = 200)
    {
        PaginaProva p = PaginaProva::Html(corpo, "application/json");
        p.stato = stato;
        m_server.Imposta(percorso, p);
    }

private Q_SLOTS:
    void init()
    {
        m_server.Svuota();
        m_cartella = std::make_unique<CartellaProva>();
        m_cartella->Ini().Scrivi(
            {{Chiavi::IndirizzoWeb(u"FONTEVAT"_s), u"vies"_s},
             {Chiavi::IndirizzoWeb(u"VIESREST"_s), m_server.Indirizzo(u"/ms/"_s).toString()},
             {Chiavi::TempoMax(), u"2"_s}});
        DialoghiProva::Installa();
        Attese().viesPausaMs = 10;
    }

    // Unavailable is never invalid: every other code is result 9 and names itself; a busy service
    // is asked again three times.
    void risposte_data()
    {
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<int>("http");
        QTest::addColumn<QString>("titolo2");       // the error line, or the number's row title
        QTest::addColumn<QString>("consultazione"); // the consultation number
        QTest::addColumn<int>("richieste");
        const QString valido = u"Numero partita IVA"_s, nonValido = u"*** No, numero IVA non valido"_s;
        const QString nonDisp = u"# Servizio VIES non disponibile: %1 #"_s;
        QTest::newRow("valid, consultation number")
            << Valida("WAPIAAAAZyLmVcXb") << 200 << valido << u"WAPIAAAAZyLmVcXb"_s << 1;
        QTest::newRow("valid, none") << Valida("") << 200 << valido << QString() << 1;
        QTest::newRow("invalid") << Errore("INVALID") << 200 << nonValido << QString() << 1;
        QTest::newRow("invalid input") << Errore("INVALID_INPUT") << 200 << nonValido << QString() << 1;
        for (const char* codice : {"MS_UNAVAILABLE", "SERVICE_UNAVAILABLE", "TIMEOUT", "IP_BLOCKED",
                                   "VAT_BLOCKED", "MS_MAX_CONCURRENT_REQ", "GLOBAL_MAX_CONCURRENT_REQ"})
            QTest::newRow(codice) << Errore(codice) << 200 << nonDisp.arg(QString::fromLatin1(codice))
                                  << QString() << (QByteArray(codice).contains("MAX_CONCURRENT") ? 4 : 1);
        QTest::newRow("error answer, HTTP 500")
            << QByteArray(
                   R"({"actionSucceed":false,"errorWrappers":[{"error":"SERVICE_UNAVAILABLE","message":"x"}]})")
            << 500 << nonDisp.arg(u"SERVICE_UNAVAILABLE"_s) << QString() << 1;
        QTest::newRow("not JSON") << QByteArray("<html>Errore</html>") << 500
                                  << nonDisp.arg(u"RISPOSTA_NON_LEGGIBILE"_s) << QString() << 1;
        QTest::newRow("JSON, no answer")
            << QByteArray("{\"x\":1}") << 200 << nonDisp.arg(u"RISPOSTA_NON_LEGGIBILE"_s) << QString() << 1;
    }
    void risposte()
    {
        QFETCH(QByteArray, corpo);
        QFETCH(int, http);
        QFETCH(QString, titolo2);
        QFETCH(QString, consultazione);
        QFETCH(int, richieste);
        Risponde(u"/ms/IT/vat/00743110157"_s, corpo, http);
        const RispostaQuery r = Interroga(u"it00743110157"_s);
        QCOMPARE(r.ElencoTitoli[2], titolo2);
        QCOMPARE(r.stato, titolo2.startsWith(u'#') ? 9 : 0);
        QCOMPARE(r.motivo.isEmpty(), r.stato != 9);
        QCOMPARE(r.consultazione, consultazione);
        QCOMPARE(r.ElencoEsiti[7],
                 consultazione.isEmpty() ? QString() : u"Numero di consultazione: "_s + consultazione);
        QCOMPARE(r.fonte, FonteVat::Vies);
        QCOMPARE(m_server.Richieste(), QStringList(richieste, u"/ms/IT/vat/00743110157"_s));
        if (titolo2 == u"Numero partita IVA"_s)
            QCOMPARE((QStringList{r.ElencoEsiti[1], r.ElencoEsiti[2], r.ElencoEsiti[4], r.ElencoEsiti[5],
                                  r.ElencoEsiti[6], r.ElencoEsiti[8], r.ElencoTitoli[5]}),
                     (QStringList{u"Sì, numero IVA valido"_s,
                                  u"IT 00743110157"_s,
                                  u"VIA ROMA 1, 20100 MILANO"_s,
                                  {},
                                  {},
                                  u"05/12/2026"_s,
                                  u"Data di inizio attività"_s}));
    }

    // The user's own number goes with every request; countries the default table predates work once
    // the user adds them.
    void richiedenteEPaesiAggiunti()
    {
        m_cartella->Ini().Scrivi({{Chiavi::IndirizzoWeb(u"RICHIEDENTE"_s), u"it 00743110157"_s},
                                  {Chiavi::Codici(), u"IT,HR,XI,"_s},
                                  {Chiavi::Nazione(u"IT"_s), u"ITALIA,11,11,0,0,0,0"_s},
                                  {Chiavi::Nazione(u"HR"_s), u"CROAZIA,11,11,0,0,0,0"_s},
                                  {Chiavi::Nazione(u"XI"_s), u"IRLANDA DEL NORD,5,5,9,9,12,12"_s}});
        Risponde(u"/ms/HR/vat/12345678901"_s, Valida("A"));
        Risponde(u"/ms/XI/vat/123456789"_s, Valida("B"));
        QCOMPARE(Interroga(u"HR12345678901"_s).consultazione, u"A"_s);
        QCOMPARE(Interroga(u"XI123456789"_s).consultazione, u"B"_s);
        QCOMPARE(Interroga(u"XI1234567"_s).stato, 1);
        const QString richiedente = u"?requesterMemberStateCode=IT&requesterNumber=00743110157"_s;
        QCOMPARE(m_server.Richieste(), (QStringList{u"/ms/HR/vat/12345678901"_s + richiedente,
                                                    u"/ms/XI/vat/123456789"_s + richiedente}));
    }
};

QTEST_GUILESS_MAIN(TestVies)
#include "tst_Vies.moc"
