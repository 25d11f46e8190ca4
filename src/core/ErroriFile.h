#pragma once
// The file errors as the program numbers them, and the message the user sees for each.

#include <QString>

// The numbers callers and messages use; the platform's own errors are mapped onto them.
enum ErroreFile : int {
    kErrNomeErrato = 52,
    kErrFileNonTrovato = 53,
    kErrModoErrato = 54,
    kErrGiaAperto = 55,
    kErrIO = 57,
    kErrLunghezzaRecord = 59,
    kErrDiscoPieno = 61,
    kErrFineFile = 62,
    kErrNomeErrato2 = 64,
    kErrDeviceNonDisponibile = 68,
    kErrPermessoNegato = 70,
    kErrDiscoNonPronto = 71,
    kErrAccessoPercorso = 75,
    kErrPercorsoInesistente = 76,
};

// Answers of MessaggioErroreFile.
inline constexpr int kRispostaRiprova = 0;
inline constexpr int kRispostaChiuso = 2; // OK or Cancel
inline constexpr int kRispostaNessunMessaggio = 3;

// The program's number for a system error (errno) met on `percorso`.
int NumeroErroreFile(int erroreSistema, const QString& percorso);

// Shows the message of `numero` for `nomeFile`, with Retry and Cancel for the errors a user can fix.
// 0 on Retry, 2 on OK or Cancel, 3 when the number has no message (nothing shown).
int MessaggioErroreFile(int numero, const QString& nomeFile);
