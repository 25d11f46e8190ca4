#include "core/Tabella.h"

#include "core/Database.h"
#include "core/Valori.h"

#include <QMap>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <cmath>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFormatoData = u"yyyy-MM-dd HH:mm:ss"_s;
constexpr double kSerialeMassimo = 3e6; // beyond year 9999

bool Numerico(const QVariant& valore)
{
    return valore.typeId() == QMetaType::LongLong || valore.typeId() == QMetaType::Double;
}

QVariant DataLetta(const QVariant& valore)
{
    if (valore.isNull())
        return QVariant(QMetaType::fromType<QDateTime>());
    // A date serial some other tool stored as a number.
    if (Numerico(valore) && std::abs(valore.toDouble()) < kSerialeMassimo)
        return QVariant(MomentoDaSeriale(valore.toDouble()));
    const QString testo = valore.toString();
    QDateTime momento = QDateTime::fromString(testo, kFormatoData);
    if (!momento.isValid())
        momento = QDateTime::fromString(testo, Qt::ISODate);
    return momento.isValid() ? QVariant(momento) : valore; // a text some other tool wrote stays text
}

// The stored form of a date: ISO text, NULL for the zero date; nothing when the value is out of range.
// Numbers and day/month/year texts are date serials, so 0 and texts that are no date give the zero date.
std::optional<QVariant> DataDaScrivere(const QVariant& valore)
{
    QDateTime momento;
    if (valore.typeId() == QMetaType::QDateTime || valore.typeId() == QMetaType::QDate)
        momento = valore.toDateTime();
    else if (valore.typeId() == QMetaType::QString)
        momento = QDateTime::fromString(valore.toString().trimmed(), kFormatoData);
    if (!momento.isValid()) {
        const double seriale = ValNum(valore);
        if (!(std::abs(seriale) < kSerialeMassimo))
            return std::nullopt;
        momento = MomentoDaSeriale(seriale);
    }
    if (momento.date() == OrigineSeriale() && momento.time() == QTime(0, 0))
        return QVariant();
    return QVariant(momento.toString(kFormatoData));
}

} // namespace

QSqlDatabase Tabella::Db() const
{
    return m_database.Connessione();
}

QString Tabella::Id(const QString& nome) const
{
    return Db().driver()->escapeIdentifier(nome, QSqlDriver::FieldName);
}

bool Tabella::Apri(const QString& nome)
{
    Chiudi();
    QSqlDatabase db = Db();
    if (!db.isOpen())
        return Fallita(u"Il database non è aperto"_s);
    QSqlQuery prova(db);
    if (!prova.exec(u"SELECT * FROM "_s + db.driver()->escapeIdentifier(nome, QSqlDriver::TableName) +
                    u" LIMIT 0"_s))
        return Fallita(prova.lastError());

    QSqlQuery info(db);
    info.prepare(u"SELECT name, type, pk FROM pragma_table_info(?) ORDER BY cid"_s);
    info.addBindValue(nome);
    if (!info.exec())
        return Fallita(info.lastError());
    QMap<int, QString> chiave;
    while (info.next()) {
        m_colonne << info.value(0).toString();
        m_date << info.value(1).toString().startsWith(u"DATE"_s, Qt::CaseInsensitive);
        if (info.value(2).toInt() > 0)
            chiave.insert(info.value(2).toInt(), m_colonne.last());
    }
    m_chiave = chiave.values();
    m_nome = nome;
    m_errore.clear();
    return true;
}

void Tabella::Chiudi()
{
    m_nome.clear();
    m_colonne.clear();
    m_date.clear();
    m_chiave.clear();
    m_rowid = -1;
    m_valori.clear();
    m_nuovi.clear();
    m_impostati.clear();
    m_stato = Stato::Lettura;
}

bool Tabella::Fallita(const QString& errore)
{
    m_errore = errore;
    m_codiceErrore.clear();
    return false;
}

bool Tabella::Fallita(const QSqlError& errore)
{
    m_errore = errore.databaseText();
    m_codiceErrore = errore.nativeErrorCode();
    return false;
}

QString Tabella::Ordine() const
{
    if (m_chiave.isEmpty())
        return u"rowid"_s;
    QStringList colonne;
    for (const QString& c : m_chiave)
        colonne << Id(c);
    return colonne.join(u", "_s);
}

bool Tabella::Leggi(const QString& condizione, const QVariantList& valori)
{
    m_rowid = -1;
    m_valori.clear();
    m_stato = Stato::Lettura;
    QSqlQuery q(Db());
    q.prepare(u"SELECT rowid, * FROM "_s + Id(m_nome) + condizione + u" ORDER BY "_s + Ordine() +
              u" LIMIT 1"_s);
    for (const QVariant& v : valori)
        q.addBindValue(v);
    if (!q.exec())
        return Fallita(q.lastError());
    if (!q.next())
        return false;
    m_rowid = q.value(0).toLongLong();
    for (qsizetype i = 0; i < m_colonne.size(); ++i)
        m_valori << (m_date[i] ? DataLetta(q.value(int(i) + 1)) : q.value(int(i) + 1));
    return true;
}

