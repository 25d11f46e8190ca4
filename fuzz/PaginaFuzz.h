#pragma once
// A fetched page as a reader receives it, made from a fuzzer's input. The input's first line is a
// flag and the Content-Type header ("1 text/html; charset=utf-8"; "1": the reader reports the page's
// own error); the rest is the body, decoded as the HTTP client decodes it. Without a line end the
// whole input is the body.

#include "web/DecodificaPagina.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

struct PaginaFuzz {
    bool bMess = false;
    QString testo;

    static PaginaFuzz Da(const std::uint8_t* dati, std::size_t dimensione)
    {
        const QByteArray ingresso(reinterpret_cast<const char*>(dati), qsizetype(dimensione));
        const qsizetype finePrimaRiga = ingresso.indexOf('\n');
        if (finePrimaRiga < 0)
            return {false, DecodificaPagina(ingresso, {})};
        const QByteArray prima = ingresso.first(finePrimaRiga);
        return {prima.startsWith('1'), DecodificaPagina(ingresso.sliced(finePrimaRiga + 1), prima.mid(2))};
    }
};
