#include "checks/VatSingola.h"

#include "checks/RispostaSingola.h"
#include "core/Attesa.h"
#include "core/CaselleTesto.h"
#include "core/EtichettaRidotta.h"
#include "core/StampaGriglia.h"
#include "core/StampanteCorrente.h"
#include "core/TieniPosto.h"
#include "core/Valori.h"
#include "countries/ComboNazioni.h"
#include "session/Sessione.h"
#include "web/GWebPar.h"
#include "web/GetHtmPage.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor kBlu(0, 0, 128);
const QColor kVerde(0, 128, 0);
const QColor kRossoScuro(192, 0, 0);

constexpr int kLunghezzaCodice = 14;

void Colora(QLabel* etichetta, const QColor& colore)
{
    QPalette p = etichetta->palette();
    p.setColor(QPalette::WindowText, colore);
    etichetta->setPalette(p);
}

QLabel* Etichetta(QWidget* genitore, const QString& nome, const QString& testo, const QColor& colore)
{
    auto* e = new QLabel(testo, genitore);
    e->setObjectName(nome);
    e->setTextFormat(Qt::PlainText);
    Colora(e, colore);
    return e;
}

// A label for the page's texts (which may hold "<" and "&"): however long they are, the window
// keeps its size.
QLabel* EtichettaRisposta(QWidget* genitore, const QString& nome, const QString& testo, const QColor& colore)
{
    auto* e = new EtichettaRidotta(testo, genitore);
    e->setObjectName(nome);
    Colora(e, colore);
    return e;
}

// Day/month/year, as the answer pages write an end of activity.
bool LeggeData(const QString& testo)
{
    return testo.count(u'/') >= 2 && ValNum(testo) != 0;
}

bool Invio(const QEvent* evento)
{
    if (evento->type() != QEvent::KeyPress)
        return false;
    const int tasto = static_cast<const QKeyEvent*>(evento)->key();
    return tasto == Qt::Key_Return || tasto == Qt::Key_Enter;
}

} // namespace

