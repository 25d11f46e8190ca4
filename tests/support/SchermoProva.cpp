#include "support/SchermoProva.h"

#include <QStandardPaths>
#include <QStringList>

#include <poll.h>
#include <signal.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A line of what a program writes, waited for 15 s at most; empty when none came.
QByteArray Riga(FILE* uscita)
{
    QByteArray riga;
    pollfd attesa{fileno(uscita), POLLIN, 0};
    char c = 0;
    while (poll(&attesa, 1, 15000) == 1 && read(fileno(uscita), &c, 1) == 1 && c != '\n')
        riga += c;
    return riga;
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
    for (const Programma& programma : {m_openbox, m_xvfb}) {
        if (programma.pid > 0)
            kill(programma.pid, SIGTERM);
        if (programma.uscita)
            pclose(programma.uscita);
    }
}

// Through the shell, which writes its process number and then becomes the program.
SchermoProva::Programma SchermoProva::Lancia(const char* comando)
{
    const QByteArray riga = QByteArray("echo $$; exec ") + comando + " 2>/dev/null";
    FILE* uscita = popen(riga.constData(), "r");
    return {uscita, uscita ? pid_t(Riga(uscita).toInt()) : 0};
}

bool SchermoProva::Avvia()
{
    // Xvfb picks a free display and writes its number once it takes connections.
    m_xvfb = Lancia("Xvfb -displayfd 1 -screen 0 1920x1200x24 -nolisten tcp");
    const QByteArray numero = m_xvfb.uscita ? Riga(m_xvfb.uscita) : QByteArray();
    if (numero.isEmpty())
        return false;
    qputenv("DISPLAY", ':' + numero);
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("WAYLAND_DISPLAY");
    // openbox runs its start-up command once it manages the screen, after lines of its own.
    m_openbox = Lancia("openbox --sm-disable --startup 'echo pronto'");
    for (QByteArray riga = "-"; m_openbox.uscita && !riga.isEmpty();) {
        riga = Riga(m_openbox.uscita);
        if (riga == "pronto")
            return true;
    }
    return false;
}
