#include "programs/ServiziSistema.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace {

std::function<bool(const QUrl&)>& Apertura()
{
    static std::function<bool(const QUrl&)> apri;
    return apri;
}

} // namespace

bool AvviaProgramma(const ComandoProgramma& comando, const QString& argomento)
{
    QStringList argomenti = comando.argomenti;
    if (!argomento.isEmpty())
        argomenti.append(argomento);
    return QProcess::startDetached(comando.programma, argomenti);
}

bool ApriIndirizzo(const QUrl& indirizzo)
{
    return Apertura() ? Apertura()(indirizzo) : QDesktopServices::openUrl(indirizzo);
}

void ImpostaApriIndirizzo(std::function<bool(const QUrl&)> apri)
{
    Apertura() = std::move(apri);
}
