#include "countries/GesNaz.h"

#include "core/CartellaProgramma.h"
#include "core/CaselleTesto.h"
#include "core/Dialoghi.h"
#include "core/StampaGriglia.h"
#include "core/TieniPosto.h"
#include "core/Valori.h"
#include "countries/ComboNazioni.h"
#include "countries/Nazioni.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QWindow>

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kCodice = 1;
constexpr int kNome = 2;
constexpr int kUltimoCampo = 8;
const QColor kGialloChiaro(255, 255, 192); // the box that opens the list

QLabel* Etichetta(const QString& nome, const QString& testo, QWidget* padre)
{
    auto* etichetta = new QLabel(testo, padre);
    etichetta->setObjectName(nome);
    return etichetta;
}

QLineEdit* Casella(int indice, int lunghezza, QWidget* padre)
{
    auto* casella = new QLineEdit(padre);
    casella->setObjectName(u"Txt(%1)"_s.arg(indice));
    casella->setMaxLength(lunghezza);
    casella->setFixedWidth(casella->fontMetrics().horizontalAdvance(QString(lunghezza + 1, u'N')) + 12);
    return casella;
}

void NascostoConPosto(QWidget* w)
{
    TieniPosto(w);
    w->hide();
}

// Focus that comes and goes with the window's activation or a popup is no move between fields.
bool CambioDiCampo(const QEvent* evento)
{
    const Qt::FocusReason motivo = static_cast<const QFocusEvent*>(evento)->reason();
    return motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason;
}

bool Invio(int tasto)
{
    return tasto == Qt::Key_Return || tasto == Qt::Key_Enter;
}

void PremiTab(QWidget* controllo)
{
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(controllo, &tab);
}

// The flag of a default country; a null picture for any other code.
QPixmap Bandiera(const QString& codice)
{
    return QPixmap(u":/bandiere/"_s + codice + u".png"_s);
}

} // namespace

GesNaz::GesNaz(Impostazioni& impostazioni, const Nazioni& nazioni, QWidget* parent)
    : FinestraLavoro(impostazioni, u"GesNaz"_s, parent), m_nazioni(nazioni)
{
    setWindowTitle(u"   GESTIONE DELLE NAZIONI CEE"_s);

    m_Txt[kCodice] = Casella(kCodice, 2, this);
    QPalette giallo = m_Txt[kCodice]->palette();
    giallo.setColor(QPalette::Base, kGialloChiaro);
    m_Txt[kCodice]->setPalette(giallo);
    m_Txt[kNome] = Casella(kNome, 25, this);
    auto* caratteri = new QGroupBox(u"Caratteri"_s, this);
    caratteri->setObjectName(u"Frame1"_s);
    auto* righe = new QGridLayout(caratteri);
    for (int riga = 0; riga < 3; ++riga) {
        const int minimo = 3 + 2 * riga;
        m_Txt[minimo] = Casella(minimo, 2, caratteri);
        m_Txt[minimo + 1] = Casella(minimo + 1, 2, caratteri);
        righe->addWidget(Etichetta(u"Label1(%1)"_s.arg(minimo - 1), u"minimo"_s, caratteri), riga, 0);
        righe->addWidget(m_Txt[minimo], riga, 1);
        righe->addWidget(Etichetta(u"Label1(%1)"_s.arg(minimo), u"massimo"_s, caratteri), riga, 3);
        righe->addWidget(m_Txt[minimo + 1], riga, 4);
    }
    righe->setColumnMinimumWidth(2, 24);
    righe->setColumnStretch(5, 1);

    m_cbNazioni = new QComboBox(this);
    m_cbNazioni->setObjectName(u"cbNazioni"_s);
    m_cbNazioni->setFont(CarattereFisso(font().pointSize()));
    // It lies over the code and name boxes and takes their width.
    m_cbNazioni->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    NascostoConPosto(m_cbNazioni);
    m_PctFlag = new QLabel(this);
    m_PctFlag->setObjectName(u"PctFlag"_s);
    m_PctFlag->setFixedSize(48, 32);
    NascostoConPosto(m_PctFlag);

    m_Command1[1] = new QPushButton(u"&CONFERMA"_s, this);
    m_Command1[1]->setObjectName(u"Command1(1)"_s);
    m_Command1[0] = new QPushButton(u"&USCITA"_s, this);
    m_Command1[0]->setObjectName(u"Command1(0)"_s);

    auto* griglia = new QGridLayout(this);
    griglia->setSizeConstraint(QLayout::SetFixedSize);
    griglia->addWidget(Etichetta(u"Label1(0)"_s, u"Codice ISO"_s, this), 0, 0);
    griglia->addWidget(Etichetta(u"Label1(1)"_s, u"Descrizione"_s, this), 0, 1);
    griglia->addWidget(m_Txt[kCodice], 1, 0);
    griglia->addWidget(m_Txt[kNome], 1, 1);
    griglia->addWidget(m_cbNazioni, 1, 0, 1, 2);
    griglia->addWidget(m_PctFlag, 0, 2, 2, 1, Qt::AlignCenter);
    griglia->addWidget(caratteri, 2, 0, 1, 2);
    auto* pulsanti = new QVBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(m_Command1[1]);
    pulsanti->addWidget(m_Command1[0]);
    griglia->addLayout(pulsanti, 2, 2);
    griglia->setColumnMinimumWidth(2, 100);

    // As the window loads.
    PulisciCampi();
    RiempiComboNazioni(m_cbNazioni, m_nazioni);

    for (int i = 1; i <= kUltimoCampo; ++i) {
        QLineEdit* casella = m_Txt[i];
        FiltraCaratteri(casella, i <= kNome ? Maiuscolo : SoloCifre);
        casella->installEventFilter(this);
        connect(casella, &QLineEdit::textChanged, this, [this, casella] {
            if (!m_riempie)
                TabAutomatico(casella);
        });
    }
    FiltraCaratteri(m_cbNazioni, Maiuscolo);
    m_cbNazioni->installEventFilter(this);
    m_Command1[1]->installEventFilter(this);
    connect(m_cbNazioni, &QComboBox::activated, this, &GesNaz::SceltaDallElenco);
    connect(m_Command1[0], &QPushButton::clicked, this, &QWidget::close);
    connect(m_Command1[1], &QPushButton::clicked, this, [this] {
        PulisciCampi();
        m_Txt[kCodice]->setFocus();
    });
}

