#include "programs/GesAppl.h"

#include "core/CaselleTesto.h"
#include "core/ChiaviIni.h"
#include "core/Dialoghi.h"
#include "core/Impostazioni.h"
#include "core/TieniPosto.h"
#include "core/UtilitaFile.h"
#include "programs/RisolviProgramma.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kConferma = 0;
constexpr int kRipristina = 1;
constexpr int kUscita = 2;

// Where a browse starts when the entry names no program and no folder.
const QString kCartellaProgrammi = u"/usr/bin"_s;

QString TestoErrore(MotivoErrore motivo)
{
    switch (motivo) {
    case MotivoErrore::NomeMancante:
        return u"INDICARE IL NOME DEL PROGRAMMA\nDA VISUALIZZARE NEL MENU"_s;
    case MotivoErrore::PercorsoInesistente:
        return u"IL PERCORSO INDICATO NON ESISTE"_s;
    case MotivoErrore::VirgoletteAperte:
        return u"VIRGOLETTE O APOSTROFI NON CHIUSI"_s;
    case MotivoErrore::TestoNonIntegro:
        return u"TESTO TROPPO LUNGO O CON CARATTERI NON AMMESSI\n"
               u"(AL MASSIMO 198 CARATTERI, SENZA |, TABULAZIONI O VIRGOLETTE AGLI ESTREMI)"_s;
    case MotivoErrore::Nessuno:
        break;
    }
    return {};
}

// A move the user made, by mouse or keyboard: not the window losing its turn to another one, nor
// the window sending the focus back to a field in error.
bool MossaUtente(const QEvent* evento)
{
    switch (static_cast<const QFocusEvent*>(evento)->reason()) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        return true;
    default:
        return false;
    }
}

} // namespace

GesAppl::GesAppl(Impostazioni& impostazioni, QWidget* parent)
    : FinestraLavoro(impostazioni, u"GesAppl"_s, parent)
{
    setWindowTitle(u" GESTIONE APPLICATIVI"_s);
    auto* griglia = new QGridLayout(this);
    griglia->addWidget(new QLabel(u"Voce del menu"_s, this), 0, 0);
    griglia->addWidget(new QLabel(u"Programma, indirizzo web o di posta"_s, this), 0, 1);
    for (int i = 1; i <= kNumeroApplicativi; ++i) {
        for (const int n : {i, i + kNumeroApplicativi}) {
            m_Txt[n] = new QLineEdit(this);
            m_Txt[n]->setObjectName(u"Txt(%1)"_s.arg(n));
            m_Txt[n]->installEventFilter(this);
            griglia->addWidget(m_Txt[n], i, n == i ? 0 : 1);
        }
        m_Txt[i]->setMinimumWidth(160);
        m_Txt[i + kNumeroApplicativi]->setMinimumWidth(360);
        m_cmdTrova[i] = new QPushButton(u"?"_s, this);
        m_cmdTrova[i]->setObjectName(u"cmdTrova(%1)"_s.arg(i));
        m_cmdTrova[i]->setAutoDefault(false);
        m_cmdTrova[i]->setToolTip(u"Cerca il programma"_s);
        TieniPosto(m_cmdTrova[i]);
        m_cmdTrova[i]->setMaximumWidth(m_cmdTrova[i]->fontMetrics().horizontalAdvance(u"?"_s) + 24);
        griglia->addWidget(m_cmdTrova[i], i, 2);
        connect(m_cmdTrova[i], &QPushButton::clicked, this, [this, i] { Sfoglia(i); });
    }
    griglia->setColumnStretch(0, 1);
    griglia->setColumnStretch(1, 3);
    griglia->setRowStretch(kNumeroApplicativi + 1, 1);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    const std::array<QString, 3> didascalie = {u"&CONFERMA"_s, u"&RIPRISTINA"_s, u"&USCITA"_s};
    for (int k = 0; k < 3; ++k) {
        m_Command1[k] = new QPushButton(didascalie[k], this);
        m_Command1[k]->setObjectName(u"Command1(%1)"_s.arg(k));
        m_Command1[k]->setAutoDefault(false);
        pulsanti->addWidget(m_Command1[k]);
    }
    griglia->addLayout(pulsanti, kNumeroApplicativi + 2, 0, 1, 3);

    connect(m_Command1[kConferma], &QPushButton::clicked, this, &GesAppl::Conferma);
    connect(m_Command1[kRipristina], &QPushButton::clicked, this, &GesAppl::CaricaVoci);
    connect(m_Command1[kUscita], &QPushButton::clicked, this, &QDialog::reject);
}

void GesAppl::showEvent(QShowEvent* evento)
{
    FinestraLavoro::showEvent(evento);
    if (m_caricata)
        return;
    m_caricata = true;
    // The press reaches the window before Qt moves the focus to the button under it.
    windowHandle()->installEventFilter(this);
    CaricaVoci();
}

