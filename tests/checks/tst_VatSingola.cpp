#include "app/Globali.h"
#include "checks/VatSingola.h"
#include "core/CartellaProgramma.h"
#include "core/FileIni.h"
#include "countries/Nazioni.h"
#include "results/StampanteCorrente.h"
#include "support/DialoghiProva.h"
#include "support/ServerProva.h"
#include "web/GetHtmPage.h"
#include "web/IndirizziWeb.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray Vies(const QByteArray& fine)
{
    return "<p class=\"vies_ok\">Partita IVA valida</p><table><tr><th>Stato membro</th><td>IT</td></tr>"
           "<tr><th>Denominazione</th><td>ROSSI E FIGLI S.R.L.</td></tr>"
           "<tr><th>Indirizzo</th><td>VIA ROMA 1 20100 MILANO</td></tr>"
           "<tr><th>Data inizio</th><td>01/02/1990</td></tr><tr><th>Data fine</th><td>" +
           fine +
           "</td></tr></table><p class=\"vies_note\">Nota</p>"
           "<p class=\"vies_date\">Data della richiesta: 05/12/2026</p>";
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
    QColor Colore(int j) const { return W(u"lbEsito(%1)"_s.arg(j))->palette().color(QPalette::WindowText); }
    QStringList Righe() const
    {
        QStringList righe;
        for (int j = 1; j <= 7; ++j)
            righe << Testo(u"lbDescr(%1)"_s.arg(j)) + u'|' + Testo(u"lbEsito(%1)"_s.arg(j));
        return righe;
    }
    // Picks the country (none when empty), types the number and presses Enter, as a user would.
    void Verifica(const QString& nazione, const QString& digitato)
    {
        auto* combo = W<QComboBox>(u"cmbNazioni"_s);
        combo->setCurrentIndex(nazione.isEmpty() ? -1
                                                 : combo->findText(nazione + u" - "_s, Qt::MatchStartsWith));
        QCOMPARE(Testo(u"lbNAZ"_s), nazione);
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
        m_server->Imposta(kValida, PaginaProva::Html(Vies("-")));
        m_server->Imposta(kCessata, PaginaProva::Html(Vies("31/12/2020")));
        m_server->Imposta(kErrata, PaginaProva::Html("<p class=\"vies_er\">Numero non valido</p>"));
        PaginaProva mai;
        mai.maiRisposta = true;
        m_server->Imposta(kSospesa, mai);

        ImpostaCartellaProgramma(m_dir.path());
        gFileIni = m_dir.filePath(u"tarvel.ini"_s);
        ScriviIni(gFileIni, u"INDIRIZZIWEB"_s, u"VAT"_s, m_server->Indirizzo(u"/vies?stato="_s).toString());
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
        QVERIFY(!W<QPushButton>(u"cmdAnalizza"_s)->isVisible());
        QVERIFY(!W<QPushButton>(u"cmdPrt"_s)->isVisible());
    }

    void cleanup() { m_w.reset(); }

    void righeEColori()
    {
        Verifica(u"IT"_s, u"01234567890"_s);
        QCOMPARE(Testo(u"lbEsito(6)"_s), u"31/12/2020"_s);
        QCOMPARE(Colore(1), kRossoScuro);
        QCOMPARE(Colore(6), kRossoScuro);
        QCOMPARE(Colore(3), kVerde);

        Verifica(u"IT"_s, u"00743110157"_s);
        QCOMPARE(m_server->Richieste(), (QStringList{kCessata, kValida}));
        QCOMPARE(Righe(),
                 (QStringList{u"Esito:|Partita IVA valida"_s, u"Stato membro|IT"_s,
                              u"Denominazione|ROSSI E FIGLI S.R.L."_s, u"Indirizzo|VIA ROMA 1 20100 MILANO"_s,
                              u"Data inizio|01/02/1990"_s, u"Data fine|-"_s, u"|Nota"_s}));
        QCOMPARE(Testo(u"lbError"_s), QString());
        QCOMPARE(Colore(1), kVerde);
        QCOMPARE(Colore(6), kVerde);
        QVERIFY(W<QPushButton>(u"cmdPrt"_s)->isVisible());
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    void soloRigaErrore_data()
    {
        QTest::addColumn<QString>("nazione");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("errore");
        QTest::addColumn<QString>("richiesta"); // after the first, valid one
        const QString nonAttiva = QString::fromUtf16(kConnessioneNonAttiva);
        QTest::newRow("service error")
            << u"IT"_s << u"00000000000"_s << u"*** Numero non valido"_s << kErrata;
        QTest::newRow("empty box") << QString() << QString() << u"*** Codice VAT non indicato "_s
                                   << QString();
        QTest::newRow("doubled prefix")
            << u"IT"_s << u"IT00743110157"_s << u"*** Lunghezza VAT errata 11-11"_s << QString();
        QTest::newRow("whole code, no country")
            << QString() << u"fr12345678901"_s << nonAttiva << u"/vies?stato=FR&piva=12345678901"_s;
        QTest::newRow("unreachable") << u"IT"_s << u"33333333333"_s << nonAttiva << QString();
    }
    void soloRigaErrore()
    {
        QFETCH(QString, nazione);
        QFETCH(QString, digitato);
        QFETCH(QString, errore);
        QFETCH(QString, richiesta);
        Verifica(u"IT"_s, u"00743110157"_s); // rows the error must wipe
        if (QTest::currentDataTag() == "unreachable"_ba) {
            QTcpServer chiuso; // nothing listens on its port once it is gone
            QVERIFY(chiuso.listen(QHostAddress::LocalHost));
            gIndirizziWeb.Vat = u"http://127.0.0.1:%1/vies?stato="_s.arg(chiuso.serverPort());
        }
        Verifica(nazione, digitato);
        QCOMPARE(Testo(u"lbError"_s), errore);
        QCOMPARE(Righe(), QStringList(7, u"|"_s));
        QCOMPARE(m_server->Richieste().mid(1), richiesta.isEmpty() ? QStringList() : QStringList{richiesta});
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
        QVERIFY(W<QPushButton>(u"cmdAnalizza"_s)->isVisible());
        QVERIFY(casella->hasFocus());
        QTest::keyClicks(casella, u"x"_s); // the 14th character moves on without checking
        QCOMPARE(casella->text(), u"IT00743110157X"_s);
        QVERIFY(!casella->hasFocus());
        QVERIFY(m_server->Richieste().isEmpty());
    }

    void stampa_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QStringList>("righe");
        QTest::newRow("valid") << u"00743110157"_s
                               << QStringList{u"Validità partita IVA: IT-00743110157"_s,
                                              u"Esito: Partita IVA valida"_s,
                                              u"Stato membro IT"_s,
                                              u"Denominazione ROSSI E FIGLI S.R.L."_s,
                                              u"Indirizzo VIA ROMA 1 20100 MILANO"_s,
                                              u"Data inizio 01/02/1990"_s,
                                              u"Data fine -"_s};
        QTest::newRow("service error")
            << u"00000000000"_s
            << QStringList{u"Validità partita IVA: IT-00000000000"_s, u"*** Numero non valido"_s};
        // Only the service's own answers print their error line.
        QTest::newRow("error page") << u"11111111111"_s
                                    << QStringList{u"Validità partita IVA: IT-11111111111"_s};
    }
    void stampa()
    {
        QFETCH(QString, digitato);
        QFETCH(QStringList, righe);
        m_dialoghi->ProssimaStampante(u"PDF"_s);
        m_w->findChild<QAction*>(u"Mu_print"_s)->trigger();
        QCOMPARE(NomeStampanteCorrente(), u"PDF"_s);
        const QString pdf = m_dir.filePath(u"singola.pdf"_s);
        QFile::remove(pdf);
        StampanteCorrente().setOutputFileName(pdf);

        Verifica(u"IT"_s, digitato);
        QTest::mouseClick(W<QPushButton>(u"cmdPrt"_s), Qt::LeftButton);
        StampanteCorrente().setOutputFileName(QString());

        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        QVERIFY(pdftotext.waitForFinished());
        QStringList stampate;
        for (const QString& riga : QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\n')) {
            if (!riga.simplified().isEmpty())
                stampate << riga.simplified();
        }
        QCOMPARE(stampate, righe);
    }

    void unaVerificaAllaVolta()
    {
        // The page never comes: while the query waits, the window must refuse a second check and its closing.
        bool controllato = false;
        QTimer::singleShot(200, m_w.get(), [&] {
            auto* casella = W<QLineEdit>(u"Text1"_s);
            QVERIFY(!casella->isEnabled());
            QVERIFY(!W<QPushButton>(u"cmdAnalizza"_s)->isEnabled());
            for (const QString& menu : {u"Mu_end"_s, u"Mu_param"_s, u"Mu_print"_s})
                QVERIFY(!m_w->findChild<QAction*>(menu)->isEnabled());
            QTest::keyClick(casella, Qt::Key_Return);
            QVERIFY(!m_w->close());
            controllato = true;
        });
        Verifica(u"IT"_s, u"22222222222"_s);
        QVERIFY(controllato);
        QCOMPARE(m_server->Richieste(), QStringList{kSospesa});
        QCOMPARE(Testo(u"lbError"_s), QString::fromUtf16(kConnessioneNonAttiva));
        QVERIFY(m_w->isVisible());
        for (const QString& menu : {u"Mu_end"_s, u"Mu_param"_s, u"Mu_print"_s})
            QVERIFY(m_w->findChild<QAction*>(menu)->isEnabled());
        QVERIFY(W<QLineEdit>(u"Text1"_s)->isEnabled());
    }
};

QTEST_MAIN(TestVatSingola)
#include "tst_VatSingola.moc"
