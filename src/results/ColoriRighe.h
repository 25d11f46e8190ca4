#pragma once
// Paints each row of the results grid on the grid colour of its validity. The colours are read at
// every paint, so one just picked in the colour window shows at the next repaint.

#include <QStyledItemDelegate>

#include <array>
#include <cstdint>

class ColoriRighe : public QStyledItemDelegate
{
    Q_OBJECT

public:
    ColoriRighe(const std::array<std::uint32_t, 3>& colori, QObject* parent);

protected:
    void initStyleOption(QStyleOptionViewItem* opzione, const QModelIndex& indice) const override;

private:
    const std::array<std::uint32_t, 3>& m_colori;
};
