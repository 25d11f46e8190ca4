#include "results/Esportazioni.h"

#include "core/Cp1252.h"
#include "core/Database.h"
#include "core/Dialoghi.h"
#include "core/UtilitaFile.h"
#include "results/FoglioDiCalcolo.h"
#include "results/FormatoCampi.h"
#include "session/Sessione.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kBlocco = 1 << 16; // bytes gathered before each write

// Column names (lower case) of `tabella` and their kinds.
QHash<QString, TipoCampo> TipiCampi(Database& database, const QString& tabella)
{
    QHash<QString, TipoCampo> tipi;
    QSqlQuery q(database.Connessione());
    q.prepare(u"SELECT name, type FROM pragma_table_info(?)"_s);
    q.addBindValue(tabella);
    if (q.exec()) {
        while (q.next())
            tipi.insert(q.value(0).toString().toLower(), TipoDichiarato(q.value(1).toString()));
    }
    return tipi;
}

// Runs the query forward only, so that rows are fetched as they are written. True when it gave a
// first row, on which it then stands.
bool PrimaRiga(Database& database, const Interrogazione& righe, QSqlQuery& q)
{
    if (!database.Aperto())
        return false;
    q.setForwardOnly(true);
    if (!q.prepare(righe.sql))
        return false;
    for (const QVariant& v : righe.valori)
        q.addBindValue(v);
    return q.exec() && q.next();
}

struct Colonna {
    int indice; // in the query's record; -1 when the query lacks the field
    TipoCampo tipo;
};

// Writes whole lines to a file, in blocks.
class Scrittura
{
public:
    explicit Scrittura(QFile& file) : m_file(file) { m_byte.reserve(kBlocco + 4096); }
    ~Scrittura() { m_file.write(m_byte); }

    void Riga(const QString& riga)
    {
        Cp1252::Accoda(m_byte, riga);
        m_byte.append("\r\n", 2);
        if (m_byte.size() >= kBlocco) {
            m_file.write(m_byte);
            m_byte.resize(0);
        }
    }

private:
    QFile& m_file;
    QByteArray m_byte;
};

// LibreOffice keeps no lock on a file it shows, only a lock file beside it.
bool ApertoNelFoglio(const QString& file)
{
    const QFileInfo info(file);
    return info.dir().exists(u".~lock."_s + info.fileName() + u'#');
}

} // namespace

EsitoEsportazione EsportaLista(Database& database, const Interrogazione& righe, const QString& file)
{
    QSqlQuery q(database.Connessione());
    if (!PrimaRiga(database, righe, q)) {
        MsgBox(u"NESSUN DATO DA ESPORTARE"_s);
        return EsitoEsportazione::NessunDato;
    }
    QFile archivio;
    if (ApriSenzaMessaggi(archivio, file, kModoScrittura) != 0) {
        MsgBox(u"IMPOSSIBILE SCRIVERE IL FILE\n"_s + file, Pulsanti::Ok, Icona::Esclamazione);
        return EsitoEsportazione::FileNonScritto;
    }
    const int codice = q.record().indexOf(u"Codice"_s);
    Scrittura scrittura(archivio);
    QString riga;
    do {
        riga.resize(0);
        AccodaCampo(riga, codice < 0 ? QVariant() : q.value(codice), TipoCampo::Testo);
        scrittura.Riga(riga);
    } while (q.next());
    return EsitoEsportazione::Scritta;
}

EsitoEsportazione ScriviCsv(Database& database, const VistaRisultati& vista, bool tutteLeColonne,
                            const QString& file)
{
    QSqlQuery q(database.Connessione());
    if (!PrimaRiga(database, vista.righe, q))
        return EsitoEsportazione::NessunDato;
    QFile archivio;
    if (ApertoNelFoglio(file) || ApriSenzaMessaggi(archivio, file, kModoScrittura) != 0)
        return EsitoEsportazione::FileNonScritto;

    const QHash<QString, TipoCampo> tipi = TipiCampi(database, vista.tabella);
    const QSqlRecord record = q.record();
    QList<Colonna> colonne;
    QString riga;
    for (const ColonnaGriglia& c : vista.colonne) {
        if (!c.visibile && !tutteLeColonne)
            continue;
        colonne.append({record.indexOf(c.campo), tipi.value(c.campo.toLower(), TipoCampo::Testo)});
        riga += c.intestazione + u';';
    }
    riga.remove(u'\r').remove(u'\n');

    Scrittura scrittura(archivio);
    scrittura.Riga(riga);
    do {
        riga.resize(0);
        for (const Colonna& c : colonne) {
            if (c.indice >= 0)
                AccodaCampo(riga, q.value(c.indice), c.tipo);
            riga += u';';
        }
        scrittura.Riga(riga);
    } while (q.next());
    return EsitoEsportazione::Scritta;
}

QString FileCsv(const Sessione& sessione, const QString& tabella)
{
    return sessione.dirTemp + u"EXP"_s + tabella + u".csv"_s;
}

void EsportaCsv(Sessione& sessione, const VistaRisultati& vista, bool tutteLeColonne)
{
    const QString file = FileCsv(sessione, vista.tabella);
    switch (ScriviCsv(sessione.database, vista, tutteLeColonne, file)) {
    case EsitoEsportazione::NessunDato:
        MsgBox(u"NESSUN DATO DA ESPORTARE"_s);
        break;
    case EsitoEsportazione::FileNonScritto:
        MsgBox(u"Il file è già aperto"_s);
        break;
    case EsitoEsportazione::Scritta:
        AvviaFoglioDiCalcolo(sessione.pathExcel, file);
        break;
    }
}
