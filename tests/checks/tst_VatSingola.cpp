#include "app/Globali.h"
#include "checks/VatSingola.h"
#include "core/CartellaProgramma.h"
#include "core/FileIni.h"
#include "countries/Nazioni.h"
#include "support/DialoghiProva.h"
#include "support/ServerProva.h"
#include "web/GetHtmPage.h"
#include "web/IndirizziWeb.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray Vies(const QByteArray& esito, const QByteArray& fine)
{
    return "<html><body><p class=\"vies_ok\">" + esito +
           "</p><table><tr><th>Stato membro</th><td>IT</td></tr>"
           "<tr><th>Denominazione</th><td>ROSSI E FIGLI S.R.L.</td></tr>"
           "<tr><th>Indirizzo</th><td>VIA ROMA 1 20100 MILANO</td></tr>"
           "<tr><th>Data inizio</th><td>01/02/1990</td></tr><tr><th>Data fine</th><td>" +
           fine +
           "</td></tr></table><p class=\"vies_note\">Nota</p>"
           "<p class=\"vies_date\">Data della richiesta: 05/12/2026</p></body></html>";
}

const QString kValida = u"/vies?stato=IT&piva=00743110157"_s;
const QString kCessata = u"/vies?stato=IT&piva=01234567890"_s;
const QString kErrata = u"/vies?stato=IT&piva=00000000000"_s;
const QString kSospesa = u"/vies?stato=IT&piva=22222222222"_s;
const QColor kVerde(0, 128, 0);
const QColor kRossoScuro(192, 0, 0);

} // namespace

class TestVatSingola : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ServerProva> m_server;
    QTemporaryDir m_dir;
    DialoghiProva* m_dialoghi = nullptr;
    std::unique_ptr<VatSingola> m_w;

    template <typename T = QLabel> T* W(const QString& nome) const
    {
        T* w = m_w->findChild<T*>(nome);
        if (!w)
            qFatal("missing control");
        return w;
    }
    QString Testo(const QString& nome) const { return W(nome)->text(); }
    QColor Colore(const QString& nome) const { return W(nome)->palette().color(QPalette::WindowText); }
    QStringList Righe() const
    {
        QStringList righe;
        for (int j = 1; j <= 7; ++j)
            righe << Testo(u"lbDescr(%1)"_s.arg(j)) + u'|' + Testo(u"lbEsito(%1)"_s.arg(j));
        return righe;
    }
    void Nazione(const QString& codice)
    {
        auto* combo = W<QComboBox>(u"cmbNazioni"_s);
        combo->setCurrentIndex(combo->findText(codice + u" - "_s, Qt::MatchStartsWith));
    }
    // Types into the number box and presses Enter there, as a user would.
    void Verifica(const QString& digitato)
    {
        auto* casella = W<QLineEdit>(u"Text1"_s);
        casella->clear();
        QTest::keyClicks(casella, digitato);
        QTest::keyClick(casella, Qt::Key_Return);
    }

