#include "checks/EleVat.h"

#include "checks/ElaboraElenco.h"
#include "core/ChiaviIni.h"
#include "core/Dialoghi.h"
#include "core/StampanteCorrente.h"
#include "core/TieniPosto.h"
#include "core/Twips.h"
#include "core/UtilitaFile.h"
#include "core/Valori.h"
#include "programs/ModuliOpzionali.h"
#include "session/Sessione.h"
#include "web/GWebPar.h"
#include "web/RispostaQuery.h"
#include "web/RunFile.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kTitolo = u"  ELENCO PARTITE IVA CEE DA INTERROGARE"_s;

bool Clic(const QEvent* evento)
{
    if (evento->type() == QEvent::MouseButtonRelease)
        return static_cast<const QMouseEvent*>(evento)->button() == Qt::LeftButton;
    if (evento->type() != QEvent::KeyPress)
        return false;
    const int tasto = static_cast<const QKeyEvent*>(evento)->key();
    return tasto == Qt::Key_Return || tasto == Qt::Key_Enter || tasto == Qt::Key_Space;
}

} // namespace

EleVat::EleVat(Sessione& sessione, QWidget* parent)
    : FinestraLavoro(sessione.impostazioni, u"EleVat"_s, parent), m_sessione(sessione)
{
    setWindowTitle(kTitolo);

    auto* barra = new QMenuBar(this);
    QAction* fine = barra->addAction(u"&Fine"_s);
    fine->setObjectName(u"Mu_end"_s);
    QAction* parametri = barra->addAction(u"&Parametri"_s);
    parametri->setObjectName(u"Mu_param"_s);
    QAction* stampante = barra->addAction(u"&Stampante"_s);
    stampante->setObjectName(u"Mu_print"_s);

    auto* label1 = new QLabel(u"Elaborazione su:"_s, this);
    label1->setObjectName(u"Label1"_s);
    auto* scelte = new QHBoxLayout;
    scelte->addWidget(label1);
    const std::array<QString, 3> nomi = {u"FILE"_s, u"Stampa"_s, u"D.B."_s};
    for (int i = 0; i < 3; ++i) {
        m_Option1[i] = new QRadioButton(nomi[i], this);
        m_Option1[i]->setObjectName(u"Option1(%1)"_s.arg(i));
        scelte->addWidget(m_Option1[i]);
    }
    scelte->addStretch();

    m_Command2 = new QPushButton(u"&Cerca  elenco delle P. IVA"_s, this);
    m_Command2->setObjectName(u"Command2"_s);
    m_Command2->setToolTip(u"Click per impostare il file con l'elenco degli MRN da interrogare"_s);
    m_lbPathEle = new QLabel(this);
    m_lbPathEle->setObjectName(u"lbPathEle"_s);
    m_lbPathEle->setToolTip(u"Click per modificare il contenuto del file"_s);
    m_lbPathEle->setTextFormat(Qt::PlainText);
    m_lbPathEle->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_lbPathEle->setMinimumWidth(360);
    m_lbPathEle->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // long paths do not widen it
    m_lbPathEle->setCursor(Qt::PointingHandCursor);
    m_lbPathEle->setFocusPolicy(Qt::StrongFocus); // Enter or Space opens it, as a click does
    m_lbPathEle->installEventFilter(this);
    m_cmdLastFile = new QPushButton(this);
    m_cmdLastFile->setObjectName(u"cmdLastFile"_s);
    m_cmdLastFile->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    m_cmdLastFile->setAccessibleName(u"Ultimo elenco"_s);
    auto* file = new QHBoxLayout;
    file->addWidget(m_Command2);
    file->addWidget(m_lbPathEle, 1);
    file->addWidget(m_cmdLastFile);

    m_Text1 = new QLineEdit(this);
    m_Text1->setObjectName(u"Text1"_s);
    m_Text1->setReadOnly(true);
    m_lbFonte = new QLabel(this); // which source answered the last code: the agency's page or VIES
    m_lbFonte->setObjectName(u"lbFonte"_s);
    m_Picture1 = new QFrame(this);
    m_Picture1->setObjectName(u"Picture1"_s);
    m_Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_Picture1->setFixedHeight(m_Text1->sizeHint().height());
    m_Shape1 = new QFrame(m_Picture1);
    m_Shape1->setObjectName(u"Shape1"_s);
    m_Shape1->setAutoFillBackground(true);
    QPalette colore = m_Shape1->palette();
    colore.setColor(QPalette::Window, colore.color(QPalette::Highlight));
    m_Shape1->setPalette(colore);

    const std::array<QString, 2> comandi = {u"&ANALIZZA"_s, u"&ANNULLA"_s};
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    for (int i = 0; i < 2; ++i) {
        m_Command1[i] = new QPushButton(comandi[i], this);
        m_Command1[i]->setObjectName(u"Command1(%1)"_s.arg(i));
        pulsanti->addWidget(m_Command1[i]);
    }
    pulsanti->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{m_Text1, m_Picture1, m_Command1[0], m_Command1[1]})
        TieniPosto(w);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(barra);
    layout->addLayout(scelte);
    layout->addLayout(file);
    layout->addWidget(m_Text1);
    layout->addWidget(m_Picture1);
    layout->addWidget(m_lbFonte);
    layout->addLayout(pulsanti);
    layout->addStretch();

    // As the window loads: idle, the saved choice, never the saved path (cmdLastFile recalls it).
    m_Picture1->hide();
    m_Command1[1]->hide();
    m_Text1->hide();
    SelezionaUscita(int(UscitaDaImpostazioni(m_impostazioni)));
    m_Option1[2]->setEnabled(m_sessione.database.Aperto());

    connect(fine, &QAction::triggered, this, &QWidget::close);
    connect(parametri, &QAction::triggered, this, [this] {
        GWebPar finestra(m_sessione.impostazioni, m_sessione.parametriWeb, kUsoElenco, this);
        finestra.exec();
    });
    connect(stampante, &QAction::triggered, this, &ScegliStampanteCorrente);
    connect(m_Command2, &QPushButton::clicked, this, &EleVat::CercaElenco);
    connect(m_cmdLastFile, &QPushButton::clicked, this,
            [this] { m_lbPathEle->setText(TogliSpazi(m_impostazioni.Leggi(Chiavi::ElencoPath()))); });
    connect(m_Command1[0], &QPushButton::clicked, this, &EleVat::Analizza);
    connect(m_Command1[1], &QPushButton::clicked, this, &EleVat::Annulla);
}

