#include "core/FinestraLavoro.h"

#include "core/PosizioneFinestre.h"
#include "core/TastiComuni.h"

using namespace Qt::Literals::StringLiterals;

FinestraLavoro::FinestraLavoro(const QString& nomeInterno, QWidget* parent) : QDialog(parent)
{
    setObjectName(nomeInterno);
    new TastiComuni(this, u"%U"_s);
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