void GesNaz::showEvent(QShowEvent* evento)
{
    FinestraLavoro::showEvent(evento);
    // A press on the exit button must be seen before it moves the focus, which happens before the
    // button itself hears of it: the window's own surface receives it first.
    windowHandle()->installEventFilter(this);
}

bool GesNaz::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (oggetto == windowHandle()) {
        if (evento->type() == QEvent::MouseButtonPress &&
            childAt(static_cast<QMouseEvent*>(evento)->position().toPoint()) == m_Command1[0] &&
            m_Command1[0]->isEnabled())
            m_salta = true;
        return false;
    }
    // A press whose focus was pulled back to a box in error does not press the button.
    if (oggetto == m_Command1[1])
        return evento->type() == QEvent::MouseButtonPress && focusWidget() != m_Command1[1];
    if (oggetto == m_cbNazioni)
        return EventoElenco(evento);
    for (int i = 1; i <= kUltimoCampo; ++i) {
        if (oggetto == m_Txt[i])
            return EventoCasella(i, evento);
    }
    return false;
}

bool GesNaz::EventoCasella(int indice, QEvent* evento)
{
    switch (evento->type()) {
    case QEvent::FocusIn:
        if (!m_salta && static_cast<QFocusEvent*>(evento)->reason() != Qt::PopupFocusReason) {
            m_indiceErrore = 0;
            m_campo = indice;
            SelezionaTesto(m_Txt[indice]);
        }
        return false;
    case QEvent::FocusOut:
        if (!CambioDiCampo(evento))
            return false;
        if (m_salta) {
            m_salta = false;
            return false;
        }
        // Qt also tells a box that the focus only passed through on its way back to another.
        if (indice != m_campo || m_indiceErrore != 0)
            return false;
        ControllaCampo(indice);
        if (m_indiceErrore == 0)
            return false;
        m_salta = true;
        MostraErrore();
        m_salta = false;
        m_Txt[m_indiceErrore]->setFocus();
        return true; // the box keeps the focus it has been given back
    case QEvent::MouseButtonDblClick:
        ApriElenco();
        return false;
    case QEvent::KeyPress:
        return TastoCasella(indice, *static_cast<QKeyEvent*>(evento));
    default:
        return false;
    }
}

bool GesNaz::TastoCasella(int indice, const QKeyEvent& tasto)
{
    const int codice = tasto.key();
    if (indice == kUltimoCampo && Invio(codice)) {
        PremiTab(m_Txt[indice]);
        return true;
    }
    if (codice == Qt::Key_F4) {
        ApriElenco();
        return true;
    }
    if (codice == Qt::Key_Up) {
        m_Txt[CampoPrecedente()]->setFocus();
        return true;
    }
    if (codice == Qt::Key_Down || Invio(codice)) {
        m_Txt[CampoSuccessivo()]->setFocus();
        return true;
    }
    return false;
}

