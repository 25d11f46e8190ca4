#include "core/CalcoloPosizione.h"

#include "core/Twips.h"
#include "core/Valori.h"

#include <algorithm>

namespace {

// The main window's menu bar overlaps the new window's caption by this much.
constexpr int kSovrapposizioneMenu = 90;

QRect Striscia(const QRect& s, const QRect& d)
{
    if (d.isEmpty() || !s.contains(d))
        return {};
    if (d.bottom() < s.bottom())
        return {QPoint(s.left(), d.bottom() + 1), s.bottomRight()};
    if (d.right() < s.right())
        return {QPoint(d.right() + 1, s.top()), s.bottomRight()};
    if (d.left() > s.left())
        return {s.topLeft(), QPoint(d.left() - 1, s.bottom())};
    if (d.top() > s.top())
        return {s.topLeft(), QPoint(s.right(), d.top() - 1)};
    return {};
}

// A saved size applies only to a sizable border; a missing or unusable one gives the design size.
int Lato(bool ridimensionabile, double salvato, int progetto, int schermo)
{
    std::int64_t lato = ridimensionabile ? ArrotondaPari(salvato) : 0;
    if (lato <= 0)
        lato = progetto;
    return int(std::min<std::int64_t>(lato, schermo));
}

} // namespace

InfoTaskbar TaskbarDaSchermo(const QRect& schermo, const QRect& disponibile, double dpiX, double dpiY)
{
    InfoTaskbar t;
    const QRect r = Striscia(schermo, disponibile).translated(-schermo.topLeft());
    if (r.isEmpty())
        return t;
    t.top = r.top();
    t.left = r.left();
    t.altezza = TwipsDaPixel(r.height(), dpiY);
    t.larghezza = TwipsDaPixel(r.width(), dpiX);
    if (t.top >= 2)
        t.bordo = BordoTaskbar::Basso;
    else if (t.left >= 2)
        t.bordo = BordoTaskbar::Destra;
    else if (t.altezza >= TwipsDaPixel(schermo.height(), dpiY) / 2.0)
        t.bordo = BordoTaskbar::Sinistra;
    else
        t.bordo = BordoTaskbar::Alto;
    return t;
}

Collocazione CalcolaCollocazione(QSize schermo, const InfoTaskbar& taskbar,
                                 const std::optional<RettangoliPrincipale>& principale,
                                 const DatiFinestra& finestra)
{
    if (finestra.wstate == 2)
        return {true, {}};

    const int w = Lato(finestra.ridimensionabile, finestra.dimX, finestra.progetto.width(), schermo.width());
    const int h =
        Lato(finestra.ridimensionabile, finestra.dimY, finestra.progetto.height(), schermo.height());

    int left = 0;
    int top = 0;
    if (principale) {
        const QRect& e = principale->esterno;
        left = e.left() + (e.width() - principale->interno.width()) / 2;
        top = e.top() + (e.height() - principale->interno.height()) - kSovrapposizioneMenu;
    }

    const int tbH = taskbar.bordo == BordoTaskbar::Basso ? taskbar.altezza : 0;
    if (top + h > schermo.height() - tbH)
        top = std::max(schermo.height() - h - tbH, 0);

    const int tbW = taskbar.bordo == BordoTaskbar::Destra ? taskbar.larghezza : 0;
    if (left + w > schermo.width() - tbW)
        left = schermo.width() - w - tbW;

    if (taskbar.bordo == BordoTaskbar::Sinistra && left < taskbar.larghezza)
        left = taskbar.larghezza;

    return {false, QRect(left, top, w, h)};
}

PosizioneDaSalvare PosizioneInChiusura(QPoint angolo, QSize schermo)
{
    PosizioneDaSalvare p;
    const int top = std::max(angolo.y(), 0);
    const int left = std::max(angolo.x(), 0);
    if (top < schermo.height())
        p.posY = top;
    if (left < schermo.width())
        p.posX = left;
    return p;
}

QRect CorreggiPosizioneWeb(int top, int left, int altezza, int larghezza, QSize schermo)
{
    if (top < 0 || top >= schermo.height() - 400)
        top = 0;
    if (left < 0 || left >= schermo.width() - 600)
        left = 0;
    if (altezza < 1 || altezza >= schermo.height())
        altezza = 4000;
    if (larghezza < 1 || larghezza >= schermo.width())
        larghezza = 6000;
    return {left, top, larghezza, altezza};
}
