// bench_esporta riempi DB RIGHE: a results table of RIGHE made-up answers in DB.
// bench_esporta esporta DB FILE: the results grid's nine columns of every row to FILE as CSV, then
// the peak resident memory of this process in MB on standard output.

#include "Processo.h"
#include "core/Database.h"
#include "results/Esportazioni.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kRighe = u"SELECT * FROM PartiteIVA ORDER BY Nazione, VAT"_s;

bool Riempi(Database& database, int righe)
{
    Transazione transazione(database);
    QSqlQuery q(database.Connessione());
    q.prepare(
        u"INSERT INTO PartiteIVA (Codice, Nazione, VAT, Esito, Denominazione, Indirizzo, Inizio, Fine, OK, "
        u"DataRichiesta) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    for (int i = 0; i < righe; ++i) {
        const QString vat = u"%1"_s.arg(i, 11, 10, QChar(u'0'));
        const int ok = i % 3;
        q.addBindValue(QString(u"IT"_s + vat));
        q.addBindValue(u"IT"_s);
        q.addBindValue(vat);
        q.addBindValue(ok == 1 ? u"Partita IVA non valida "_s : u"Partita IVA valida "_s);
        q.addBindValue(u"DITTA NUMERO %1 DI ROSSI E FIGLI S.R.L. "_s.arg(i));
        q.addBindValue(u"VIA GIUSEPPE GARIBALDI %1 20100 MILANO MI "_s.arg(i % 500));
        q.addBindValue(u"1990-02-01 00:00:00"_s);
        q.addBindValue(ok == 2 ? QVariant(u"2020-12-31 00:00:00"_s) : QVariant());
        q.addBindValue(ok);
        q.addBindValue(u"2026-12-05 14:30:00"_s);
        if (!q.exec())
            return false;
    }
    return transazione.Conferma();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    if (argomenti.size() != 4)
        return 2;
    Database database;
    if (!database.Apri(argomenti[2]))
        return 1;
    if (argomenti[1] == u"riempi"_s)
        return Riempi(database, argomenti[3].toInt()) ? 0 : 1;

    const VistaRisultati vista{u"PartiteIVA"_s,
                               {kRighe, {}},
                               {{u"N."_s, u"Nazione"_s},
                                {u"VAT"_s, u"VAT"_s},
                                {u"VALIDITA'"_s, u"Esito"_s},
                                {u"DENOMINAZIONE"_s, u"Denominazione"_s},
                                {u"INDIRIZZO"_s, u"Indirizzo"_s},
                                {u"INIZIO"_s, u"Inizio"_s},
                                {u"TERMINE"_s, u"Fine"_s},
                                {u"ES."_s, u"OK"_s},
                                {u"DATA RICH."_s, u"DataRichiesta"_s}}};
    if (ScriviCsv(database, vista, true, argomenti[3]) != EsitoEsportazione::Scritta)
        return 1;
    std::printf("%.1f\n", MemoriaMassimaMb());
    return 0;
}
