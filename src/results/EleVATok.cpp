#include "results/EleVATok.h"

#include "core/Attesa.h"
#include "core/ChiaviIni.h"
#include "core/ScalaTwips.h"
#include "core/StampaGriglia.h"
#include "countries/ComboNazioni.h"
#include "results/ColonneRisultati.h"
#include "results/ColorTdbg.h"
#include "results/ColoriRighe.h"
#include "results/Esportazioni.h"
#include "results/LayoutColonne.h"
#include "results/ModelloRisultati.h"
#include "session/Sessione.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kNome = u"EleVATok"_s;
constexpr QSize kProgetto{12600, 7200}; // twips
constexpr int kMargine = 20;            // twips between the grid and the window's right and bottom edges
constexpr int kBanda = 100;             // twips from a column's edges where a release does not sort
constexpr int kBandaIntestazione = 300; // twips from the grid's top where the sort hint shows
constexpr int kFlagMassimi = 15;        // LayOUT is padded to this many flags: a short one hides the rest
constexpr char16_t kVisibile = u'S';

QPushButton* Pulsante(QWidget* genitore, const QString& nome, const QString& testo)
{
    auto* p = new QPushButton(testo, genitore);
    p->setObjectName(nome);
    p->setAutoDefault(false); // Return in the grid must not press a button
    return p;
}

QAction* Voce(QMenuBar* barra, const QString& nome, const QString& testo)
{
    QAction* a = barra->addAction(testo);
    a->setObjectName(nome);
    return a;
}

} // namespace