VatSingola::VatSingola(Sessione& sessione, QWidget* parent)
    : FinestraLavoro(sessione.impostazioni, u"VatSingola"_s, parent), m_sessione(sessione)
{
    setWindowTitle(u"  INTERROGAZIONE VALIDITA'  PARTITA IVA CEE"_s);

    auto* barra = new QMenuBar(this);
    m_Mu_end = barra->addAction(u"&Fine"_s);
    m_Mu_end->setObjectName(u"Mu_end"_s);
    m_Mu_param = barra->addAction(u"&Parametri"_s);
    m_Mu_param->setObjectName(u"Mu_param"_s);
    m_Mu_print = barra->addAction(u"&Stampante"_s);
    m_Mu_print->setObjectName(u"Mu_print"_s);

    const QFont fisso = CarattereFisso(font().pointSize());
    auto* nazione = Etichetta(this, u"Label1(0)"_s, u"Nazione"_s, Qt::black);
    m_cmbNazioni = new QComboBox(this);
    m_cmbNazioni->setObjectName(u"cmbNazioni"_s);
    m_cmbNazioni->setFont(fisso);
    m_cmbNazioni->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_lbNAZ = Etichetta(this, u"lbNAZ"_s, {}, Qt::black);
    m_lbNAZ->setFont(fisso);
    m_lbNAZ->setAutoFillBackground(true);
    QPalette bianco = m_lbNAZ->palette();
    bianco.setColor(QPalette::Window, Qt::white);
    m_lbNAZ->setPalette(bianco);
    m_lbNAZ->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_lbNAZ->setAlignment(Qt::AlignCenter);
    m_lbNAZ->setFixedWidth(m_lbNAZ->fontMetrics().horizontalAdvance(u"WWWW"_s));

    auto* vat = Etichetta(this, u"Label1(2)"_s, u"VAT"_s, Qt::black);
    m_Text1 = new QLineEdit(this);
    m_Text1->setObjectName(u"Text1"_s);
    m_Text1->setFont(fisso);
    m_Text1->setMaxLength(kLunghezzaCodice);
    m_Text1->setFixedWidth(m_Text1->fontMetrics().horizontalAdvance(QString(kLunghezzaCodice + 2, u'W')));
    m_cmdAnalizza = new QPushButton(u"&ANALIZZA"_s, this);
    m_cmdAnalizza->setObjectName(u"cmdAnalizza"_s);
    m_cmdPrt = new QPushButton(u"&STAMPA"_s, this);
    m_cmdPrt->setObjectName(u"cmdPrt"_s);
    for (QPushButton* b : {m_cmdAnalizza, m_cmdPrt}) {
        TieniPosto(b);
        b->hide();
    }

    auto* scelta = new QGridLayout;
    scelta->addWidget(nazione, 0, 0);
    scelta->addWidget(m_cmbNazioni, 0, 1, 1, 3);
    scelta->addWidget(m_lbNAZ, 0, 4);
    scelta->addWidget(vat, 1, 0);
    scelta->addWidget(m_Text1, 1, 1);
    scelta->addWidget(m_cmdAnalizza, 1, 2);
    scelta->addWidget(m_cmdPrt, 1, 3);
    scelta->setColumnStretch(5, 1);

    auto* shape = new QFrame(this);
    shape->setObjectName(u"Shape1"_s);
    shape->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* righe = new QGridLayout(shape);
    righe->setHorizontalSpacing(16);
    const QStringList titoli{u"Esito"_s,
                             u"partita IVA"_s,
                             u"Denominazione"_s,
                             u"Indirizzo"_s,
                             u"Data di inizio attività"_s,
                             u"Data di fine attività"_s,
                             u"Note"_s};
    for (int j = 1; j <= 7; ++j) {
        m_lbDescr[j] = EtichettaRisposta(shape, u"lbDescr(%1)"_s.arg(j), titoli[j - 1], kBlu);
        m_lbEsito[j] = EtichettaRisposta(shape, u"lbEsito(%1)"_s.arg(j), j < 7 ? u"Esito"_s : QString(),
                                         j < 7 ? kVerde : Qt::black);
        m_lbEsito[j]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_lbEsito[j]->setMinimumWidth(460);
        righe->addWidget(m_lbDescr[j], j - 1, 0);
        righe->addWidget(m_lbEsito[j], j - 1, 1);
    }
    QFont grassetto = m_lbEsito[1]->font();
    grassetto.setBold(true);
    m_lbEsito[1]->setFont(grassetto);
    m_lbError = EtichettaRisposta(shape, u"lbError"_s, u"Esito"_s, kRossoScuro);
    m_lbError->setFont(grassetto);
    righe->addWidget(m_lbError, 7, 0, 1, 2);
    // Which source answered: the agency's page or the EU's VIES service.
    m_lbFonte = Etichetta(shape, u"lbFonte"_s, {}, Qt::darkGray);
    righe->addWidget(m_lbFonte, 8, 0, 1, 2);
    righe->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(barra);
    layout->addLayout(scelta);
    layout->addWidget(shape);

    // As the window loads: no country chosen, every answer line blank.
    PulisciRisultati();
    RiempiComboNazioni(m_cmbNazioni, m_sessione.nazioni);
    m_cmbNazioni->setCurrentIndex(-1);
    m_cmbNazioni->installEventFilter(this);
    m_Text1->installEventFilter(this);
    FiltraCaratteri(m_Text1, Maiuscolo);

    connect(m_cmbNazioni, &QComboBox::currentIndexChanged, this,
            [this] { m_lbNAZ->setText(m_cmbNazioni->currentText().left(2)); });
    connect(m_Text1, &QLineEdit::textChanged, this, [this] {
        PulisciRisultati();
        m_cmdAnalizza->show();
        TabAutomatico(m_Text1);
    });
    connect(m_cmdAnalizza, &QPushButton::clicked, this, &VatSingola::AnalizzaCodice);
    connect(m_cmdPrt, &QPushButton::clicked, this, &VatSingola::Stampa);
    connect(m_Mu_end, &QAction::triggered, this, &QWidget::close);
    connect(m_Mu_print, &QAction::triggered, this, &ScegliStampanteCorrente);
    connect(m_Mu_param, &QAction::triggered, this, [this] {
        GWebPar parametri(m_sessione.impostazioni, m_sessione.parametriWeb, kUsoSingola, this);
        parametri.exec();
    });
}