void EleVat::plElenco(const QString& percorso)
{
    m_plElenco = TogliSpazi(percorso);
    if (m_plElenco.isEmpty())
        return;
    SelezionaUscita(int(UscitaElenco::DataBase));
    m_lbPathEle->setText(percorso);
}

void EleVat::SelezionaUscita(int indice)
{
    // Without the database its choice cannot stand: the printable report takes its place.
    if (indice == int(UscitaElenco::DataBase) && !m_sessione.database.Aperto())
        indice = int(UscitaElenco::Stampa);
    m_Option1[indice]->setChecked(true);
}

int EleVat::IndiceUscita() const
{
    for (int i = 0; i < 3; ++i) {
        if (m_Option1[i]->isChecked())
            return i;
    }
    return 0;
}

void EleVat::done(int risultato)
{
    if (m_elaborazione) {
        m_chiudiAllaFine = true;
        m_elaborazione->Ferma();
        return;
    }
    if (m_plElenco.isEmpty()) {
        m_impostazioni.Scrivi({{Chiavi::ElencoPath(), m_lbPathEle->text()},
                               {Chiavi::ElencoCome(), QString::number(IndiceUscita())}});
    }
    FinestraLavoro::done(risultato);
}

void EleVat::changeEvent(QEvent* evento)
{
    FinestraLavoro::changeEvent(evento);
    if (evento->type() == QEvent::ActivationChange && isActiveWindow() && !m_plElenco.isEmpty() &&
        m_avvioAutomatico)
        Analizza();
}

bool EleVat::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (oggetto == m_lbPathEle && Clic(evento)) {
        ModificaElenco();
        return true;
    }
    return FinestraLavoro::eventFilter(oggetto, evento);
}

void EleVat::CercaElenco()
{
    const QString scelto =
        DialoghiCorrenti().ScegliFile(u"File con elenco VAT da interrogare"_s, m_sessione.dirTemp,
                                      u"File di testo (*.txt *.TXT);;Tutti i files (*)"_s);
    if (scelto.isEmpty())
        return;
    m_lbPathEle->setText(scelto);
    ModificaElenco();
}

