#include "web/GWebPar.h"

#include "core/FrmPRT.h"
#include "core/ScalaTwips.h"
#include "core/TieniPosto.h"
#include "core/UtilitaFile.h"
#include "web/ParametriWeb.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// A frame holding one label the user clicks to change it.
QGroupBox* RiquadroEtichetta(const QString& titolo, const QString& nome, QLabel*& etichetta, QWidget* padre)
{
    auto* riquadro = new QGroupBox(titolo, padre);
    etichetta = new QLabel(riquadro);
    etichetta->setObjectName(nome);
    etichetta->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    etichetta->setCursor(Qt::PointingHandCursor);
    etichetta->setMinimumWidth(300);
    etichetta->setToolTip(u"Fare clic per cambiare"_s);
    (new QHBoxLayout(riquadro))->addWidget(etichetta);
    TieniPosto(riquadro);
    return riquadro;
}

} // namespace

QString TitoloUso(int uso)
{
    switch (uso) {
    case 1:
        return u"INTERROGAZIONE SINGOLO ELEMENTO"_s;
    case 2:
        return u"INTERROGA ELENCO MANUALE"_s;
    default:
        return u"INTERROGA ELENCO DA DATABASE"_s;
    }
}

GWebPar::GWebPar(Impostazioni& impostazioni, ParametriWeb& parametri, int uso, QWidget* parent)
    : FinestraLavoro(impostazioni, u"GWebPar"_s, parent, u"%A"_s), m_parametri(parametri),
      m_uso(std::clamp(uso, 0, 2))
{
    setWindowTitle(u"GESTIONE PAGINE WEB"_s);
    auto* titolo = new QLabel(TitoloUso(m_uso), this);
    titolo->setObjectName(u"Label1"_s);
    titolo->setAlignment(Qt::AlignCenter);
    titolo->setFrameStyle(QFrame::Panel | QFrame::Raised);
    titolo->setMargin(3);
    QFont grassetto = titolo->font();
    grassetto.setBold(true);
    titolo->setFont(grassetto);

    const std::array<QString, 3> didascalie = {u"Visualizza le pagine"_s, u"Stampa le pagine"_s,
                                               u"Salva le pagine HTML"_s};
    for (int k = 0; k < 3; ++k) {
        m_check[k] = new QCheckBox(didascalie[k], this);
        m_check[k]->setObjectName(u"Check1(%1)"_s.arg(k));
    }
    m_frmIEskede = new QGroupBox(u"Schede di Internet Explorer"_s, this);
    m_frmIEskede->setObjectName(u"frmIEskede"_s);
    auto* schede = new QHBoxLayout(m_frmIEskede);
    const std::array<QString, 2> nomiSkede = {u"Singola"_s, u"Multiple"_s};
    for (int i = 0; i < 2; ++i) {
        m_skede[i] = new QRadioButton(nomiSkede[i], m_frmIEskede);
        m_skede[i]->setObjectName(u"optSkede(%1)"_s.arg(i));
        schede->addWidget(m_skede[i]);
    }
    TieniPosto(m_frmIEskede);
    m_frmPrint = RiquadroEtichetta(u"Stampante"_s, u"lbPrinter"_s, m_lbPrinter, this);
    m_frmPrint->setObjectName(u"frmPrint"_s);
    m_chiedi = new QCheckBox(u"Con richiesta"_s, this);
    m_chiedi->setObjectName(u"chkChiedi"_s);
    TieniPosto(m_chiedi);
    m_frmPath = RiquadroEtichetta(u"Cartella"_s, u"lbPath"_s, m_lbPath, this);
    m_frmPath->setObjectName(u"frmPath"_s);
    auto* annulla = new QPushButton(u"&ANNULLA"_s, this);
    annulla->setObjectName(u"Command1(0)"_s);
    auto* conferma = new QPushButton(u"&CONFERMA"_s, this);
    conferma->setObjectName(u"Command1(1)"_s);

    auto* griglia = new QGridLayout(this);
    griglia->setSizeConstraint(QLayout::SetFixedSize);
    griglia->addWidget(titolo, 0, 0, 1, 2);
    griglia->addWidget(m_check[0], 1, 0, Qt::AlignTop);
    griglia->addWidget(m_frmIEskede, 1, 1);
    griglia->addWidget(m_check[1], 2, 0, Qt::AlignTop);
    griglia->addWidget(m_frmPrint, 2, 1);
    griglia->addWidget(m_chiedi, 3, 1);
    griglia->addWidget(m_check[2], 4, 0, Qt::AlignTop);
    griglia->addWidget(m_frmPath, 4, 1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(annulla);
    pulsanti->addWidget(conferma);
    griglia->addLayout(pulsanti, 5, 0, 1, 2);
    griglia->setRowMinimumHeight(5, 40);

    for (int k = 0; k < 3; ++k)
        connect(m_check[k], &QCheckBox::toggled, this, [this, k] { RegolaCheck(k); });
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(conferma, &QPushButton::clicked, this, &GWebPar::Conferma);
    m_lbPrinter->installEventFilter(this);
    m_lbPath->installEventFilter(this);

    const ParametriWeb& p = m_parametri;
    m_skede[p.IESkede == 1 ? 1 : 0]->setChecked(true);
    m_check[0]->setChecked(p.View[m_uso] != 0);
    m_check[1]->setChecked(p.Print[m_uso] != 0);
    m_check[2]->setChecked(p.Save[m_uso] != 0);
    m_chiedi->setChecked(p.ChPrt[m_uso] != 0);
    m_lbPrinter->setText(p.Stampante[m_uso]);
    QString cartella = p.DirSave[m_uso];
    if (cartella.trimmed().isEmpty() && m_uso != 0)
        cartella = p.DirSave[3 - m_uso];
    MostraCartella(cartella);
    for (int k = 0; k < 3; ++k)
        RegolaCheck(k);
}

void GWebPar::RegolaCheck(int k)
{
    if (k == 0) {
        m_frmIEskede->setVisible(m_check[0]->isChecked());
        return;
    }
    if (m_check[k]->isChecked() && m_check[3 - k]->isChecked())
        m_check[3 - k]->setChecked(false);
    m_frmPrint->setVisible(m_check[1]->isChecked());
    m_chiedi->setVisible(m_check[1]->isChecked());
    m_frmPath->setVisible(m_check[2]->isChecked());
}

void GWebPar::MostraCartella(const QString& cartella)
{
    m_cartella = cartella;
    m_lbPath->setText(
        m_lbPath->fontMetrics().elidedText(cartella, Qt::ElideMiddle, m_lbPath->minimumWidth()));
    m_lbPath->setToolTip(cartella);
}

bool GWebPar::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (evento->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
        if (oggetto == m_lbPath)
            ScegliCartella();
        else if (oggetto == m_lbPrinter)
            ApriStampanti();
    }
    return false;
}

