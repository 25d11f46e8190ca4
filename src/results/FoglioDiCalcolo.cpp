#include "results/FoglioDiCalcolo.h"

#include "core/Dialoghi.h"

#include <QProcess>

using namespace Qt::Literals::StringLiterals;

bool AvviaFoglioDiCalcolo(const QString& programma, const QString& file)
{
    QStringList argomenti = QProcess::splitCommand(programma);
    if (!argomenti.isEmpty()) {
        const QString eseguibile = argomenti.takeFirst();
        if (QProcess::startDetached(eseguibile, argomenti << file))
            return true;
    }
    MsgBox(u'"' + programma + u"\" \""_s + file + u"\"  NON TROVATO"_s);
    return false;
}
