#pragma once
// The window program's dialogs: real message boxes, file, printer and colour dialogs.

#include "core/Dialoghi.h"

class DialoghiFinestra : public Dialoghi
{
public:
    Risposta Mostra(const Messaggio& messaggio) override;
    QString ScegliCartella(const QString& titolo, const QString& iniziale) override;
    QString ScegliFile(const QString& titolo, const QString& cartella, const QString& filtro) override;
    QString ScegliProgramma(const QString& titolo, const QString& iniziale) override;
    SceltaStampante ScegliStampante(const SceltaStampante& attuale) override;
    std::optional<ColoreRgb> ScegliColore(ColoriPersonalizzati& personalizzati) override;
};
