#pragma once
// One GET, made by the HTTP client: waiting for its turn, then in flight. It ends exactly once,
// emitting Conclusa(); nothing it meets is thrown.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>

class QNetworkReply;

struct EsitoHttp {
    bool riuscita = false; // the page arrived whole, whatever its HTTP status
    QString errore;        // why it did not, in Italian
    int stato = 0;         // HTTP status, 0 when no answer came
    QUrl indirizzo;        // the address answered, after redirects
    QString testo;         // the page decoded by its charset; empty when failed
    QByteArray corpo;      // the page as received; empty when failed
};

class RichiestaHttp : public QObject
{
    Q_OBJECT

public:
    // Larger answers are cut off as soon as they pass it.
    static constexpr qsizetype kDimensioneMassima = 4 * 1024 * 1024;

    ~RichiestaHttp() override;

    bool Finita() const { return m_finita; }
    const EsitoHttp& Esito() const { return m_esito; }
    const QUrl& Indirizzo() const { return m_indirizzo; }

public Q_SLOTS:
    // Ends the request as failed with `motivo` (a stop button, a time limit), whether it is waiting
    // or in flight; nothing once ended.
    void Interrompi(const QString& motivo);

Q_SIGNALS:
    void Conclusa();

private:
    friend class ClientHttp;
    RichiestaHttp(const QUrl& indirizzo, std::chrono::milliseconds limite, QObject* gruppo);

    // Sent now: the reply is taken over and the time limit starts, spanning redirects and body.
    void Parti(QNetworkReply* risposta);
    // Ends at once with `errore`, from the event loop like any other end.
    void FallisciPoi(const QString& errore);

    void Leggi();
    void ControllaIntestazioni();
    void Concludi();
    void Termina(const QString& errore); // "" for success

    QUrl m_indirizzo;
    std::chrono::milliseconds m_limite;
    QPointer<QNetworkReply> m_risposta;
    QTimer m_scadenza;
    QString m_motivo; // set when we abort the reply ourselves
    bool m_finita = false;
    EsitoHttp m_esito;
};
