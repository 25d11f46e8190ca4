#include "Processo.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

MisuraProcesso EseguiProgramma(const QString& cartella, const QStringList& argomenti)
{
    const QString programma = cartella + QStringLiteral("/tarvel");
    if (!QFile::exists(programma) && !QFile::copy(QStringLiteral(TARVEL_ESEGUIBILE), programma))
        qFatal("impossibile copiare il programma in %s", qPrintable(cartella));

    // Everything the child needs is made before fork: only exec may follow it.
    std::vector<QByteArray> testi{QFile::encodeName(programma)};
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
    rusage uso{};
    ::wait4(figlio, &stato, 0, &uso);
    m.secondi = double(orologio.nsecsElapsed()) / 1e9;
    m.memoriaMb = double(uso.ru_maxrss) / 1024;
    m.stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
    return m;
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
