// Build tool: makes the country window's 48 x 32 flag images out of the system's flag pictures.
// Arguments: pairs of a source picture and the image to write.

#include <QImage>

#include <cstdio>

namespace {

constexpr int kLarghezza = 48;
constexpr int kAltezza = 32;

// The pictures draw each flag on a larger transparent canvas with a faint shadow around it: the
// flag is the part that is at least half opaque.
QRect ParteOpaca(const QImage& immagine)
{
    QRect parte;
    for (int y = 0; y < immagine.height(); ++y) {
        for (int x = 0; x < immagine.width(); ++x) {
            if (qAlpha(immagine.pixel(x, y)) >= 128)
                parte |= QRect(x, y, 1, 1);
        }
    }
    return parte.isEmpty() ? immagine.rect() : parte;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "uso: %s ORIGINE DESTINAZIONE [ORIGINE DESTINAZIONE ...]\n", argv[0]);
        return 2;
    }
    for (int i = 1; i < argc; i += 2) {
        const QImage immagine =
            QImage(QString::fromLocal8Bit(argv[i])).convertToFormat(QImage::Format_ARGB32);
        if (immagine.isNull()) {
            std::fprintf(stderr, "immagine illeggibile: %s\n", argv[i]);
            return 1;
        }
        const QImage bandiera =
            immagine.copy(ParteOpaca(immagine))
                .scaled(kLarghezza, kAltezza, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!bandiera.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "impossibile scrivere: %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
