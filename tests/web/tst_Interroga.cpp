#include "app/Globali.h"
#include "core/Cp1252.h"
#include "core/FileIni.h"
#include "countries/Nazioni.h"
#include "support/DialoghiProva.h"
#include "support/ServerProva.h"
#include "web/GetHtmPage.h"
#include "web/IndirizziWeb.h"
#include "web/MostraPagine.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// Records what the engine asks to show or open.
class MostraProva : public MostraPagine
{
public:
    QStringList browser;
    QStringList aperti;
    bool MostraNelBrowser(const QString& indirizzo, const QString& numero, const QString& tipo) override
    {
        browser << indirizzo + u' ' + numero + u' ' + tipo;
        return true;
    }
    void ApriDocumento(const QString& file) override { aperti << file; }
};

const QByteArray kViesValida = "<html><body><p class=\"vies_ok\">Partita IVA valida</p><table>"
                               "<tr><th>Stato membro</th><td>IT</td></tr><tr><th>Denominazione</th><td>ROSSI "
                               "&amp; FIGLI S.R.L.</td></tr>"
                               "<tr><th>Indirizzo</th><td>VIA ROMA 1\r\n20100 MILANO</td></tr><tr><th>Data "
                               "inizio</th><td>01/02/1990</td></tr>"
                               "<tr><th>Data fine</th><td>-</td></tr></table><p class=\"vies_note\">Nota</p>"
                               "<p class=\"vies_date\">Data della richiesta: 05/12/2026</p></body></html>";

const QString kMrnExport = u"26IT1234567890ABE7"_s;
const QString kMrnTransito = u"26IT1234567890ABT7"_s;

QByteArray PaginaExport(const QByteArray& terzaEtichetta)
{
    return "<div class=\"outexport1\">MRN&nbsp;</div><div class=\"outexport2\">26IT1234567890ABE7</div>"
           "<div class=\"outexport1\">Stato&nbsp;</div><div class=\"outexport2\">USCITA CONCLUSA</div>"
           "<div class=\"outexport1\">" +
           terzaEtichetta + "&nbsp;</div><div class=\"outexport2\">03/12/2026</div>";
}

} // namespace

class TestInterroga : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ServerProva> m_server;
    QTemporaryDir m_dir;
    DialoghiProva* m_dialoghi = nullptr;
    MostraProva* m_mostra = nullptr;

    void Pagina(const QString& percorso, const QByteArray& corpo, int stato = 200)
    {
        PaginaProva p = PaginaProva::Html(corpo, "text/html; charset=windows-1252");
        p.stato = stato;
        m_server->Imposta(percorso, p);
    }
    QString Base() const { return m_server->Indirizzo(u""_s).toString(); }

