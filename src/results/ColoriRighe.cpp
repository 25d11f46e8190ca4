#include "results/ColoriRighe.h"

#include "core/ColoreQt.h"
#include "results/ModelloRisultati.h"

ColoriRighe::ColoriRighe(const std::array<std::uint32_t, 3>& colori, QObject* parent)
    : QStyledItemDelegate(parent), m_colori(colori)
{}

void ColoriRighe::initStyleOption(QStyleOptionViewItem* opzione, const QModelIndex& indice) const
{
    QStyledItemDelegate::initStyleOption(opzione, indice);
    const int validita = indice.data(ModelloRisultati::kRuoloValidita).toInt();
    opzione->backgroundBrush = ColoreQt(m_colori[std::size_t(qBound(0, validita, 2))]);
}
