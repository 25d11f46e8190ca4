#include "results/ModelloRisultati.h"

#include "core/Valori.h"
#include "results/ColonneRisultati.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kBlocco = 100;  // rows read at a time
constexpr int kMassimo = 400; // rows kept

// dd/mm/yyyy, then hh.mm.ss when the time is not midnight.
QString TestoMomento(const QDateTime& momento)
{
    QString testo = momento.date().toString(u"dd/MM/yyyy"_s);
    if (momento.time() != QTime(0, 0))
        testo += momento.time().toString(u" HH.mm.ss"_s);
    return testo;
}

QString TestoData(const QVariant& valore)
{
    if (valore.isNull())
        return {};
    if (valore.typeId() == QMetaType::QString) {
        const QString testo = valore.toString();
        QDateTime momento = QDateTime::fromString(testo, u"yyyy-MM-dd HH:mm:ss"_s);
        if (!momento.isValid())
            momento = QDateTime::fromString(testo, Qt::ISODate);
        return momento.isValid() ? TestoMomento(momento) : testo;
    }
    // A date serial some other tool stored as a number.
    return TestoMomento(MomentoDaSeriale(ValNum(valore)));
}

int Validita(const QVariant& ok)
{
    if (ok.isNull())
        return 0;
    const qint64 codice = ok.toLongLong();
    return codice == 1 || codice == 2 ? int(codice) : 0;
}

} // namespace

QString TestoCella(int colonna, const QVariant& valore)
{
    switch (colonna) {
    case kColInizio:
    case kColFine:
        // The zero date is stored as NULL.
        return valore.isNull() ? u" "_s : TestoData(valore);
    case kColDataRichiesta:
        return TestoData(valore);
    case kColOk:
        if (valore.isNull())
            return {};
        switch (valore.toLongLong()) {
        case 0:
            return u" "_s;
        case 1:
            return u"E"_s;
        case 2:
            return u"C"_s;
        default:
            return valore.toString();
        }
    default:
        return valore.toString();
    }
}

ModelloRisultati::ModelloRisultati(Database& database, QObject* parent)
    : QAbstractTableModel(parent), m_database(database)
{}

ModelloRisultati::~ModelloRisultati() = default;

void ModelloRisultati::Filtra(const SelezioneRisultati& selezione)
{
    beginResetModel();
    m_selezione = selezione;
    Ricomincia();
    m_totale = m_scorrimento->Conta();
    endResetModel();
}

void ModelloRisultati::Ordina(const OrdineRisultati& ordine)
{
    beginResetModel();
    m_selezione.ordine = ordine;
    Ricomincia();
    endResetModel();
}

void ModelloRisultati::Ricomincia()
{
    m_scorrimento = std::make_unique<ScorrimentoRisultati>(m_database, m_selezione);
    m_righe.clear();
    m_inizio = 0;
}

int ModelloRisultati::rowCount(const QModelIndex& genitore) const
{
    return genitore.isValid() ? 0 : int(std::min<qint64>(m_totale, std::numeric_limits<int>::max()));
}

int ModelloRisultati::columnCount(const QModelIndex& genitore) const
{
    return genitore.isValid() ? 0 : kColonneRisultati;
}

QVariant ModelloRisultati::data(const QModelIndex& indice, int ruolo) const
{
    if (!indice.isValid() || (ruolo != Qt::DisplayRole && ruolo != kRuoloValidita))
        return {};
    const RigaRisultati* riga = Riga(indice.row());
    if (!riga)
        return {};
    if (ruolo == kRuoloValidita)
        return Validita(riga->value(kColOk + 1));
    return TestoCella(indice.column(), riga->value(indice.column() + 1));
}

QVariant ModelloRisultati::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const
{
    if (orientamento != Qt::Horizontal || ruolo != Qt::DisplayRole)
        return {};
    return ColonneRisultati().value(sezione).intestazione;
}

// The row from the rows kept, reading on from their ends when it lies just beyond them and around
// it when it lies further away.
const RigaRisultati* ModelloRisultati::Riga(qint64 r) const
{
    const auto presente = [this](qint64 r) { return r >= m_inizio && r < m_inizio + m_righe.size(); };
    if (presente(r))
        return &m_righe[r - m_inizio];

    const qint64 fine = m_inizio + m_righe.size();
    if (!m_righe.isEmpty() && r >= fine && r < fine + kBlocco) {
        m_righe += m_scorrimento->Seguenti(&m_righe.last(), int(r - fine) + kBlocco, false);
        if (m_righe.size() > kMassimo) {
            const qsizetype via = m_righe.size() - kMassimo;
            m_righe.remove(0, via);
            m_inizio += via;
        }
    } else if (!m_righe.isEmpty() && r < m_inizio && r >= m_inizio - kBlocco) {
        QList<RigaRisultati> prima =
            m_scorrimento->Seguenti(&m_righe.first(), int(m_inizio - r) + kBlocco, true);
        std::reverse(prima.begin(), prima.end());
        m_inizio -= prima.size();
        m_righe = prima + m_righe;
        if (m_righe.size() > kMassimo)
            m_righe.resize(kMassimo);
    } else {
        Salta(r);
    }
    return presente(r) ? &m_righe[r - m_inizio] : nullptr;
}

// Reads the rows around `r` afresh: from either end when it is near one, else from the row at `r`.
void ModelloRisultati::Salta(qint64 r) const
{
    m_righe.clear();
    if (r < kBlocco) {
        m_righe = m_scorrimento->Seguenti(nullptr, kBlocco, false);
        m_inizio = 0;
        return;
    }
    if (r >= m_totale - kBlocco) {
        m_righe = m_scorrimento->Seguenti(nullptr, kBlocco, true);
        std::reverse(m_righe.begin(), m_righe.end());
        m_inizio = m_totale - m_righe.size();
        return;
    }
    const std::optional<RigaRisultati> centro = m_scorrimento->AllaPosizione(r, m_totale);
    if (!centro) {
        m_inizio = r;
        return;
    }
    m_righe = m_scorrimento->Seguenti(&*centro, kBlocco / 2, true);
    std::reverse(m_righe.begin(), m_righe.end());
    m_inizio = r - m_righe.size();
    m_righe << *centro << m_scorrimento->Seguenti(&*centro, kBlocco / 2, false);
}
