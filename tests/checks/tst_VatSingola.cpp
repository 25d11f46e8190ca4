#include "checks/VatSingola.h"
#include "core/StampanteCorrente.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"
#include "support/ServerProva.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QToolTip>
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

public Q_SLOTS:
    void Apri(const QUrl& url) { m_aperti << url; }

private:
    QList<QUrl> m_aperti;
    ServerProva m_server;
    std::unique_ptr<CartellaProva> m_cartella;
    std::unique_ptr<Sessione> m_sessione;
    DialoghiProva* m_dialoghi = nullptr;
    std::unique_ptr<VatSingola> m_w;

    template <typename T = QLabel> T* W(const QString& nome) const { return Controllo<T>(*m_w, nome); }
    QString Testo(const QString& nome) const { return W(nome)->text(); }
    QColor Colore(int j) const { return W(u"lbEsito(%1)"_s.arg(j))->palette().color(QPalette::WindowText); }
    QStringList Righe() const
    {
        QStringList righe;
        for (int j = 1; j <= 7; ++j)
            righe << Testo(u"lbDescr(%1)"_s.arg(j)) + u'|' + Testo(u"lbEsito(%1)"_s.arg(j));
        return righe;
    }
    // Picks the country (none when empty), types the number and presses Enter, as a user would,
    // then waits for the answer.
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
        QTRY_VERIFY(casella->isEnabled());
    }

