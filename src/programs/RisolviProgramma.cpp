#include "programs/RisolviProgramma.h"

#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace {

// The absolute path of an existing file, so a relative one is never looked up on PATH; "" otherwise.
QString FileEsistente(const QString& percorso)
{
    const QFileInfo info(percorso);
    return !percorso.isEmpty() && info.isFile() ? info.absoluteFilePath() : QString();
}

} // namespace

bool IndirizzoWebOPosta(const QString& testo)
{
    return testo.startsWith(u"www"_s) || testo.startsWith(u"http"_s) || testo.startsWith(u"mail"_s);
}

std::optional<QStringList> DividiComando(const QString& testo)
{
    enum class Stato { Fuori, Apici, Virgolette };
    Stato stato = Stato::Fuori;
    QStringList parole;
    QString parola;
    bool inParola = false; // "" is a word of its own
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar c = testo[i];
        const bool segue = i + 1 < testo.size();
        switch (stato) {
        case Stato::Fuori:
            if (c == u' ' || c == u'\t') {
                if (inParola)
                    parole.append(parola);
                parola.clear();
                inParola = false;
                continue;
            }
            inParola = true;
            if (c == u'\'')
                stato = Stato::Apici;
            else if (c == u'"')
                stato = Stato::Virgolette;
            else if (c == u'\\' && segue)
                parola += testo[++i];
            else
                parola += c;
            break;
        case Stato::Apici:
            if (c == u'\'')
                stato = Stato::Fuori;
            else
                parola += c;
            break;
        case Stato::Virgolette:
            if (c == u'"')
                stato = Stato::Fuori;
            else if (c == u'\\' && segue && (testo[i + 1] == u'"' || testo[i + 1] == u'\\'))
                parola += testo[++i];
            else
                parola += c;
            break;
        }
    }
    if (stato != Stato::Fuori)
        return std::nullopt;
    if (inParola)
        parole.append(parola);
    return parole;
}

std::optional<ComandoProgramma> RisolviProgramma(const QString& testo)
{
    const QString intero = testo.trimmed();
    if (const QString file = FileEsistente(intero); !file.isEmpty())
        return ComandoProgramma{file, {}};
    const std::optional<QStringList> parole = DividiComando(intero);
    if (!parole || parole->isEmpty())
        return std::nullopt;
    const QString& primo = parole->first();
    const QString programma =
        FileEsistente(primo.contains(u'/') ? primo : QStandardPaths::findExecutable(primo));
    if (programma.isEmpty())
        return std::nullopt;
    return ComandoProgramma{programma, parole->mid(1)};
}
