#pragma once
// The base of every working window: its object name is its internal name, it opens where its
// placement rules put it, and it takes the common keys; F2 sends `testoTasto`, "%U" (the "&USCITA"
// button) unless the window has another exit.

#include <QDialog>

class Impostazioni;

class FinestraLavoro : public QDialog
{
    Q_OBJECT

public:
    FinestraLavoro(Impostazioni& impostazioni, const QString& nomeInterno, QWidget* parent = nullptr,
                   const QString& testoTasto = QStringLiteral("%U"));

    void setVisible(bool visibile) override;

protected:
    // Sizes and places the window before it first shows: by its placement rules, unless the window
    // has a place of its own.
    virtual void Colloca();

    // Only windows that remember their size and state call this; the others reopen with their
    // design size.
    void SalvaPosizioneInChiusura() { m_salvaInChiusura = true; }

    Impostazioni& m_impostazioni;

private:
    bool m_ripristinata = false;
    bool m_salvaInChiusura = false;
};
