#pragma once
// Scripted dialogs for tests: every message is recorded, answers come from a queue, and when the
// queue is empty the message's default button is taken (folders and files: cancelled).

#include "core/Dialoghi.h"

#include <QList>
#include <QQueue>

class DialoghiProva : public Dialoghi
{
public:
    // Installs a fresh instance as the program's dialogs and returns it (owned by the seam).
    static DialoghiProva* Installa();

    void ProssimaRisposta(Risposta risposta) { m_risposte.enqueue(risposta); }
    void ProssimaCartella(const QString& cartella) { m_cartelle.enqueue(cartella); }
    void ProssimoFile(const QString& file) { m_file.enqueue(file); }
    void ProssimaStampante(const QString& nome, const QString& filePdf = {})
    {
        m_stampanti.enqueue({nome, filePdf});
    }

    const QList<Messaggio>& Messaggi() const { return m_messaggi; }
    void Svuota() { m_messaggi.clear(); }

    Risposta Mostra(const Messaggio& messaggio) override;
    QString ScegliCartella(const QString& titolo, const QString& iniziale) override;
    QString ScegliFile(const QString& titolo, const QString& cartella, const QString& filtro) override;
    SceltaStampante ScegliStampante(const SceltaStampante& attuale) override;

private:
    QList<Messaggio> m_messaggi;
    QQueue<Risposta> m_risposte;
    QQueue<QString> m_cartelle;
    QQueue<QString> m_file;
    QQueue<SceltaStampante> m_stampanti;
};
