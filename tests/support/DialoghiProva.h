#pragma once
// Scripted dialogs for tests: every message is recorded, answers come from a queue, and when the
// queue is empty the message's default button is taken (folders, files, printers, colours: cancelled).

#include "core/Dialoghi.h"

#include <QList>
#include <QQueue>

#include <memory>
#include <optional>

class DialoghiProva : public Dialoghi
{
public:
    // Installs a fresh instance as the program's dialogs and returns it (owned by the seam).
    static DialoghiProva* Installa()
    {
        auto dialoghi = std::make_unique<DialoghiProva>();
        DialoghiProva* puntatore = dialoghi.get();
        ImpostaDialoghi(std::move(dialoghi));
        return puntatore;
    }

    void ProssimaRisposta(Risposta risposta) { m_risposte.enqueue(risposta); }
    void ProssimaCartella(const QString& cartella) { m_cartelle.enqueue(cartella); }
    // Answers file and program choices alike.
    void ProssimoFile(const QString& file) { m_file.enqueue(file); }
    void ProssimaStampante(const QString& nome, const QString& filePdf = {})
    {
        m_stampanti.enqueue({nome, filePdf});
    }
    // The next colour dialog ends with `colore` chosen (nothing: cancelled), the user having left
    // `personalizzati` among its custom colours when given.
    void ProssimoColore(std::optional<ColoreRgb> colore,
                        std::optional<ColoriPersonalizzati> personalizzati = {})
    {
        m_colori.enqueue({colore, personalizzati});
    }
    // The custom colours the last colour dialog opened with, and how many colour dialogs opened.
    const ColoriPersonalizzati& PersonalizzatiMostrati() const { return m_personalizzatiMostrati; }
    int DialoghiColore() const { return m_dialoghiColore; }

    const QList<Messaggio>& Messaggi() const { return m_messaggi; }
    // Title and starting place of each program choice asked for.
    const QList<QStringList>& ProgrammiChiesti() const { return m_programmiChiesti; }
    void Svuota() { m_messaggi.clear(); }

    Risposta Mostra(const Messaggio& messaggio) override
    {
        m_messaggi.append(messaggio);
        return m_risposte.isEmpty() ? messaggio.predefinita : m_risposte.dequeue();
    }
    QString ScegliCartella(const QString&, const QString&) override { return Prossima(m_cartelle); }
    QString ScegliFile(const QString&, const QString&, const QString&) override { return Prossima(m_file); }
    QString ScegliProgramma(const QString& titolo, const QString& iniziale) override
    {
        m_programmiChiesti.append({titolo, iniziale});
        return Prossima(m_file);
    }
    SceltaStampante ScegliStampante(const SceltaStampante&) override { return Prossima(m_stampanti); }
    std::optional<ColoreRgb> ScegliColore(ColoriPersonalizzati& personalizzati) override
    {
        ++m_dialoghiColore;
        m_personalizzatiMostrati = personalizzati;
        const RispostaColore risposta = Prossima(m_colori);
        if (risposta.colore && risposta.personalizzati)
            personalizzati = *risposta.personalizzati;
        return risposta.colore;
    }

private:
    template <typename T> static T Prossima(QQueue<T>& coda) { return coda.isEmpty() ? T() : coda.dequeue(); }

    struct RispostaColore {
        std::optional<ColoreRgb> colore;
        std::optional<ColoriPersonalizzati> personalizzati;
    };

    QList<Messaggio> m_messaggi;
    QList<QStringList> m_programmiChiesti;
    QQueue<Risposta> m_risposte;
    QQueue<QString> m_cartelle;
    QQueue<QString> m_file;
    QQueue<SceltaStampante> m_stampanti;
    QQueue<RispostaColore> m_colori;
    ColoriPersonalizzati m_personalizzatiMostrati{};
    int m_dialoghiColore = 0;
};
