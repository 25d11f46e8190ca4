#include "app/Traduzioni.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

bool CaricaTraduzioniQt()
{
    auto* traduzione = new QTranslator(QCoreApplication::instance());
    if (traduzione->load(u"qtbase_it"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(traduzione))
        return true;
    delete traduzione;
    return false;
}
