#include "core/Impostazioni.h"
#include "web/LetturaPagine.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// A VIES answer page; rows T1..T5 hold V1, `nome`, V3..V5; a null note or date leaves it out.
QString Vies(const QString& nome = u"ROSSI"_s, const QString& nota = u"N"_s, const QString& data = u"5/12"_s,
             int righe = 5)
{
    QString t = u"<p class=\"vies_ok\"> Valida </p>\r\n<table>"_s;
    for (int i = 6 - righe; i <= 5; ++i)
        t += u"<tr><th>T%1</th><td> %2 </td></tr>\r\n"_s.arg(i).arg(i == 2 ? nome : u"V%1"_s.arg(i));
    if (!nota.isNull())
        t += u"</table><p class=\"vies_note\">"_s + nota + u"</p>"_s;
    if (!data.isNull())
        t += u"<p class=\"vies_date\">Data della richiesta: "_s + data + u"</p>"_s;
    return t;
}

template <std::size_t N> QStringList Voci(const std::array<QString, N>& voci, int da, int a)
{
    QStringList lista;
    for (int j = da; j <= a; ++j)
        lista << voci[j];
    return lista;
}

QString Export(const QString& terza = u"Data"_s)
{
    return uR"(<i class="outexport1">MRN&nbsp;</i><i class="outexport2">26IT</i>)"
           uR"(<i class="outexport1">Stato&nbsp;</i><i class="outexport2">USCITA</i>)"
           uR"(<i class="outexport1">)"_s +
           terza + uR"(&nbsp;</i><i class="outexport2">03/12</i>)"_s;
}

} // namespace

class TestLettura : public QObject
{
    Q_OBJECT

    const Impostazioni m_predefinite{u"/nonexistent/tarvel.ini"_s}; // every marker at its default

private Q_SLOTS:
    void vies_data()
    {
        QTest::addColumn<QString>("pagina");
        QTest::addColumn<bool>("bMess");
        QTest::addColumn<QStringList>("titoli"); // 1..7
        QTest::addColumn<QStringList>("esiti");  // 1..8
        const QStringList titoli = {u"Esito: "_s, u"T1"_s, u"T2"_s, u"T3"_s, u"T4"_s, u"T5"_s, {}};
        const QStringList esiti = {u"Valida"_s, u"V1"_s, u"ROSSI"_s, u"V3"_s, u"V4"_s, u"V5"_s};
        const QStringList errore = {{}, u"*** Servizio sospeso"_s, {}, {}, {}, {}, {}};
        QTest::newRow("valid") << Vies() << true << titoli << esiti + QStringList{u"N"_s, u"5/12"_s};
        QTest::newRow("no note, no date") << Vies(u"ROSSI"_s, {}) << true << titoli << esiti + QStringList(2);
        QTest::newRow("empty date") << Vies(u"ROSSI"_s, u"N"_s, u""_s) << true << titoli
                                    << esiti + QStringList{u"N"_s, {}};
        const QString sospeso = u"<p class=\"vies_er\">  Servizio sospeso</p><th>x</th>"_s;
        QTest::newRow("service error") << sospeso << true << errore << QStringList(8);
        QTest::newRow("service error, silent") << sospeso << false << QStringList(7) << QStringList(8);
        // The marker's end falls on the last 16-bit position.
        QTest::newRow("marker ending at 32767")
            << QString(32750, u' ') + u"class=\"vies_er\">Servizio sospeso</p>"_s << true << errore
            << QStringList(8);
    }
    void vies()
    {
        QFETCH(QString, pagina);
        QFETCH(bool, bMess);
        const LetturaPagina l = xGetVat(pagina, bMess);
        QVERIFY(!l.errore);
        QCOMPARE(l.risultato, !pagina.contains(u"vies_er"_s));
        QTEST(Voci(l.titoli, 1, 7), "titoli");
        QTEST(Voci(l.esiti, 1, 8), "esiti");
    }

    void viesIlleggibile_data()
    {
        QTest::addColumn<QString>("pagina");
        QTest::addColumn<int>("codice");
        QTest::newRow("no marker") << u"<h1>502 Bad Gateway</h1>"_s << 5;
        QTest::newRow("only four rows") << Vies(u"A"_s, u"n"_s, u"d"_s, 4) << 5;
        QTest::newRow("end marker beyond the cut") << Vies(QString(160, u'N')) << 5;
        QTest::newRow("date shorter than its lead-in")
            << Vies().replace(u"Data della richiesta: "_s, QString()) << 5;
        QTest::newRow("marker beyond 32767") << QString(32760, u' ') + Vies() << 6;
        QTest::newRow("marker ending at 32768") << QString(32751, u' ') + u"class=\"vies_er\">x</p>"_s << 6;
    }
    void viesIlleggibile()
    {
        QFETCH(QString, pagina);
        const LetturaPagina l = xGetVat(pagina, true);
        QVERIFY(l.errore);
        QTEST(l.errore->codice, "codice");
    }