void EleVat::ModificaElenco()
{
    QString percorso = TogliSpazi(m_lbPathEle->text());
    if (percorso.isEmpty()) {
        percorso = m_sessione.dirTemp + u"ElencoVAT.txt"_s;
        m_lbPathEle->setText(percorso);
    }
    if (!QFileInfo::exists(percorso)) {
        QFile nuovo;
        if (ApriArchivio(nuovo, percorso, kModoScrittura))
            nuovo.write("\r\n");
    }
    const int codice = QFileInfo::exists(percorso)
                           ? ApriConSistema(QUrl::fromLocalFile(QFileInfo(percorso).absoluteFilePath()))
                           : 2;
    // No program for text files, or no file: the user's own text editor, the first Applicativi entry.
    if (codice == 2 || codice == 31)
        LanciaModulo(m_sessione, u"Varie1"_s, percorso);
}

void EleVat::Analizza()
{
    // A message box or a page window shown by the run gives the activation back mid-run.
    if (m_elaborazione)
        return;
    m_Command1[0]->hide();
    m_Command1[1]->show();
    m_uscitaInCorso = UscitaElenco(IndiceUscita());
    RichiestaElenco richiesta;
    richiesta.fileElenco = m_lbPathEle->text();
    richiesta.come = m_uscitaInCorso;
    richiesta.politica = m_sessione.Politica(kUsoElenco);
    richiesta.parallelo = ParalleloDaImpostazioni(m_impostazioni);
    m_elaborazione = new ElaboraElenco(m_sessione, std::move(richiesta), this);
    connect(m_elaborazione, &ElaboraElenco::Iniziata, this, &EleVat::Iniziata);
    connect(m_elaborazione, &ElaboraElenco::Interrogo, this, &EleVat::Interrogo);
    connect(m_elaborazione, &ElaboraElenco::Scritta, this, [this](int, const RispostaQuery& risposta) {
        if (risposta.stato != 1)
            m_lbFonte->setText(u"Fonte: "_s + NomeFonte(risposta.fonte));
    });
    connect(m_elaborazione, &ElaboraElenco::Conclusa, this, &EleVat::Conclusa);
    m_elaborazione->Avvia();
}

void EleVat::Annulla()
{
    if (m_Text1->isHidden())
        close();
    else if (m_elaborazione)
        m_elaborazione->Ferma();
}

void EleVat::Iniziata(int totale)
{
    m_Text1->setText(u"Elaborazione di "_s + QString::number(totale) + u" VAT in corso ..."_s);
    m_Text1->show();
    m_Text1->setFocus();
    Barra(0, totale);
    m_Picture1->show();
}

void EleVat::Interrogo(int k, int totale, const QString& codice)
{
    Barra(k, totale);
    setWindowTitle(u"Interrogo Pertita IVA "_s + codice + u"     ("_s + QString::number(k) + u'/' +
                   QString::number(totale) + u')');
}

void EleVat::Barra(int k, int totale)
{
    // The step is a whole number of twips, as the bar has always moved.
    const QRect interno = m_Picture1->contentsRect();
    const double dpi = logicalDpiX();
    const std::int64_t passo = ArrotondaPari(TwipsDaPixel(interno.width(), dpi) / double(qMax(1, totale)));
    const int larghezza = std::min(PixelDaTwips(double(passo) * k, dpi), interno.width());
    m_Shape1->setGeometry(interno.x(), interno.y(), qMax(1, larghezza), interno.height());
}

void EleVat::Conclusa(const EsitoElenco& esito)
{
    m_Picture1->hide();
    m_elaborazione->deleteLater();
    m_elaborazione = nullptr;
    if (esito.fine == FineElenco::Occupata)
        m_avvioAutomatico = false;
    if (esito.elaborati >= 1) {
        if (!m_plElenco.isEmpty())
            return FinestraLavoro::done(Accepted);
        if (m_uscitaInCorso == UscitaElenco::DataBase) {
            // A window closed by the user during the run only closes.
            const bool mostra = !m_chiudiAllaFine;
            done(Accepted);
            if (mostra)
                Q_EMIT MostraTabellaLavoro();
            return;
        }
        RunFile(FileEsitiElenco(m_sessione.cartella));
    }
    m_Command1[0]->show();
    m_Command1[1]->hide();
    m_Text1->hide();
    if (m_chiudiAllaFine)
        done(Rejected);
}
