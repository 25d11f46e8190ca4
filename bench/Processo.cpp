#include "Processo.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

double PiccoMemoriaMb(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("%s mancante: /usr/bin/time non ha misurato il programma", qPrintable(file));
    // Its last line: a failing program's exit status may come first.
    return f.readAll().trimmed().split('\n').last().toDouble() / 1024;
}

MisuraProcesso EseguiProgramma(const QString& cartella, const QStringList& argomenti, bool senzaErrori)
{
    const QString programma = cartella + QStringLiteral("/tarvel");
    if (!QFile::exists(QStringLiteral("/usr/bin/time")))
        qFatal("/usr/bin/time mancante: scripts/dipendenze.sh lo installa");
    if (!QFile::exists(programma) && !QFile::copy(QStringLiteral(TARVEL_ESEGUIBILE), programma))
        qFatal("impossibile copiare il programma in %s", qPrintable(cartella));

    // The peak memory comes from GNU time, which forks the program from its own small image: a
    // child's ru_maxrss would count this process's pages, resident in it until exec.
    const QString fileMemoria = cartella + QStringLiteral("/.memoria");
    // Everything the child needs is made before fork: only exec may follow it.
    std::vector<QByteArray> testi{
        "/usr/bin/time", "-f", "%M", "-o", QFile::encodeName(fileMemoria), QFile::encodeName(programma)};
    for (const QString& a : argomenti)
        testi.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& t : testi)
        argv.push_back(t.data());
    argv.push_back(nullptr);
    int tubo[2];
    if (::pipe(tubo) != 0)
        qFatal("pipe");

    QElapsedTimer orologio;
    orologio.start();
    const pid_t figlio = ::fork();
    if (figlio == 0) {
        ::dup2(tubo[1], STDOUT_FILENO);
        ::close(tubo[0]);
        ::close(tubo[1]);
        if (senzaErrori)
            ::dup2(::open("/dev/null", O_WRONLY), STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(tubo[1]);
    MisuraProcesso m;
    char pezzo[4096];
    for (ssize_t n; (n = ::read(tubo[0], pezzo, sizeof pezzo)) > 0;)
        m.uscita.append(pezzo, n);
    ::close(tubo[0]);
    int stato = 0;
    ::waitpid(figlio, &stato, 0);
    m.secondi = double(orologio.nsecsElapsed()) / 1e9;
    m.memoriaMb = PiccoMemoriaMb(fileMemoria);
    m.stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
    return m;
}

double MemoriaMassimaMb()
{
    QFile stato(QStringLiteral("/proc/self/status"));
    if (!stato.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& riga : stato.readAll().split('\n')) {
        if (riga.startsWith("VmHWM:"))
            return riga.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

QString CampoJson(const QByteArray& uscita, const QString& campo)
{
    return QJsonDocument::fromJson(uscita.left(uscita.indexOf('\n'))).object().value(campo).toString();
}

double Mediana(QList<double> valori)
{
    std::sort(valori.begin(), valori.end());
    return valori[valori.size() / 2];
}
