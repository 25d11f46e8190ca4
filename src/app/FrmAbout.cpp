#include "app/FrmAbout.h"

#include "core/CartellaProgramma.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

FrmAbout::FrmAbout(Impostazioni& impostazioni, QWidget* parent)
    : FinestraLavoro(impostazioni, u"frmAbout"_s, parent)
{
    setWindowTitle(u"Su Tarvel"_s);

    auto* nome = new QLabel(u"<b>Tarvel</b>"_s, this);
    auto* versione = new QLabel(u"Versione "_s + VersioneProgramma(), this);
    auto* descrizione = new QLabel(u"Controlla la validità delle partite IVA comunitarie presso l'Agenzia "
                                   u"delle Entrate e segue i movimenti doganali per MRN."_s,
                                   this);
    descrizione->setWordWrap(true);
    auto* diritti = new QLabel(u"Copyright © 2026 gli autori di Tarvel"_s, this);
    auto* uscita = new QPushButton(u"&USCITA"_s, this);
    uscita->setObjectName(u"cmdUscita"_s);
    connect(uscita, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    for (QLabel* riga : {nome, versione, descrizione, diritti})
        layout->addWidget(riga);
    layout->addWidget(uscita, 0, Qt::AlignRight);
    setMinimumWidth(360);
}
