#include "core/Database.h"

#include "core/Attese.h"
#include "core/Dialoghi.h"

#include <QAtomicInt>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::Literals::StringLiterals;

namespace {

// The columns the results browser sorts by.
const QStringList kCampiOrdinabili = {u"Nazione"_s,       u"VAT"_s,          u"Esito"_s, u"Denominazione"_s,
                                      u"Indirizzo"_s,     u"Inizio"_s,       u"Fine"_s,  u"OK"_s,
                                      u"DataRichiesta"_s, u"Consultazione"_s};

struct Oggetto {
    QString nome;
    QString sql;
};

QList<Oggetto> Schema()
{
    const QString risultati =
        u"(Codice TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, Nazione TEXT, VAT TEXT, Esito TEXT, "
        u"Denominazione TEXT, Indirizzo TEXT, Inizio DATETIME, Fine DATETIME, OK INTEGER, DataRichiesta "
        u"DATETIME, "
        u"Consultazione TEXT)"_s;
    QStringList larghezze;
    for (int i = 1; i <= 20; ++i)
        larghezze << u"Col%1 INTEGER"_s.arg(i);

    QList<Oggetto> schema;
    for (const QString& t : {u"PartiteIVA"_s, u"WKPartiteIVA"_s}) {
        schema << Oggetto{t, u"CREATE TABLE "_s + t + risultati};
        // The filter columns come last: a filtered read along the index never needs the rows
        // it skips.
        for (const QString& campo : kCampiOrdinabili) {
            QStringList colonne = ChiaveOrdine(campo);
            for (const QString& filtro : {u"OK"_s, u"DataRichiesta"_s}) {
                if (!colonne.contains(filtro))
                    colonne << filtro;
            }
            const QString indice = IndiceOrdine(t, campo);
            schema << Oggetto{indice, u"CREATE INDEX %1 ON %2 (%3)"_s.arg(indice, t, colonne.join(u", "_s))};
        }
    }
    schema << Oggetto{u"LayOutCol"_s,
                      u"CREATE TABLE LayOutCol (Finestra TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, "_s +
                          larghezze.join(u", "_s) + u')'}
           << Oggetto{u"Colori"_s,
                      u"CREATE TABLE Colori (ColInd INTEGER NOT NULL PRIMARY KEY, ColRgb INTEGER)"_s};
    return schema;
}

// Columns added after the first version, last in their tables: a database made by an earlier
// version gains them with its rows kept. Both results tables change together, as the merge copies
// whole rows from one to the other.
struct Colonna {
    QString tabella;
    QString nome;
    QString tipo;
};
const QList<Colonna> kColonneAggiunte = {{u"PartiteIVA"_s, u"Consultazione"_s, u"TEXT"_s},
                                         {u"WKPartiteIVA"_s, u"Consultazione"_s, u"TEXT"_s}};

bool HaColonna(QSqlDatabase& db, const QString& tabella, const QString& colonna)
{
    QSqlQuery q(db);
    q.prepare(u"SELECT 1 FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE"_s);
    q.addBindValue(tabella);
    q.addBindValue(colonna);
    return q.exec() && q.next();
}

bool CreaOggetti(QSqlDatabase& db, QSqlQuery& q, const QStringList& mancanti);

bool CreaSchema(QSqlDatabase& db)
{
    QSqlQuery q(db);
    // Reading the catalogue is also what tells a sound database from any other file.
    if (!q.exec(u"SELECT name FROM sqlite_master"_s))
        return false;
    QSet<QString> presenti;
    while (q.next())
        presenti.insert(q.value(0).toString().toLower());
    // Columns first: an index may be on a column that a table of an earlier version lacks.
    QStringList mancanti;
    for (const Colonna& c : kColonneAggiunte) {
        if (presenti.contains(c.tabella.toLower()) && !HaColonna(db, c.tabella, c.nome))
            mancanti << u"ALTER TABLE %1 ADD COLUMN %2 %3"_s.arg(c.tabella, c.nome, c.tipo);
    }
    for (const Oggetto& o : Schema()) {
        if (!presenti.contains(o.nome.toLower()))
            mancanti << o.sql;
    }
    if (mancanti.isEmpty())
        return true;
    if (!presenti.isEmpty())
        return CreaOggetti(db, q, mancanti);
    // A new file holds nothing to lose: no wait for the disk, which a first start would pay several
    // times over.
    q.exec(u"PRAGMA synchronous = OFF"_s);
    const bool creato = CreaOggetti(db, q, mancanti);
    q.exec(u"PRAGMA synchronous = FULL"_s);
    return creato;
}

bool CreaOggetti(QSqlDatabase& db, QSqlQuery& q, const QStringList& mancanti)
{
    if (!db.transaction())
        return false;
    for (const QString& sql : mancanti) {
        if (!q.exec(sql)) {
            db.rollback();
            return false;
        }
    }
    if (db.commit())
        return true;
    db.rollback();
    return false;
}

QString NuovoNome()
{
    static QAtomicInt contatore;
    return u"tarvel-"_s + QString::number(contatore.fetchAndAddRelaxed(1));
}

} // namespace

