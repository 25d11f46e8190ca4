#include "web/MostraPagineFinestra.h"

#include "web/FrmWeb.h"
#include "web/RunFile.h"

#include <QApplication>

bool MostraPagineFinestra::MostraNelBrowser(const QString& indirizzo, const QString& numero,
                                            const QString& tipo)
{
    FrmWeb finestra(QApplication::activeWindow());
    finestra.plUrl(indirizzo);
    finestra.plObject(numero);
    finestra.plTipo(tipo);
    finestra.exec();
    return true;
}

void MostraPagineFinestra::ApriDocumento(const QString& file)
{
    RunFile(file);
}
