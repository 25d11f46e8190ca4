#pragma once
// The about box: program name, version, what it does.

#include "core/FinestraLavoro.h"

class FrmAbout : public FinestraLavoro
{
    Q_OBJECT

public:
    explicit FrmAbout(Impostazioni& impostazioni, QWidget* parent = nullptr);
};
