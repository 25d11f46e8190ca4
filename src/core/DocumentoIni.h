#pragma once
// The text of a settings file held in memory: a Windows-style INI file in Windows-1252 with CR LF
// line ends (LF accepted when read). Parsed once; lookups go through an index of its sections and
// keys, so a read costs the same however large the file is.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// The profile reader's 200-character buffer keeps 199 characters and the closing NUL.
inline constexpr qsizetype kLunghezzaMassimaValore = 199;

class DocumentoIni
{
public:
    DocumentoIni() = default;
    explicit DocumentoIni(const QByteArray& testo);

    // The value as the profile reader gives it: spaces around it removed, a matching pair of double
    // quotes removed, cut to 199 characters, then at its first NUL, TAB and "|", and trimmed of
    // spaces again. Names match without regard to case; the first section or key of a name wins.
    // Anything missing gives "".
    QString Valore(const QString& sezione, const QString& chiave) const;

    // Replaces the value in place, or adds the key after the last entry of its section, or adds the
    // section at the end. A line end inside the value becomes a space, so it cannot make new keys.
    void Imposta(const QString& sezione, const QString& chiave, const QString& valore);

    QByteArray Testo() const;

    // True when `valore` reads back from the file exactly as written (characters Windows-1252 lacks,
    // bars, tabs and enclosing quotes do not) and shorter than the reader's limit, so a value read
    // back at that limit is known to have been cut.
    static bool ValoreIntegro(const QString& valore);

private:
    struct Sezione {
        qsizetype intestazione = -1;
        QHash<QString, qsizetype> chiavi; // lower-case name -> line, first one only
    };

    void Indicizza();
    qsizetype FineSezione(qsizetype intestazione) const;

    QStringList m_righe;
    QHash<QString, Sezione> m_sezioni; // lower-case name -> first section of that name
};
