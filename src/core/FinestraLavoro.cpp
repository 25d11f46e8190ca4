#include "core/FinestraLavoro.h"

#include "core/PosizioneFinestre.h"
#include "core/TastiComuni.h"

FinestraLavoro::FinestraLavoro(Impostazioni& impostazioni, const QString& nomeInterno, QWidget* parent,
                               const QString& testoTasto)
    : QDialog(parent), m_impostazioni(impostazioni)
{
    setObjectName(nomeInterno);
    new TastiComuni(this, testoTasto);
}

void FinestraLavoro::setVisible(bool visibile)
{
    if (visibile && !isVisible() && !m_ripristinata) {
        m_ripristinata = true;
        Colloca();
    }
    if (!visibile && isVisible() && m_salvaInChiusura)
        SalvaFinestra(this, m_impostazioni);
    QDialog::setVisible(visibile);
}

void FinestraLavoro::Colloca()
{
    RipristinaFinestra(this, m_impostazioni);
}
