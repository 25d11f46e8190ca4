#include "results/ColorTdbg.h"

#include "core/ChiaviIni.h"
#include "core/ColoreQt.h"
#include "core/ScalaTwips.h"
#include "core/TastiComuni.h"
#include "results/TabellaColori.h"
#include "session/Sessione.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QSize kEtichetta{2800, 400}; // twips

void Dipingi(QLabel* etichetta, ColoreRgb colore)
{
    QPalette p = etichetta->palette();
    p.setColor(QPalette::Window, ColoreQt(colore));
    p.setColor(QPalette::WindowText, Qt::black);
    etichetta->setPalette(p);
}

} // namespace

ColorTdbg::ColorTdbg(Sessione& sessione, QWidget* parent) : QDialog(parent), m_sessione(sessione)
{
    setObjectName(u"ColorTdbg"_s);
    setWindowTitle(u"Colori stato MRN"_s);
    new TastiComuni(this, u"%A"_s); // F2 is "&ANNULLA": this window has no "&USCITA"

    const ScalaTwips scala(screen());
    auto* colonna = new QVBoxLayout(this);
    for (int k = 0; k < int(m_lbColor.size()); ++k) {
        auto* etichetta = new QLabel(this);
        etichetta->setObjectName(u"lbColor(%1)"_s.arg(k));
        etichetta->setTextFormat(Qt::PlainText);
        etichetta->setAlignment(Qt::AlignCenter);
        etichetta->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        etichetta->setAutoFillBackground(true);
        etichetta->setMinimumSize(scala.Pixel(kEtichetta));
        etichetta->setCursor(Qt::PointingHandCursor);
        etichetta->installEventFilter(this);
        etichetta->hide();
        colonna->addWidget(etichetta);
        m_lbColor[k] = etichetta;
    }
    auto* annulla = new QPushButton(u"&ANNULLA"_s, this);
    annulla->setObjectName(u"Command1(0)"_s);
    auto* conferma = new QPushButton(u"&CONFERMA"_s, this);
    conferma->setObjectName(u"Command1(1)"_s);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(annulla);
    pulsanti->addWidget(conferma);
    colonna->addLayout(pulsanti);
    colonna->setSizeConstraint(QLayout::SetFixedSize);

    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(conferma, &QPushButton::clicked, this, &ColorTdbg::Conferma);
}

void ColorTdbg::setVisible(bool visibile)
{
    if (visibile && !m_caricata)
        Carica();
    QDialog::setVisible(visibile);
}

void ColorTdbg::Carica()
{
    m_caricata = true;
    // Only the grid's colours can be shown: a text beyond them has no colour to change.
    const QStringList testi = m_testi.split(u',');
    m_mostrate = int(qMin<qsizetype>(testi.size() - 1, qsizetype(m_sessione.colori.size())));
    for (int k = 0; k < m_mostrate; ++k) {
        m_lbColor[k]->setText(testi[k]);
        Dipingi(m_lbColor[k], m_sessione.colori[k]);
        m_lbColor[k]->show();
    }
    move(ScalaTwips(screen()).Pixel(QPoint(qRound(m_posX), qRound(m_posY))));
}

bool ColorTdbg::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (evento->type() == QEvent::MouseButtonRelease) {
        const auto* clic = static_cast<QMouseEvent*>(evento);
        for (int k = 0; k < m_mostrate; ++k) {
            if (oggetto == m_lbColor[k] && clic->button() == Qt::LeftButton &&
                m_lbColor[k]->rect().contains(clic->position().toPoint())) {
                Scegli(k);
                return true;
            }
        }
    }
    return QDialog::eventFilter(oggetto, evento);
}

void ColorTdbg::Scegli(int k)
{
    // Black is what the dialog starts on: choosing it is taken as no choice.
    const qint64 colore = ScegliColore(m_sessione.database).toLongLong();
    if (colore <= 0)
        return;
    m_sessione.colori[k] = ColoreRgb(colore);
    Dipingi(m_lbColor[k], m_sessione.colori[k]);
}

void ColorTdbg::Conferma()
{
    QList<std::pair<Chiave, QString>> valori;
    for (int k = 0; k < m_mostrate; ++k)
        valori.append({Chiavi::Colore(k), QString::number(m_sessione.colori[k])});
    m_sessione.impostazioni.Scrivi(valori);
    accept();
}
