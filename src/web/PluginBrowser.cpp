// The browser module's entry: it makes the browser window for the program that loaded it.

#include "web/FabbricaBrowser.h"
#include "web/FrmWeb.h"

#include <QObject>

class PluginBrowser : public QObject, public FabbricaBrowser
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID FabbricaBrowser_iid)
    Q_INTERFACES(FabbricaBrowser)

public:
    std::unique_ptr<QDialog> CreaFrmWeb(Impostazioni& impostazioni, const PaginaDaMostrare& pagina,
                                        const QString& dirTemp, QWidget* parent) override
    {
        auto finestra = std::make_unique<FrmWeb>(impostazioni, pagina.opzioni, dirTemp, parent);
        finestra->plUrl(pagina.indirizzo);
        finestra->plObject(pagina.numero);
        finestra->plTipo(pagina.tipo);
        return finestra;
    }
};

#include "PluginBrowser.moc"
