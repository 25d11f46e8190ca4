#pragma once
// The settings file tarvel.ini, read once and served from memory until it changes on disk. Each
// save rewrites the file through a temporary file and a rename, so a crash leaves either the old
// file or the new one. LeggiIni and ScriviIni of the program are Leggi and Scrivi here.
// A file too large, unreadable or not writable is told to the user once, naming it, through the
// message seam; the readers then fall back to their defaults.

#include "core/DocumentoIni.h"

#include <QList>
#include <QString>

// A key of the settings file: its section and its name (names match without regard to case).
struct Chiave {
    QString sezione;
    QString nome;
};

// A key that carries an index: the name followed by the index's digits ("Varie" and 3 give Varie3).
Chiave ChiaveIndicizzata(const QString& sezione, const QString& nome, int indice);

class Impostazioni
{
public:
    enum class Scrittura {
        SuFile,      // saves go to the file; a save that fails is lost, as if never made
        SoloMemoria, // the file is never created or written: saves stay in memory for this run
    };

    explicit Impostazioni(QString file, Scrittura scrittura = Scrittura::SuFile);

    const QString& File() const { return m_file; }
    bool FileEsiste() const;

    // "" when the key, its section or the file is missing or unreadable.
    QString Leggi(const Chiave& chiave) const;
    // The value through ValNum: 0 when missing or not a number.
    double Numero(const Chiave& chiave) const;

    void Scrivi(const Chiave& chiave, const QString& valore);
    // Several keys, in order, in one rewrite of the file.
    void Scrivi(const QList<std::pair<Chiave, QString>>& valori);

private:
    // Why the file cannot be used as it should.
    enum class Difetto { Nessuno, TroppoGrande, NonLeggibile };

    // What tells one version of the file from another: every save makes a new file (a new inode).
    struct Impronta {
        bool esiste = false;
        qint64 dimensione = 0;
        qint64 inode = 0;
        qint64 modificaNs = 0;
        bool operator==(const Impronta&) const = default;
    };

    Impronta ImprontaFile() const;
    void Aggiorna() const;
    void Salva(DocumentoIni documento);
    friend class GruppoScritture;
    // Once per object, for a command only: the window program keeps quiet about its settings file.
    void Segnala(Difetto difetto) const;

    QString m_file;
    Scrittura m_scrittura;
    mutable DocumentoIni m_documento;
    mutable Impronta m_impronta;
    mutable bool m_letto = false;
    mutable bool m_leggibile = true; // false when the file exists but cannot be read (or is too large)
    mutable Difetto m_difetto = Difetto::Nessuno;
    QList<std::pair<Chiave, QString>> m_inMemoria; // saves of a SoloMemoria run, kept across re-reads
    int m_gruppi = 0;                              // GruppoScritture alive
    bool m_inSospeso = false;                      // saves held by them
};

// While one lives, saves are held in memory (and read back) and reach the file in one rewrite when
// the last one ends: a start-up that writes many defaults rewrites the file once.
class GruppoScritture
{
public:
    explicit GruppoScritture(Impostazioni& impostazioni);
    ~GruppoScritture();
    GruppoScritture(const GruppoScritture&) = delete;
    GruppoScritture& operator=(const GruppoScritture&) = delete;

private:
    Impostazioni& m_impostazioni;
};
