#include "results/Esportazioni.h"
#include "results/FoglioDiCalcolo.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/DialoghiProva.h"

#include <QDir>
#include <QtTest>

#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const ColonneGriglia kColonne = {{u"N."_s, u"Nazione"_s},
                                 {u"VAT"_s, u"VAT"_s},
                                 {u"VALIDITA'"_s, u"Esito"_s},
                                 {u"DENOMINAZIONE"_s, u"Denominazione"_s},
                                 {u"INDIRIZZO"_s, u"Indirizzo"_s},
                                 {u"INIZIO"_s, u"Inizio"_s},
                                 {u"TERMINE"_s, u"Fine"_s},
                                 {u"ES."_s, u"OK"_s},
                                 {u"DATA\nRICH."_s, u"DataRichiesta"_s}};

const QString kTutte = u"SELECT * FROM PartiteIVA ORDER BY Nazione, VAT"_s;

QByteArray Leggi(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(assente)");
}

// A program that writes the arguments it was given, one per line, beside itself.
QString ProgrammaCheRegistra(const QString& cartella)
{
    const QString programma = cartella + u"/foglio prova.sh"_s;
    QFile f(programma);
    if (f.open(QIODevice::WriteOnly))
        f.write(
            "#!/bin/sh\ncd \"$(dirname \"$0\")\" && printf '%s\\n' \"$@\" > tmp && mv tmp argomenti.txt\n");
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return programma;
}

} // namespace

