#include "core/UtilitaFile.h"

#include "core/Attese.h"
#include "core/Dialoghi.h"
#include "core/ErroriFile.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray Nativo(const QString& percorso)
{
    return QFile::encodeName(percorso);
}

// Opens through the system to learn its error: 0 when open, else the program's error number.
int AperturaSistema(QFile& archivio, const QString& nome, int modo, int lunghezzaRecord)
{
    if (modo == kModoRecord && lunghezzaRecord < 1)
        return kErrLunghezzaRecord;
    const bool lettura = modo == kModoLettura;
    int flag = O_CLOEXEC;
    QIODevice::OpenMode aperto = QIODevice::ReadWrite;
    if (lettura) {
        flag |= O_RDONLY;
        aperto = QIODevice::ReadOnly;
    } else if (modo == kModoScrittura) {
        flag |= O_WRONLY | O_CREAT; // emptied only once the lock is ours
        aperto = QIODevice::WriteOnly;
    } else if (modo == kModoAccodamento) {
        flag |= O_WRONLY | O_CREAT | O_APPEND;
        aperto = QIODevice::WriteOnly | QIODevice::Append;
    } else {
        flag |= O_RDWR | O_CREAT;
    }
    const int fd = ::open(Nativo(nome).constData(), flag, 0666);
    if (fd < 0)
        return NumeroErroreFile(errno, nome);
    struct stat s {
    };
    int errore = 0;
    if (::fstat(fd, &s) != 0)
        errore = errno;
    else if (S_ISDIR(s.st_mode))
        errore = EISDIR;
    else if (::flock(fd, (lettura ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0)
        errore = errno; // another program is writing it (or reading, when we write)
    else if (modo == kModoScrittura && ::ftruncate(fd, 0) != 0)
        errore = errno;
    if (errore == 0) {
        archivio.setFileName(nome);
        if (archivio.open(fd, aperto, QFileDevice::AutoCloseHandle))
            return 0;
        errore = EIO;
    }
    ::close(fd);
    return NumeroErroreFile(errore, nome);
}

// A file whose lock another program holds is in use: deleting or renaming it waits.
bool InUso(const QString& percorso)
{
    const int fd = ::open(Nativo(percorso).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool bloccato = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return bloccato;
}

bool Ammessa(const QString& nome, mode_t tipo, int attributi)
{
    if (nome.startsWith(u'.') && !(attributi & kAttrNascosto))
        return false;
    return S_ISREG(tipo) || (S_ISDIR(tipo) && (attributi & kAttrCartella));
}

struct Ricerca {
    bool trovato = false;
    int errore = 0; // errno of a search that failed; a missing file or folder is no failure
};

int ErroreRicerca(int errore)
{
    return errore == ENOENT || errore == ENOTDIR ? 0 : errore;
}

Ricerca Cerca(const QString& percorso, int attributi)
{
    const qsizetype barra = percorso.lastIndexOf(u'/');
    const QString nome = percorso.mid(barra + 1);
    struct stat s {
    };
    if (!nome.contains(u'*') && !nome.contains(u'?')) {
        if (::stat(Nativo(percorso).constData(), &s) != 0)
            return {false, ErroreRicerca(errno)};
        return {Ammessa(nome, s.st_mode, attributi), 0};
    }

    const QString cartella = barra < 0 ? u"."_s : percorso.left(qMax<qsizetype>(barra, 1));
    DIR* dir = ::opendir(Nativo(cartella).constData());
    if (!dir)
        return {false, ErroreRicerca(errno)};
    QString modello = QRegularExpression::escape(nome);
    modello.replace(u"\\*"_s, u".*"_s).replace(u"\\?"_s, u"."_s);
    const QRegularExpression confronto(QRegularExpression::anchoredPattern(modello));
    Ricerca esito;
    while (const dirent* voce = ::readdir(dir)) {
        const QString trovato = QFile::decodeName(voce->d_name);
        if (trovato == u"."_s || trovato == u".."_s || !confronto.match(trovato).hasMatch())
            continue;
        if (::stat(Nativo(cartella + u'/' + trovato).constData(), &s) == 0 &&
            Ammessa(trovato, s.st_mode, attributi)) {
            esito.trovato = true;
            break;
        }
    }
    ::closedir(dir);
    return esito;
}

// The files ApriArchivio opened; their callers own them.
QList<QPointer<QFile>>& Archivi()
{
    static QList<QPointer<QFile>> archivi;
    return archivi;
}

void Registra(QFile& archivio)
{
    QList<QPointer<QFile>>& archivi = Archivi();
    archivi.removeIf([](const QPointer<QFile>& f) { return !f || !f->isOpen(); });
    if (!archivi.contains(&archivio))
        archivi.append(&archivio);
}

} // namespace

int ApriSenzaMessaggi(QFile& archivio, const QString& nome, int modo, int lunghezzaRecord)
{
    archivio.close();
    const int errore = AperturaSistema(archivio, nome, modo, lunghezzaRecord);
    if (errore == 0)
        Registra(archivio); // a forced exit flushes it too
    return errore;
}

bool ApriArchivio(QFile& archivio, const QString& nome, int modo, int lunghezzaRecord)
{
    archivio.close();
    static const QString kVietati = u";<=>?*[]"_s;
    if (std::any_of(nome.cbegin(), nome.cend(), [](QChar c) { return kVietati.contains(c); })) {
        MsgBox(u"Il nome dell'archivio "_s + nome + u" non e' corretto"_s, Pulsanti::Ok, Icona::Esclamazione,
               u"Nome errato"_s);
        return false;
    }
    if (modo < kModoScrittura || modo > kModoBinario)
        return false;
    for (int tentativo = 0;; ++tentativo) {
        const int errore = AperturaSistema(archivio, nome, modo, lunghezzaRecord);
        if (errore == 0) {
            Registra(archivio);
            return true;
        }
        if (tentativo >= Attese().tentativiMassimi || MessaggioErroreFile(errore, nome) != kRispostaRiprova)
            return false;
    }
}

void ChiudiArchiviAperti()
{
    for (const QPointer<QFile>& archivio : std::as_const(Archivi())) {
        if (archivio && archivio->isOpen()) {
            archivio->flush();
            archivio->close();
        }
    }
    Archivi().clear();
}

bool FileEsiste(QString& percorso, int attributi)
{
    if (percorso.trimmed().isEmpty())
        return false;
    const qsizetype virgolette = percorso.indexOf(u'"', 1);
    if (virgolette > 0)
        percorso = percorso.mid(1, virgolette - 1) + percorso.mid(virgolette + 1);
    for (int tentativo = 0;; ++tentativo) {
        const Ricerca r = Cerca(percorso, attributi);
        if (r.errore == 0)
            return r.trovato;
        if (tentativo >= Attese().tentativiMassimi ||
            MessaggioErroreFile(NumeroErroreFile(r.errore, percorso), percorso) != kRispostaRiprova)
            return false;
    }
}

void EliminaFile(const QString& percorso, int unita)
{
    QElapsedTimer tempo;
    tempo.start();
    QString file = percorso;
    while (FileEsiste(file)) {
        if (!InUso(file) && QFile::remove(file))
            return;
        if (tempo.elapsed() > LimiteFileMs(unita))
            return;
        Attendi(Attese().passoMs);
    }
}

void RinominaFile(const QString& vecchio, const QString& nuovo, int unita)
{
    EliminaFile(nuovo, 3);
    QElapsedTimer tempo;
    tempo.start();
    for (;;) {
        QString origine = vecchio;
        if (FileEsiste(origine) && !InUso(origine) && QFile::rename(origine, nuovo))
            return;
        if (tempo.elapsed() > LimiteFileMs(unita))
            return;
        Attendi(Attese().passoMs);
    }
}

QString SfogliaCartella(const QString& iniziale, const QString& titolo)
{
    return DialoghiCorrenti().ScegliCartella(titolo, iniziale.trimmed().isEmpty() ? QString() : iniziale);
}

QString CartellaDi(const QString& percorso)
{
    const qsizetype ultima = qMax(percorso.lastIndexOf(u'/'), percorso.lastIndexOf(u'\\'));
    return ultima < 0 ? QString() : percorso.left(ultima);
}

QString NomeFileSicuro(QString nome)
{
    for (QChar& c : nome) {
        if (c.unicode() < 32 || QStringView(u"\\/:*?\"<>|").contains(c))
            c = u'_';
    }
    return nome;
}

QString CartellaConSeparatore(const QString& cartella)
{
    return cartella.endsWith(u'/') || cartella.endsWith(u'\\') ? cartella : cartella + u'/';
}