EleVATok::EleVATok(Sessione& sessione, TabellaSfogliata tabella, QWidget* parent)
    : FinestraLavoro(sessione.impostazioni, kNome, parent), m_sessione(sessione)
{
    setWindowTitle(u"RISULTATO CONTROLLO PARTITE IVA CEE"_s);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    SalvaPosizioneInChiusura();
    const ScalaTwips scala(screen());
    const QFont fisso = CarattereFisso(font().pointSize());

    auto* barra = new QMenuBar(this);
    QAction* Mu_end = Voce(barra, u"Mu_end"_s, u"&Fine"_s);
    QAction* Mu_layout = Voce(barra, u"Mu_layout"_s, u"&LayOut"_s);
    QAction* Mu_Colori = Voce(barra, u"Mu_Colori"_s, u"&Colori"_s);

    m_cbStato = new QComboBox(this);
    m_cbStato->setObjectName(u"cbStato"_s);
    m_cbStato->setFont(fisso);
    m_cbNazioni = new QComboBox(this);
    m_cbNazioni->setObjectName(u"cbNazioni"_s);
    m_cbNazioni->setFont(fisso);
    m_cbNazioni->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_Combo1 = new QComboBox(this);
    m_Combo1->setObjectName(u"Combo1"_s);
    m_DTPicker1 = new QDateTimeEdit(QDateTime(QDate(2008, 12, 13), QTime(0, 0)), this);
    m_DTPicker1->setObjectName(u"DTPicker1"_s);
    m_DTPicker1->setDisplayFormat(u"dd/MM/yyyy HH:mm"_s);
    m_DTPicker1->setCalendarPopup(true);
    m_DTPicker1->setMinimumDate(QDate(1900, 1, 1));
    m_CmdR0 = Pulsante(this, u"CmdR(0)"_s, u"ANALIZZA"_s);
    m_CmdR1 = Pulsante(this, u"CmdR(1)"_s, {});
    m_CmdR1->setIcon(QIcon::fromTheme(u"x-office-spreadsheet"_s,
                                      style()->standardIcon(QStyle::SP_FileDialogDetailedView)));
    m_CmdR1->setToolTip(u"Esporta le righe nel foglio di calcolo"_s);
    m_lbNUmRec = new QLabel(this);
    m_lbNUmRec->setObjectName(u"lbNUmRec"_s);

    auto* filtri = new QGridLayout;
    filtri->setContentsMargins(9, 6, 9, 6);
    filtri->addWidget(new QLabel(u"Validità"_s, this), 0, 0);
    filtri->addWidget(new QLabel(u"Nazione"_s, this), 0, 1);
    filtri->addWidget(new QLabel(u"Data della richiesta"_s, this), 0, 2, 1, 2);
    filtri->addWidget(m_cbStato, 1, 0);
    filtri->addWidget(m_cbNazioni, 1, 1);
    filtri->addWidget(m_Combo1, 1, 2);
    filtri->addWidget(m_DTPicker1, 1, 3);
    filtri->addWidget(m_CmdR0, 1, 4);
    filtri->addWidget(m_CmdR1, 1, 5);
    filtri->addWidget(m_lbNUmRec, 1, 7);
    filtri->setColumnStretch(6, 1);

    m_TDBGrid1 = new QTableView(this);
    m_TDBGrid1->setObjectName(u"TDBGrid1"_s);
    m_TDBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_TDBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_TDBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_TDBGrid1->setWordWrap(false);
    m_TDBGrid1->verticalHeader()->hide();
    m_TDBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_TDBGrid1->verticalHeader()->setDefaultSectionSize(m_TDBGrid1->fontMetrics().height() + 4);
    m_modello = new ModelloRisultati(m_sessione.database, this);
    m_TDBGrid1->setModel(m_modello);
    m_TDBGrid1->setItemDelegate(new ColoriRighe(m_sessione.colori, this));
    QHeaderView* intestazione = m_TDBGrid1->horizontalHeader();
    intestazione->setSectionsMovable(false);
    intestazione->setSectionsClickable(false);
    intestazione->setSectionResizeMode(QHeaderView::Interactive);
    intestazione->setStretchLastSection(false);
    intestazione->viewport()->setMouseTracking(true);
    intestazione->viewport()->installEventFilter(this);
    m_TDBGrid1->viewport()->setMouseTracking(true);
    m_TDBGrid1->viewport()->installEventFilter(this);

    auto* colonna = new QVBoxLayout(this);
    colonna->setMenuBar(barra);
    colonna->setContentsMargins(0, 0, scala.PixelX(kMargine), scala.PixelY(kMargine));
    colonna->setSpacing(0);
    colonna->addLayout(filtri);
    colonna->addWidget(m_TDBGrid1, 1);

    m_pctToolTip = new QFrame(this);
    m_pctToolTip->setObjectName(u"pctToolTip"_s);
    m_pctToolTip->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_pctToolTip->setAutoFillBackground(true);
    m_pctToolTip->setBackgroundRole(QPalette::ToolTipBase);
    auto* lbToolTip = new QLabel(m_pctToolTip);
    lbToolTip->setObjectName(u"lbToolTip"_s);
    lbToolTip->setTextFormat(Qt::PlainText);
    lbToolTip->setForegroundRole(QPalette::ToolTipText);
    (new QVBoxLayout(m_pctToolTip))->addWidget(lbToolTip);

    m_pctLayOut = new QFrame(this);
    m_pctLayOut->setObjectName(u"pctLayOut"_s);
    m_pctLayOut->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_pctLayOut->setAutoFillBackground(true);
    m_lstLayOut = new QListWidget(m_pctLayOut);
    m_lstLayOut->setObjectName(u"lstLayOut"_s);
    m_lstLayOut->setFont(fisso);
    m_lstLayOut->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_lstLayOut->installEventFilter(this);
    QPushButton* uscita = Pulsante(m_pctLayOut, u"cmgLayOut(0)"_s, u"&USCITA"_s);
    QPushButton* conferma = Pulsante(m_pctLayOut, u"cmgLayOut(1)"_s, u"&CONFERMA"_s);
    auto* pannello = new QVBoxLayout(m_pctLayOut);
    pannello->addWidget(new QLabel(u"COLONNE VISIBILI"_s, m_pctLayOut));
    pannello->addWidget(m_lstLayOut);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(uscita);
    pulsanti->addWidget(conferma);
    pannello->addLayout(pulsanti);

    resize(scala.Pixel(kProgetto));

    // Loading: the filter controls are set without a query.
    m_nomeTabella = tabella == TabellaSfogliata::Lavoro ? u"Wk"_s + u"PartiteIVA"_s : u"PartiteIVA"_s;
    m_inCaricamento = true;
    m_cbStato->addItems({u"TUTTE"_s, u"ATTIVE"_s, u"INESISTENTI"_s, u"CESSATE"_s});
    m_cbStato->setCurrentIndex(0);
    CaricaColonne();
    m_Combo1->addItems({u" "_s, u"Prima del"_s, u"Dal  "_s});
    m_Combo1->setCurrentIndex(0);
    RiempiComboNazioni(m_cbNazioni, m_sessione.nazioni);
    m_cbNazioni->insertItem(0, u" "_s);
    m_cbNazioni->setCurrentIndex(-1);
    lbToolTip->setText(u" Ordinamento: Click SINISTRO =  crescente\n"_s + QString(24, u' ') +
                       u"Click  DESTRO  = decrescente "_s);
    m_pctToolTip->adjustSize();
    m_pctToolTip->hide();
    m_CmdR0->setEnabled(false);
    m_CmdR1->setEnabled(false);
    m_inCaricamento = false;

    for (QComboBox* c : {m_cbStato, m_cbNazioni, m_Combo1})
        connect(c, &QComboBox::currentIndexChanged, this, &EleVATok::FiltroCambiato);
    connect(m_DTPicker1, &QDateTimeEdit::dateTimeChanged, this, &EleVATok::FiltroCambiato);
    connect(intestazione, &QHeaderView::sectionResized, this,
            [this](int colonna, int, int larghezza) { ColonnaRidimensionata(colonna, larghezza); });
    connect(m_CmdR0, &QPushButton::clicked, this, &EleVATok::Analizza);
    connect(m_CmdR1, &QPushButton::clicked, this, &EleVATok::EsportaFoglio);
    connect(Mu_end, &QAction::triggered, this, &QWidget::close);
    connect(Mu_layout, &QAction::triggered, this, &EleVATok::MostraLayOut);
    connect(Mu_Colori, &QAction::triggered, this, &EleVATok::ApriColori);
    connect(m_lstLayOut, &QListWidget::itemClicked, this, &EleVATok::CommutaVoce);
    connect(uscita, &QPushButton::clicked, m_pctLayOut, &QWidget::hide);
    connect(conferma, &QPushButton::clicked, this, &EleVATok::ConfermaLayOut);
    setMouseTracking(true);
}