class TestEsportazioni : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CartellaProva> m_cartella;
    std::unique_ptr<Sessione> m_sessione;
    DialoghiProva* m_dialoghi = nullptr;
    QString m_csv;

    void Inserisci(const QString& codice, const QVariantList& altri = {})
    {
        QVariantList valori{codice, codice.left(2), codice.mid(2)};
        valori << altri;
        while (valori.size() < 10)
            valori << QVariant();
        QVERIFY(m_sessione->database.Esegui(u"INSERT INTO PartiteIVA (Codice, Nazione, VAT, Esito, "
                                            u"Denominazione, Indirizzo, Inizio, Fine, OK, "
                                            u"DataRichiesta) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                                            valori));
    }
    QStringList Testi() const
    {
        QStringList testi;
        for (const Messaggio& m : m_dialoghi->Messaggi())
            testi << m.testo;
        return testi;
    }

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        const QString cartella = m_cartella->File(u"cartella con spazi"_s); // paths stay whole
        QDir().mkpath(cartella);
        m_sessione = ApriSessione(cartella, ModoSessione::Comando);
        m_dialoghi = DialoghiProva::Installa();
        m_csv = FileCsv(*m_sessione, u"PartiteIVA"_s);
        QCOMPARE(m_csv, cartella + u"/TempFile/EXPPartiteIVA.csv"_s);
    }
    void cleanup() { m_sessione.reset(); }

    void campi_data()
    {
        QTest::addColumn<int>("colonna"); // of the grid, from VALIDITA' (2) on
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QByteArray>("scritto");
        const QVariant nullo;
        QTest::newRow("semicolon as is") << 2 << QVariant(u"A;B"_s) << "A;B"_ba;
        QTest::newRow("outer blanks") << 3 << QVariant(u" ABC "_s) << "ABC"_ba;
        QTest::newRow("null text") << 3 << nullo << ""_ba;
        QTest::newRow("NUL first") << 3 << QVariant(u"\0AB"_s) << ""_ba;
        QTest::newRow("Windows-1252") << 3 << QVariant(u"Città € Ж"_s) << "Citt\xe0 \x80 ?"_ba;
        QTest::newRow("line feeds go, CR stays") << 4 << QVariant(u"VIA\nROMA\r 1"_s) << "VIAROMA\r 1"_ba;
        QTest::newRow("afternoon is the next day")
            << 5 << QVariant(u"2008-12-13 13:00:00"_s) << "14/12/2008"_ba;
        QTest::newRow("morning") << 5 << QVariant(u"2008-12-13 11:59:59"_s) << "13/12/2008"_ba;
        QTest::newRow("noon halves to even") << 8 << QVariant(u"2008-12-14 12:00:00"_s) << "14/12/2008"_ba;
        QTest::newRow("day 1") << 6 << QVariant(u"1899-12-31 00:00:00"_s) << "31/12/1899"_ba;
        QTest::newRow("day 0.5 rounds to 0") << 6 << QVariant(u"1899-12-30 12:00:00"_s) << ""_ba;
        QTest::newRow("before day 0") << 6 << QVariant(u"1800-01-01 00:00:00"_s) << ""_ba;
        QTest::newRow("null date") << 6 << nullo << ""_ba;
        QTest::newRow("date another tool wrote") << 8 << QVariant(u"5/1/2009 18:00"_s) << "06/01/2009"_ba;
        QTest::newRow("no date at all") << 8 << QVariant(u"ieri"_s) << ""_ba;
        QTest::newRow("number") << 7 << QVariant(2) << "2"_ba;
        QTest::newRow("null number") << 7 << nullo << "0"_ba;
    }
    void campi()
    {
        QFETCH(int, colonna);
        QFETCH(QVariant, valore);
        QFETCH(QByteArray, scritto);
        QVariantList altri(colonna - 1); // the fields from Esito on
        altri.last() = valore;
        Inserisci(u"IT123"_s, altri);
        const VistaRisultati vista{
            u"PartiteIVA"_s, {kTutte, {}}, {kColonne[0], kColonne[1], kColonne[colonna]}};
        QCOMPARE(ScriviCsv(m_sessione->database, vista, false, m_csv), EsitoEsportazione::Scritta);
        const QByteArray intestazione = vista.colonne[2].intestazione.toLatin1().replace('\n', "");
        QCOMPARE(Leggi(m_csv), "N.;VAT;" + intestazione + ";\r\nIT;123;" + scritto + ";\r\n");
    }

    void righeEColonne()
    {
        Inserisci(u"IT2"_s, {u"VALIDA "_s, u"B"_s, u"VIA 2"_s, u"2001-02-03 00:00:00"_s, {}, 0});
        Inserisci(u"FR1"_s, {u"CESSATA "_s, u"A"_s, u"RUE 1"_s, {}, u"2020-12-31 00:00:00"_s, 2});
        VistaRisultati vista{
            u"PartiteIVA"_s, {u"SELECT * FROM PartiteIVA WHERE OK >= ? ORDER BY VAT DESC"_s, {0}}, kColonne};
        vista.colonne[1].visibile = false;
        vista.colonne[4].visibile = false;
        QCOMPARE(ScriviCsv(m_sessione->database, vista, false, m_csv), EsitoEsportazione::Scritta);
        QCOMPARE(Leggi(m_csv), "N.;VALIDITA';DENOMINAZIONE;INIZIO;TERMINE;ES.;DATARICH.;\r\n"
                               "IT;VALIDA;B;03/02/2001;;0;;\r\n"
                               "FR;CESSATA;A;;31/12/2020;2;;\r\n"_ba);
        // Every column when asked, and a second export replaces the first.
        vista.righe.valori = {1};
        QCOMPARE(ScriviCsv(m_sessione->database, vista, true, m_csv), EsitoEsportazione::Scritta);
        QCOMPARE(Leggi(m_csv), "N.;VAT;VALIDITA';DENOMINAZIONE;INDIRIZZO;INIZIO;TERMINE;ES.;DATARICH.;\r\n"
                               "FR;1;CESSATA;A;RUE 1;;31/12/2020;2;;\r\n"_ba);
    }

    void nessunDato()
    {
        Inserisci(u"IT1"_s, {{}, {}, {}, {}, {}, 0});
        const QString lista = m_sessione->dirTemp + u"ListaVAT.txt"_s;
        for (const QString& sql : {u"SELECT * FROM PartiteIVA WHERE OK = 1"_s, u"SELECT * FROM Assente"_s}) {
            const VistaRisultati vista{u"PartiteIVA"_s, {sql, {}}, kColonne};
            EsportaCsv(*m_sessione, vista, false);
            QCOMPARE(EsportaLista(m_sessione->database, vista.righe, lista), EsitoEsportazione::NessunDato);
        }
        QCOMPARE(Testi(), QStringList(4, u"NESSUN DATO DA ESPORTARE"_s));
        QVERIFY(!QFile::exists(m_csv) && !QFile::exists(lista));
    }

    void fileGiaAperto_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::newRow("LibreOffice's lock file") << u"lock"_s;
        QTest::newRow("another program's lock") << u"flock"_s;
        QTest::newRow("a folder in its place") << u"cartella"_s;
    }
    void fileGiaAperto()
    {
        QFETCH(QString, caso);
        Inserisci(u"IT1"_s);
        m_sessione->pathExcel = {m_cartella->File(u"manca"_s), {}}; // trying to start it would say so
        int fd = -1;
        if (caso == u"cartella"_s) {
            QVERIFY(QDir().mkpath(m_csv));
        } else {
            QFile vecchio(m_csv);
            QVERIFY(vecchio.open(QIODevice::WriteOnly) && vecchio.write("VECCHIO") == 7);
        }
        if (caso == u"lock"_s)
            QFile(m_sessione->dirTemp + u".~lock.EXPPartiteIVA.csv#"_s).open(QIODevice::WriteOnly);
        if (caso == u"flock"_s) {
            fd = ::open(QFile::encodeName(m_csv).constData(), O_RDONLY);
            QCOMPARE(::flock(fd, LOCK_SH), 0);
        }
        EsportaCsv(*m_sessione, {u"PartiteIVA"_s, {kTutte, {}}, kColonne}, false);
        if (fd >= 0)
            ::close(fd);
        QCOMPARE(Testi(), QStringList{u"Il file è già aperto"_s});
        if (caso != u"cartella"_s)
            QCOMPARE(Leggi(m_csv), "VECCHIO"_ba);
    }

    void foglioDiCalcolo()
    {
        Inserisci(u"IT1"_s);
        const QString programma = ProgrammaCheRegistra(m_cartella->Percorso());
        m_sessione->pathExcel = {programma, {u"--calc"_s}};
        EsportaCsv(*m_sessione, {u"PartiteIVA"_s, {kTutte, {}}, kColonne}, false);
        const QString argomenti = m_cartella->File(u"argomenti.txt"_s);
        QTRY_VERIFY(QFile::exists(argomenti));
        QCOMPARE(Leggi(argomenti), "--calc\n" + m_csv.toUtf8() + '\n');
        QVERIFY(Testi().isEmpty());

        m_sessione->pathExcel = {m_cartella->File(u"manca/EXCEL.EXE"_s), {}};
        QVERIFY(QFile::remove(m_csv));
        EsportaCsv(*m_sessione, {u"PartiteIVA"_s, {kTutte, {}}, kColonne}, false);
        QCOMPARE(Testi(), QStringList{u'"' + m_sessione->pathExcel.programma + u"\" \""_s + m_csv +
                                      u"\"  NON TROVATO"_s});
        QVERIFY(QFile::exists(m_csv));
        QVERIFY(!AvviaFoglioDiCalcolo({}, m_csv));
    }

    void lista()
    {
        Inserisci(u"IT2  "_s);
        Inserisci(u" FRÉ1"_s);
        const QString lista = m_sessione->dirTemp + u"ListaVAT.txt"_s;
        const Interrogazione righe{u"SELECT * FROM PartiteIVA ORDER BY Codice DESC"_s, {}};
        QCOMPARE(EsportaLista(m_sessione->database, righe, lista), EsitoEsportazione::Scritta);
        QCOMPARE(Leggi(lista), "IT2\r\nFR\xc9"
                               "1\r\n"_ba);
        QVERIFY(Testi().isEmpty());

        // A file that cannot be made is explained, and the browser may carry on.
        QVERIFY(QFile::remove(lista) && QDir().mkpath(lista));
        QCOMPARE(EsportaLista(m_sessione->database, righe, lista), EsitoEsportazione::FileNonScritto);
        QCOMPARE(Testi(), QStringList{u"IMPOSSIBILE SCRIVERE IL FILE\n"_s + lista});
    }
};

QTEST_GUILESS_MAIN(TestEsportazioni)
#include "tst_Esportazioni.moc"
