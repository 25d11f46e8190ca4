#pragma once
// The text of a fetched page, decoded by the charset the server or the page itself declares.

#include <QByteArray>
#include <QString>

// The charset named by the Content-Type header `tipo`, else by the page's own <meta> tag, else
// UTF-8. Latin-1 and ASCII labels read as Windows-1252, as browsers do; a charset Qt does not know
// reads as UTF-8. Invalid bytes become U+FFFD, never an error.
QString DecodificaPagina(const QByteArray& corpo, const QByteArray& tipo);
