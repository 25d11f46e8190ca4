#pragma once
// Runs the program as a child process and measures it; measures this process too.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct MisuraProcesso {
    double memoriaMb = 0; // the child's own peak resident memory
    double secondi = 0;
    int stato = -1; // exit status, -1 when it did not exit normally
    QByteArray uscita;
};

// Copies the built program into `cartella` (it keeps its settings beside itself) and runs it there
// with `argomenti`, waiting for its end; its standard error is dropped when `senzaErrori`.
MisuraProcesso EseguiProgramma(const QString& cartella, const QStringList& argomenti,
                               bool senzaErrori = false);

// The peak resident memory, in MB, that `/usr/bin/time -f %M -o file` wrote in `file`.
double PiccoMemoriaMb(const QString& file);

// This process's own peak resident memory, in MB (0 when it cannot be read).
double MemoriaMassimaMb();

// The value of a text field of the first JSON line of `uscita` ("" when missing).
QString CampoJson(const QByteArray& uscita, const QString& campo);

// The middle value of `valori` (at least one).
double Mediana(QList<double> valori);
