#include "cli/RigaComando.h"

#include "cli/Verifica.h"
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
           u"Comandi:\n"
           u"  verifica [--json] CODICE...\n"
           u"               controlla partite IVA (prefisso del paese e numero) o MRN e stampa le\n"
           u"               risposte; con --json una riga JSON per codice. Uscita: 0 tutte lette,\n"
           u"               1 errori di formato, 9 servizio non raggiungibile o pagina illeggibile\n"
           u"  --help       mostra questo testo\n"
           u"  --version    mostra la versione del programma\n"_s;
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
    if (comando == u"verifica"_s)
        return EseguiVerifica(argomenti.mid(1));
    if (comando == u"--help"_s || comando == u"-h"_s) {
        out << Uso();
        return 0;
    }
    err << u"tarvel: comando sconosciuto: "_s << comando << u"\n\n"_s << Uso();
    return 2;
}