private Q_SLOTS:
    void initTestCase() { m_server = std::make_unique<ServerProva>(); }

    void init()
    {
        m_server->Svuota();
        m_server->Imposta(kValida, PaginaProva::Html(Vies("Partita IVA valida", "-")));
        m_server->Imposta(kCessata, PaginaProva::Html(Vies("Partita IVA valida", "31/12/2020")));
        m_server->Imposta(kErrata, PaginaProva::Html("<p class=\"vies_er\">Numero non valido</p>"));
        PaginaProva mai;
        mai.maiRisposta = true;
        m_server->Imposta(kSospesa, mai);

        ImpostaCartellaProgramma(m_dir.path());
        gFileIni = m_dir.filePath(u"tarvel.ini"_s);
        gDirTemp = m_dir.filePath(u"TempFile/"_s);
        const QString base = m_server->Indirizzo(u""_s).toString();
        ScriviIni(gFileIni, u"INDIRIZZIWEB"_s, u"VAT"_s, base + u"/vies?stato="_s);
        ScriviIni(gFileIni, u"INDIRIZZIWEB"_s, u"TEMPOMAX"_s, u"1"_s);
        CaricaNazioni();
        LeggiIndirizziWeb();
        gParametriWeb = ParametriWeb{};
        m_dialoghi = DialoghiProva::Installa();

        gTipoWeb = 0;
        m_w = std::make_unique<VatSingola>();
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
        QCOMPARE(gTipoWeb, 1);
        QCOMPARE(Righe(), QStringList(7, u"|"_s));
        QVERIFY(W<QComboBox>(u"cmbNazioni"_s)->currentIndex() < 0);
        QVERIFY(!W<QPushButton>(u"cmdAnalizza"_s)->isVisible());
        QVERIFY(!W<QPushButton>(u"cmdPrt"_s)->isVisible());
    }

    void cleanup() { m_w.reset(); }

    void rispostaValida()
    {
        Nazione(u"IT"_s);
        QCOMPARE(Testo(u"lbNAZ"_s), u"IT"_s);
        Verifica(u"00743110157"_s);
        QCOMPARE(m_server->Richieste(), QStringList{kValida});
        QCOMPARE(Righe(),
                 (QStringList{u"Esito:|Partita IVA valida"_s, u"Stato membro|IT"_s,
                              u"Denominazione|ROSSI E FIGLI S.R.L."_s, u"Indirizzo|VIA ROMA 1 20100 MILANO"_s,
                              u"Data inizio|01/02/1990"_s, u"Data fine|-"_s, u"|Nota"_s}));
        QCOMPARE(Testo(u"lbError"_s), QString());
        QVERIFY(W<QPushButton>(u"cmdPrt"_s)->isVisible());
        QVERIFY(W<QLineEdit>(u"Text1"_s)->isEnabled());
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    void cessataInRosso()
    {
        Nazione(u"IT"_s);
        Verifica(u"01234567890"_s);
        QCOMPARE(Testo(u"lbEsito(6)"_s), u"31/12/2020"_s);
        QCOMPARE(Colore(u"lbEsito(1)"_s), kRossoScuro);
        QCOMPARE(Colore(u"lbEsito(6)"_s), kRossoScuro);
        QCOMPARE(Colore(u"lbEsito(3)"_s), kVerde);

        Verifica(u"00743110157"_s);
        QCOMPARE(Testo(u"lbEsito(6)"_s), u"-"_s);
        QCOMPARE(Colore(u"lbEsito(1)"_s), kVerde);
        QCOMPARE(Colore(u"lbEsito(6)"_s), kVerde);
    }

    void soloRigaErrore_data()
    {
        QTest::addColumn<QString>("nazione");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("errore");
        QTest::addColumn<int>("richieste");
        QTest::newRow("service error") << u"IT"_s << u"00000000000"_s << u"*** Numero non valido"_s << 1;
        QTest::newRow("empty box") << QString() << QString() << u"*** Codice VAT non indicato "_s << 0;
        QTest::newRow("doubled prefix")
            << u"IT"_s << u"IT00743110157"_s << u"*** Lunghezza VAT errata 11-11"_s << 0;
        QTest::newRow("unknown country")
            << QString() << u"XX123"_s << u"*** Nazione CEE  'XX'  inesistente "_s << 0;
        QTest::newRow("unreachable") << u"IT"_s << u"33333333333"_s
                                     << QString::fromUtf16(kConnessioneNonAttiva) << 0;
    }
    void soloRigaErrore()
    {
        QFETCH(QString, nazione);
        QFETCH(QString, digitato);
        QFETCH(QString, errore);
        QFETCH(int, richieste);
        // A valid answer first: the error must wipe its rows.
        Nazione(u"IT"_s);
        Verifica(u"00743110157"_s);
        QCOMPARE(Testo(u"lbEsito(3)"_s), u"ROSSI E FIGLI S.R.L."_s);
        m_server->Svuota();
        m_server->Imposta(kErrata, PaginaProva::Html("<p class=\"vies_er\">Numero non valido</p>"));
        if (QTest::currentDataTag() == "unreachable"_ba) {
            QTcpServer chiuso; // a port that nothing listens on once closed
            QVERIFY(chiuso.listen(QHostAddress::LocalHost));
            gIndirizziWeb.Vat = u"http://127.0.0.1:%1/vies?stato="_s.arg(chiuso.serverPort());
        }
        if (nazione.isEmpty())
            W<QComboBox>(u"cmbNazioni"_s)->setCurrentIndex(-1);
        QCOMPARE(Testo(u"lbNAZ"_s), nazione);

        Verifica(digitato);
        QCOMPARE(Testo(u"lbError"_s), errore);
        QCOMPARE(Righe(), QStringList(7, u"|"_s));
        QCOMPARE(m_server->Richieste().size(), richieste);
    }

    void codiceCompletoSenzaNazione()
    {
        Verifica(u"fr12345678901"_s);
        QCOMPARE(W<QLineEdit>(u"Text1"_s)->text(), u"FR12345678901"_s);
        QCOMPARE(m_server->Richieste(), QStringList{u"/vies?stato=FR&piva=12345678901"_s});
    }

    void digitazione()
    {
        QApplication::setActiveWindow(m_w.get());
        auto* casella = W<QLineEdit>(u"Text1"_s);
        auto* combo = W<QComboBox>(u"cmbNazioni"_s);
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Return);
        QTRY_VERIFY(casella->hasFocus());

        QTest::keyClicks(casella, u"it00743110157"_s);
        QCOMPARE(casella->text(), u"IT00743110157"_s);
        QVERIFY(W<QPushButton>(u"cmdAnalizza"_s)->isVisible());
        QVERIFY(casella->hasFocus());
        QTest::keyClicks(casella, u"x"_s); // the 14th character
        QCOMPARE(casella->text(), u"IT00743110157X"_s);
        QVERIFY(!casella->hasFocus());
        QVERIFY(m_server->Richieste().isEmpty());
    }

    void unaVerificaAllaVolta()
    {
        // The page never comes: while the query waits, the window must refuse a second check and its closing.
        Nazione(u"IT"_s);
        bool controllato = false;
        QTimer::singleShot(200, m_w.get(), [&] {
            auto* casella = W<QLineEdit>(u"Text1"_s);
            QVERIFY(!casella->isEnabled());
            QVERIFY(!W<QPushButton>(u"cmdAnalizza"_s)->isEnabled());
            QVERIFY(!m_w->findChild<QAction*>(u"Mu_end"_s)->isEnabled());
            QTest::keyClick(casella, Qt::Key_Return);
            QVERIFY(!m_w->close());
            controllato = true;
        });
        Verifica(u"22222222222"_s);
        QVERIFY(controllato);
        QCOMPARE(m_server->Richieste(), QStringList{kSospesa});
        QCOMPARE(Testo(u"lbError"_s), QString::fromUtf16(kConnessioneNonAttiva));
        QVERIFY(m_w->isVisible());
        QVERIFY(m_w->findChild<QAction*>(u"Mu_end"_s)->isEnabled());
        QVERIFY(W<QLineEdit>(u"Text1"_s)->isEnabled());
    }
};

QTEST_MAIN(TestVatSingola)
#include "tst_VatSingola.moc"
