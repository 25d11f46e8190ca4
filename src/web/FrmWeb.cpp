#include "web/FrmWeb.h"

#include "app/Globali.h"
#include "core/Attese.h"
#include "core/Dialoghi.h"
#include "core/FileIni.h"
#include "core/PosizioneFinestre.h"
#include "core/TastiComuni.h"
#include "core/Twips.h"
#include "core/UtilitaFile.h"
#include "core/Valori.h"
#include "results/StampanteCorrente.h"
#include "web/PdfCreator.h"
#include "web/RunFile.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

int Uso()
{
    return std::clamp<int>(gTipoWeb, 0, 2);
}

QScreen* Schermo()
{
    const QWidget* principale = FinestraPrincipale();
    return principale ? principale->screen() : QGuiApplication::primaryScreen();
}

// Screen size and pixel conversions in twips, each axis with its own DPI.
struct ScalaSchermo {
    const QScreen* s = Schermo();
    QSize Twips() const
    {
        return {TwipsDaPixel(s->geometry().width(), s->logicalDotsPerInchX()),
                TwipsDaPixel(s->geometry().height(), s->logicalDotsPerInchY())};
    }
    int PxX(int twips) const { return PixelDaTwips(twips, s->logicalDotsPerInchX()); }
    int PxY(int twips) const { return PixelDaTwips(twips, s->logicalDotsPerInchY()); }
    int TwX(int px) const { return TwipsDaPixel(px, s->logicalDotsPerInchX()); }
    int TwY(int px) const { return TwipsDaPixel(px, s->logicalDotsPerInchY()); }
};

int ValoreIni(const QString& chiave)
{
    return int(std::clamp(ValNum(LeggiIni(gFileIni, u"FrmWeb"_s, chiave)), -1e9, 1e9));
}

} // namespace

QRect CorreggiPosizioneWeb(int top, int left, int altezza, int larghezza, QSize schermo)
{
    if (top < 0 || top >= schermo.height() - 400)
        top = 0;
    if (left < 0 || left >= schermo.width() - 600)
        left = 0;
    if (altezza < 1 || altezza >= schermo.height())
        altezza = 4000;
    if (larghezza < 1 || larghezza >= schermo.width())
        larghezza = 6000;
    return {left, top, larghezza, altezza};
}

FrmWeb::FrmWeb(QWidget* parent) : QDialog(parent)
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
    };
    connect(m_browser, &QWebEngineView::printFinished, this, stampaFinita);
    connect(m_browser->page(), &QWebEnginePage::pdfPrintingFinished, this,
            [stampaFinita](const QString&, bool riuscita) { stampaFinita(riuscita); });

    const ScalaSchermo scala;
    resize(scala.PxX(6000), scala.PxY(4000));
}

FrmWeb::~FrmWeb()
{
    delete m_browser->page(); // a page must go before its profile
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
            if (gParametriWeb.Print[Uso()] > 0)
                StampaPagina();
        }
    }
    QDialog::setVisible(visibile);
}

void FrmWeb::Colloca()
{
    const ScalaSchermo scala;
    QRect twips(0, 0, 1800, 1200);
    if (gParametriWeb.View[Uso()] == 1) {
        if (Uso() == 0) {
            setWindowState(Qt::WindowMinimized);
            return;
        }
        twips = CorreggiPosizioneWeb(ValoreIni(u"POSY"_s), ValoreIni(u"POSX"_s), ValoreIni(u"DIMY"_s),
                                     ValoreIni(u"DIMX"_s), scala.Twips());
    }
    winId(); // platforms that know the window frame at once give it now
    move(scala.s->geometry().topLeft() + QPoint(scala.PxX(twips.left()), scala.PxY(twips.top())));
    resize(QSize(scala.PxX(twips.width()), scala.PxY(twips.height())) - CorniceFinestra(this));
}

void FrmWeb::AttendiPagina()
{
    m_risposta = 6;
    m_paginaPronta = false;
    QElapsedTimer inizio;
    inizio.start();
    m_browser->load(QUrl(m_url));
    while (!m_paginaPronta) {
        PassoAttesa();
        if (m_paginaPronta || inizio.elapsed() <= Attese().paginaMs)
            continue;
        const QString pagina = m_tipo == u"pi"_s ? u"Pagina WEB per VAT  "_s : u"Pagina WEB per MRN "_s;
        const Risposta r = MsgBox(pagina + m_numero + u"\nnon ricevuta\nAttendi ancora?"_s, Pulsanti::SiNo,
                                  Icona::Domanda, u"ATTESA PAGINA WEB"_s, Risposta::Si);
        m_risposta = r == Risposta::Si ? 6 : 7;
        if (m_risposta == 7)
            return;
        inizio.restart();
    }
    m_browser->history()->clear();
}

