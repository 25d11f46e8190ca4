#include <QProcess>
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
    Esito Esegui(const QStringList& argomenti)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("TARVEL_ESEGUIBILE"), argomenti);
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
};

QTEST_GUILESS_MAIN(TestRigaComando)
#include "tst_RigaComando.moc"