QString EleVATok::SqlFiltro() const
{
    return m_modello->Selezione().SqlFiltro();
}

QString EleVATok::SorgenteRecord() const
{
    return m_modello->Selezione().SorgenteRecord();
}

// The columns' widths from the layout table, and which are shown from LayOUT. The settings file
// trims a value, so hidden columns are kept as "N", never as blanks; anything but "S" hides.
void EleVATok::CaricaColonne()
{
    m_colonne = ColonneRisultati();
    CaricaLayoutColonne(m_sessione.database, m_colonne, kNome);
    const QString letto = m_sessione.impostazioni.Leggi(Chiavi::LayOut()).trimmed();
    // Nothing stored: the columns of the answer shown, the consultation number hidden.
    QString flag = letto.isEmpty() ? QString(kColConsultazione, kVisibile) : letto;
    for (QChar& c : flag) {
        if (c != kVisibile)
            c = u' ';
    }
    flag = flag.leftJustified(qMax(kFlagMassimi, int(flag.size())), u' ');

    const ScalaTwips scala(screen());
    for (int i = 0; i < m_colonne.size(); ++i) {
        m_colonne[i].visibile = flag[i] == kVisibile;
        m_lstLayOut->addItem(flag[i] + u"  "_s + m_colonne[i].intestazione);
        m_TDBGrid1->horizontalHeader()->resizeSection(i, scala.PixelX(m_colonne[i].larghezza));
        m_TDBGrid1->setColumnHidden(i, !m_colonne[i].visibile);
    }
    m_pctLayOut->hide();
}

void EleVATok::showEvent(QShowEvent* evento)
{
    FinestraLavoro::showEvent(evento);
    if (!m_attivata) {
        m_attivata = true;
        ApplicaFiltri();
    }
}

void EleVATok::FiltroCambiato()
{
    if (!m_inCaricamento)
        ApplicaFiltri();
}

