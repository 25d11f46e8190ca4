#include "web/MostraPagineFinestra.h"

#include "core/Dialoghi.h"
#include "web/FabbricaBrowser.h"
#include "web/RunFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

bool MostraPagineFinestra::MostraNelBrowser(const PaginaDaMostrare& pagina)
{
    FabbricaBrowser* browser = Browser();
    if (!browser) {
        ApriConSistema(QUrl(pagina.indirizzo));
        return true;
    }
    const auto finestra =
        browser->CreaFrmWeb(m_impostazioni, pagina, m_dirTemp, QApplication::activeWindow());
    finestra->exec();
    return true;
}

void MostraPagineFinestra::ApriDocumento(const QString& file)
{
    // Silent: a page that could not be saved was already reported by ApriArchivio.
    const QFileInfo pagina(file);
    if (pagina.exists())
        ApriConSistema(QUrl::fromLocalFile(pagina.absoluteFilePath()));
}

FabbricaBrowser* MostraPagineFinestra::Browser()
{
    if (m_moduloCercato)
        return m_browser;
    m_moduloCercato = true;
    const ModuloBrowser modulo = CaricaModuloBrowser(m_cartelleModulo);
    m_browser = modulo.fabbrica;
    if (!m_browser)
        MsgBox(u"Il browser interno non è disponibile: "_s + modulo.motivo +
                   u".\nLe pagine di risposta si aprono nel browser del sistema "_s +
                   u"e non vengono stampate dal programma."_s,
               Pulsanti::Ok, Icona::Informazione, u"PAGINA WEB"_s);
    return m_browser;
}