bool Tabella::Cerca(const QVariantList& chiave)
{
    m_rowid = -1;
    if (!Aperta() || m_chiave.isEmpty() || chiave.size() != m_chiave.size())
        return Fallita(u"Chiave non valida per la tabella "_s + m_nome);
    QStringList uguali;
    for (const QString& c : m_chiave)
        uguali << Id(c) + u" = ?"_s;
    return Leggi(u" WHERE "_s + uguali.join(u" AND "_s), chiave);
}

bool Tabella::MuoviPrimo()
{
    return Aperta() && Leggi(QString(), {});
}

bool Tabella::MuoviSuccessivo()
{
    if (Fine())
        return false;
    if (m_chiave.isEmpty())
        return Leggi(u" WHERE rowid > ?"_s, {m_rowid});
    QStringList colonne;
    QStringList segni;
    QVariantList valori;
    for (const QString& c : m_chiave) {
        colonne << Id(c);
        segni << u"?"_s;
        valori << m_valori.value(m_colonne.indexOf(c));
    }
    return Leggi(u" WHERE ("_s + colonne.join(u", "_s) + u") > ("_s + segni.join(u", "_s) + u')', valori);
}

int Tabella::ContaRecord()
{
    QSqlQuery q(Db());
    if (!Aperta() || !q.exec(u"SELECT COUNT(*) FROM "_s + Id(m_nome)) || !q.next()) {
        Fallita(q.lastError());
        return 0;
    }
    return q.value(0).toInt();
}

void Tabella::AggiungiNuovo()
{
    m_stato = Stato::Nuovo;
    m_nuovi = QVariantList(m_colonne.size());
    m_impostati = QList<bool>(m_colonne.size(), false);
}

bool Tabella::Modifica()
{
    if (Fine())
        return Fallita(u"Nessun record corrente"_s);
    m_stato = Stato::Modifica;
    m_nuovi = m_valori;
    m_impostati = QList<bool>(m_colonne.size(), false);
    return true;
}

bool Tabella::ImpostaCampo(int posizione, const QVariant& valore)
{
    if (m_stato == Stato::Lettura || posizione < 0 || posizione >= m_colonne.size())
        return false;
    if (m_date[posizione]) {
        const std::optional<QVariant> data = DataDaScrivere(valore);
        if (!data)
            return Fallita(u"Data non valida nel campo "_s + m_colonne[posizione]);
        m_nuovi[posizione] = DataLetta(*data);
    } else {
        m_nuovi[posizione] = valore;
    }
    m_impostati[posizione] = true;
    return true;
}

bool Tabella::ImpostaCampo(const QString& nome, const QVariant& valore)
{
    return ImpostaCampo(Posizione(nome), valore);
}

bool Tabella::Aggiorna()
{
    if (m_stato == Stato::Lettura)
        return Fallita(u"Nessuna modifica in corso"_s);
    QStringList colonne;
    QVariantList valori;
    for (qsizetype i = 0; i < m_colonne.size(); ++i) {
        if (m_impostati[i]) {
            colonne << Id(m_colonne[i]);
            valori << (m_date[i] ? *DataDaScrivere(m_nuovi[i]) : m_nuovi[i]);
        }
    }
    QString sql;
    if (m_stato == Stato::Nuovo) {
        sql = u"INSERT INTO "_s + Id(m_nome);
        sql += colonne.isEmpty() ? u" DEFAULT VALUES"_s
                                 : u" ("_s + colonne.join(u", "_s) + u") VALUES ("_s +
                                       QStringList(colonne.size(), u"?"_s).join(u", "_s) + u')';
    } else {
        if (colonne.isEmpty()) {
            m_stato = Stato::Lettura;
            return true;
        }
        sql = u"UPDATE "_s + Id(m_nome) + u" SET "_s + colonne.join(u" = ?, "_s) + u" = ? WHERE rowid = ?"_s;
        valori << m_rowid;
    }
    QSqlQuery q(Db());
    q.prepare(sql);
    for (const QVariant& v : valori)
        q.addBindValue(v);
    if (!q.exec())
        return Fallita(q.lastError());
    const qint64 rowid = m_stato == Stato::Nuovo ? q.lastInsertId().toLongLong() : m_rowid;
    return Leggi(u" WHERE rowid = ?"_s, {rowid});
}

int Tabella::Posizione(const QString& nome) const
{
    for (qsizetype i = 0; i < m_colonne.size(); ++i) {
        if (m_colonne[i].compare(nome, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QVariant Tabella::Campo(int posizione) const
{
    return m_stato == Stato::Lettura ? m_valori.value(posizione) : m_nuovi.value(posizione);
}

QVariant Tabella::Campo(const QString& nome) const
{
    return Campo(Posizione(nome));
}
