#include "app/Startup.h"

#include "app/FrmAbout.h"
#include "app/GeometriaStartup.h"
#include "checks/EleVat.h"
#include "checks/VatSingola.h"
#include "core/CartellaProgramma.h"
#include "core/ChiaviIni.h"
#include "core/PosizioneFinestre.h"
#include "core/TastiComuni.h"
#include "core/Twips.h"
#include "core/Valori.h"
#include "countries/GesNaz.h"
#include "programs/GesAppl.h"
#include "programs/ModuliOpzionali.h"
#include "results/EleVATok.h"
#include "session/Sessione.h"
#include "web/MostraPagineFinestra.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

QAction* Voce(QMenuBar* barra, const QString& nome, const QString& testo)
{
    QAction* a = barra->addAction(testo);
    a->setObjectName(nome);
    return a;
}

QAction* Voce(QMenu* menu, const QString& nome, const QString& testo)
{
    QAction* a = menu->addAction(testo);
    a->setObjectName(nome);
    return a;
}

QMenu* Sottomenu(QMenuBar* barra, const QString& nome, const QString& testo)
{
    QMenu* m = barra->addMenu(testo);
    m->setObjectName(nome);
    m->menuAction()->setObjectName(nome);
    return m;
}

QString Titolo()
{
    return u" CONTROLLO VALIDITA' PARTITA IVA CEE "_s + QString(17, u' ') + u'(' + VersioneProgramma() + u')';
}

} // namespace

Startup::Startup(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(u"Startup"_s);
    QGuiApplication::setWindowIcon(QIcon(u":/icone/tarvel.png"_s)); // every window of the program
    new TastiComuni(this, u"%U"_s);

    auto* centro = new QWidget(this);
    auto* layout = new QVBoxLayout(centro);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* linea = new QFrame(centro);
    linea->setObjectName(u"Line1"_s);
    linea->setFrameShape(QFrame::HLine);
    linea->setFrameShadow(QFrame::Sunken);
    layout->addWidget(linea);
    layout->addStretch();
    setCentralWidget(centro);
    CreaMenu();

    m_sessione =
        ApriSessione(CartellaProgramma(), ModoSessione::Finestre, [this](Impostazioni& impostazioni) {
            m_primoAvvio = true;
            ScriviPosizioneIniziale(impostazioni);
        });
    m_sessione->ImpostaMostraPagine(
        std::make_unique<MostraPagineFinestra>(m_sessione->impostazioni, m_sessione->dirTemp));
    const GruppoScritture gruppo(m_sessione->impostazioni);
    FissaDimensioni();
    RipristinaPosizione();
    setWindowTitle(Titolo());
    CaricaParametri();
    // The size and the first centring count the window manager's frame, known once it is drawn.
    QuandoCorniceNota(this, [this] {
        FissaDimensioni();
        if (m_primoAvvio) {
            ScriviPosizioneIniziale(m_sessione->impostazioni);
            RipristinaPosizione();
        }
    });
}

Startup::~Startup() = default;

void Startup::CreaMenu()
{
    QMenuBar* barra = menuBar();
    connect(Voce(barra, u"Mu_end"_s, u"&Fine"_s), &QAction::triggered, this, &QWidget::close);
    connect(Voce(barra, u"Mu_Mrn1"_s, u"&Singola"_s), &QAction::triggered, this, &Startup::ApriVatSingola);
    connect(Voce(barra, u"Mu_MrnEle"_s, u"&Elenco"_s), &QAction::triggered, this, &Startup::ApriEleVat);
    connect(Voce(barra, u"Mu_dataBase"_s, u"&DataBase"_s), &QAction::triggered, this,
            [this] { ApriEleVATok(TabellaSfogliata::Risultati); });
    connect(Voce(barra, u"Mu_Nazioni"_s, u"&Nazioni"_s), &QAction::triggered, this, &Startup::ApriGesNaz);

    m_Mprg_base = Sottomenu(barra, u"Mprg_base"_s, u"&Applicativi"_s);
    for (int i = 1; i <= kNumeroApplicativi; ++i) {
        const QString testo = i == 1 ? u"&Editor di Testi"_s : u"&Varie"_s + QString::number(i);
        m_Mprg_var[i] = Voce(m_Mprg_base, u"Mprg_var(%1)"_s.arg(i), testo);
        connect(m_Mprg_var[i], &QAction::triggered, this,
                [this, i] { LanciaModulo(*m_sessione, u"Varie"_s + QString::number(i)); });
    }
    m_Mprg_base->addSeparator()->setObjectName(u"f1"_s);
    connect(Voce(m_Mprg_base, u"Mu_ParAppl"_s, u"Imposta Applicativi"_s), &QAction::triggered, this,
            &Startup::ApriGesAppl);

    QMenu* aiuto = Sottomenu(barra, u"Mu_help"_s, u"&?"_s);
    connect(Voce(aiuto, u"Mu_about"_s, u"Su Tarvel"_s), &QAction::triggered, this,
            &Startup::MostraInformazioni);
}

double Startup::Dpi() const
{
    return screen()->logicalDotsPerInch();
}

QSize Startup::SchermoInTwips() const
{
    const QSize px = screen()->geometry().size();
    return {TwipsDaPixel(px.width(), Dpi()), TwipsDaPixel(px.height(), Dpi())};
}

