#pragma once
// A program to start: the executable and the arguments that go before anything the caller adds.

#include <QString>
#include <QStringList>

struct ComandoProgramma {
    QString programma;
    QStringList argomenti;

    bool Vuoto() const { return programma.isEmpty(); }
    bool operator==(const ComandoProgramma&) const = default;
};
