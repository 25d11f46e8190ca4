#pragma once
// A grid's columns as the width layout and the exports see them, whatever widget shows them.

#include <QList>
#include <QString>

struct ColonnaGriglia {
    QString intestazione; // heading caption
    QString campo;        // data field
    bool visibile = true;
    bool ridimensionabile = true; // the user may drag its border
    int larghezza = 0;            // twips
};

using ColonneGriglia = QList<ColonnaGriglia>;
