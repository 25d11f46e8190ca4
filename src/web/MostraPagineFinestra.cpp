#include "web/MostraPagineFinestra.h"

#include <QDesktopServices>
#include <QUrl>

bool MostraPagineFinestra::MostraNelBrowser(const QString&, const QString&, const QString&)
{
    return true;
}

void MostraPagineFinestra::ApriDocumento(const QString& file)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}
