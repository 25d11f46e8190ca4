#include "core/FrmPRT.h"

#include "core/ChiaviIni.h"
#include "core/Dialoghi.h"
#include "core/Impostazioni.h"
#include "core/PosizioneFinestre.h"
#include "core/ScalaTwips.h"
#include "core/SelPrint.h"
#include "core/StampaGriglia.h"
#include "core/StampanteCorrente.h"
#include "core/Valori.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace {

// The choices of the last confirmation, preselected each time the window opens.
QString gTipoStampa;               // "P" printer with a request, "D" printer directly, "V" on screen
std::int16_t gPaginaAnteprima = 0; // page-layout choice 0..7
std::int16_t gZoomAnteprima = 0;   // zoom item, -1 none

// A small sheet of `colonne` x `righe` pages, the look of a preview layout.
QIcon DisegnoPagine(int colonne, int righe)
{
    constexpr int kLato = 40;
    QPixmap immagine(kLato, kLato);
    immagine.fill(Qt::transparent);
    QPainter p(&immagine);
    p.setPen(QColor(80, 80, 80));
    p.setBrush(Qt::white);
    const double w = (kLato - 4.0) / colonne, h = (kLato - 4.0) / righe;
    for (int r = 0; r < righe; ++r)
        for (int c = 0; c < colonne; ++c)
            p.drawRect(QRectF(2 + c * w + 1, 2 + r * h + 1, w - 3, h - 3));
    return immagine;
}

} // namespace

FrmPRT::FrmPRT(Impostazioni& impostazioni, QWidget* parent)
    : FinestraLavoro(impostazioni, u"frmPRT"_s, parent)
{
    setWindowTitle(u"GESTIONE DELLE STAMPANTI"_s);
    const QFont fisso = CarattereFisso(10);

    m_tipo = new QComboBox(this);
    m_tipo->setObjectName(u"Combo1"_s);
    m_tipo->setFont(fisso);
    m_tipo->addItems(
        {u"P (su stampante con richiesta)"_s, u"D (su stampante direttamente)"_s, u"V (a video)"_s});
    m_tipo->setCurrentIndex(-1);
    m_stampante = new QLineEdit(this);
    m_stampante->setObjectName(u"Text1"_s);
    m_stampante->setFont(fisso);
    m_stampante->setToolTip(u"Doppio clic o F4: elenco delle stampanti"_s);
    auto* modifica = new QPushButton(u"&MODIFICA"_s, this);
    modifica->setObjectName(u"Command1"_s);

    m_anteprima = new QGroupBox(u"Anteprima"_s, this);
    m_anteprima->setObjectName(u"Frame1"_s);
    m_zoom = new QComboBox(m_anteprima);
    m_zoom->setObjectName(u"cmbZoom"_s);
    m_zoom->addItems({u" 100%"_s, u"Larghezza"_s, u"Intera"_s, u"  50%"_s, u"  75%"_s});
    auto* pagine = new QGridLayout;
    // Upper row 0..3, lower row 7, 4, 5, 6; each drawing shows one or two rows of 1 to 4 pages.
    constexpr std::array<int, 8> kOrdine = {0, 1, 2, 3, 7, 4, 5, 6};
    for (int posizione = 0; posizione < 8; ++posizione) {
        const int i = kOrdine[posizione];
        auto* opzione = new QRadioButton(m_anteprima);
        opzione->setObjectName(u"Option1(%1)"_s.arg(i));
        opzione->setIcon(DisegnoPagine(posizione % 4 + 1, posizione / 4 + 1));
        opzione->setIconSize(QSize(40, 40));
        pagine->addWidget(opzione, posizione / 4, posizione % 4);
        m_pagine[i] = opzione;
    }
    auto* testata = new QHBoxLayout;
    testata->addWidget(new QLabel(u"Dimensioni pagina"_s, m_anteprima));
    testata->addStretch();
    testata->addWidget(m_zoom);
    auto* colonnaAnteprima = new QVBoxLayout(m_anteprima);
    colonnaAnteprima->addLayout(testata);
    colonnaAnteprima->addLayout(pagine);

    auto* conferma = new QPushButton(u"&CONFERMA"_s, this);
    conferma->setObjectName(u"cmds_SI"_s);
    auto* uscita = new QPushButton(u"&USCITA"_s, this);
    uscita->setObjectName(u"cmds_NO"_s);

    auto* campi = new QGridLayout;
    campi->addWidget(new QLabel(u"Tipo stampa:"_s, this), 0, 0);
    campi->addWidget(m_tipo, 0, 1);
    campi->addWidget(new QLabel(u"Stampante:"_s, this), 1, 0);
    campi->addWidget(m_stampante, 1, 1);
    campi->addWidget(modifica, 1, 2);
    campi->setColumnStretch(1, 1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(conferma);
    pulsanti->addWidget(uscita);
    auto* colonna = new QVBoxLayout(this);
    colonna->setSizeConstraint(QLayout::SetFixedSize);
    colonna->addLayout(campi);
    colonna->addWidget(m_anteprima);
    colonna->addLayout(pulsanti);
    m_stampante->setMinimumWidth(m_stampante->fontMetrics().horizontalAdvance(u'H') * 32);

    connect(m_tipo, &QComboBox::currentIndexChanged, this,
            [this](int i) { m_anteprima->setVisible(i == 2); });
    connect(modifica, &QPushButton::clicked, this, &FrmPRT::Modifica);
    connect(conferma, &QPushButton::clicked, this, &FrmPRT::Conferma);
    connect(uscita, &QPushButton::clicked, this, &QDialog::reject);

    m_zoom->setCurrentIndex(gZoomAnteprima);
    if (gPaginaAnteprima >= 0 && gPaginaAnteprima < 8)
        m_pagine[gPaginaAnteprima]->setChecked(true);
    m_stampante->setText(NomeStampanteCorrente());
    if (!gTipoStampa.isEmpty()) {
        for (int i = 0; i < m_tipo->count(); ++i) {
            if (m_tipo->itemText(i).startsWith(gTipoStampa.at(0)))
                m_tipo->setCurrentIndex(i);
        }
    }

    for (QWidget* controllo : findChildren<QWidget*>())
        controllo->installEventFilter(this);
}

void FrmPRT::plTopForm(const QString& twips)
{
    m_top = ValNum(twips);
}

void FrmPRT::plLeftForm(const QString& twips)
{
    m_left = ValNum(twips);
}

void FrmPRT::Colloca()
{
    if (m_top == 0 && m_left == 0)
        FinestraLavoro::Colloca();
    else
        ImpostaPosizioneEsterna(this, ScalaTwips(screen()).Pixel(QPoint(int(m_left), int(m_top))));
}

bool FrmPRT::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (evento->type() == QEvent::MouseButtonDblClick && oggetto == m_stampante) {
        ScegliStampante();
        return true;
    }
    if (evento->type() != QEvent::KeyPress)
        return false;
    switch (static_cast<QKeyEvent*>(evento)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        focusNextChild();
        return true;
    case Qt::Key_F4:
        ScegliStampante();
        return true;
    default:
        return false;
    }
}

