#pragma once
// Reading a list file of codes. Items are separated by line ends (LF, CR LF or CR) or by commas; an
// item in double quotes loses them and may hold commas; leading blanks (spaces, tabs) are skipped. A
// line end always ends an item, so a blank line is an empty item, while the last line end of the file
// adds none; a comma at the end of a line leaves an empty item after it. A quote that never closes
// ends at its line end; what follows a closing quote, up to the next comma or line end, is dropped.
// The file is Windows-1252, or UTF-8 when it starts with a UTF-8 byte order mark. Nothing here reads
// a file: bytes in, items out, so any bytes at all can be fed in and memory stays bounded per item.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

class QIODevice;

// Longer items are cut to this many UTF-16 units while they are read, never inside a character.
inline constexpr int kMassimoCaratteriVoce = 1000;

class ScomposizioneElenco
{
public:
    // The next bytes of the file, in any pieces: the items they complete are appended to `voci`, as
    // read (not yet normalised; empty ones included).
    void Aggiungi(QByteArrayView byte, QList<QString>& voci);
    // The end of the file: the item in progress, if one has begun, is appended too.
    void Chiudi(QList<QString>& voci);

private:
    enum class Stato { InizioVoce, Semplice, TraVirgolette, DopoVirgolette };

    void DecidiCodifica(QList<QString>& voci);
    void Byte(char c, QList<QString>& voci);
    void Emetti(QList<QString>& voci);

    Stato m_stato = Stato::InizioVoce;
    QByteArray m_voce;
    bool m_inCorso = false; // something since the last line end: the end of the file completes it
    bool m_dopoCR = false;  // a LF right after a CR belongs to the same line end
    bool m_codificaDecisa = false;
    bool m_utf8 = false;
    QByteArray m_inizio; // the first bytes, until they tell whether a byte order mark is there
};

// Every item of a whole file's bytes, as read (see ScomposizioneElenco).
QList<QString> VociElenco(QByteArrayView contenuto);

// The code an item stands for: upper case, blanks at both ends removed, and cut at its first blank
// so that a description may follow the code. "" when nothing is left.
QString NormalizzaVoce(const QString& voce);

// Reads an open list file as a stream, a block at a time.
class LettoreElenco
{
public:
    explicit LettoreElenco(QIODevice& file) : m_file(file) {}

    // The next item, normalised ("" for an empty one); nothing at the end of the file, or when it
    // cannot be read any further.
    std::optional<QString> Prossima();

private:
    QIODevice& m_file;
    ScomposizioneElenco m_scomposizione;
    QByteArray m_blocco;
    QList<QString> m_voci;
    qsizetype m_indice = 0;
    bool m_finito = false;
};