void EleVATok::ApplicaFiltri()
{
    SelezioneRisultati selezione;
    selezione.tabella = m_nomeTabella;
    selezione.filtri.stato = qMax(0, m_cbStato->currentIndex());
    if (m_cbNazioni->currentIndex() > 0)
        selezione.filtri.nazione = m_cbNazioni->currentText().left(2);
    selezione.filtri.data = m_Combo1->currentIndex() == 1   ? FiltroData::PrimaDel
                            : m_Combo1->currentIndex() == 2 ? FiltroData::Dal
                                                            : FiltroData::Nessuno;
    selezione.filtri.giorno = NumeroGiorno(m_DTPicker1->dateTime());
    // Any filter change, and every return to the window, sorts by the first column again.
    selezione.ordine = {0, false};
    m_modello->Filtra(selezione);

    const qint64 totale = m_modello->Totale();
    m_CmdR0->setEnabled(false);
    if (totale < 1) {
        m_lbNUmRec->clear();
        m_CmdR1->setEnabled(false);
        return;
    }
    m_lbNUmRec->setText(u"Totale = "_s + QString::number(totale));
    m_CmdR1->setEnabled(!m_sessione.pathExcel.Vuoto());
    m_CmdR0->setEnabled(selezione.filtri.stato == 2 || selezione.filtri.stato == 3);
}

// Whether a release at `x` (heading coordinates) is a click on a heading: not when it falls within
// 100 twips of the left edge of the column under it, or of its right edge when the user may drag
// that border; so the end of a border drag never sorts.
bool EleVATok::ClickSuIntestazione(int x) const
{
    const QHeaderView* intestazione = m_TDBGrid1->horizontalHeader();
    const double dpi = screen()->logicalDotsPerInchX();
    const int j = qMax(0, intestazione->logicalIndexAt(x));
    const int sinistra = intestazione->sectionViewportPosition(j);
    if (TwipsDaPixel(x - sinistra, dpi) < kBanda)
        return false;
    const bool ridimensionabile = intestazione->sectionResizeMode(j) == QHeaderView::Interactive;
    return !(ridimensionabile && TwipsDaPixel(sinistra + intestazione->sectionSize(j) - x, dpi) < kBanda);
}

// The hint shows over the headings' band, at the pointer, kept inside the window.
void EleVATok::SuggerimentoOrdine(const QPoint& puntoIntestazione)
{
    const QHeaderView* intestazione = m_TDBGrid1->horizontalHeader();
    const QPoint nellaGriglia = intestazione->viewport()->mapTo(m_TDBGrid1, puntoIntestazione);
    if (TwipsDaPixel(nellaGriglia.y(), screen()->logicalDotsPerInchY()) >= kBandaIntestazione) {
        m_pctToolTip->hide();
        return;
    }
    int x = intestazione->viewport()->mapTo(this, puntoIntestazione).x();
    if (x + m_pctToolTip->width() > width())
        x = width() - m_pctToolTip->width();
    m_pctToolTip->move(x, m_TDBGrid1->y() + intestazione->height());
    m_pctToolTip->show();
    m_pctToolTip->raise();
}

void EleVATok::mouseMoveEvent(QMouseEvent* evento)
{
    m_pctToolTip->hide();
    FinestraLavoro::mouseMoveEvent(evento);
}

bool EleVATok::eventFilter(QObject* oggetto, QEvent* evento)
{
    QHeaderView* intestazione = m_TDBGrid1->horizontalHeader();
    if (oggetto == intestazione->viewport()) {
        switch (evento->type()) {
        case QEvent::MouseButtonPress:
            m_premuta = true;
            m_ridimensionata = false;
            break;
        case QEvent::MouseMove:
            SuggerimentoOrdine(static_cast<QMouseEvent*>(evento)->position().toPoint());
            break;
        case QEvent::Leave:
            m_pctToolTip->hide();
            break;
        case QEvent::MouseButtonRelease: {
            const auto* clic = static_cast<QMouseEvent*>(evento);
            m_premuta = false;
            if (m_ridimensionata) {
                SalvaLayoutColonne(m_sessione.database, m_colonne, kNome);
            } else if (ClickSuIntestazione(int(clic->position().x()))) {
                const int colonna = intestazione->logicalIndexAt(int(clic->position().x()));
                if (colonna >= 0)
                    m_modello->Ordina({colonna, clic->button() != Qt::LeftButton});
            }
            m_ridimensionata = false;
            break;
        }
        default:
            break;
        }
    } else if (oggetto == m_TDBGrid1->viewport() && evento->type() == QEvent::MouseMove) {
        m_pctToolTip->hide();
    } else if (oggetto == m_lstLayOut && evento->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Space) {
        CommutaVoce(m_lstLayOut->currentItem());
        return true;
    }
    return FinestraLavoro::eventFilter(oggetto, evento);
}

