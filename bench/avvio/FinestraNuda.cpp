// The reference for the start-up benchmark: a bare Qt window with the main window's menu bar, built
// the same way (same compiler, options and Qt), and nothing behind it.

#include <QApplication>
#include <QFrame>
#include <QMainWindow>
#include <QMenuBar>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow finestra;
    auto* centro = new QWidget(&finestra);
    auto* layout = new QVBoxLayout(centro);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* linea = new QFrame(centro);
    linea->setFrameShape(QFrame::HLine);
    layout->addWidget(linea);
    layout->addStretch();
    finestra.setCentralWidget(centro);

    QMenuBar* barra = finestra.menuBar();
    for (const QString& voce : {u"&Fine"_s, u"&Singola"_s, u"&Elenco"_s, u"&DataBase"_s, u"&Nazioni"_s})
        barra->addAction(voce);
    QMenu* applicativi = barra->addMenu(u"&Applicativi"_s);
    applicativi->addAction(u"&Editor di Testi"_s);
    for (int i = 2; i <= 11; ++i)
        applicativi->addAction(u"&Varie"_s + QString::number(i));
    applicativi->addSeparator();
    applicativi->addAction(u"Imposta Applicativi"_s);
    barra->addMenu(u"&?"_s)->addAction(u"Su Tarvel"_s);

    finestra.setWindowTitle(u" CONTROLLO VALIDITA' PARTITA IVA CEE "_s);
    finestra.setFixedSize(424, 170);
    finestra.show();
    return app.exec();
}
