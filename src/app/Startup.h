#pragma once
// The main window: creating it runs the start-up sequence, its menu bar opens every working
// window, and closing it saves its position and ends the program.

#include "programs/Applicativi.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class GesNaz;
enum class TabellaSfogliata;
class Impostazioni;
class QAction;
class QMenu;
class Sessione;

class Startup : public QMainWindow
{
    Q_OBJECT

public:
    // Opens the session of the program folder.
    explicit Startup(QWidget* parent = nullptr);
    ~Startup() override;

    Sessione& SessioneAperta() { return *m_sessione; }

    // Reads the web parameters and the Applicativi entries and rebuilds the Applicativi menu.
    void CaricaParametri();

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void CreaMenu();
    void ScriviPosizioneIniziale(Impostazioni& impostazioni);
    void FissaDimensioni();
    void RipristinaPosizione();
    void MostraInformazioni();
    void ApriVatSingola();
    void ApriEleVat();
    void ApriEleVATok(TabellaSfogliata tabella);
    void ApriGesNaz();
    void ApriGesAppl();
    void MostraVoce(int indice, const QString& nome, bool visibile);

    double Dpi() const;
    QSize SchermoInTwips() const;

    std::unique_ptr<Sessione> m_sessione;
    std::array<QAction*, kNumeroApplicativi + 1> m_Mprg_var{}; // index 0 unused
    QMenu* m_Mprg_base = nullptr;
    QPointer<GesNaz> m_gesNaz; // the one country window, while it is open
    int m_larghezzaFissa = 0;  // twips
    int m_altezzaFissa = 0;    // twips
    bool m_primoAvvio = false; // no settings file at start: centred on the screen
};
