#pragma once
// The browser window: loads an answer page a second time, without cache or history, waits for it
// (asking the user every so often), then shows and/or prints it as the web options of its use say.
// Opened modally by the page display; nothing flows back to the query. It lives in the browser
// module (PluginBrowser.cpp), the only part of the program that links Qt WebEngine.

#include "web/ParametriWeb.h"

#include <QDialog>

#include <memory>

class Impostazioni;
class QPageLayout;
class QPrinter;
class QPushButton;
class QWebEngineView;

class FrmWeb : public QDialog
{
    Q_OBJECT

public:
    // `opzioni` are those of the use whose page this is; `dirTemp` takes PDF prints when the use
    // has no save folder.
    FrmWeb(Impostazioni& impostazioni, const OpzioniPagina& opzioni, const QString& dirTemp,
           QWidget* parent = nullptr);
    ~FrmWeb() override;

    void plUrl(const QString& indirizzo) { m_url = indirizzo; }
    void plObject(const QString& numero) { m_numero = numero; }
    void plTipo(const QString& tipo) { m_tipo = tipo; }

    // The first show places the window, loads the page and prints it before the window appears.
    void setVisible(bool visibile) override;
    void done(int risultato) override;

Q_SIGNALS:
    void StampaConclusa();

protected:
    bool event(QEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

private:
    void Colloca();
    void AttendiPagina();
    void StampaPagina();
    void StampaSuPdf(const QPageLayout& pagina);
    void AttendiStampa();

    Impostazioni& m_impostazioni;
    OpzioniPagina m_opzioni;
    QString m_dirTemp;
    std::unique_ptr<QPrinter> m_stampanteScelta; // the one a print dialog chose, for that print only
    QWebEngineView* m_browser;
    QPushButton* m_uscita;
    QString m_url;
    QString m_numero;
    QString m_tipo;
    int m_risposta = 6; // 6 wait on, 7 stop waiting; then the code of handing the page to the system
    bool m_caricata = false;
    bool m_paginaPronta = false;
    bool m_stampaFinita = false;
    bool m_stampaRiuscita = false;
};
