#include "web/ModuloBrowser.h"

#include "web/FabbricaBrowser.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

using namespace Qt::Literals::StringLiterals;

namespace {

// The platform's prefix and suffix are added by the loader.
constexpr char16_t kNomeModulo[] = u"tarvel_browser";

} // namespace

QStringList CartelleModuloBrowser()
{
    const QString eseguibile = QCoreApplication::applicationDirPath();
    return {eseguibile, QDir::cleanPath(eseguibile + u'/' + QStringLiteral(TARVEL_MODULI_DA_ESEGUIBILE))};
}

ModuloBrowser CaricaModuloBrowser(const QStringList& cartelle)
{
    const QString nome = QString::fromUtf16(kNomeModulo);
    for (const QString& cartella : cartelle) {
        QPluginLoader caricatore(QDir(cartella).absoluteFilePath(nome));
        if (caricatore.fileName().isEmpty())
            continue; // not in this folder
        // Every symbol now: one that the program lacks fails here, not in the middle of a print.
        caricatore.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (auto* fabbrica = qobject_cast<FabbricaBrowser*>(caricatore.instance()))
            return {fabbrica, {}};
        return {nullptr, u"il modulo "_s + QDir::toNativeSeparators(caricatore.fileName()) +
                             u" non si carica ("_s + caricatore.errorString() + u')'};
    }
    return {nullptr, u"manca il modulo "_s + nome + u" accanto al programma"_s};
}