void FrmPRT::Modifica()
{
    const SceltaStampante scelta = DialoghiCorrenti().ScegliStampante(SceltaStampanteCorrente());
    if (!scelta.nome.isEmpty() && ImpostaStampanteCorrente(scelta.nome, scelta.filePdf))
        m_stampante->setText(NomeStampanteCorrente());
}

void FrmPRT::ScegliStampante()
{
    const QRect qui = ScalaTwips(screen()).Twips(frameGeometry());
    auto* scelta = new SelPrint(this);
    scelta->setAttribute(Qt::WA_DeleteOnClose);
    scelta->setWindowTitle(u"STAMPANTE PREDEFINITA"_s);
    scelta->plPrinter(QString());
    scelta->plTopForm(InteroCorto(qui.top()));
    scelta->plLeftForm(InteroCorto(qui.left() + qui.width() + 20));
    connect(scelta, &QDialog::finished, this, [this, scelta] { m_stampante->setText(scelta->pgPrinter()); });
    scelta->open();
}

void FrmPRT::Conferma()
{
    gTipoStampa = m_tipo->currentText().left(1);
    for (int i = 0; i < 8; ++i) {
        if (m_pagine[i]->isChecked()) {
            gPaginaAnteprima = std::int16_t(i);
            break;
        }
    }
    gZoomAnteprima = std::int16_t(m_zoom->currentIndex());
    m_impostazioni.Scrivi({{Chiavi::Stampa(u"STAMPANTE"_s), NomeStampanteCorrente()},
                           {Chiavi::Stampa(u"TIPO"_s), gTipoStampa},
                           {Chiavi::Stampa(u"PREVIEW"_s), QString::number(gPaginaAnteprima)},
                           {Chiavi::Stampa(u"ZOOM"_s), QString::number(gZoomAnteprima)}});
    accept();
}