bool GesNaz::EventoElenco(QEvent* evento)
{
    switch (evento->type()) {
    case QEvent::FocusIn:
        m_campo = 0;
        return false;
    case QEvent::FocusOut:
        if (!CambioDiCampo(evento))
            return false;
        SceltaDallElenco();
        m_cbNazioni->hide();
        m_Txt[kNome]->setFocus();
        return false;
    case QEvent::KeyPress:
        if (!Invio(static_cast<QKeyEvent*>(evento)->key()))
            return false;
        PremiTab(m_cbNazioni);
        return true;
    default:
        return false;
    }
}

bool GesNaz::CercaNazione(const QString& codice)
{
    if (codice.isEmpty())
        return true;
    const int posizione = m_nazioni.Posizione(codice);
    if (posizione < 0)
        return false;
    const RigaNazione& riga = m_nazioni.Righe()[posizione];
    QScopedValueRollback riempie(m_riempie, true);
    m_Txt[kNome]->setText(riga.nome);
    const std::array<std::uint8_t, 6> lunghezze{riga.min1, riga.max1, riga.min2,
                                                riga.max2, riga.min3, riga.max3};
    for (int k = 0; k < 6; ++k)
        m_Txt[3 + k]->setText(QString::number(lunghezze[k]));
    // A code of the settings file without a picture of its own shows no flag.
    const QPixmap bandiera = Bandiera(codice);
    m_PctFlag->setPixmap(bandiera);
    m_PctFlag->setVisible(!bandiera.isNull());
    return true;
}

void GesNaz::ControllaCampo(int indice)
{
    const QString valore = TogliSpazi(m_Txt[indice]->text());
    m_indiceErrore = 0;
    if (indice == kCodice) {
        if (CercaNazione(valore))
            return;
        m_salta = true;
        if (MsgBox(u"NAZIONE INESISTENTE\nLa inserisco"_s, Pulsanti::SiNo, Icona::Domanda, u"NUOVA NAZIONE"_s,
                   Risposta::Si) == Risposta::No)
            m_indiceErrore = kCodice;
        else
            m_Txt[kNome]->setFocus();
        m_salta = false;
        return;
    }
    // A length of 0 (an empty box too) switches its range off.
    const int numero = LunghezzaNazione(valore);
    if (indice > kNome && numero != 0 && (numero < 2 || numero > 12))
        m_indiceErrore = indice;
}

void GesNaz::MostraErrore()
{
    const QString messaggio =
        m_indiceErrore == kCodice ? u"NAZIONE NON CODIFICATA"_s : u"NUMERO CARATTERI ERRATO (2-12)"_s;
    const QString titolo = QString::fromUtf16(kNomeBaseProgramma).toUpper() + u" -ERRORE N. "_s +
                           QString::number(m_indiceErrore);
    MsgBox(messaggio, Pulsanti::Ok, Icona::Critica, titolo);
}

void GesNaz::ApriElenco()
{
    if (m_campo != kCodice) // only the code box opens the list
        return;
    const int scelta = m_cbNazioni->findText(m_Txt[kCodice]->text() + u" - "_s, Qt::MatchStartsWith);
    m_cbNazioni->setCurrentIndex(scelta);
    m_cbNazioni->show();
    m_cbNazioni->raise();
    m_cbNazioni->setFocus();
    // The code box's check, on leaving it, may have kept the focus elsewhere.
    if (focusWidget() != m_cbNazioni)
        m_cbNazioni->hide();
}

void GesNaz::SceltaDallElenco()
{
    // Leaving the list without a choice keeps the code as it was.
    if (m_cbNazioni->currentIndex() < 0)
        return;
    QScopedValueRollback riempie(m_riempie, true);
    const QString codice = m_cbNazioni->currentText().left(2);
    m_Txt[kCodice]->setText(codice);
    CercaNazione(codice);
}

void GesNaz::PulisciCampi()
{
    QScopedValueRollback riempie(m_riempie, true);
    for (int i = 1; i <= kUltimoCampo; ++i)
        m_Txt[i]->clear();
    m_PctFlag->hide();
    m_cbNazioni->hide();
}

int GesNaz::CampoPrecedente() const
{
    return m_campo <= 1 ? kUltimoCampo : m_campo - 1;
}

int GesNaz::CampoSuccessivo() const
{
    return m_campo >= kUltimoCampo ? 1 : m_campo + 1;
}