QStringList ChiaveOrdine(const QString& campo)
{
    QStringList chiave{campo};
    for (const QString& pari : {u"Nazione"_s, u"VAT"_s, u"Codice"_s}) {
        if (pari.compare(campo, Qt::CaseInsensitive) != 0)
            chiave << pari;
    }
    return chiave;
}

QString IndiceOrdine(const QString& tabella, const QString& campo)
{
    return tabella + u"_Ordine_"_s + campo;
}

Database::Database() : m_nome(NuovoNome()), m_wk(*this) {}

Database::~Database()
{
    Chiudi();
}

QSqlDatabase Database::Connessione() const
{
    return QSqlDatabase::database(m_nome, false);
}

bool Database::Apri(const QString& file)
{
    Chiudi();
    bool aperto = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_nome);
        db.setDatabaseName(file);
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT="_s + QString::number(Attese().databaseOccupatoMs));
        aperto = db.open() && CreaSchema(db);
    }
    if (!aperto)
        Chiudi();
    m_aperto = aperto;
    return aperto;
}

void Database::Chiudi()
{
    m_wk.Chiudi();
    m_aperto = false;
    if (!QSqlDatabase::contains(m_nome))
        return;
    Connessione().close();
    QSqlDatabase::removeDatabase(m_nome);
}

bool Database::Esegui(const QString& sql, const QVariantList& valori, QString* errore)
{
    QSqlDatabase db = Connessione();
    if (!db.isOpen()) {
        if (errore)
            *errore = u"Il database non è aperto"_s;
        return false;
    }
    QSqlQuery q(db);
    bool riuscita = q.prepare(sql);
    for (const QVariant& v : valori)
        q.addBindValue(v);
    riuscita = riuscita && q.exec();
    if (!riuscita && errore)
        *errore = q.lastError().databaseText();
    return riuscita;
}

bool Database::ApriTabellaWk(const QString& nome, const QString& etichetta)
{
    m_wk.Chiudi();
    if (!m_aperto)
        return false;
    return ApriTabellaConRiprova(m_wk, u"WK"_s + nome, u"ERRORE IN APERTURA TABELLA "_s + etichetta,
                                 [](const Tabella& t) { return t.Errore(); });
}

bool ApriTabellaConRiprova(Tabella& tabella, const QString& nome, const QString& titolo,
                           const std::function<QString(const Tabella&)>& messaggio)
{
    for (int tentativo = 0; !tabella.Apri(nome); ++tentativo) {
        if (tentativo >= Attese().tentativiMassimi ||
            MsgBox(messaggio(tabella), Pulsanti::RiprovaAnnulla, Icona::Esclamazione, titolo,
                   Risposta::Riprova) != Risposta::Riprova)
            return false;
    }
    return true;
}

Transazione::Transazione(Database& database) : m_db(database.Connessione()), m_attiva(m_db.transaction()) {}

Transazione::~Transazione()
{
    if (m_attiva)
        m_db.rollback();
}

bool Transazione::Conferma()
{
    if (!m_attiva)
        return false;
    m_attiva = false;
    if (m_db.commit())
        return true;
    m_db.rollback();
    return false;
}