    // 150 characters; "?" and what Windows-1252 cannot hold become "e' s", the scan covering only
    // the cut's first length; line ends and <strong> go, &agrave; becomes à.
    void taglio_data()
    {
        QTest::addColumn<QString>("pagina");
        QTest::addColumn<int>("posizione");
        QTest::addColumn<QString>("taglio");
        QTest::newRow("150 characters") << u"  "_s + QString(200, u'a') << 3 << QString(150, u'a');
        QTest::newRow("page end") << u"xyz"_s << 2 << u"yz"_s;
        QTest::newRow("cleaned") << u" A\r\nB<strong>C</strong>&agrave;&egrave;€ "_s << 1
                                 << u"ABCà&egrave;€"_s;
        QTest::newRow("outside 1252") << u"\u0141ODZ"_s << 1 << u"e' sODZ"_s;
        QTest::newRow("growth not rescanned") << u"??ab?"_s << 1 << u"e' se' sab?"_s;
    }
    void taglio()
    {
        QFETCH(QString, pagina);
        QFETCH(int, posizione);
        QTEST(xTagliaTesto(pagina, posizione), "taglio");
    }

    void esportazione_data()
    {
        QTest::addColumn<QString>("pagina");
        QTest::addColumn<bool>("bMess");
        QTest::addColumn<QStringList>("voci"); // titoli 2, 5, 6, 7, esiti 17, 18, 19
        QTest::addColumn<int>("codice");       // of the reading error, 0 for none
        const QStringList valori = {u"26IT"_s, u"USCITA"_s, u"03/12"_s};
        const QString ignoto = u"<div class=\"err\">MRN ignoto</div>"_s;
        QTest::newRow("concluded") << Export() << true
                                   << QStringList{{}, u"MRN"_s, u"Stato"_s, u"Data"_s} + valori << 0;
        QTest::newRow("blank third label")
            << Export(u"  "_s) << true
            << QStringList{{}, u"MRN"_s, u"Stato"_s, u"Uscita conclusa in data:"_s} + valori << 0;
        QTest::newRow("pending") << u"<div class=\"err\">In aTTesa di uscita</div>"_s << true
                                 << QStringList{u"=== In aTTesa di uscita ==="_s} + QStringList(6) << 0;
        QTest::newRow("unknown") << ignoto << true << QStringList{u"*** MRN ignoto ***"_s} + QStringList(6)
                                 << 0;
        QTest::newRow("unknown, silent") << ignoto << false << QStringList(7) << 0;
        QTest::newRow("error end missing, silent") << ignoto.chopped(6) << false << QStringList(7) << 5;
        QTest::newRow("chain broken") << Export().section(u"<i class=\"outexport2\">USCITA"_s, 0, 0) << true
                                      << QStringList{{}, u"MRN"_s, u"Stato"_s, {}, u"26IT"_s, {}, {}} << 5;
    }
    void esportazione()
    {
        QFETCH(QString, pagina);
        QFETCH(bool, bMess);
        const LetturaPagina l = xGetEsito(pagina, MarcatoriExport::Leggi(m_predefinite), bMess);
        QTEST(l.errore ? l.errore->codice : 0, "codice");
        QCOMPARE(l.risultato, !pagina.contains(u"class=\"err\""_s));
        QTEST((QStringList{l.titoli[2], l.titoli[5], l.titoli[6], l.titoli[7]} + Voci(l.esiti, 17, 19)),
              "voci");
    }

    void transito_data()
    {
        QTest::addColumn<QString>("pagina");
        QTest::addColumn<QStringList>("titoli"); // 1..5
        QTest::addColumn<QStringList>("esiti");  // 1..17
        QTest::addColumn<int>("codice");
        QString pagina;
        QStringList titoli, esiti;
        for (int i = 1; i <= 18; ++i) {
            pagina += (i <= 5 ? u"<b dati1\">L%1</b>"_s.arg(i) : QString()) + u"<b dati2\">V%1</b>"_s.arg(i);
            titoli << (i <= 4 ? u"L%1:  "_s.arg(i) : QString());
            esiti << (i <= 16 ? u"V%1"_s.arg(i) : QString());
        }
        const QString nonTrovato = u"<p class=\"err\">Per l'MRN: <b>X</b></p>non presente"_s;
        const QString perMrn = u"*** Per l'MRN: 26IT1234567890ABT7 ***"_s;
        QTest::newRow("first 4 labels, 16 values") << pagina << titoli.mid(0, 5) << esiti.mid(0, 17) << 0;
        QTest::newRow("two values") << u"<b dati2\">A</b><b dati2\">B</b>"_s << QStringList(5)
                                    << QStringList{u"A"_s, u"B"_s} + QStringList(15) << 0;
        QTest::newRow("MRN not found")
            << nonTrovato + u"<br>"_s << QStringList{{}, perMrn, u"*** non presente ***"_s, {}, {}}
            << QStringList(17) << 0;
        QTest::newRow("detail without end")
            << nonTrovato << QStringList{{}, perMrn, {}, {}, {}} << QStringList(17) << 5;
        QTest::newRow("other error undecorated")
            << u"<p class=\"err\">Sospeso</p>"_s << QStringList{{}, u"Sospeso"_s, {}, {}, {}}
            << QStringList(17) << 0;
    }
    void transito()
    {
        QFETCH(QString, pagina);
        const LetturaPagina l =
            xGetTransito(pagina, MarcatoriTransito::Leggi(m_predefinite), u"26IT1234567890ABT7"_s);
        QTEST(l.errore ? l.errore->codice : 0, "codice");
        QCOMPARE(l.risultato, !pagina.contains(u"class=\"err\""_s));
        QTEST(Voci(l.titoli, 1, 5), "titoli");
        QTEST(Voci(l.esiti, 1, 17), "esiti");
    }
};

QTEST_GUILESS_MAIN(TestLettura)
#include "tst_Lettura.moc"
