#pragma once
// One GET in flight. It ends exactly once, emitting Conclusa(); nothing it meets is thrown.

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

    // Takes the reply over; `limite` spans the whole request, redirects and body included.
    RichiestaHttp(QNetworkReply* risposta, std::chrono::milliseconds limite, QObject* genitore = nullptr);
    // A request that fails at once with `errore` (reported from the event loop, like any other end).
    RichiestaHttp(const QUrl& indirizzo, const QString& errore, QObject* genitore = nullptr);
    ~RichiestaHttp() override;

    bool Finita() const { return m_finita; }
    const EsitoHttp& Esito() const { return m_esito; }

public Q_SLOTS:
    // Ends the request as failed with `motivo` (a stop button, a time limit); nothing once ended.
    void Interrompi(const QString& motivo);

Q_SIGNALS:
    void Conclusa();

private:
    void Leggi();
    void ControllaLunghezza();
    void Concludi();
    void Termina(const QString& errore); // "" for success

    QPointer<QNetworkReply> m_risposta;
    QTimer m_scadenza;
    QString m_motivo; // set when we abort the reply ourselves
    bool m_finita = false;
    EsitoHttp m_esito;
};
