#include "web/FrmWeb.h"

#include "core/Attese.h"
#include "core/CalcoloPosizione.h"
#include "core/ChiaviIni.h"
#include "core/Dialoghi.h"
#include "core/Impostazioni.h"
#include "core/PosizioneFinestre.h"
#include "core/ScalaTwips.h"
#include "core/StampanteCorrente.h"
#include "core/TastiComuni.h"
#include "core/UtilitaFile.h"
#include "core/Valori.h"
#include "web/PdfCreator.h"
#include "web/RunFile.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

ScalaTwips Scala()
{
    return ScalaTwips(SchermoPrincipale());
}

} // namespace

FrmWeb::FrmWeb(Impostazioni& impostazioni, const OpzioniPagina& opzioni, const QString& dirTemp,
               QWidget* parent)
    : QDialog(parent), m_impostazioni(impostazioni), m_opzioni(opzioni), m_dirTemp(dirTemp)
{
    setObjectName(u"FrmWeb"_s);
    setWindowTitle(u"Pagina WEB"_s);
    new TastiComuni(this, u"%U"_s);

    // A profile of its own, off the record and without cache: every page comes fresh from the
    // agency and leaves nothing behind.
    auto* profilo = new QWebEngineProfile(this);
    profilo->setHttpCacheType(QWebEngineProfile::NoCache);
    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(u"WebBrowser1"_s);
    m_browser->setPage(new QWebEnginePage(profilo, m_browser));
    m_uscita = new QPushButton(u"&USCITA"_s, this);
    m_uscita->setObjectName(u"Command1"_s);
    m_uscita->setAutoDefault(false);

    connect(m_uscita, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_browser, &QWebEngineView::loadFinished, this, [this] { m_paginaPronta = true; });
    const auto stampaFinita = [this](bool riuscita) {
        m_stampaFinita = true;
        m_stampaRiuscita = riuscita;
        Q_EMIT StampaConclusa();
    };
    connect(m_browser, &QWebEngineView::printFinished, this, stampaFinita);
    connect(m_browser->page(), &QWebEnginePage::pdfPrintingFinished, this,
            [stampaFinita](const QString&, bool riuscita) { stampaFinita(riuscita); });

    resize(Scala().Pixel(QSize(6000, 4000)));
}

FrmWeb::~FrmWeb()
{
    delete m_browser->page(); // a page must go before its profile
    delete m_browser;         // and the view before a printer it may still be printing on
}

void FrmWeb::setVisible(bool visibile)
{
    if (visibile && !m_caricata) {
        m_caricata = true;
        Colloca();
        AttendiPagina();
        if (m_risposta == 6) {
            setWindowTitle(m_tipo == u"ex"_s   ? u"MRN Esportazione '"_s + m_numero + u'\''
                           : m_tipo == u"tr"_s ? u"MRN Transito '"_s + m_numero + u'\''
                           : m_tipo == u"pi"_s ? u"P.IVA Comunitaria '"_s + m_numero + u'\''
                                               : u"  ERRORE"_s);
            if (m_opzioni.Print > 0)
                StampaPagina();
        }
    }
    QDialog::setVisible(visibile);
}

void FrmWeb::Colloca()
{
    const ScalaTwips scala = Scala();
    QRect twips(0, 0, 1800, 1200); // the outer frame
    if (m_opzioni.View == 1) {
        if (m_opzioni.uso == 0) {
            setWindowState(Qt::WindowMinimized);
            return;
        }
        const auto valore = [&](const Chiave& chiave) {
            return int(std::clamp(m_impostazioni.Numero(chiave), -1e9, 1e9));
        };
        const QString s = objectName();
        twips = CorreggiPosizioneWeb(valore(Chiavi::PosY(s)), valore(Chiavi::PosX(s)),
                                     valore(Chiavi::DimY(s)), valore(Chiavi::DimX(s)),
                                     scala.Twips(SchermoPrincipale()->geometry().size()));
    }
    ImpostaGeometriaEsterna(this, QRect(scala.Pixel(twips.topLeft()), scala.Pixel(twips.size())));
}

