#pragma once
// Shared file procedures: opening with a name check and a recoverable error dialog, existence
// tests, deleting and renaming files another program may still hold, choosing a folder.

#include <QFile>
#include <QString>

// How ApriArchivio opens a file.
enum ModoArchivio : int {
    kModoScrittura = 1, // from the start: created or emptied
    kModoLettura = 2,
    kModoAccodamento = 3,
    kModoRecord = 4,  // read-write, records of the caller's length
    kModoBinario = 5, // read-write, bytes
};

// Attribute bits of FileEsiste; 0 finds ordinary files only.
inline constexpr int kAttrNormale = 0;
inline constexpr int kAttrNascosto = 2; // names beginning with "."
inline constexpr int kAttrCartella = 16;

// Opens `nome` on `archivio` in `modo` (1..5). A name holding ; < = > ? * [ ] is refused with a
// message; errors the user can fix are offered for retry. False when no file was opened.
// A file another program holds locked counts as already open.
bool ApriArchivio(QFile& archivio, const QString& nome, int modo, int lunghezzaRecord = 0);

// Writes out and closes every file ApriArchivio opened that is still open, for an exit that skips
// the destructors which would.
void ChiudiArchiviAperti();

// Opens as ApriArchivio does, names unchecked, and shows nothing: 0 when the file is open, else the
// program's error number (ErroriFile.h).
int ApriSenzaMessaggi(QFile& archivio, const QString& nome, int modo, int lunghezzaRecord = 0);

// True when an entry matching `percorso` (wildcards * and ? in the name) and `attributi` exists.
// A path quoted with double quotes loses its quotes, in the caller's variable too.
bool FileEsiste(QString& percorso, int attributi = kAttrNormale);

// Deletes the file, retrying while it is held for up to `unita` + 1 units of time. Reports nothing.
void EliminaFile(const QString& percorso, int unita);

// Deletes `nuovo` if present, then renames `vecchio` to it, retrying for up to `unita` + 1 units.
void RinominaFile(const QString& vecchio, const QString& nuovo, int unita);

// The folder the user picks, starting at `iniziale` when not blank; "" when cancelled.
QString SfogliaCartella(const QString& iniziale, const QString& titolo);

// Every character that cannot stand in a file name on Windows or Linux becomes "_", so a name made
// from a number never leaves its folder.
QString NomeFileSicuro(QString nome);

// The text before the last "/" or "\", or "" when there is none.
QString CartellaDi(const QString& percorso);

// The folder with one separator at its end, ready for a file name.
QString CartellaConSeparatore(const QString& cartella);