void FrmWeb::StampaPagina()
{
    if (gParametriWeb.ChPrt[Uso()] >= 1) {
        const QString scelta = DialoghiCorrenti().ScegliStampante(NomeStampanteCorrente());
        if (scelta.isEmpty() || !ImpostaStampanteCorrente(scelta))
            return;
    }
    if (StampanteCorrentePdf()) {
        StampaSuPdf();
        return;
    }
    const QString nomeStampante = NomeStampanteCorrente().toUpper();
    const QString cartellaAutomatica = LeggiPdfCreator(nomeStampante);
    const QString host = QUrl(m_url).host();
    StampanteCorrente().setDocName(TitoloStampa(m_tipo, host));
    m_browser->print(&StampanteCorrente());
    AttendiStampa();
    if (!cartellaAutomatica.isEmpty() && nomeStampante == u"PDFCREATOR"_s)
        RinominaPdfCreator(cartellaAutomatica, m_tipo, m_numero, host);
}

void FrmWeb::StampaSuPdf()
{
    QString cartella = TogliSpazi(gParametriWeb.DirSave[Uso()]);
    if (cartella.isEmpty())
        cartella = gDirTemp;
    if (!cartella.endsWith(u'/') && !cartella.endsWith(u'\\'))
        cartella += u'/';
    const QString file = cartella + NomePdf(m_tipo, m_numero);
    EliminaFile(file, 3);
    m_browser->page()->printToPdf(file, StampanteCorrente().pageLayout());
    AttendiStampa();
    if (!m_stampaRiuscita)
        MsgBox(u"IMPOSSIBILE SCRIVERE IL FILE PDF\n"_s + file, Pulsanti::Ok, Icona::Esclamazione,
               u"STAMPA PAGINA WEB"_s);
}

void FrmWeb::AttendiStampa()
{
    m_stampaFinita = false;
    m_stampaRiuscita = false;
    QElapsedTimer inizio;
    inizio.start();
    while (!m_stampaFinita && inizio.elapsed() <= Attese().pdfMs)
        PassoAttesa();
}

bool FrmWeb::event(QEvent* evento)
{
    const bool risultato = QDialog::event(evento);
    if (evento->type() == QEvent::WindowActivate) {
        if (gParametriWeb.View[Uso()] == 0)
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
    const ScalaSchermo scala;
    const int altezzaPulsante = m_uscita->sizeHint().height();
    m_uscita->setGeometry(scala.PxX(140), height() - altezzaPulsante, qMax(0, width() - scala.PxX(280)),
                          altezzaPulsante);
    m_browser->setGeometry(scala.PxX(10), 0, qMax(0, width() - scala.PxX(20)),
                           qMax(0, height() - altezzaPulsante - scala.PxY(40)));
}

void FrmWeb::done(int risultato)
{
    if (isVisible() && gParametriWeb.View[Uso()] == 1 &&
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        SalvaPosizione();
    QDialog::done(risultato);
}

void FrmWeb::SalvaPosizione()
{
    const ScalaSchermo scala;
    const QSize schermo = scala.Twips();
    const QRect esterno = frameGeometry().translated(-scala.s->geometry().topLeft());
    const int top = qMax(0, scala.TwY(esterno.top()));
    const int left = qMax(0, scala.TwX(esterno.left()));
    if (top < schermo.height())
        ScriviIni(gFileIni, u"FrmWeb"_s, u"POSY"_s, QString::number(top));
    if (left < schermo.width())
        ScriviIni(gFileIni, u"FrmWeb"_s, u"POSX"_s, QString::number(left));
    ScriviIni(gFileIni, u"FrmWeb"_s, u"DIMX"_s, QString::number(scala.TwX(esterno.width())));
    ScriviIni(gFileIni, u"FrmWeb"_s, u"DIMY"_s, QString::number(scala.TwY(esterno.height())));
}
