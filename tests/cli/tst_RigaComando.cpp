#include "core/FileIni.h"
#include "support/ServerProva.h"

#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// Runs the real program: commands must work without a display.
class TestRigaComando : public QObject
{
    Q_OBJECT

private:
    struct Esito {
        int stato;
        QString out;
        QString err;
    };
    Esito Esegui(const QStringList& argomenti,
                 const QString& eseguibile = qEnvironmentVariable("TARVEL_ESEGUIBILE"))
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
        p.setProcessEnvironment(env);
        p.start(eseguibile, argomenti);
        if (!p.waitForFinished(30000))
            return {-1, {}, {}};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

private Q_SLOTS:
    void versione()
    {
        const Esito e = Esegui({u"--version"_s});
        QCOMPARE(e.stato, 0);
        QCOMPARE(e.out, u"tarvel 1.0.0\n"_s);
    }

    void aiuto()
    {
        const Esito e = Esegui({u"--help"_s});
        QCOMPARE(e.stato, 0);
        QVERIFY(e.out.startsWith(u"Uso: tarvel"_s));
        QVERIFY(e.out.contains(u"--version"_s));
    }

    void comandoSconosciuto()
    {
        const Esito e = Esegui({u"--boh"_s});
        QCOMPARE(e.stato, 2);
        QVERIFY(e.out.isEmpty());
        QVERIFY(e.err.contains(u"--boh"_s));
        QVERIFY(e.err.contains(u"Uso: tarvel"_s));
    }

    // The real program, copied into a folder of its own whose settings point at the test server.
    void verifica()
    {
        ServerProva server;
        server.Imposta(
            u"/vies?stato=IT&piva=00743110157"_s,
            PaginaProva::Html("<p class=\"vies_ok\">Partita IVA valida</p>"
                              "<th>Stato</th><td>IT</td><th>Denominazione</th><td>ROSSI SRL</td>"
                              "<th>Indirizzo</th><td>VIA PO 1</td><th>Inizio</th><td>01/02/1990</td>"
                              "<th>Fine</th><td></td><p class=\"vies_note\">Nota</p>"
                              "<p class=\"vies_date\">Data della richiesta: 05/12/2026</p>"));
        QTemporaryDir cartella;
        const QString eseguibile = cartella.filePath(u"tarvel"_s);
        QVERIFY(QFile::copy(qEnvironmentVariable("TARVEL_ESEGUIBILE"), eseguibile));
        const QString ini = cartella.filePath(u"tarvel.ini"_s);
        ScriviIni(ini, u"INDIRIZZIWEB"_s, u"VAT"_s, server.Indirizzo(u"/vies?stato="_s).toString());
        ScriviIni(ini, u"INDIRIZZIWEB"_s, u"TEMPOMAX"_s, u"2"_s);

        Esito e = Esegui({u"verifica"_s, u"--json"_s, u"it00743110157"_s, u"IT123"_s, u"FR 1"_s}, eseguibile);
        QCOMPARE(e.stato, 1);
        const QStringList righe = e.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(righe.size(), 3);
        QCOMPARE(
            righe[0],
            u"{\"codice\":\"it00743110157\",\"stato\":0,"
            u"\"titoli\":[\"Esito:\",\"Stato\",\"Denominazione\",\"Indirizzo\",\"Inizio\",\"Fine\",\"\"],"
            u"\"esiti\":[\"Partita IVA valida\",\"IT\",\"ROSSI SRL\",\"VIA PO 1\",\"01/02/1990\",\"\","
            u"\"Nota\",\"05/12/2026\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]}"_s);
        QVERIFY(righe[1].startsWith(
            u"{\"codice\":\"IT123\",\"stato\":1,\"titoli\":[\"\",\"*** Lunghezza VAT errata 11-11\","_s));
        QVERIFY(righe[2].startsWith(u"{\"codice\":\"FR 1\",\"stato\":1,"_s));
        QCOMPARE(server.Richieste(), QStringList{u"/vies?stato=IT&piva=00743110157"_s});
        QVERIFY(QFileInfo(cartella.filePath(u"TempFile"_s)).isDir());

        e = Esegui({u"verifica"_s, u"IT00743110157"_s}, eseguibile);
        QCOMPARE(e.stato, 0);
        QVERIFY(e.out.startsWith(u"IT00743110157\n  Esito:                    Partita IVA valida\n"_s));
        QVERIFY(e.out.contains(u"  Denominazione             ROSSI SRL\n"_s));

        server.Svuota(); // unknown pages answer 404 without markers
        e = Esegui({u"verifica"_s, u"IT00743110157"_s, u"IT1"_s}, eseguibile);
        QCOMPARE(e.stato, 9);
        QCOMPARE(e.out, u"IT00743110157\n  # Connessione INTERNET non attiva #\n"
                        u"IT1\n  *** Lunghezza VAT errata 11-11\n"_s);

        QCOMPARE(Esegui({u"verifica"_s, u"--json"_s}, eseguibile).stato, 2);
    }
};

QTEST_GUILESS_MAIN(TestRigaComando)
#include "tst_RigaComando.moc"