void Startup::ScriviPosizioneIniziale(Impostazioni& impostazioni)
{
    const int altezzaMenu = TwipsDaPixel(menuBar()->sizeHint().height(), Dpi());
    const QSize cornice = frameGeometry().size() - geometry().size(); // none before it is drawn
    const QSize progetto(kLarghezzaProgetto + TwipsDaPixel(cornice.width(), Dpi()),
                         kAltezzaProgetto + altezzaMenu + TwipsDaPixel(cornice.height(), Dpi()));
    const QPointF centro = PosizioneCentrata(SchermoInTwips(), progetto);
    impostazioni.Scrivi({{Chiavi::PosX(u"STARTUP"_s), TestoNumero(centro.x())},
                         {Chiavi::PosY(u"STARTUP"_s), TestoNumero(centro.y())}});
}

void Startup::FissaDimensioni()
{
    const double dpi = Dpi();
    // The window manager's frame is known only once the window is shown; until then it is zero.
    const QRect interno = geometry();
    const QRect esterno = frameGeometry();
    const QMargins cornice(interno.left() - esterno.left(), interno.top() - esterno.top(),
                           esterno.right() - interno.right(), esterno.bottom() - interno.bottom());
    const int clientePx = PixelDaTwips(kLarghezzaProgetto, dpi);
    const int altezzaMenu = menuBar()->heightForWidth(clientePx);
    const int menuPx = altezzaMenu > 0 ? altezzaMenu : menuBar()->sizeHint().height();
    const int bordiOrizzontali = TwipsDaPixel(cornice.left() + cornice.right(), dpi);
    const int altezzaCornice = TwipsDaPixel(menuPx + cornice.top() + cornice.bottom(), dpi);

    m_larghezzaFissa = LarghezzaFissa(kLarghezzaProgetto + bordiOrizzontali, altezzaCornice);
    m_altezzaFissa = AltezzaFissa(kAltezzaProgetto + altezzaCornice);
    setFixedSize(PixelDaTwips(m_larghezzaFissa, dpi) - cornice.left() - cornice.right(),
                 PixelDaTwips(m_altezzaFissa, dpi) - cornice.top() - cornice.bottom());
}

void Startup::RipristinaPosizione()
{
    const Impostazioni& impostazioni = m_sessione->impostazioni;
    const double posX = impostazioni.Numero(Chiavi::PosX(u"STARTUP"_s));
    const double posY = impostazioni.Numero(Chiavi::PosY(u"STARTUP"_s));
    const QPoint twips = PosizioneRipristinata(posX, posY, SchermoInTwips());
    move(PixelDaTwips(twips.x(), Dpi()), PixelDaTwips(twips.y(), Dpi()));
}

void Startup::CaricaParametri()
{
    m_sessione->parametriWeb = ParametriWeb::Leggi(m_sessione->impostazioni);
    const Applicativi applicativi = CaricaApplicativi(m_sessione->impostazioni, m_sessione->cartella);
    m_sessione->pathExcel = applicativi.pathExcel;
    const auto& voci = applicativi.voci;
    bool mostrato = false;
    for (int i = 1; i <= kNumeroApplicativi; ++i) {
        MostraVoce(i, voci[i].nome, voci[i].visibile);
        mostrato = mostrato || voci[i].visibile;
    }
    m_Mprg_base->menuAction()->setVisible(mostrato);
}

void Startup::MostraVoce(int indice, const QString& nome, bool visibile)
{
    if (visibile)
        m_Mprg_var[indice]->setText(nome);
    m_Mprg_var[indice]->setVisible(visibile);
}

void Startup::showEvent(QShowEvent* evento)
{
    QMainWindow::showEvent(evento);
    FissaDimensioni(); // with the frame, where the platform knows it by now
}

void Startup::closeEvent(QCloseEvent* evento)
{
    SalvaPosizioneEsterna(this, m_sessione->impostazioni);
    m_sessione->database.Chiudi();
    evento->accept();
    // Other windows close with the program, without their own closing steps.
    QCoreApplication::exit(0);
}

void Startup::MostraInformazioni()
{
    FrmAbout finestra(m_sessione->impostazioni, this);
    finestra.exec();
}

void Startup::ApriVatSingola()
{
    VatSingola finestra(*m_sessione, this);
    finestra.exec();
}

// The list check and the results browser open each other through here, so neither needs the other.
void Startup::ApriEleVat()
{
    bool mostraLavoro = false;
    {
        EleVat finestra(*m_sessione, this);
        connect(&finestra, &EleVat::MostraTabellaLavoro, this, [&mostraLavoro] { mostraLavoro = true; });
        finestra.exec();
    }
    // Once the list check has closed: the answers of its "D.B." run.
    if (mostraLavoro)
        ApriEleVATok(TabellaSfogliata::Lavoro);
}

void Startup::ApriEleVATok(TabellaSfogliata tabella)
{
    EleVATok finestra(*m_sessione, tabella, this);
    connect(&finestra, &EleVATok::ControllaElenco, this, [this, &finestra](const QString& fileLista) {
        EleVat elenco(*m_sessione, &finestra);
        elenco.plElenco(fileLista);
        elenco.exec();
    });
    finestra.exec();
}

// The country window is the one working window that stays open beside the others.
void Startup::ApriGesNaz()
{
    if (!m_gesNaz) {
        m_gesNaz = new GesNaz(m_sessione->impostazioni, m_sessione->nazioni, this);
        m_gesNaz->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_gesNaz->show();
    m_gesNaz->raise();
    m_gesNaz->activateWindow();
}

void Startup::ApriGesAppl()
{
    auto* finestra = new GesAppl(m_sessione->impostazioni, this);
    finestra->setAttribute(Qt::WA_DeleteOnClose);
    connect(finestra, &GesAppl::VoceMenu, this, &Startup::MostraVoce);
    // The menu ends as the settings file says, whatever the window did to it.
    connect(finestra, &QDialog::finished, this, &Startup::CaricaParametri);
    finestra->open();
}
