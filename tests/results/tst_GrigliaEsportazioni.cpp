#include "core/Attese.h"
#include "results/ColonneRisultati.h"
#include "results/Esportazioni.h"
#include "results/FoglioDiCalcolo.h"
#include "results/LayoutColonne.h"
#include "results/TabellaColori.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/DialoghiProva.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// The grid's columns with a line feed in a heading, as the exports may be given.
ColonneGriglia Colonne()
{
    ColonneGriglia colonne = ColonneRisultati();
    colonne[kColDataRichiesta].intestazione = u"DATA\nRICH."_s;
    return colonne;
}

const VistaRisultati kTutte{
    u"PartiteIVA"_s, {u"SELECT * FROM PartiteIVA ORDER BY Nazione, VAT"_s, {}}, Colonne()};

QByteArray Leggi(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(assente)");
}

} // namespace

// What the results library keeps outside the grid: the exported files, the columns' widths, the
// custom colours.
class TestGrigliaEsportazioni : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CartellaProva> m_cartella;
    std::unique_ptr<Sessione> m_sessione;
    DialoghiProva* m_dialoghi = nullptr;
    QString m_csv;

    // `altri`: the fields from Esito on.
    void Inserisci(const QString& codice, QVariantList altri = {})
    {
        altri.resize(7);
        QVERIFY(m_sessione->database.Esegui(u"INSERT INTO PartiteIVA (Codice, Nazione, VAT, Esito, "
                                            u"Denominazione, Indirizzo, Inizio, Fine, OK, "
                                            u"DataRichiesta) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                                            QVariantList{codice, codice.left(2), codice.mid(2)} + altri));
    }
    QStringList Testi() const
    {
        QStringList testi;
        for (const Messaggio& m : m_dialoghi->Messaggi())
            testi << m.testo;
        return testi;
    }

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
    // Five columns designed 1000 twips wide, saved as `larghezze`; the fourth cannot be resized, the
    // fifth is hidden.
    void Salva(const QList<int>& larghezze, const QString& finestra = u"EleVATok"_s)
    {
        ColonneGriglia colonne;
        for (const int l : larghezze)
            colonne << ColonnaGriglia{{}, {}, true, true, l};
        colonne[3].ridimensionabile = false;
        colonne[4].visibile = false;
        SalvaLayoutColonne(m_sessione->database, colonne, finestra);
    }
    QList<int> Caricate(const QString& finestra = u"EleVATok"_s)
    {
        ColonneGriglia colonne(5, ColonnaGriglia{{}, {}, true, true, 1000});
        colonne[3].ridimensionabile = false;
        CaricaLayoutColonne(m_sessione->database, colonne, finestra);
        QList<int> larghezze;
        for (const ColonnaGriglia& c : colonne)
            larghezze << c.larghezza;
        return larghezze;
    }

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        const QString cartella = m_cartella->File(u"cartella con spazi"_s); // paths stay whole
        QDir().mkpath(cartella);
        m_sessione = ApriSessione(cartella, ModoSessione::Comando);
        m_dialoghi = DialoghiProva::Installa();
        Attese().tentativiMassimi = 3;
        m_csv = FileCsv(*m_sessione, u"PartiteIVA"_s);
        QCOMPARE(m_csv, cartella + u"/TempFile/EXPPartiteIVA.csv"_s);
    }
    void cleanup() { m_sessione.reset(); }

    void campi_data()
    {
        QTest::addColumn<int>("colonna"); // of the grid, from VALIDITA' (2) on
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QByteArray>("scritto");
        QTest::newRow("semicolon as is") << 2 << QVariant(u"A;B"_s) << "A;B"_ba;
        QTest::newRow("outer blanks") << 3 << QVariant(u" ABC "_s) << "ABC"_ba;
        QTest::newRow("null text") << 3 << QVariant() << ""_ba;
        QTest::newRow("line feeds go, CR stays") << 4 << QVariant(u"VIA\nROMA\r 1"_s) << "VIAROMA\r 1"_ba;
        QTest::newRow("afternoon is the next day")
            << 5 << QVariant(u"2008-12-13 13:00:00"_s) << "14/12/2008"_ba;
        QTest::newRow("noon halves to even") << 8 << QVariant(u"2008-12-14 12:00:00"_s) << "14/12/2008"_ba;
        QTest::newRow("day 1") << 6 << QVariant(u"1899-12-31 00:00:00"_s) << "31/12/1899"_ba;
        QTest::newRow("day 0.5 rounds to 0") << 6 << QVariant(u"1899-12-30 12:00:00"_s) << ""_ba;
        QTest::newRow("date another tool wrote") << 8 << QVariant(u"5/1/2009 18:00"_s) << "06/01/2009"_ba;
        QTest::newRow("null number") << 7 << QVariant() << "0"_ba;
    }
    void campi()
    {
        QFETCH(int, colonna);
        QFETCH(QVariant, valore);
        QFETCH(QByteArray, scritto);
        QVariantList altri(colonna - 1);
        altri.last() = valore;
        Inserisci(u"IT123"_s, altri);
        VistaRisultati vista = kTutte;
        vista.colonne = {kTutte.colonne[0], kTutte.colonne[1], kTutte.colonne[colonna]};
        QCOMPARE(ScriviCsv(m_sessione->database, vista, false, m_csv), EsitoEsportazione::Scritta);
        const QByteArray intestazione = vista.colonne[2].intestazione.toLatin1().replace('\n', "");
        QCOMPARE(Leggi(m_csv), "N.;VAT;" + intestazione + ";\r\nIT;123;" + scritto + ";\r\n");
    }

    // The visible columns in the query's order; every column when asked, replacing the first export.
    void righeEColonne()
    {
        Inserisci(u"IT2"_s, {u"VALIDA "_s, u"B"_s, u"VIA 2"_s, u"2001-02-03 00:00:00"_s, {}, 0});
        Inserisci(u"FR1"_s, {u"CESSATA "_s, u"A"_s, u"RUE 1"_s, {}, u"2020-12-31 00:00:00"_s, 2});
        VistaRisultati vista{
            u"PartiteIVA"_s, {u"SELECT * FROM PartiteIVA WHERE OK >= ? ORDER BY VAT DESC"_s, {0}}, Colonne()};
        vista.colonne[1].visibile = false;
        vista.colonne[4].visibile = false;
        QCOMPARE(ScriviCsv(m_sessione->database, vista, false, m_csv), EsitoEsportazione::Scritta);
        QCOMPARE(Leggi(m_csv), "N.;VALIDITA';DENOMINAZIONE;INIZIO;TERMINE;ES.;DATARICH.;\r\n"
                               "IT;VALIDA;B;03/02/2001;;0;;\r\n"
                               "FR;CESSATA;A;;31/12/2020;2;;\r\n"_ba);
        vista.righe.valori = {1};
        QCOMPARE(ScriviCsv(m_sessione->database, vista, true, m_csv), EsitoEsportazione::Scritta);
        QCOMPARE(Leggi(m_csv),
                 "N.;VAT;VALIDITA';DENOMINAZIONE;INDIRIZZO;INIZIO;TERMINE;ES.;DATARICH.;CONSULTAZIONE;\r\n"
                 "FR;1;CESSATA;A;RUE 1;;31/12/2020;2;;;\r\n"_ba);
    }

    // The spreadsheet opens the file, or is named with its command line when it cannot start. A file
    // LibreOffice shows (its lock file beside it) or a folder in its place is left as it is.
    void esportaCsv()
    {
        Inserisci(u"IT1"_s);
        m_sessione->pathExcel = {u"/bin/true"_s, {}};
        EsportaCsv(*m_sessione, kTutte, false);
        QVERIFY(Testi().isEmpty());
        QFile blocco(m_sessione->dirTemp + u".~lock.EXPPartiteIVA.csv#"_s);
        QVERIFY(blocco.open(QIODevice::WriteOnly) && QFile::resize(m_csv, 7));
        EsportaCsv(*m_sessione, kTutte, false);
        QCOMPARE(QFileInfo(m_csv).size(), 7);
        QVERIFY(blocco.remove() && QFile::remove(m_csv) && QDir().mkpath(m_csv));
        EsportaCsv(*m_sessione, kTutte, false);
        QVERIFY(QDir().rmdir(m_csv));
        m_sessione->pathExcel = {m_cartella->File(u"manca/EXCEL.EXE"_s), {u"/e"_s}};
        EsportaCsv(*m_sessione, kTutte, false);
        QCOMPARE(Testi(), (QStringList{u"Il file è già aperto"_s, u"Il file è già aperto"_s,
                                       u'"' + m_sessione->pathExcel.programma + u"\" /e \""_s + m_csv +
                                           u"\"  NON TROVATO"_s}));
    }

    // The list of codes; nothing written when there is no row to export.
    void lista()
    {
        Inserisci(u"IT2  "_s, {{}, {}, {}, {}, {}, 0});
        Inserisci(u" FRÉ1"_s);
        const QString lista = m_sessione->dirTemp + u"ListaVAT.txt"_s;
        const Interrogazione righe{u"SELECT * FROM PartiteIVA ORDER BY Codice DESC"_s, {}};
        const VistaRisultati nessuna{
            u"PartiteIVA"_s, {u"SELECT * FROM PartiteIVA WHERE OK = 1"_s, {}}, Colonne()};
        EsportaCsv(*m_sessione, nessuna, false);
        QCOMPARE(EsportaLista(m_sessione->database, nessuna.righe, lista), EsitoEsportazione::NessunDato);
        QCOMPARE(Testi(), QStringList(2, u"NESSUN DATO DA ESPORTARE"_s));
        QVERIFY(!QFile::exists(m_csv) && !QFile::exists(lista));
        QCOMPARE(EsportaLista(m_sessione->database, righe, lista), EsitoEsportazione::Scritta);
        QCOMPARE(Leggi(lista), "IT2\r\nFR\xc9"
                               "1\r\n"_ba);
        // A file that cannot be made is explained, and the browser may carry on.
        m_dialoghi->Svuota();
        QVERIFY(QFile::remove(lista) && QDir().mkpath(lista));
        QCOMPARE(EsportaLista(m_sessione->database, righe, lista), EsitoEsportazione::FileNonScritto);
        QCOMPARE(Testi(), QStringList{u"IMPOSSIBILE SCRIVERE IL FILE\n"_s + lista});
    }
    // As designed until saved, the hidden columns saved too; then as saved, but for a column that cannot
    // be resized and widths that are not above zero.
    void larghezze()
    {
        QCOMPARE(Caricate(), QList<int>(5, 1000));
        Salva({1500, 1501, 1502, 1503, 1504});
        Salva({1400, 1501, 1502, 1503, 1504}, u"elevatok"_s); // the same window's row
        QCOMPARE(Riga(u"SELECT COUNT(*), Col1, Col5, Col6 IS NULL FROM LayOutCol"_s),
                 (QVariantList{1, 1400, 1504, 1}));
        QCOMPARE(Caricate(), (QList<int>{1400, 1501, 1502, 1000, 1504}));
        QCOMPARE(Caricate(u"Altra"_s), QList<int>(5, 1000));
        Esegui(u"UPDATE LayOutCol SET Col1 = 0, Col2 = -5, Col3 = '', Col5 = 'largo'"_s);
        QCOMPARE(Caricate(), QList<int>(5, 1000));
    }

    // A table with fewer columns keeps what it can, and says so; without a table nothing is kept.
    void tabellaCortaOAssente()
    {
        Esegui(u"DROP TABLE LayOutCol"_s);
        Esegui(u"CREATE TABLE LayOutCol (Finestra TEXT PRIMARY KEY, Col1 INTEGER, Col2 INTEGER)"_s);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"LayOutCol.*3 colonne.*EleVATok"_s));
        Salva({2000, 40000, 1, 1, 1}); // beyond 16 bits
        QCOMPARE(Caricate(), (QList<int>{2000, 32767, 1000, 1000, 1000}));
        Esegui(u"DROP TABLE LayOutCol"_s);
        Salva({2000, 2000, 1, 1, 1});
        QCOMPARE(Caricate(), QList<int>(5, 1000));
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // The custom colours left in the dialog are kept byte by byte, four to a colour, and shown again.
    void bloccoColori()
    {
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

        m_dialoghi->ProssimoColore(std::nullopt, ColoriPersonalizzati{});
        QCOMPARE(ScegliColore(m_sessione->database), QString());
        QCOMPARE(m_dialoghi->PersonalizzatiMostrati(), scelti);
    }

    // Without the table the user may retry, then still picks a colour, among black custom colours.
    void tabellaColoriAssente()
    {
        Esegui(u"DROP TABLE Colori"_s);
        m_dialoghi->ProssimaRisposta(Risposta::Riprova);
        m_dialoghi->ProssimaRisposta(Risposta::Annulla);
        m_dialoghi->ProssimoColore(0x000000FF);
        QCOMPARE(ScegliColore(m_sessione->database), u"255"_s);
        QCOMPARE(m_dialoghi->Messaggi().size(), 2);
        QVERIFY(Testi()[0].startsWith(u"ERRORE IN APERTURA TABELLA 'COLORI'\n1: no such table"_s));
        QCOMPARE(m_dialoghi->Messaggi()[0].pulsanti, Pulsanti::RiprovaAnnulla);
        QCOMPARE(m_dialoghi->PersonalizzatiMostrati(), ColoriPersonalizzati{});
    }
};

QTEST_GUILESS_MAIN(TestGrigliaEsportazioni)
#include "tst_GrigliaEsportazioni.moc"
