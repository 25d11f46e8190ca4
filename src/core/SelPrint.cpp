#include "core/SelPrint.h"

#include "core/PosizioneFinestre.h"
#include "core/ScalaTwips.h"
#include "core/StampanteCorrente.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace {

// Design geometry, twips.
constexpr int kLarghezzaProgetto = 4300;
constexpr int kAltezzaProgetto = 1200;
constexpr QPoint kFrame{40, 60};
constexpr int kSinistraOpzione = 160;
constexpr int kAltoPrimaOpzione = 345;
constexpr int kPassoOpzioni = 300;
constexpr int kAltezzaOpzione = 255;
constexpr QSize kPulsante{1500, 400};
constexpr int kSinistraConferma = 40;
constexpr int kSinistraAnnulla = 1660;

} // namespace

SelPrint::SelPrint(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"SelPrint"_s);
    setWindowTitle(u"GESTIONE DELLE STAMPANTI"_s);
    m_frame = new QGroupBox(u" SELEZIONA LA STAMPANTE DESIDERATA"_s, this);
    m_frame->setObjectName(u"Frame1"_s);
    m_conferma = new QPushButton(u"&CONFERMA"_s, this);
    m_conferma->setObjectName(u"Command1(0)"_s);
    m_annulla = new QPushButton(u"&ANNULLA"_s, this);
    m_annulla->setObjectName(u"Command1(1)"_s);
    connect(m_conferma, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_annulla, &QPushButton::clicked, this, &SelPrint::reject);
}

void SelPrint::setVisible(bool visibile)
{
    if (visibile && !m_caricata)
        Carica();
    QDialog::setVisible(visibile);
}

void SelPrint::reject()
{
    m_stampante.clear();
    QDialog::reject();
}

void SelPrint::Carica()
{
    m_caricata = true;
    const ScalaTwips scala(screen());
    resize(scala.Pixel(QSize(kLarghezzaProgetto, kAltezzaProgetto)));
    m_conferma->setGeometry(QRect(QPoint(scala.PixelX(kSinistraConferma), 0), scala.Pixel(kPulsante)));
    m_annulla->setGeometry(QRect(QPoint(scala.PixelX(kSinistraAnnulla), 0), scala.Pixel(kPulsante)));

    Colloca();
    QuandoCorniceNota(this, [this] { Colloca(); }); // with the real frame's width

    if (m_stampante.isEmpty())
        m_stampante = NomeStampanteCorrente();
    const QStringList stampanti = ElencoStampanti();
    for (qsizetype i = 0; i < stampanti.size(); ++i) {
        auto* opzione = new QRadioButton(stampanti[i], m_frame);
        opzione->setObjectName(u"Option1(%1)"_s.arg(i));
        const int top = kAltoPrimaOpzione + int(i) * kPassoOpzioni;
        opzione->move(scala.PixelX(kSinistraOpzione), scala.PixelY(top));
        opzione->setChecked(stampanti[i] == m_stampante);
        // Only a click picks: the preselection above does not close the window.
        connect(opzione, &QRadioButton::clicked, this, [this, opzione] {
            m_stampante = opzione->text();
            accept();
        });
        m_opzioni.append(opzione);
        m_fondoElenco = top + 350;
    }
    setMinimumSize(scala.Pixel(
        QSize(2 * kPulsante.width() + 280, m_fondoElenco + kFrame.y() + kPulsante.height() + 450)));
}

void SelPrint::Colloca()
{
    // Kept on the screen to the right; nothing is corrected downwards. The frame counts: until the
    // window manager has drawn it, another window's stands in. Before the window exists, or once its
    // frame is known, Qt moves the frame's corner.
    const ScalaTwips scala(screen());
    const int larghezzaSchermo = scala.Twips(screen()->geometry().size()).width();
    const int larghezza = scala.Twips(size() + CorniceFinestra(this)).width();
    const int left = std::min<int>(m_left, larghezzaSchermo - larghezza);
    move(scala.Pixel(QPoint(left, m_top)));
}

void SelPrint::resizeEvent(QResizeEvent* evento)
{
    QDialog::resizeEvent(evento);
    const ScalaTwips scala(screen());
    const int altoPulsanti = height() - m_conferma->height() - scala.PixelY(20);
    m_conferma->move(m_conferma->x(), altoPulsanti);
    m_annulla->move(m_annulla->x(), altoPulsanti);
    m_frame->setGeometry(scala.PixelX(kFrame.x()), scala.PixelY(kFrame.y()), width() - scala.PixelX(80),
                         scala.PixelY(m_fondoElenco));
    for (QRadioButton* opzione : std::as_const(m_opzioni))
        opzione->resize(m_frame->width() - 2 * scala.PixelX(kSinistraOpzione), scala.PixelY(kAltezzaOpzione));
}