private Q_SLOTS:
    void init()
    {
        m_server.Svuota();
        m_server.Imposta(kValida, PaginaProva::Html(Vies("-")));
        m_server.Imposta(kCessata, PaginaProva::Html(Vies("31/12/2020")));
        m_server.Imposta(kErrata, PaginaProva::Html("<p class=\"vies_er\">Numero non valido</p>"));
        PaginaProva mai;
        mai.maiRisposta = true;
        m_server.Imposta(kSospesa, mai);

        m_cartella = std::make_unique<CartellaProva>();
        m_cartella->IndirizziVerso(m_server);
        m_sessione = ApriSessione(m_cartella->Percorso(), ModoSessione::Finestre);
        m_dialoghi = DialoghiProva::Installa();
        m_w = std::make_unique<VatSingola>(*m_sessione);
        QVERIFY(Mostra(*m_w));
    }

    void cleanup()
    {
        m_w.reset();
        m_sessione.reset();
    }

    void righeEColori()
    {
        Verifica(u"IT"_s, u"01234567890"_s);
        QCOMPARE(Testo(u"lbEsito(6)"_s), u"31/12/2020"_s);
        QCOMPARE(Colore(1), kRossoScuro);
        QCOMPARE(Colore(6), kRossoScuro);
        QCOMPARE(Colore(3), kVerde);

        Verifica(u"IT"_s, u"00743110157"_s);
        QCOMPARE(m_server.Richieste(), (QStringList{kCessata, kValida}));
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
        if (QTest::currentDataTag() == "unreachable"_ba)
            m_sessione->indirizzi.Vat = u"ftp://127.0.0.1/vies?stato="_s; // fails without a request
        Verifica(nazione, digitato);
        QCOMPARE(Testo(u"lbError"_s), errore);
        QCOMPARE(Righe(), QStringList(7, u"|"_s));
        QCOMPARE(m_server.Richieste().mid(1), richiesta.isEmpty() ? QStringList() : QStringList{richiesta});
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
        QVERIFY(m_server.Richieste().isEmpty());
    }

    // On "PDF" the page is a file, the one named in the print dialog or one named after the code in
    // TempFile, handed to the system's viewer.
    void stampa_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("scelto"); // the file named in the print dialog
        QTest::addColumn<QStringList>("righe");
        QTest::newRow("valid") << u"00743110157"_s << QString()
                               << QStringList{u"Validità partita IVA: IT-00743110157"_s,
                                              u"Esito: Partita IVA valida"_s,
                                              u"Stato membro IT"_s,
                                              u"Denominazione ROSSI E FIGLI S.R.L."_s,
                                              u"Indirizzo VIA ROMA 1 20100 MILANO"_s,
                                              u"Data inizio 01/02/1990"_s,
                                              u"Data fine -"_s};
        QTest::newRow("service error, file named in the dialog")
            << u"00000000000"_s << u"scelto.pdf"_s
            << QStringList{u"Validità partita IVA: IT-00000000000"_s, u"*** Numero non valido"_s};
        // Only the service's own answers print their error line.
        QTest::newRow("error page") << u"11111111111"_s << QString()
                                    << QStringList{u"Validità partita IVA: IT-11111111111"_s};
    }
    void stampa()
    {
        QFETCH(QString, digitato);
        QFETCH(QString, scelto);
        QFETCH(QStringList, righe);
        if (!scelto.isEmpty())
            scelto = m_cartella->File(scelto);
        m_dialoghi->ProssimaStampante(u"PDF"_s, scelto);
        m_w->findChild<QAction*>(u"Mu_print"_s)->trigger();
        QCOMPARE(NomeStampanteCorrente(), u"PDF"_s);

        Verifica(u"IT"_s, digitato);
        m_aperti.clear();
        QDesktopServices::setUrlHandler(u"file"_s, this, "Apri");
        QTest::mouseClick(W<QPushButton>(u"cmdPrt"_s), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(u"file"_s);
        const QString pdf =
            scelto.isEmpty() ? m_cartella->File(u"TempFile/IT_"_s + digitato + u"_esito.pdf"_s) : scelto;
        QCOMPARE(m_aperti, QList{QUrl::fromLocalFile(pdf)});
        QCOMPARE(SceltaStampanteCorrente().filePdf, scelto); // kept for the next print
        QVERIFY(m_dialoghi->Messaggi().isEmpty());

        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        QVERIFY(pdftotext.waitForFinished() && pdftotext.exitStatus() == QProcess::NormalExit &&
                pdftotext.exitCode() == 0);
        QStringList stampate;
        for (const QString& riga : QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\n')) {
            if (!riga.simplified().isEmpty())
                stampate << riga.simplified();
        }
        QCOMPARE(stampate, righe);
    }

    // A long answer neither widens the window nor loses a character: it is cut where it is painted,
    // and whole in the label (which printing and the colour rule read) and in its tooltip.
    void rispostaLunga()
    {
        const QString nome = u"SOCIETÀ "_s + QString(110, u'X') + u" S.R.L."_s; // the page's cell holds 150
        const QByteArray pagina = Vies("-").replace("ROSSI E FIGLI S.R.L.", nome.toUtf8());
        m_server.Imposta(u"/vies?stato=IT&piva=55555555555"_s, PaginaProva::Html(pagina));
        const QSize prima = m_w->size();
        Verifica(u"IT"_s, u"55555555555"_s);
        QCOMPARE(Testo(u"lbEsito(3)"_s), nome);
        QCOMPARE(m_w->size(), prima);

        auto* etichetta = W(u"lbEsito(3)"_s);
        QHelpEvent suggerimento(QEvent::ToolTip, QPoint(5, 5), etichetta->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(etichetta, &suggerimento);
        QTRY_COMPARE(QToolTip::text(), nome);
        QToolTip::hideText();
    }

    // While the page is awaited the window refuses a second check and its closing.
    void unaVerificaAllaVolta()
    {
        auto* casella = W<QLineEdit>(u"Text1"_s);
        const auto menu = [this](bool attivi) {
            for (const QString& nome : {u"Mu_end"_s, u"Mu_param"_s, u"Mu_print"_s, u"cmdAnalizza"_s})
                QCOMPARE(m_w->findChild<QObject*>(nome)->property("enabled").toBool(), attivi);
        };
        casella->setText(u"IT22222222222"_s);
        QTest::keyClick(casella, Qt::Key_Return);
        QVERIFY(!casella->isEnabled());
        menu(false);
        QTest::keyClick(m_w.get(), Qt::Key_Return);
        QVERIFY(!m_w->close());
        QTRY_COMPARE(m_server.Richieste(), QStringList{kSospesa});

        m_sessione->client.InterrompiTutto();
        QTRY_VERIFY(casella->isEnabled());
        QCOMPARE(m_server.Richieste(), QStringList{kSospesa});
        QCOMPARE(Testo(u"lbError"_s), QString::fromUtf16(kConnessioneNonAttiva));
        menu(true);
        QVERIFY(m_w->close());
    }
};

QTEST_MAIN(TestVatSingola)
#include "tst_VatSingola.moc"
