#pragma once
// The about box: program name, version, what it does.

#include <QDialog>

class FrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit FrmAbout(QWidget* parent = nullptr);
};
