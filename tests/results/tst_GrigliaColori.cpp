#include "core/Attese.h"
#include "core/ChiaviIni.h"
#include "core/ColoreQt.h"
#include "core/ScalaTwips.h"
#include "results/ColorTdbg.h"
#include "results/LayoutColonne.h"
#include "results/TabellaColori.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"

#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// Five columns designed 1000 twips wide; the fourth cannot be resized, the fifth is hidden.
ColonneGriglia Progetto()
{
    ColonneGriglia colonne(5, ColonnaGriglia{{}, {}, true, true, 1000});
    colonne[3].ridimensionabile = false;
    colonne[4].visibile = false;
    return colonne;
}

QList<int> Larghezze(const ColonneGriglia& colonne)
{
    QList<int> larghezze;
    for (const ColonnaGriglia& c : colonne)
        larghezze << c.larghezza;
    return larghezze;
}

} // namespace

class TestGrigliaColori : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CartellaProva> m_cartella;
    std::unique_ptr<Sessione> m_sessione;
    DialoghiProva* m_dialoghi = nullptr;

    QVariantList Riga(const QString& sql)
    {
        QSqlQuery q(m_sessione->database.Connessione());
        QVariantList valori;
        if (q.exec(sql) && q.next()) {
            for (int i = 0; i < q.record().count(); ++i)
                valori << q.value(i);
        }
        return valori;
    }
    void Esegui(const QString& sql) { QVERIFY(m_sessione->database.Esegui(sql)); }
    QList<int> Caricate(const QString& finestra)
    {
        ColonneGriglia colonne = Progetto();
        CaricaLayoutColonne(m_sessione->database, colonne, finestra);
        return Larghezze(colonne);
    }

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_sessione = ApriSessione(m_cartella->Percorso(), ModoSessione::Finestre);
        m_dialoghi = DialoghiProva::Installa();
        Attese().tentativiMassimi = 3;
    }
    void cleanup() { m_sessione.reset(); }

    void larghezze()
    {
        // No row yet: as designed; the first save makes the row, hidden columns included.
        QCOMPARE(Caricate(u"EleVATok"_s), QList<int>(5, 1000));
        ColonneGriglia colonne = Progetto();
        for (int i = 0; i < 5; ++i)
            colonne[i].larghezza = 1500 + i;
        SalvaLayoutColonne(m_sessione->database, colonne, u"EleVATok"_s);
        colonne[0].larghezza = 1400;
        SalvaLayoutColonne(m_sessione->database, colonne, u"elevatok"_s); // the same window's row
        QCOMPARE(Riga(u"SELECT COUNT(*), Col1, Col5, Col6 IS NULL FROM LayOutCol"_s),
                 (QVariantList{1, 1400, 1504, 1}));
        QCOMPARE(Caricate(u"EleVATok"_s), (QList<int>{1400, 1501, 1502, 1000, 1504}));
        QCOMPARE(Caricate(u"Altra"_s), QList<int>(5, 1000));

        // Zero, negative, blank and text widths keep the designed one.
        Esegui(u"UPDATE LayOutCol SET Col1 = 0, Col2 = -5, Col3 = '', Col5 = 'largo'"_s);
        QCOMPARE(Caricate(u"EleVATok"_s), QList<int>(5, 1000));
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    void tabellaCortaOAssente()
    {
        Esegui(u"DROP TABLE LayOutCol"_s);
        Esegui(u"CREATE TABLE LayOutCol (Finestra TEXT PRIMARY KEY, Col1 INTEGER, Col2 INTEGER)"_s);
        ColonneGriglia colonne = Progetto();
        colonne[0].larghezza = 2000;
        colonne[1].larghezza = 40000; // beyond 16 bits
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"LayOutCol.*3 colonne.*EleVATok"_s));
        SalvaLayoutColonne(m_sessione->database, colonne, u"EleVATok"_s);
        QTest::failOnWarning(QRegularExpression(u"LayOutCol"_s)); // said once only
        SalvaLayoutColonne(m_sessione->database, colonne, u"EleVATok"_s);
        QCOMPARE(Caricate(u"EleVATok"_s), (QList<int>{2000, 32767, 1000, 1000, 1000}));

        Esegui(u"DROP TABLE LayOutCol"_s);
        SalvaLayoutColonne(m_sessione->database, colonne, u"EleVATok"_s);
        QCOMPARE(Caricate(u"EleVATok"_s), QList<int>(5, 1000));
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    void bloccoColori()
    {
        // The user picks a colour after changing two custom colours; the block keeps them byte by byte.
        ColoriPersonalizzati scelti{};
        scelti[0] = 0x00563412;
        scelti[15] = 0x00FFFFFF;
        m_dialoghi->ProssimoColore(0x00ABCDEF, scelti);
        QCOMPARE(ScegliColore(m_sessione->database), u"11259375"_s);
        QCOMPARE(m_dialoghi->PersonalizzatiMostrati(), ColoriPersonalizzati{});
        QCOMPARE(Riga(u"SELECT COUNT(*), SUM(ColRgb) FROM Colori"_s),
                 (QVariantList{64, 0x12 + 0x34 + 0x56 + 3 * 255}));
        QCOMPARE(Riga(u"SELECT group_concat(ColRgb) FROM (SELECT ColRgb FROM Colori WHERE ColInd < 4 OR "
                      u"ColInd >= 60 ORDER BY ColInd)"_s),
                 QVariantList{u"18,52,86,0,255,255,255,0"_s});

        // Cancelled: the dialog showed them, nothing changes.
        Esegui(u"UPDATE Colori SET ColRgb = 200 WHERE ColInd = 4"_s);
        m_dialoghi->ProssimoColore(std::nullopt, ColoriPersonalizzati{});
        QCOMPARE(ScegliColore(m_sessione->database), QString());
        scelti[1] = 200;
        QCOMPARE(m_dialoghi->PersonalizzatiMostrati(), scelti);
        QCOMPARE(Riga(u"SELECT SUM(ColRgb) FROM Colori"_s),
                 (QVariantList{0x12 + 0x34 + 0x56 + 3 * 255 + 200}));
    }

    void tabellaColoriAssente()
    {
        Esegui(u"DROP TABLE Colori"_s);
        m_dialoghi->ProssimaRisposta(Risposta::Riprova);
        m_dialoghi->ProssimaRisposta(Risposta::Annulla);
        m_dialoghi->ProssimoColore(0x000000FF);
        QCOMPARE(ScegliColore(m_sessione->database), u"255"_s);
        QCOMPARE(m_dialoghi->Messaggi().size(), 2);
        const Messaggio& m = m_dialoghi->Messaggi().first();
        QVERIFY2(m.testo.startsWith(u"ERRORE IN APERTURA TABELLA 'COLORI'\n1: no such table"_s),
                 qPrintable(m.testo));
        QCOMPARE(m.titolo, u"Colori Personalizzati"_s);
        QCOMPARE(m.pulsanti, Pulsanti::RiprovaAnnulla);
        QCOMPARE(m.icona, Icona::Esclamazione);
        QCOMPARE(m_dialoghi->DialoghiColore(), 1); // still offered, all custom colours black
        QCOMPARE(m_dialoghi->PersonalizzatiMostrati(), ColoriPersonalizzati{});
    }

    void finestra_data()
    {
        QTest::addColumn<QString>("testi");
        QTest::addColumn<QString>("uscita");
        QTest::addColumn<int>("mostrate");
        QTest::newRow("confirm") << u"ATTIVE,INESISTENTI,CESSATE,"_s << u"Command1(1)"_s << 3;
        QTest::newRow("cancel") << u"ATTIVE,INESISTENTI,CESSATE,"_s << u"Command1(0)"_s << 3;
        QTest::newRow("F2") << u"ATTIVE,INESISTENTI,CESSATE,"_s << u"F2"_s << 3;
        QTest::newRow("text after the last comma ignored") << u"UNA,DUE"_s << u"Command1(1)"_s << 1;
        QTest::newRow("more texts than colours") << u"A,B,C,D,"_s << u"Command1(1)"_s << 3;
    }
    void finestra()
    {
        QFETCH(QString, testi);
        QFETCH(QString, uscita);
        QFETCH(int, mostrate);
        const auto predefiniti = m_sessione->colori;
        ColorTdbg w(*m_sessione);
        w.plPosX(1500);
        w.plPosY(3000);
        w.plTitolo(u" Colori validità partite IVA"_s);
        w.plTabLb(testi);
        QVERIFY(Mostra(w));
        QCOMPARE(w.objectName(), u"ColorTdbg"_s);
        QCOMPARE(w.windowTitle(), u" Colori validità partite IVA"_s);
        QCOMPARE(w.pos(), ScalaTwips(w.screen()).Pixel(QPoint(1500, 3000)));
        const QStringList pezzi = testi.split(u',');
        for (int k = 0; k < 4; ++k) {
            auto* lb = Controllo<QLabel>(w, u"lbColor(%1)"_s.arg(k));
            QCOMPARE(lb->isVisible(), k < mostrate);
            if (k < mostrate) {
                QCOMPARE(lb->text(), pezzi[k]);
                QCOMPARE(lb->palette().color(QPalette::Window), ColoreQt(predefiniti[k]));
            }
        }

        // A click picks for its label; black and a cancelled dialog change nothing.
        auto* lb0 = Controllo<QLabel>(w, u"lbColor(0)"_s);
        m_dialoghi->ProssimoColore(0x000000FF);
        m_dialoghi->ProssimoColore(0);
        m_dialoghi->ProssimoColore(std::nullopt);
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(lb0, Qt::LeftButton);
        QCOMPARE(m_dialoghi->DialoghiColore(), 3);
        QCOMPARE(m_sessione->colori[0], 0x000000FFu);
        QCOMPARE(lb0->palette().color(QPalette::Window), QColor(Qt::red));

        if (uscita == u"F2"_s)
            QTest::keyClick(&w, Qt::Key_F2);
        else
            Controllo<QPushButton>(w, uscita)->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(m_sessione->colori[0], 0x000000FFu); // picked colours last for the run in any case
        const bool confermata = uscita == u"Command1(1)"_s;
        Impostazioni ini(m_sessione->fileIni);
        for (int k = 0; k < 3; ++k) {
            const QString scritto = !confermata || k >= mostrate ? QString()
                                    : k == 0                     ? u"255"_s
                                                                 : QString::number(predefiniti[k]);
            QCOMPARE(ini.Leggi(Chiavi::Colore(k)), scritto);
        }
    }
};

QTEST_MAIN(TestGrigliaColori)
#include "tst_GrigliaColori.moc"
