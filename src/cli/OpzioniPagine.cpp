#include "cli/OpzioniPagine.h"

#include "session/Sessione.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

OpzioniPagine::OpzioniPagine(QCommandLineParser& parser)
    : m_parser(parser), m_salva(u"salva"_s, {}, u"CARTELLA"_s), m_fonte(u"fonte"_s, {}, u"pagina|vies"_s)
{
    parser.addOption(m_salva);
    parser.addOption(m_fonte);
}

QString OpzioniPagine::Errore() const
{
    const QString fonte = m_parser.value(m_fonte).toLower();
    if (!fonte.isEmpty() && fonte != u"pagina"_s && fonte != u"vies"_s)
        return u"fonte sconosciuta: "_s + m_parser.value(m_fonte);
    return {};
}

PoliticaPagine OpzioniPagine::Applica(Sessione& sessione) const
{
    if (!m_parser.value(m_fonte).isEmpty())
        sessione.indirizzi.fonte = LeggiFonte(m_parser.value(m_fonte));
    PoliticaPagine politica{{}, sessione.dirTemp, nullptr};
    if (m_parser.isSet(m_salva)) {
        politica.opzioni.Save = 1;
        politica.opzioni.DirSave = QDir(m_parser.value(m_salva)).absolutePath();
    }
    return politica;
}
