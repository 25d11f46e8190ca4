#include "support/SchermoProva.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kAttesaMs = 15000;

// Starts `argomenti` with this process's environment, its output discarded; 0 when it cannot start.
pid_t Avvia(const QStringList& argomenti)
{
    std::vector<QByteArray> testi;
    for (const QString& a : argomenti)
        testi.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& t : testi)
        argv.push_back(t.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_addopen(&azioni, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&azioni, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int errore = posix_spawnp(&pid, argv[0], &azioni, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&azioni);
    return errore == 0 ? pid : 0;
}

void Termina(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

} // namespace

SchermoProva::SchermoProva()
{
    QStringList mancanti;
    for (const QString& programma : {u"Xvfb"_s, u"openbox"_s}) {
        if (QStandardPaths::findExecutable(programma).isEmpty())
            mancanti << programma;
    }
    if (!mancanti.isEmpty())
        m_mancanza = u"Non installati: "_s + mancanti.join(u", "_s);
    else if (!Avvia())
        m_mancanza = u"Xvfb o openbox non partono"_s;
}

SchermoProva::~SchermoProva()
{
    Termina(m_openbox);
    Termina(m_xvfb);
}

bool SchermoProva::Avvia()
{
    // Xvfb picks a free display and writes its number on this pipe once it takes connections.
    int tubo[2];
    if (pipe(tubo) != 0)
        return false;
    fcntl(tubo[0], F_SETFD, FD_CLOEXEC);
    m_xvfb = ::Avvia({u"Xvfb"_s, u"-displayfd"_s, QString::number(tubo[1]), u"-screen"_s, u"0"_s,
                      u"1920x1200x24"_s, u"-nolisten"_s, u"tcp"_s});
    close(tubo[1]);
    QByteArray numero;
    pollfd attesa{tubo[0], POLLIN, 0};
    char c = 0;
    while (m_xvfb && poll(&attesa, 1, kAttesaMs) == 1 && read(tubo[0], &c, 1) == 1 && c != '\n')
        numero += c;
    close(tubo[0]);
    if (numero.isEmpty())
        return false;
    qputenv("DISPLAY", ':' + numero);
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("WAYLAND_DISPLAY");

    // openbox runs its start-up command once it manages the screen.
    QTemporaryDir cartella;
    const QString pronto = cartella.filePath(u"pronto"_s);
    m_openbox = ::Avvia({u"openbox"_s, u"--sm-disable"_s, u"--startup"_s, u"touch "_s + pronto});
    const QDeadlineTimer scadenza(kAttesaMs);
    while (m_openbox && !QFileInfo::exists(pronto) && !scadenza.hasExpired())
        QThread::msleep(20);
    return QFileInfo::exists(pronto);
}