void FrmWeb::AttendiPagina()
{
    m_risposta = 6;
    m_paginaPronta = false;
    QEventLoop ciclo;
    QTimer scadenza;
    scadenza.setSingleShot(true);
    connect(&scadenza, &QTimer::timeout, &ciclo, &QEventLoop::quit);
    const auto pronta = connect(m_browser, &QWebEngineView::loadFinished, &ciclo, &QEventLoop::quit);
    m_browser->load(QUrl(m_url));
    while (!m_paginaPronta) {
        scadenza.start(Attese().paginaMs);
        ciclo.exec();
        if (m_paginaPronta)
            break;
        const QString pagina = m_tipo == u"pi"_s ? u"Pagina WEB per VAT  "_s : u"Pagina WEB per MRN "_s;
        const Risposta r = MsgBox(pagina + m_numero + u"\nnon ricevuta\nAttendi ancora?"_s, Pulsanti::SiNo,
                                  Icona::Domanda, u"ATTESA PAGINA WEB"_s, Risposta::Si);
        m_risposta = r == Risposta::Si ? 6 : 7;
        if (m_risposta == 7)
            break;
    }
    disconnect(pronta);
    if (m_paginaPronta)
        m_browser->history()->clear();
}

void FrmWeb::StampaPagina()
{
    // Noted before any dialog: the follow-up goes by the printer in use, which a dialog leaves alone.
    const QString nomeStampante = NomeStampanteCorrente().toUpper();
    const QString cartellaAutomatica = LeggiPdfCreator(m_impostazioni, nomeStampante);
    QPrinter* stampante = &StampanteCorrente();
    if (m_opzioni.ChPrt >= 1) {
        const SceltaStampante scelta = DialoghiCorrenti().ScegliStampante(SceltaStampanteCorrente());
        m_stampanteScelta = std::make_unique<QPrinter>();
        if (scelta.nome.isEmpty() || !ImpostaStampante(*m_stampanteScelta, scelta.nome))
            return;
        stampante = m_stampanteScelta.get();
    }
    const QString host = QUrl(m_url).host();
    if (stampante->outputFormat() == QPrinter::PdfFormat) {
        StampaSuPdf(stampante->pageLayout());
    } else {
        stampante->setDocName(TitoloStampa(m_tipo, host));
        m_stampaFinita = false;
        m_browser->print(stampante);
        AttendiStampa();
    }
    if (!cartellaAutomatica.isEmpty() && nomeStampante == u"PDFCREATOR"_s)
        RinominaPdfCreator(cartellaAutomatica, m_tipo, m_numero, host);
}

void FrmWeb::StampaSuPdf(const QPageLayout& pagina)
{
    const QString cartella = TogliSpazi(m_opzioni.DirSave);
    const QString file =
        CartellaConSeparatore(cartella.isEmpty() ? m_dirTemp : cartella) + NomePdf(m_tipo, m_numero);
    EliminaFile(file, 3);
    m_stampaFinita = false;
    m_stampaRiuscita = false;
    m_browser->page()->printToPdf(file, pagina);
    AttendiStampa();
    if (!m_stampaRiuscita)
        MsgBox(u"IMPOSSIBILE SCRIVERE IL FILE PDF\n"_s + file, Pulsanti::Ok, Icona::Esclamazione,
               u"STAMPA PAGINA WEB"_s);
}

void FrmWeb::AttendiStampa()
{
    QEventLoop ciclo;
    const auto finita = connect(this, &FrmWeb::StampaConclusa, &ciclo, &QEventLoop::quit);
    QTimer::singleShot(Attese().pdfMs, &ciclo, &QEventLoop::quit);
    if (!m_stampaFinita)
        ciclo.exec();
    disconnect(finita);
}

bool FrmWeb::event(QEvent* evento)
{
    const bool risultato = QDialog::event(evento);
    if (evento->type() == QEvent::WindowActivate) {
        if (m_opzioni.View == 0)
            close(); // only printing was asked, and the page printed while loading
        if (m_risposta == 7)
            m_risposta = ApriConSistema(QUrl(m_url));
    }
    return risultato;
}

void FrmWeb::resizeEvent(QResizeEvent* evento)
{
    QDialog::resizeEvent(evento);
    if (isMinimized())
        return;
    const ScalaTwips scala = Scala();
    const int altezzaPulsante = m_uscita->sizeHint().height();
    m_uscita->setGeometry(scala.PixelX(140), height() - altezzaPulsante, qMax(0, width() - scala.PixelX(280)),
                          altezzaPulsante);
    m_browser->setGeometry(scala.PixelX(10), 0, qMax(0, width() - scala.PixelX(20)),
                           qMax(0, height() - altezzaPulsante - scala.PixelY(40)));
}

void FrmWeb::done(int risultato)
{
    if (isVisible() && m_opzioni.View == 1)
        SalvaPosizioneEsterna(this, m_impostazioni);
    QDialog::done(risultato);
}