void EleVATok::ColonnaRidimensionata(int colonna, int larghezza)
{
    // Hidden columns read 0 wide; they keep the width they had.
    if (!m_premuta || larghezza <= 0 || colonna >= m_colonne.size())
        return;
    m_colonne[colonna].larghezza = TwipsDaPixel(larghezza, screen()->logicalDotsPerInchX());
    m_ridimensionata = true;
}

void EleVATok::MostraLayOut()
{
    m_pctLayOut->adjustSize();
    m_pctLayOut->move(m_TDBGrid1->x() + 20, m_TDBGrid1->y() + m_TDBGrid1->horizontalHeader()->height());
    m_pctLayOut->show();
    m_pctLayOut->raise();
    m_lstLayOut->setFocus();
}

void EleVATok::CommutaVoce(QListWidgetItem* voce)
{
    if (!voce || voce->text().trimmed().isEmpty())
        return;
    QString testo = voce->text();
    testo[0] = testo[0] == kVisibile ? QChar(u' ') : QChar(kVisibile);
    voce->setText(testo);
}

void EleVATok::ConfermaLayOut()
{
    QString flag;
    for (int i = 0; i < m_lstLayOut->count(); ++i)
        flag += m_lstLayOut->item(i)->text().front();
    for (int i = 0; i < m_colonne.size(); ++i) {
        m_colonne[i].visibile = flag[i] == kVisibile;
        m_TDBGrid1->setColumnHidden(i, !m_colonne[i].visibile);
    }
    m_sessione.impostazioni.Scrivi(Chiavi::LayOut(), flag.replace(u' ', u'N'));
    m_pctLayOut->hide();
}

void EleVATok::Analizza()
{
    const QString fileLista = m_sessione.dirTemp + u"ListaVAT.txt"_s;
    InizioAttesa();
    const EsitoEsportazione scritta =
        EsportaLista(m_sessione.database, m_modello->Selezione().Righe(), fileLista);
    FineAttesa();
    // A list that could not be written would hand over the previous one.
    if (scritta != EsitoEsportazione::Scritta)
        return;
    Q_EMIT ControllaElenco(fileLista);

    // Today at midnight: the time now would count as tomorrow from noon on.
    m_inCaricamento = true;
    m_DTPicker1->setDateTime(QDateTime(m_adesso().date(), QTime(0, 0)));
    m_Combo1->setCurrentIndex(2);
    m_inCaricamento = false;
    ApplicaFiltri();
}

void EleVATok::EsportaFoglio()
{
    InizioAttesa();
    EsportaCsv(m_sessione, VistaRisultati{m_nomeTabella, m_modello->Selezione().Righe(), m_colonne}, false);
    FineAttesa();
}

void EleVATok::ApriColori()
{
    QString voci;
    for (int i = 1; i < m_cbStato->count(); ++i)
        voci += m_cbStato->itemText(i).trimmed() + u',';
    const QRect esterno = ScalaTwips(screen()).Twips(frameGeometry());
    auto* colori = new ColorTdbg(m_sessione, this);
    colori->setAttribute(Qt::WA_DeleteOnClose);
    colori->plPosX(esterno.left() + 100);
    colori->plPosY(esterno.top() + 680);
    colori->plTitolo(u" Colori validità partite IVA"_s);
    colori->plTabLb(voci);
    // Back in this window the rows are read again, in the colours now chosen.
    connect(colori, &QDialog::finished, this, &EleVATok::ApplicaFiltri);
    colori->open();
}
