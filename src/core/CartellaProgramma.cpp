#include "core/CartellaProgramma.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace {

std::optional<QString>& Cartella()
{
    static std::optional<QString> cartella;
    return cartella;
}

QString CalcolaCartella()
{
    const QString eseguibile = QCoreApplication::applicationDirPath();
    if (QFileInfo(eseguibile).isWritable())
        return eseguibile;
    const QString utente = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(utente);
    return utente;
}

} // namespace

void ImpostaIdentitaApplicazione()
{
    QCoreApplication::setApplicationName(QString::fromUtf16(kNomeBaseProgramma));
    QCoreApplication::setApplicationVersion(VersioneProgramma());
}

QString CartellaProgramma()
{
    if (!Cartella())
        Cartella() = CalcolaCartella();
    return *Cartella();
}

void ImpostaCartellaProgramma(const QString& cartella)
{
    Cartella() = QDir::cleanPath(cartella);
}

QString VersioneProgramma()
{
    return QStringLiteral("%1.%2.%3")
        .arg(TARVEL_VERSIONE_MAGGIORE)
        .arg(TARVEL_VERSIONE_MINORE)
        .arg(TARVEL_VERSIONE_REVISIONE);
}
