// No argument: the window program. Any argument: a headless command over the same core.

#include "app/Startup.h"
#include "app/Traduzioni.h"
#include "cli/RigaComando.h"
#include "core/CartellaProgramma.h"
#include "core/DialoghiFinestra.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (argc > 1) {
        QCoreApplication app(argc, argv);
        ImpostaIdentitaApplicazione();
        return EseguiRigaComando(QCoreApplication::arguments().mid(1));
    }

    // The browser module, loaded later, needs it before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Nothing the program draws needs OpenGL, and the answer pages draw well without it; with it
    // the attribute above creates a context at every start, which costs more than the program.
    // Either variable set by the user wins.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION") &&
        !qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) {
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        qputenv("QT_QUICK_BACKEND", "software");
    }
    QApplication app(argc, argv);
    ImpostaIdentitaApplicazione();
    CaricaTraduzioniQt();
    ImpostaDialoghi(std::make_unique<DialoghiFinestra>());
    Startup finestra;
    finestra.show();
    return app.exec();
}
