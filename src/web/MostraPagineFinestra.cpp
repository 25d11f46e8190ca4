#include "web/MostraPagineFinestra.h"

#include "web/FrmWeb.h"
#include "web/RunFile.h"

#include <QApplication>

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
    RunFile(file);
}
