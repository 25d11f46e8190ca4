#include "support/DialoghiProva.h"

DialoghiProva* DialoghiProva::Installa()
{
    auto dialoghi = std::make_unique<DialoghiProva>();
    DialoghiProva* puntatore = dialoghi.get();
    ImpostaDialoghi(std::move(dialoghi));
    return puntatore;
}

Risposta DialoghiProva::Mostra(const Messaggio& messaggio)
{
    m_messaggi.append(messaggio);
    return m_risposte.isEmpty() ? messaggio.predefinita : m_risposte.dequeue();
}

QString DialoghiProva::ScegliCartella(const QString&, const QString&)
{
    return m_cartelle.isEmpty() ? QString() : m_cartelle.dequeue();
}

QString DialoghiProva::ScegliFile(const QString&, const QString&, const QString&)
{
    return m_file.isEmpty() ? QString() : m_file.dequeue();
}

QString DialoghiProva::ScegliProgramma(const QString& titolo, const QString& iniziale)
{
    m_programmiChiesti.append({titolo, iniziale});
    return m_file.isEmpty() ? QString() : m_file.dequeue();
}

SceltaStampante DialoghiProva::ScegliStampante(const SceltaStampante&)
{
    return m_stampanti.isEmpty() ? SceltaStampante() : m_stampanti.dequeue();
}

std::optional<ColoreRgb> DialoghiProva::ScegliColore(ColoriPersonalizzati& personalizzati)
{
    ++m_dialoghiColore;
    m_personalizzatiMostrati = personalizzati;
    if (m_colori.isEmpty())
        return std::nullopt;
    const RispostaColore risposta = m_colori.dequeue();
    if (risposta.colore && risposta.personalizzati)
        personalizzati = *risposta.personalizzati;
    return risposta.colore;
}