void VatSingola::done(int risultato)
{
    if (!m_query)
        FinestraLavoro::done(risultato);
}

bool VatSingola::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (!Invio(evento))
        return false;
    if (oggetto == m_cmbNazioni)
        m_Text1->setFocus();
    else
        AnalizzaCodice();
    return true;
}

void VatSingola::PulisciRisultati()
{
    for (int j = 1; j <= 7; ++j) {
        m_lbDescr[j]->clear();
        m_lbEsito[j]->clear();
    }
    m_lbError->clear();
    m_lbFonte->clear();
}

void VatSingola::AbilitaComandi(bool abilita)
{
    for (QAction* a : {m_Mu_end, m_Mu_param, m_Mu_print})
        a->setEnabled(abilita);
    for (QWidget* w : std::initializer_list<QWidget*>{m_Text1, m_cmbNazioni, m_cmdAnalizza, m_cmdPrt})
        w->setEnabled(abilita);
}

void VatSingola::AnalizzaCodice()
{
    if (m_query)
        return;
    InizioAttesa();
    AbilitaComandi(false);
    PulisciRisultati();

    // With a country chosen only the national part is typed; without one, the whole code.
    m_codice = TogliSpazi(m_lbNAZ->text()) + TogliSpazi(m_Text1->text()).toUpper();
    m_query = new GetHtmPage(m_sessione.Contesto(), m_sessione.Politica(kUsoSingola), this);
    connect(m_query, &GetHtmPage::Conclusa, this, &VatSingola::MostraRisposta);
    m_query->Avvia(m_codice);
}

void VatSingola::MostraRisposta(const RispostaQuery& risposta)
{
    const RispostaSingola singola = LeggiRispostaSingola(risposta);
    m_lbFonte->setText(risposta.stato == 1 ? QString() : u"Fonte: "_s + NomeFonte(risposta.fonte));
    m_lbError->setText(singola.errore);
    for (const RigaRisposta& r : singola.righe) {
        m_lbDescr[r.indice]->setText(r.titolo);
        m_lbEsito[r.indice]->setText(r.valore);
    }
    if (singola.errore.isEmpty()) {
        // An end of activity means a ceased number; the next answer without one turns green again.
        const QColor colore = LeggeData(m_lbEsito[6]->text()) ? kRossoScuro : kVerde;
        Colora(m_lbEsito[6], colore);
        Colora(m_lbEsito[1], colore);
    }

    m_query->deleteLater();
    m_query = nullptr;
    m_cmdPrt->show();
    AbilitaComandi(true);
    FineAttesa();
    m_Text1->setFocus();
}

void VatSingola::Stampa()
{
    // A printer that cannot start a document prints nothing, silently. On "PDF" the file is named
    // after the code (IT_00743110157_esito.pdf), or after the time when no code was typed.
    const QString documento =
        m_codice.isEmpty() ? QString() : m_codice.left(2) + u'_' + m_codice.mid(2) + u"_esito"_s;
    if (IniziaStampa(m_sessione.dirTemp, documento)) {
        StampaA(u"Validità partita IVA: "_s, 3, 3, false);
        StampaA(m_codice.left(2) + u'-' + m_codice.mid(2), 3, 28, true);
        if (m_lbError->text().startsWith(u"***"_s))
            StampaA(m_lbError->text(), 7, 3, false);
        for (std::int16_t j = 1; j <= 7; ++j) {
            if (TogliSpazi(m_lbDescr[j]->text()).isEmpty())
                continue;
            const auto riga = std::int16_t(2 * j + 11);
            StampaA(m_lbDescr[j]->text(), riga, 3, false);
            StampaA(m_lbEsito[j]->text(), riga, 28, false);
        }
        FineStampa();
    }
    m_Text1->setFocus();
}