private Q_SLOTS:
    void initTestCase() { m_server = std::make_unique<ServerProva>(); }

    void init()
    {
        m_server->Svuota();
        gFileIni = m_dir.filePath(u"tarvel.ini"_s);
        gDirTemp = m_dir.filePath(u"TempFile/"_s);
        QDir().mkpath(gDirTemp);
        QFile::remove(gFileIni);
        ScriviIni(gFileIni, u"INDIRIZZIWEB"_s, u"VAT"_s, Base() + u"/vies?stato="_s);
        ScriviIni(gFileIni, u"INDIRIZZIWEB"_s, u"EXPORT"_s, Base() + u"/export?mrn="_s);
        ScriviIni(gFileIni, u"INDIRIZZIWEB"_s, u"TRANSITI"_s, Base() + u"/transito?mrn="_s);
        ScriviIni(gFileIni, u"INDIRIZZIWEB"_s, u"TEMPOMAX"_s, u"1"_s);
        CaricaNazioni();
        LeggiIndirizziWeb();
        gParametriWeb = ParametriWeb{};
        gTipoWeb = 1;
        m_dialoghi = DialoghiProva::Installa();
        auto mostra = std::make_unique<MostraProva>();
        m_mostra = mostra.get();
        ImpostaMostraPagine(std::move(mostra));
    }

    void vat_data()
    {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<int>("stato");
        QTest::addColumn<QString>("titolo2");
        QTest::addColumn<QStringList>("richieste");

        const QStringList valida{u"/vies?stato=IT&piva=00743110157"_s};
        QTest::newRow("valid") << u"IT00743110157"_s << 0 << u"Stato membro"_s << valida;
        QTest::newRow("lower case") << u"it00743110157"_s << 0 << u"Stato membro"_s << valida;
        QTest::newRow("empty") << QString() << 1 << u"*** Codice VAT non indicato "_s << QStringList();
        QTest::newRow("doubled prefix")
            << u"ITIT00743110157"_s << 1 << u"*** Lunghezza VAT errata 11-11"_s << QStringList();
        QTest::newRow("unknown country")
            << u"XX123"_s << 1 << u"*** Nazione CEE  'XX'  inesistente "_s << QStringList();
        QTest::newRow("17 characters stay VAT")
            << u"DE12345678901234E"_s << 1 << u"*** Lunghezza VAT errata 9-9"_s << QStringList();
        QTest::newRow("service error") << u"IT00000000000"_s << 0 << u"*** Numero non valido"_s
                                       << QStringList{u"/vies?stato=IT&piva=00000000000"_s};
        QTest::newRow("server error page")
            << u"IT11111111111"_s << 9 << u"# Connessione INTERNET non attiva #"_s
            << QStringList{u"/vies?stato=IT&piva=11111111111"_s};
        QTest::newRow("never answers") << u"IT22222222222"_s << 9 << u"# Connessione INTERNET non attiva #"_s
                                       << QStringList{u"/vies?stato=IT&piva=22222222222"_s};
    }
    void vat()
    {
        QFETCH(QString, numero);
        QFETCH(int, stato);
        QFETCH(QString, titolo2);
        QFETCH(QStringList, richieste);
        Pagina(u"/vies?stato=IT&piva=00743110157"_s, kViesValida);
        Pagina(u"/vies?stato=IT&piva=00000000000"_s, "<p class=\"vies_er\">Numero non valido</p>");
        Pagina(u"/vies?stato=IT&piva=11111111111"_s, "<h1>Internal Server Error</h1>", 500);
        PaginaProva mai;
        mai.maiRisposta = true;
        m_server->Imposta(u"/vies?stato=IT&piva=22222222222"_s, mai);
        ElencoEsiti[5] = u"stale"_s;

        GetHtmPage pagina;
        QCOMPARE(int(InterrogaNumero(pagina, numero)), stato);
        QCOMPARE(ElencoTitoli[2], titolo2);
        QCOMPARE(m_server->Richieste(), richieste);
        QCOMPARE(ElencoEsiti[3],
                 stato == 0 && titolo2 == u"Stato membro"_s ? u"ROSSI &amp; FIGLI S.R.L."_s : QString());
        QCOMPARE(ElencoEsiti[5], stato == 0 && titolo2 == u"Stato membro"_s ? u"01/02/1990"_s : QString());
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    void paginaSalvata_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("save");
        QTest::addColumn<int>("ieSkede");
        QTest::addColumn<QString>("file"); // relative to the temporary folder
        QTest::addColumn<bool>("aperto");
        QTest::addColumn<bool>("browser");
        QTest::newRow("save only") << 0 << 1 << 0 << u"pagine/PI_IT00743110157.htm"_s << false << false;
        QTest::newRow("view and save") << 1 << 1 << 0 << u"pagine/PI_IT00743110157.htm"_s << true << false;
        QTest::newRow("view only") << 1 << 0 << 0 << u"TempFile/tmp_html.htm"_s << true << false;
        QTest::newRow("view in the program") << 1 << 0 << 1 << QString() << false << true;
    }
    void paginaSalvata()
    {
        QFETCH(int, view);
        QFETCH(int, save);
        QFETCH(int, ieSkede);
        QFETCH(QString, file);
        QFETCH(bool, aperto);
        QFETCH(bool, browser);
        Pagina(u"/vies?stato=IT&piva=00743110157"_s, kViesValida);
        QDir().mkpath(m_dir.filePath(u"pagine"_s));
        gParametriWeb.View[1] = std::int16_t(view);
        gParametriWeb.Save[1] = std::int16_t(save);
        gParametriWeb.DirSave[1] = u"  "_s + m_dir.filePath(u"pagine"_s) + u" "_s;
        gParametriWeb.IESkede = std::int16_t(ieSkede);

        GetHtmPage pagina;
        QCOMPARE(int(InterrogaNumero(pagina, u"IT00743110157"_s)), 0);
        if (!file.isEmpty()) {
            QFile f(m_dir.filePath(file));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), kViesValida + "\r\n");
        }
        QCOMPARE(m_mostra->aperti, aperto ? QStringList{m_dir.filePath(file)} : QStringList());
        QCOMPARE(m_mostra->browser.size(), browser ? 1 : 0);
    }

    void nomeFileSenzaUscitaDallaCartella()
    {
        // A number that passes the format check but holds path characters.
        ScriviIni(gFileIni, u"NAZIONI"_s, u"CODICI"_s, u"ZZ,"_s);
        ScriviIni(gFileIni, u"NAZIONI"_s, u"ZZ"_s, u"PROVA,1,20"_s);
        CaricaNazioni();
        m_server->Imposta(u"/vies"_s, PaginaProva::Html(kViesValida));
        gParametriWeb.Save[1] = 1;
        gParametriWeb.DirSave[1] = m_dir.filePath(u"nomi"_s);
        QDir().mkpath(gParametriWeb.DirSave[1]);
        GetHtmPage pagina;
        QCOMPARE(int(InterrogaNumero(pagina, u"ZZ/../..\\X:*"_s)), 0);
        QCOMPARE(QDir(gParametriWeb.DirSave[1]).entryList(QDir::Files),
                 QStringList{u"PI_ZZ_.._.._X__.htm"_s});
    }

    void mrnExport_data()
    {
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<QStringList>("titoli"); // 2, 5, 6, 7
        QTest::addColumn<QStringList>("esiti");  // 17, 18, 19
        QTest::newRow("concluded, blank third label")
            << PaginaExport("") << QStringList{{}, u"MRN"_s, u"Stato"_s, u"Uscita conclusa in data:"_s}
            << QStringList{u"26IT1234567890ABE7"_s, u"USCITA CONCLUSA"_s, u"03/12/2026"_s};
        QTest::newRow("third label kept")
            << PaginaExport("Data uscita") << QStringList{{}, u"MRN"_s, u"Stato"_s, u"Data uscita"_s}
            << QStringList{u"26IT1234567890ABE7"_s, u"USCITA CONCLUSA"_s, u"03/12/2026"_s};
        QTest::newRow("pending") << "<div class=\"err\">In Attesa di conferma di uscita</div>"_ba
                                 << QStringList{u"=== In Attesa di conferma di uscita ==="_s, {}, {}, {}}
                                 << QStringList(3);
        QTest::newRow("unknown") << "<div class=\"err\">MRN non trovato</div>"_ba
                                 << QStringList{u"*** MRN non trovato ***"_s, {}, {}, {}} << QStringList(3);
    }
    void mrnExport()
    {
        QFETCH(QByteArray, corpo);
        QFETCH(QStringList, titoli);
        QFETCH(QStringList, esiti);
        Pagina(u"/export"_s, corpo);
        GetHtmPage pagina;
        QCOMPARE(int(InterrogaNumero(pagina, kMrnExport.toLower())), 0);
        QCOMPARE(m_server->Richieste(), QStringList{u"/export?mrn="_s + kMrnExport});
        QCOMPARE((QStringList{ElencoTitoli[2], ElencoTitoli[5], ElencoTitoli[6], ElencoTitoli[7]}), titoli);
        QCOMPARE((QStringList{ElencoEsiti[17], ElencoEsiti[18], ElencoEsiti[19]}), esiti);
    }

    void mrnTransito()
    {
        QByteArray transito;
        for (int i = 1; i <= 5; ++i)
            transito += "<td class=\"dati1\">Etichetta " + QByteArray::number(i) + "</td>";
        for (int i = 1; i <= 18; ++i)
            transito += "<td class=\"dati2\">Valore " + QByteArray::number(i) + "</td>";
        Pagina(u"/transito"_s, transito);
        Pagina(u"/export"_s, "<div class=\"err\">MRN non trovato</div>");
        GetHtmPage pagina;
        QCOMPARE(int(InterrogaNumero(pagina, kMrnTransito)), 0);
        QCOMPARE(m_server->Richieste(),
                 (QStringList{u"/transito?mrn="_s + kMrnTransito, u"/export?mrn="_s + kMrnTransito}));
        QCOMPARE(ElencoTitoli[1], u"Etichetta 1:"_s);
        QCOMPARE(ElencoTitoli[4], u"Etichetta 4:"_s);
        QCOMPARE(ElencoTitoli[5], QString());
        QCOMPARE(ElencoEsiti[16], u"Valore 16"_s);
        QCOMPARE(ElencoEsiti[17], QString());
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    void mrnTransitoErrore()
    {
        Pagina(
            u"/transito"_s,
            "<p class=\"err\">Per l'MRN: <b>26IT1234567890ABT7</b></p>non risulta presente in archivio<br>");
        Pagina(u"/export"_s, PaginaExport(""));
        GetHtmPage pagina;
        QCOMPARE(int(InterrogaNumero(pagina, kMrnTransito)), 0);
        QCOMPARE(ElencoTitoli[2], u"*** Per l'MRN: 26IT1234567890ABT7 ***"_s);
        QCOMPARE(ElencoTitoli[3], u"*** non risulta presente in archivio ***"_s);
        QCOMPARE(ElencoEsiti[18], u"USCITA CONCLUSA"_s);
    }

    void mrnRifiutati_data()
    {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("short once trimmed")
            << u"  26IT1234567890E7"_s << u"*** Lunghezza numero MRN errata (18 caratteri)"_s;
        QTest::newRow("17th counted untrimmed")
            << u" 26IT1234567890ABE7"_s << u"*** Tipo MRN errato (T=Transito, E=Export)"_s;
        QTest::newRow("unknown type")
            << u"26IT1234567890ABX7"_s << u"*** Tipo MRN errato (T=Transito, E=Export)"_s;
    }
    void mrnRifiutati()
    {
        QFETCH(QString, numero);
        QFETCH(QString, messaggio);
        GetHtmPage pagina;
        QCOMPARE(int(InterrogaNumero(pagina, numero)), 1);
        QCOMPARE(ElencoTitoli[2], messaggio);
        QVERIFY(m_server->Richieste().isEmpty());
    }

    void mrnLetturaFallitaProsegue()
    {
        // The second value's start marker is missing: the chain fails, a message is shown, the query goes on.
        Pagina(u"/export"_s, "<div class=\"outexport1\">MRN&nbsp;</div><div class=\"outexport2\">X</div>"
                             "<div class=\"outexport1\">Stato&nbsp;</div>");
        GetHtmPage pagina;
        QCOMPARE(int(InterrogaNumero(pagina, kMrnExport)), 0);
        QCOMPARE(ElencoTitoli[6], u"Stato"_s);
        QCOMPARE(ElencoEsiti[17], u"X"_s);
        QCOMPARE(m_dialoghi->Messaggi().size(), 1);
        QCOMPARE(m_dialoghi->Messaggi().first().testo, u"5 - Chiamata di routine o argomento non validi"_s);
    }

    void marcatoriDalleImpostazioni()
    {
        ScriviIni(gFileIni, u"PARAMWEB"_s, u"EX_ERRINI"_s, u"<em>"_s);
        ScriviIni(gFileIni, u"PARAMWEB"_s, u"EX_ERRFIN"_s, u"</em>"_s);
        Pagina(u"/export"_s, "<em>In attesa</em>");
        GetHtmPage pagina;
        QCOMPARE(int(InterrogaNumero(pagina, kMrnExport)), 0);
        QCOMPARE(ElencoTitoli[2], u"=== In attesa ==="_s);
    }
};

QTEST_GUILESS_MAIN(TestInterroga)
#include "tst_Interroga.moc"
