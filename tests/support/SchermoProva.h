#pragma once
// An X server of the test's own (Xvfb) with a small window manager (openbox), for the tests that need
// real window frames: offscreen windows have none. Made before the application object, it points the
// process's Qt at that display; both programs end with it.

#include <QString>

#include <cstdio>
#include <sys/types.h>

class SchermoProva
{
public:
    SchermoProva();
    ~SchermoProva();
    SchermoProva(const SchermoProva&) = delete;
    SchermoProva& operator=(const SchermoProva&) = delete;

    // Why there is no such display (a program missing, a start that failed); empty when it runs.
    QString Mancanza() const { return m_mancanza; }

private:
    struct Programma {
        FILE* uscita = nullptr; // what it writes
        pid_t pid = 0;
    };
    static Programma Lancia(const char* comando);
    bool Avvia();

    Programma m_xvfb;
    Programma m_openbox;
    QString m_mancanza;
};