void GWebPar::ScegliCartella()
{
    const QString scelta = SfogliaCartella(m_cartella, u"Cartella salvataggio pagine HTML"_s);
    if (!scelta.trimmed().isEmpty())
        MostraCartella(scelta);
}

void GWebPar::ApriStampanti()
{
    m_parametri.Stampante[m_uso] = m_lbPrinter->text();
    const QRect qui = ScalaTwips(screen()).Twips(frameGeometry());
    auto* stampanti = new FrmPRT(m_impostazioni, this);
    stampanti->setAttribute(Qt::WA_DeleteOnClose);
    stampanti->setWindowTitle(TitoloUso(m_uso));
    stampanti->plTopForm(QString::number(qui.top()));
    stampanti->plLeftForm(QString::number(qui.left() + 6000));
    // The name is only shown and kept: pages print on the program's current printer.
    connect(stampanti, &QDialog::finished, this, [this] {
        if (!m_parametri.Stampante[m_uso].trimmed().isEmpty())
            m_lbPrinter->setText(m_parametri.Stampante[m_uso]);
    });
    stampanti->open();
}

void GWebPar::Conferma()
{
    ParametriWeb& p = m_parametri;
    p.IESkede = m_skede[1]->isChecked() ? 1 : 0;
    p.View[m_uso] = m_check[0]->isChecked() ? 1 : 0;
    p.Print[m_uso] = m_check[1]->isChecked() ? 1 : 0;
    p.Save[m_uso] = m_check[2]->isChecked() ? 1 : 0;
    p.ChPrt[m_uso] = m_chiedi->isChecked() ? 1 : 0;
    p.DirSave[m_uso] = m_cartella.trimmed();

    p.Salva(m_impostazioni, m_uso);
    accept();
}