void GesAppl::CaricaVoci()
{
    m_saltaControlli = false;
    m_indiceErrore = 0;
    m_inSospeso = 0;
    for (int i = 1; i <= kNumeroApplicativi; ++i) {
        const QString nome = m_impostazioni.Leggi(Chiavi::NomeVarie(i)).trimmed();
        const QString programma = m_impostazioni.Leggi(Chiavi::Varie(i)).trimmed();
        m_Txt[i]->setText(nome);
        m_Txt[i + kNumeroApplicativi]->setText(programma);
        m_cmdTrova[i]->setVisible(!programma.isEmpty());
        const bool visibile = !programma.isEmpty() || i == 1;
        if (!visibile)
            m_Txt[i]->clear();
        Q_EMIT VoceMenu(i, m_Txt[i]->text(), visibile);
    }
}

bool GesAppl::SaltaControlli(const QObject* pulsante) const
{
    if (pulsante == m_Command1[kRipristina] || pulsante == m_Command1[kUscita])
        return true;
    return std::find(m_cmdTrova.begin() + 1, m_cmdTrova.end(), pulsante) != m_cmdTrova.end();
}

bool GesAppl::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (oggetto == windowHandle()) {
        if (evento->type() == QEvent::MouseButtonPress) {
            const QPoint dove = static_cast<QMouseEvent*>(evento)->position().toPoint();
            if (SaltaControlli(childAt(dove)))
                m_saltaControlli = true;
        }
        return false;
    }
    const auto campo = std::find(m_Txt.begin() + 1, m_Txt.end(), oggetto);
    if (campo != m_Txt.end())
        return FiltraCampo(int(campo - m_Txt.begin()), evento);
    return false;
}

bool GesAppl::FiltraCampo(int n, QEvent* evento)
{
    QLineEdit* campo = m_Txt[n];
    switch (evento->type()) {
    case QEvent::KeyPress: {
        const int tasto = static_cast<QKeyEvent*>(evento)->key();
        if (tasto != Qt::Key_Return && tasto != Qt::Key_Enter)
            return false;
        focusNextChild(); // Enter never types into a field, nor presses a button
        return true;
    }
    case QEvent::FocusIn:
        if (!MossaUtente(evento))
            return false;
        m_saltaControlli = false;
        // Decided once the check of the field just left has run.
        QTimer::singleShot(0, campo, [this, campo] {
            if (m_indiceErrore == 0 && campo->hasFocus())
                SelezionaTesto(campo);
        });
        return false;
    case QEvent::FocusOut:
        if (!MossaUtente(evento))
            return false;
        if (n <= kNumeroApplicativi) {
            m_cmdTrova[n]->setVisible(!campo->text().trimmed().isEmpty());
        } else if (!m_saltaControlli) {
            // Checked after the focus has moved: a message shown in the middle of the move would
            // leave the button under the mouse half pressed.
            m_inSospeso = n;
            QTimer::singleShot(0, this, &GesAppl::ControllaInSospeso);
        }
        return false;
    default:
        return false;
    }
}

void GesAppl::ControllaInSospeso()
{
    const int n = std::exchange(m_inSospeso, 0);
    if (n == 0 || !isVisible())
        return;
    const ErroreApplicativo errore = Controlla(n - kNumeroApplicativi);
    m_indiceErrore = errore.campo;
    if (errore.campo != 0)
        MostraErrore(errore);
}

ErroreApplicativo GesAppl::Controlla(int indice) const
{
    return ControllaApplicativo(indice, m_Txt[indice]->text().trimmed(),
                                m_Txt[indice + kNumeroApplicativi]->text().trimmed());
}

void GesAppl::MostraErrore(const ErroreApplicativo& errore)
{
    MsgBox(TestoErrore(errore.motivo), Pulsanti::Ok, Icona::Critica,
           u"ERRORE N. "_s + QString::number(errore.campo));
    m_Txt[errore.campo]->setFocus(Qt::OtherFocusReason);
}

void GesAppl::Sfoglia(int indice)
{
    const QString programma = m_Txt[indice + kNumeroApplicativi]->text().section(u'"', 0, 0).trimmed();
    QString iniziale = CartellaDi(programma);
    if (const std::optional<ComandoProgramma> comando = RisolviProgramma(programma))
        iniziale = comando->programma;
    else if (iniziale.isEmpty())
        iniziale = kCartellaProgrammi;
    const QString scelto =
        DialoghiCorrenti().ScegliProgramma(m_Txt[indice]->text().trimmed().toUpper(), iniziale);
    if (!scelto.isEmpty())
        m_Txt[indice + kNumeroApplicativi]->setText(scelto);
    m_saltaControlli = false;
}

void GesAppl::Conferma()
{
    m_inSospeso = 0; // this check covers the field just left
    for (int i = 1; i <= kNumeroApplicativi; ++i) {
        const ErroreApplicativo errore = Controlla(i);
        m_indiceErrore = errore.campo;
        if (errore.campo != 0) {
            MostraErrore(errore);
            return;
        }
    }
    QList<std::pair<Chiave, QString>> valori;
    for (int i = 1; i <= kNumeroApplicativi; ++i) {
        const QString nome = m_Txt[i]->text().trimmed();
        const QString programma = m_Txt[i + kNumeroApplicativi]->text().trimmed();
        valori.append({Chiavi::NomeVarie(i), nome});
        valori.append({Chiavi::Varie(i), programma});
        Q_EMIT VoceMenu(i, nome, !programma.isEmpty());
    }
    m_impostazioni.Scrivi(valori);
    accept();
}
