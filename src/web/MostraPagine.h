#pragma once
// Where answer pages go besides the file: the program's browser window and the system's default
// program for a saved page. The window program shows them; the command line never does.

#include <QString>

#include <memory>

class MostraPagine
{
public:
    virtual ~MostraPagine() = default;

    // Shows the page at `indirizzo` in the program's browser window, modally; false when it could not.
    virtual bool MostraNelBrowser(const QString& indirizzo, const QString& numero, const QString& tipo) = 0;
    // Opens a saved page with the system's default program.
    virtual void ApriDocumento(const QString& file) = 0;
};

// The display in force; until one is installed, the command line's, which shows nothing.
MostraPagine& MostraPagineCorrenti();
void ImpostaMostraPagine(std::unique_ptr<MostraPagine> mostra);
