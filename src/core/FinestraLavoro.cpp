#include "core/FinestraLavoro.h"

#include "core/PosizioneFinestre.h"
#include "core/TastiComuni.h"

FinestraLavoro::FinestraLavoro(const QString& nomeInterno, QWidget* parent, const QString& testoTasto)
    : QDialog(parent)
{
    setObjectName(nomeInterno);
    new TastiComuni(this, testoTasto);
}

void FinestraLavoro::setVisible(bool visibile)
{
    if (visibile && !isVisible() && !m_ripristinata) {
        m_ripristinata = true;
        RipristinaFinestra(this);
    }
    if (!visibile && isVisible() && m_salvaInChiusura)
        SalvaFinestra(this);
    QDialog::setVisible(visibile);
}
