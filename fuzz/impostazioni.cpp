// The settings reader: any file reads without a crash, and after keys are set the document answers
// every key exactly as a fresh reading of its own text does.

#include "core/Cp1252.h"
#include "core/DocumentoIni.h"

#include <QList>
#include <QPair>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

// Section and key names as the file's own lines offer them, a few dozen at most.
QList<QPair<QString, QString>> Nomi(const QByteArray& testo)
{
    QList<QPair<QString, QString>> nomi{{QStringLiteral("STARTUP"), QStringLiteral("POSX")},
                                        {QStringLiteral("NAZIONI"), QStringLiteral("CODICI")}};
    QString sezione;
    const QStringList righe = Cp1252::Decodifica(testo).split(u'\n');
    for (qsizetype i = 0; i < righe.size() && nomi.size() < 40; ++i) {
        const QString riga = righe[i].trimmed();
        if (riga.startsWith(u'['))
            sezione = riga.mid(1, riga.indexOf(u']') - 1);
        else if (riga.contains(u'='))
            nomi.append({sezione, riga.left(riga.indexOf(u'='))});
    }
    return nomi;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione)
{
    const QByteArray testo(reinterpret_cast<const char*>(dati), qsizetype(dimensione));
    DocumentoIni documento(testo);
    const QList<QPair<QString, QString>> nomi = Nomi(testo);
    for (qsizetype i = 0; i < nomi.size(); ++i) {
        const auto& [sezione, chiave] = nomi[i];
        documento.Valore(sezione, chiave);
        // Replaced, added to an existing section, added with a new section.
        switch (i % 3) {
        case 0:
            documento.Imposta(sezione, chiave, QStringLiteral("v%1\r\nX=1").arg(i));
            break;
        case 1:
            documento.Imposta(sezione, chiave + u'N', QStringLiteral("n%1").arg(i));
            break;
        default:
            documento.Imposta(chiave, sezione, QStringLiteral("s%1").arg(i));
        }
    }
    const DocumentoIni riletto(documento.Testo());
    for (const auto& [sezione, chiave] : nomi) {
        for (const QString& k : {chiave, QString(chiave + u'N'), sezione}) {
            if (documento.Valore(sezione, k) != riletto.Valore(sezione, k) ||
                documento.Valore(k, sezione) != riletto.Valore(k, sezione))
                std::abort();
        }
    }
    return 0;
}
