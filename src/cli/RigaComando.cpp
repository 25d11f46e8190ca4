#include "cli/RigaComando.h"

#include "cli/ComandoElenco.h"
#include "cli/ComandoVerifica.h"
#include "core/CartellaProgramma.h"

#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

namespace {

QString Uso()
{
    return u"Uso: tarvel [COMANDO]\n"
           u"\n"
           u"Senza comando apre il programma a finestre.\n"
           u"\n"
           u"Comandi:\n"_s +
           ComandoVerifica::Aiuto() + ComandoElenco::Aiuto() +
           u"  --help       mostra questo testo\n"
           u"  --version    mostra la versione del programma\n"
           u"\n"
           u"Uscita 2: comando o argomenti errati.\n"_s;
}

} // namespace

int EseguiRigaComando(const QStringList& argomenti)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString comando = argomenti.value(0);
    if (comando == u"--version"_s) {
        out << u"tarvel "_s << VersioneProgramma() << u'\n';
        return 0;
    }
    if (comando == u"--help"_s || comando == u"-h"_s) {
        out << Uso();
        return 0;
    }
    if (comando == ComandoVerifica::kNome)
        return ComandoVerifica().Esegui(argomenti);
    if (comando == ComandoElenco::kNome)
        return ComandoElenco().Esegui(argomenti);
    err << u"tarvel: comando sconosciuto: "_s << comando << u"\n\n"_s << Uso();
    return kUscitaUso;
}
