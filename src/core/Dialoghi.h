#pragma once
// The one seam for message boxes and system dialogs. The window program shows real dialogs, the
// tests script the answers and record the questions, the command line writes messages to standard
// error and takes the default. Code never calls QMessageBox, QFileDialog or QColorDialog directly.

#include "core/ColoreRgb.h"

#include <QString>

#include <memory>
#include <optional>

enum class Icona { Nessuna, Critica, Domanda, Esclamazione, Informazione };

// The button sets of the classic message box.
enum class Pulsanti { Ok, OkAnnulla, InterrompiRiprovaIgnora, SiNoAnnulla, SiNo, RiprovaAnnulla };

enum class Risposta { Ok, Annulla, Interrompi, Riprova, Ignora, Si, No };

// A printer as the print dialog chooses it: its name ("PDF" for the dialog's file printer) and, for
// that one, the output file named in the dialog ("" when none). No name: the dialog was cancelled.
struct SceltaStampante {
    QString nome;
    QString filePdf;
};

struct Messaggio {
    QString testo;
    QString titolo;
    Icona icona = Icona::Nessuna;
    Pulsanti pulsanti = Pulsanti::Ok;
    Risposta predefinita = Risposta::Ok; // always one of `pulsanti`
};

class Dialoghi
{
public:
    virtual ~Dialoghi() = default;

    virtual Risposta Mostra(const Messaggio& messaggio) = 0;
    // The folder chosen, or "" when the dialog is cancelled.
    virtual QString ScegliCartella(const QString& titolo, const QString& iniziale) = 0;
    // The file chosen to open, or "" when the dialog is cancelled. `filtro` as Qt's file dialogs take it.
    virtual QString ScegliFile(const QString& titolo, const QString& cartella, const QString& filtro) = 0;
    // The program file chosen, starting at `iniziale` (a folder, or a file to select in its folder);
    // only programs are offered. "" when the dialog is cancelled.
    virtual QString ScegliProgramma(const QString& titolo, const QString& iniziale) = 0;
    // The printer chosen in the system's print dialog, starting from `attuale`.
    virtual SceltaStampante ScegliStampante(const SceltaStampante& attuale) = 0;
    // The colour chosen in the system's colour dialog, which opens on black with `personalizzati` as
    // its custom colours; after a choice they hold what the user left there. Nothing when cancelled.
    virtual std::optional<ColoreRgb> ScegliColore(ColoriPersonalizzati& personalizzati) = 0;
};

// The dialogs in force; until one is installed, those of the command line.
Dialoghi& DialoghiCorrenti();
void ImpostaDialoghi(std::unique_ptr<Dialoghi> dialoghi);

// The buttons of a set, in the order they are shown.
QList<Risposta> RisposteDi(Pulsanti pulsanti);

// Shows a message. A default that is not in the set falls back to the set's first button.
Risposta MsgBox(const QString& testo, Pulsanti pulsanti = Pulsanti::Ok, Icona icona = Icona::Nessuna,
                const QString& titolo = QString(), Risposta predefinita = Risposta::Ok);

// Command line: "TITLE: text" on standard error, nothing chosen. A question that offers a retry is
// answered with its cancelling button, since nobody can mend anything meanwhile; any other takes its
// default.
class DialoghiRigaComando : public Dialoghi
{
public:
    Risposta Mostra(const Messaggio& messaggio) override;
    QString ScegliCartella(const QString& titolo, const QString& iniziale) override;
    QString ScegliFile(const QString& titolo, const QString& cartella, const QString& filtro) override;
    QString ScegliProgramma(const QString& titolo, const QString& iniziale) override;
    SceltaStampante ScegliStampante(const SceltaStampante& attuale) override;
    std::optional<ColoreRgb> ScegliColore(ColoriPersonalizzati& personalizzati) override;
};
