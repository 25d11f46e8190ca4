#include "core/DialoghiFinestra.h"

#include "core/ColoreQt.h"
#include "core/StampanteCorrente.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <map>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

QMessageBox::Icon IconaQt(Icona icona)
{
    switch (icona) {
    case Icona::Critica:
        return QMessageBox::Critical;
    case Icona::Domanda:
        return QMessageBox::Question;
    case Icona::Esclamazione:
        return QMessageBox::Warning;
    case Icona::Informazione:
        return QMessageBox::Information;
    case Icona::Nessuna:
        break;
    }
    return QMessageBox::NoIcon;
}

struct Pulsante {
    QString testo;
    QMessageBox::ButtonRole ruolo;
};

Pulsante PulsanteDi(Risposta r)
{
    switch (r) {
    case Risposta::Ok:
        return {u"OK"_s, QMessageBox::AcceptRole};
    case Risposta::Annulla:
        return {u"Annulla"_s, QMessageBox::RejectRole};
    case Risposta::Interrompi:
        return {u"&Interrompi"_s, QMessageBox::RejectRole};
    case Risposta::Riprova:
        return {u"&Riprova"_s, QMessageBox::AcceptRole};
    case Risposta::Ignora:
        return {u"&Ignora"_s, QMessageBox::AcceptRole};
    case Risposta::Si:
        return {u"&Sì"_s, QMessageBox::YesRole};
    case Risposta::No:
        return {u"&No"_s, QMessageBox::NoRole};
    }
    return {u"OK"_s, QMessageBox::AcceptRole};
}

// The answer that Esc gives: Annulla when the set has it, else the only button, else none.
std::optional<Risposta> RispostaEsc(Pulsanti pulsanti)
{
    const QList<Risposta> tutte = RisposteDi(pulsanti);
    if (tutte.contains(Risposta::Annulla))
        return Risposta::Annulla;
    if (tutte.size() == 1)
        return tutte.first();
    return std::nullopt;
}

} // namespace

Risposta DialoghiFinestra::Mostra(const Messaggio& messaggio)
{
    QMessageBox box(IconaQt(messaggio.icona), messaggio.titolo, messaggio.testo, QMessageBox::NoButton,
                    QApplication::activeWindow());
    std::map<QAbstractButton*, Risposta> risposte;
    const auto esc = RispostaEsc(messaggio.pulsanti);
    for (const Risposta r : RisposteDi(messaggio.pulsanti)) {
        const Pulsante p = PulsanteDi(r);
        QPushButton* pulsante = box.addButton(p.testo, p.ruolo);
        risposte[pulsante] = r;
        if (r == messaggio.predefinita)
            box.setDefaultButton(pulsante);
        if (esc && r == *esc)
            box.setEscapeButton(pulsante);
    }
    box.exec();
    const auto trovata = risposte.find(box.clickedButton());
    if (trovata != risposte.end())
        return trovata->second;
    return esc.value_or(messaggio.predefinita);
}

QString DialoghiFinestra::ScegliCartella(const QString& titolo, const QString& iniziale)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), titolo, iniziale);
}

QString DialoghiFinestra::ScegliFile(const QString& titolo, const QString& cartella, const QString& filtro)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), titolo, cartella, filtro);
}

QString DialoghiFinestra::ScegliProgramma(const QString& titolo, const QString& iniziale)
{
    const QFileInfo info(iniziale);
    QFileDialog dialogo(QApplication::activeWindow(), titolo, info.isFile() ? info.absolutePath() : iniziale);
    dialogo.setFileMode(QFileDialog::ExistingFile);
#ifdef Q_OS_WIN
    dialogo.setNameFilter(u"File eseguibile (*.exe)"_s);
    dialogo.setDefaultSuffix(u"exe"_s);
#else
    // Programs have no extension here: the dialog lists the files the user may run, which the
    // system's own dialogs cannot do.
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
#endif
    if (info.isFile())
        dialogo.selectFile(info.fileName());
    return dialogo.exec() == QDialog::Accepted ? dialogo.selectedFiles().value(0) : QString();
}

SceltaStampante DialoghiFinestra::ScegliStampante(const SceltaStampante& attuale)
{
    const QString pdf = QString::fromUtf16(kStampantePdf);
    QPrinter stampante;
    if (attuale.nome == pdf) {
        stampante.setOutputFormat(QPrinter::PdfFormat);
        if (!attuale.filePdf.isEmpty())
            stampante.setOutputFileName(attuale.filePdf);
    } else if (!attuale.nome.isEmpty()) {
        stampante.setPrinterName(attuale.nome);
    }
    QPrintDialog dialogo(&stampante, QApplication::activeWindow());
    if (dialogo.exec() != QDialog::Accepted)
        return {};
    if (stampante.outputFormat() == QPrinter::PdfFormat)
        return {pdf, stampante.outputFileName()};
    return {stampante.printerName(), QString()};
}

std::optional<ColoreRgb> DialoghiFinestra::ScegliColore(ColoriPersonalizzati& personalizzati)
{
    for (int i = 0; i < int(personalizzati.size()); ++i)
        QColorDialog::setCustomColor(i, ColoreQt(personalizzati[i]));
    QColorDialog dialogo(Qt::black, QApplication::activeWindow());
    if (dialogo.exec() != QDialog::Accepted)
        return std::nullopt;
    for (int i = 0; i < int(personalizzati.size()); ++i)
        personalizzati[i] = ColoreDaQt(QColorDialog::customColor(i));
    return ColoreDaQt(dialogo.selectedColor());
}
