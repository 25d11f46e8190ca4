#include "web/MostraPagineFinestra.h"

#include "web/FrmWeb.h"
#include "web/RunFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QUrl>

bool MostraPagineFinestra::MostraNelBrowser(const PaginaDaMostrare& pagina)
{
    FrmWeb finestra(m_impostazioni, pagina.opzioni, m_dirTemp, QApplication::activeWindow());
    finestra.plUrl(pagina.indirizzo);
    finestra.plObject(pagina.numero);
    finestra.plTipo(pagina.tipo);
    finestra.exec();
    return true;
}

void MostraPagineFinestra::ApriDocumento(const QString& file)
{
    // Silent: a page that could not be saved was already reported by ApriArchivio.
    const QFileInfo pagina(file);
    if (pagina.exists())
        ApriConSistema(QUrl::fromLocalFile(pagina.absoluteFilePath()));
}
