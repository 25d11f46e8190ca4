#include "countries/Nazioni.h"

#include "core/ChiaviIni.h"
#include "core/Impostazioni.h"
#include "core/Valori.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kCodiciPredefiniti =
    u"AT,BE,BG,CY,DK,EE,FI,FR,DE,GB,EL,IE,IT,LV,LT,LU,MT,NL,PL,PT,CZ,RO,SK,SI,ES,SE,HU,"_s;

// The default rows: code, then the value written under it.
constexpr const char16_t* kRighePredefinite[][2] = {
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

void ScriviPredefinite(Impostazioni& impostazioni)
{
    QList<std::pair<Chiave, QString>> valori{{Chiavi::Codici(), kCodiciPredefiniti}};
    for (const auto& riga : kRighePredefinite)
        valori.append({Chiavi::Nazione(QString::fromUtf16(riga[0])), QString::fromUtf16(riga[1])});
    impostazioni.Scrivi(valori);
}

// Name and lengths from a row's value, "NOME,min1,max1,min2,max2,min3,max3"; missing fields are 0.
void LeggiRiga(RigaNazione& r, const QString& valore)
{
    const QStringList campi = QString(valore + u",,,,,,,"_s).split(u',');
    r.nome = campi[0];
    r.min1 = LunghezzaNazione(campi[1]);
    r.max1 = LunghezzaNazione(campi[2]);
    r.min2 = LunghezzaNazione(campi[3]);
    r.max2 = LunghezzaNazione(campi[4]);
    r.min3 = LunghezzaNazione(campi[5]);
    r.max3 = LunghezzaNazione(campi[6]);
}

} // namespace

std::uint8_t LunghezzaNazione(const QString& campo)
{
    return std::uint8_t(std::clamp<std::int64_t>(ArrotondaPari(ValNum(campo)), 0, 255));
}

void Nazioni::Carica(Impostazioni& impostazioni)
{
    m_righe.clear();
    const QString codici = impostazioni.Leggi(Chiavi::Codici());
    if (codici.isEmpty()) {
        // Taken from memory, not read back: a file that cannot be written still gets the table.
        ScriviPredefinite(impostazioni);
        for (const auto& [codice, valore] : kRighePredefinite) {
            LeggiRiga(m_righe.emplaceBack(RigaNazione{QString::fromUtf16(codice), {}}),
                      QString::fromUtf16(valore));
        }
        m_righe.append(RigaNazione{}); // after the last comma of the default codes
        return;
    }

    for (const QString& codice : codici.split(u','))
        m_righe.append(RigaNazione{codice, {}});
    for (qsizetype i = 0; i + 1 < m_righe.size(); ++i)
        LeggiRiga(m_righe[i], impostazioni.Leggi(Chiavi::Nazione(m_righe[i].codice)));
}

int Nazioni::Posizione(const QString& codice) const
{
    for (qsizetype i = 0; i < m_righe.size(); ++i) {
        if (m_righe[i].codice == codice)
            return int(i);
    }
    return -1;
}

EsitoFormato Nazioni::ControlloFormatoVAT(const QString& numero) const
{
    if (numero.isEmpty())
        return {u"*** Codice VAT non indicato "_s, -1};

    const QString prefisso = numero.left(2);
    const int riga = Posizione(prefisso);
    if (riga < 0)
        return {u"*** Nazione CEE  '"_s + prefisso + u"'  inesistente "_s, -1};

    const RigaNazione& r = m_righe[riga];
    const qsizetype n = numero.size() - 2;
    QString messaggio = u"*** Lunghezza VAT errata "_s;
    const std::uint8_t intervalli[3][2] = {{r.min1, r.max1}, {r.min2, r.max2}, {r.min3, r.max3}};
    for (int k = 0; k < 3; ++k) {
        const auto [minimo, massimo] = intervalli[k];
        // A zero minimum switches its range off and ends the list.
        if (minimo == 0)
            break;
        if (n >= minimo && n <= massimo)
            return {{}, riga};
        if (k > 0)
            messaggio += u", "_s;
        messaggio += QString::number(minimo);
        if (massimo != 0)
            messaggio += u'-' + QString::number(massimo);
    }
    return {messaggio, riga};
}
