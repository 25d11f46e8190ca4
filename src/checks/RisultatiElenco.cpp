#include "checks/RisultatiElenco.h"

#include "core/ChiaviIni.h"
#include "core/Database.h"
#include "core/Dialoghi.h"
#include "core/Impostazioni.h"
#include "core/Valori.h"
#include "web/RispostaQuery.h"

#include <QSqlError>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kCapo = u"\r\n"_s;

// Stored texts end with one blank, so that none is ever empty.
QString ConSpazio(const QString& testo)
{
    return TogliSpazi(testo) + u' ';
}

QVariant Data(const QString& testo)
{
    const std::optional<QDateTime> data = DataGiornoMeseAnno(TogliSpazi(testo));
    return data ? QVariant(*data) : QVariant(0); // 0: the zero date, stored as no date
}

bool Fallita(const QString& errore)
{
    MsgBox(errore, Pulsanti::Ok, Icona::Esclamazione, u"ERRORE IN AGGIORNAMENTO TABELLA PartiteIVA"_s);
    return false;
}

bool Esegui(Database& database, const QString& sql)
{
    QString errore;
    return database.Esegui(sql, {}, &errore) || Fallita(errore);
}

} // namespace

UscitaElenco UscitaDaImpostazioni(const Impostazioni& impostazioni)
{
    const int indice = InteroCorto(impostazioni.Numero(Chiavi::ElencoCome()));
    return indice >= 0 && indice <= 2 ? UscitaElenco(indice) : UscitaElenco::File;
}

QString RigheEsiti(UscitaElenco come, int k, const QString& codice, const RispostaQuery& risposta,
                   QLocale locale)
{
    QString righe;
    switch (come) {
    case UscitaElenco::File:
        righe = codice + u'|';
        for (int j = 1; j < kNumeroEsiti; ++j)
            righe += risposta.ElencoEsiti[j] + u'|';
        return righe + kCapo;
    case UscitaElenco::Stampa:
        locale.setNumberOptions(QLocale::DefaultNumberOptions); // "#,##0": thousands grouped
        righe = locale.toString(k) + u") Risultato Partita IVA: "_s + codice + kCapo;
        for (int j = 1; j <= 7; ++j) {
            if (!risposta.ElencoEsiti[j].isEmpty())
                righe += risposta.ElencoTitoli[j] + u' ' + risposta.ElencoEsiti[j] + kCapo;
        }
        return righe + QString(80, u'-') + kCapo;
    case UscitaElenco::DataBase:
        break;
    }
    return righe;
}

bool RegistraRisposta(Tabella& tabella, const QString& codice, const RispostaQuery& risposta,
                      const QDateTime& adesso)
{
    if (tabella.Cerca(codice)) {
        if (!tabella.Modifica())
            return false;
    } else {
        tabella.AggiungiNuovo();
        tabella.ImpostaCampo(u"Codice"_s, codice);
    }
    const auto& esiti = risposta.ElencoEsiti;
    const QString& errore = risposta.ElencoTitoli[2];
    int classe = 0;
    tabella.ImpostaCampo(u"Nazione"_s, codice.left(2));
    tabella.ImpostaCampo(u"VAT"_s, codice.mid(2));
    if (errore.startsWith(u"***"_s)) {
        tabella.ImpostaCampo(u"Esito"_s, ConSpazio(errore.mid(4)));
        tabella.ImpostaCampo(u"Denominazione"_s, u" "_s);
        classe = 1;
    } else {
        tabella.ImpostaCampo(u"Esito"_s, ConSpazio(esiti[1]));
        tabella.ImpostaCampo(u"Denominazione"_s, ConSpazio(esiti[3]));
    }
    tabella.ImpostaCampo(u"Indirizzo"_s, ConSpazio(esiti[4]));
    tabella.ImpostaCampo(u"Inizio"_s, Data(esiti[5]));
    const QVariant fine = Data(esiti[6]);
    if (fine.typeId() == QMetaType::QDateTime)
        classe = 2; // an end of activity means a ceased number, whatever the outcome text said
    tabella.ImpostaCampo(u"Fine"_s, fine);
    tabella.ImpostaCampo(u"OK"_s, classe);
    const QVariant richiesta = Data(esiti[8]);
    tabella.ImpostaCampo(u"DataRichiesta"_s,
                         richiesta.typeId() == QMetaType::QDateTime ? richiesta : QVariant(adesso));
    tabella.ImpostaCampo(u"Consultazione"_s, risposta.consultazione); // none from the agency's page
    return tabella.Aggiorna();
}

bool FondiRisultati(Database& database)
{
    Transazione transazione(database);
    if (!transazione.Attiva())
        return Fallita(database.Connessione().lastError().databaseText());
    // A statement that fails leaves the transaction to be undone as it goes.
    if (!Esegui(database, u"DELETE FROM PartiteIVA WHERE Codice IN (SELECT Codice FROM WKPartiteIVA)"_s) ||
        !Esegui(database, u"INSERT INTO PartiteIVA SELECT WKPartiteIVA.* FROM WKPartiteIVA "
                          u"WHERE WKPartiteIVA.Codice NOT IN (SELECT Codice FROM PartiteIVA)"_s))
        return false;
    return transazione.Conferma() || Fallita(database.Connessione().lastError().databaseText());
}
