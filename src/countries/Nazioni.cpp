#include "countries/Nazioni.h"

#include "app/Globali.h"
#include "core/FileIni.h"
#include "core/Valori.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSezione = u"NAZIONI"_s;

void ScriviPredefinite()
{
    static const char16_t* const kRighe[][2] = {
        {u"AT", u"AUSTRIA,9,9,0,0,0,0"},
        {u"BE", u"BELGIO,10,10,0,0,0,0"},
        {u"BG", u"BULGARIA,9,10,0,0,0,0"},
        {u"CY", u"CIPRO,9,9,0,0,0,0"},
        {u"DK", u"DANIMARCA,8,8,0,0,0,0"},
        {u"EE", u"ESTONIA,9,9,0,0,0,0"},
        {u"FI", u"FINLANDIA,8,8,0,0,0,0"},
        {u"FR", u"FRANCIA,11,11,0,0,0,0"},
        {u"DE", u"GERMANIA,9,9,0,0,0,0"},
        {u"GB", u"GRAN BRETAGNA,5,5,9,9,12,12"},
        {u"EL", u"GRECIA,9,9,0,0,0,0"},
        {u"IE", u"IRLANDA,8,8,0,0,0,0"},
        {u"IT", u"ITALIA,11,11,0,0,0,0"},
        {u"LV", u"LETTONIA,11,11,0,0,0,0"},
        {u"LT", u"LITUANIA,9,9,12,12,0,0"},
        {u"LU", u"LUSSEMBURGO,8,8,0,0,0,0"},
        {u"MT", u"MALTA,8,8,0,0,0,0"},
        {u"NL", u"OLANDA,12,12,0,0,0,0"},
        {u"PL", u"POLONIA,10,10,0,0,0,0"},
        {u"PT", u"PORTOGALLO,9,9,0,0,0,0"},
        {u"CZ", u"REPUBBLICA CECA,8,10,0,0,0,0"},
        {u"RO", u"ROMANIA,2,10,0,0,0,0"},
        {u"SK", u"SLOVACCHIA,10,10,0,0,0,0"},
        {u"SI", u"SLOVENIA,8,8,0,0,0,0"},
        {u"ES", u"SPAGNA,9,9,0,0,0,0"},
        {u"SE", u"SVEZIA,12,12,0,0,0,0"},
        {u"HU", u"UNGHERIA,8,8,0,0,0,0"},
    };
    for (const auto& riga : kRighe)
        ScriviIni(gFileIni, kSezione, QString::fromUtf16(riga[0]), QString::fromUtf16(riga[1]));
}

// Lengths are bytes: anything outside 0..255 is clamped rather than refused, so a bad row still loads.
std::uint8_t Lunghezza(const QString& campo)
{
    return std::uint8_t(std::clamp<std::int64_t>(ArrotondaPari(ValNum(campo)), 0, 255));
}

} // namespace

void CaricaNazioni()
{
    QString codici = LeggiIni(gFileIni, kSezione, u"CODICI"_s);
    if (codici.isEmpty()) {
        codici = u"AT,BE,BG,CY,DK,EE,FI,FR,DE,GB,EL,IE,IT,LV,LT,LU,MT,NL,PL,PT,CZ,RO,SK,SI,ES,SE,HU,"_s;
        ScriviIni(gFileIni, kSezione, u"CODICI"_s, codici);
        ScriviPredefinite();
    }

    gNazioni.clear();
    for (const QString& codice : codici.split(u','))
        gNazioni.append(RigaNazione{codice, {}});

    for (qsizetype i = 0; i + 1 < gNazioni.size(); ++i) {
        RigaNazione& r = gNazioni[i];
        const QStringList campi = QString(LeggiIni(gFileIni, kSezione, r.codice) + u",,,,,,,"_s).split(u',');
        r.nome = campi[0];
        r.min1 = Lunghezza(campi[1]);
        r.max1 = Lunghezza(campi[2]);
        r.min2 = Lunghezza(campi[3]);
        r.max2 = Lunghezza(campi[4]);
        r.min3 = Lunghezza(campi[5]);
        r.max3 = Lunghezza(campi[6]);
    }
}

int PosizioneNazione(const QString& codice)
{
    for (qsizetype i = 0; i < gNazioni.size(); ++i) {
        if (gNazioni[i].codice == codice)
            return int(i);
    }
    return -1;
}
