#pragma once
// The window program's dialogs: real message boxes and file dialogs.

#include "core/Dialoghi.h"

class DialoghiFinestra : public Dialoghi
{
public:
    Risposta Mostra(const Messaggio& messaggio) override;
    QString ScegliCartella(const QString& titolo, const QString& iniziale) override;
    QString ScegliFile(const QString& titolo, const QString& cartella, const QString& filtro) override;
    SceltaStampante ScegliStampante(const SceltaStampante& attuale) override;
};
