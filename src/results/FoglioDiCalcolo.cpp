#include "results/FoglioDiCalcolo.h"

#include "core/Dialoghi.h"
#include "programs/ServiziSistema.h"

using namespace Qt::Literals::StringLiterals;

bool AvviaFoglioDiCalcolo(const ComandoProgramma& foglio, const QString& file)
{
    if (AvviaProgramma(foglio, file))
        return true;
    QString comando = u'"' + foglio.programma + u'"';
    for (const QString& argomento : foglio.argomenti)
        comando += u' ' + argomento;
    MsgBox(comando + u" \""_s + file + u"\"  NON TROVATO"_s);
    return false;
}
