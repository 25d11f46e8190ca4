#include "core/Impostazioni.h"
#include "web/LetturaPagine.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// A VIES answer page: rows T1..T5 hold V1, `nome`, V3..V5, then a note and the request date.
QString Vies(const QString& nome = u"ROSSI"_s)
{
    QString t = u"<p class=\"vies_ok\"> Valida </p>\r\n<table>"_s;
    for (int i = 1; i <= 5; ++i)
        t += u"<tr><th>T%1</th><td> %2 </td></tr>\r\n"_s.arg(i).arg(i == 2 ? nome : u"V%1"_s.arg(i));
    return t + u"</table><p class=\"vies_note\">N</p><p class=\"vies_date\">Data della richiesta: 5/12</p>"_s;
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
    // A page read, or why it cannot be: 5 a marker missing, 6 a marker beyond the 16-bit positions.
    void vies_data()
    {
        QTest::addColumn<QString>("pagina");
        QTest::addColumn<bool>("bMess");
        QTest::addColumn<QStringList>("voci"); // titoli 1..7, esiti 1..8
        QTest::addColumn<int>("codice");
        const QString sospeso = u"<p class=\"vies_er\">  Servizio sospeso</p><th>x</th>"_s;
        QTest::newRow("valid") << Vies() << true
                               << QStringList{u"Esito: "_s, u"T1"_s, u"T2"_s,     u"T3"_s, u"T4"_s,
                                              u"T5"_s,      {},      u"Valida"_s, u"V1"_s, u"ROSSI"_s,
                                              u"V3"_s,      u"V4"_s, u"V5"_s,     u"N"_s,  u"5/12"_s}
                               << 0;
        QTest::newRow("service error")
            << sospeso << true << QStringList{{}, u"*** Servizio sospeso"_s} + QStringList(13) << 0;
        QTest::newRow("service error, silent") << sospeso << false << QStringList(15) << 0;
        QTest::newRow("no marker") << u"<h1>502 Bad Gateway</h1>"_s << true << QStringList() << 5;
        QTest::newRow("end marker beyond the cut") << Vies(QString(160, u'N')) << true << QStringList() << 5;
        QTest::newRow("marker beyond 32767") << QString(32760, u' ') + Vies() << true << QStringList() << 6;
        QTest::newRow("marker ending at 32768")
            << QString(32751, u' ') + u"class=\"vies_er\">x</p>"_s << true << QStringList() << 6;
    }
    void vies()
    {
        QFETCH(QString, pagina);
        QFETCH(bool, bMess);
        const LetturaPagina l = xGetVat(pagina, bMess);
        QTEST(l.errore ? l.errore->codice : 0, "codice");
        if (l.errore)
            return;
        QCOMPARE(l.risultato, !pagina.contains(u"vies_er"_s));
        QTEST(Voci(l.titoli, 1, 7) + Voci(l.esiti, 1, 8), "voci");
    }

    // 150 characters; "?" and what Windows-1252 cannot hold become "e' s", the scan covering only
    // the cut's first length; line ends and <strong> go, &agrave; becomes à.
    void taglio_data()
    {
        QTest::addColumn<QString>("pagina");
        QTest::addColumn<int>("posizione");
        QTest::addColumn<QString>("taglio");
        QTest::newRow("150 characters") << u"  "_s + QString(200, u'a') << 3 << QString(150, u'a');
        QTest::newRow("cleaned") << u" A\r\nB<strong>C</strong>&agrave;&egrave;€ "_s << 1
                                 << u"ABCà&egrave;€"_s;
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
        QTest::newRow("MRN not found")
            << nonTrovato + u"<br>"_s << QStringList{{}, perMrn, u"*** non presente ***"_s, {}, {}}
            << QStringList(17) << 0;
        QTest::newRow("detail without end")
            << nonTrovato << QStringList{{}, perMrn, {}, {}, {}} << QStringList(17) << 5;
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
