#include "web/MostraPagine.h"

namespace {

// Headless: pages may be saved, but nothing is shown or opened.
class MostraPagineRigaComando : public MostraPagine
{
public:
    bool MostraNelBrowser(const QString&, const QString&, const QString&) override { return true; }
    void ApriDocumento(const QString&) override {}
};

std::unique_ptr<MostraPagine>& Installata()
{
    static std::unique_ptr<MostraPagine> mostra = std::make_unique<MostraPagineRigaComando>();
    return mostra;
}

} // namespace

MostraPagine& MostraPagineCorrenti()
{
    return *Installata();
}

void ImpostaMostraPagine(std::unique_ptr<MostraPagine> mostra)
{
    Installata() = mostra ? std::move(mostra) : std::make_unique<MostraPagineRigaComando>();
}
