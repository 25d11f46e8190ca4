#include "core/Impostazioni.h"

#include "core/CartellaProgramma.h"
#include "core/Dialoghi.h"
#include "core/Valori.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A settings file is a few kilobytes; anything far larger is not ours to read or rewrite.
constexpr qint64 kDimensioneMassima = 16 * 1024 * 1024;

bool SolaLettura(const QFileInfo& info)
{
    // The owner's write bit plays the part of the read-only attribute, even for root.
    return !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner);
}

} // namespace

Chiave ChiaveIndicizzata(const QString& sezione, const QString& nome, int indice)
{
    return {sezione, nome + QString::number(indice)};
}

Impostazioni::Impostazioni(QString file, Scrittura scrittura)
    : m_file(std::move(file)), m_scrittura(scrittura)
{}

bool Impostazioni::FileEsiste() const
{
    return QFileInfo(m_file).isFile();
}

Impostazioni::Impronta Impostazioni::ImprontaFile() const
{
    struct stat s {
    };
    if (::stat(QFile::encodeName(m_file).constData(), &s) != 0)
        return {};
    return {true, qint64(s.st_size), qint64(s.st_ino),
            qint64(s.st_mtim.tv_sec) * 1'000'000'000 + s.st_mtim.tv_nsec};
}

void Impostazioni::Segnala(Difetto difetto) const
{
    // A command, which never writes the file, says on standard error why it works on defaults.
    if (m_difetto != Difetto::Nessuno || m_scrittura == Scrittura::SuFile)
        return;
    m_difetto = difetto;
    const QString file = QDir::toNativeSeparators(m_file);
    QString testo;
    switch (difetto) {
    case Difetto::TroppoGrande:
        testo = u"Il file delle impostazioni %1 è troppo grande (oltre 16 MiB): non viene letto né "
                u"modificato e il programma usa le impostazioni predefinite."_s;
        break;
    case Difetto::NonLeggibile:
        testo = u"Il file delle impostazioni %1 non si può leggere: non viene modificato e il programma "
                u"usa le impostazioni predefinite."_s;
        break;
    case Difetto::Nessuno:
        return;
    }
    MsgBox(testo.arg(file), Pulsanti::Ok, Icona::Esclamazione, QString::fromUtf16(kNomeBaseProgramma));
}

void Impostazioni::Aggiorna() const
{
    const Impronta impronta = ImprontaFile();
    if (m_letto && impronta == m_impronta)
        return;
    m_letto = true;
    m_impronta = impronta;
    m_leggibile = true;
    QByteArray testo;
    if (impronta.esiste) {
        QFile f(m_file);
        m_leggibile = impronta.dimensione <= kDimensioneMassima && f.open(QIODevice::ReadOnly);
        if (m_leggibile) {
            testo = f.read(impronta.dimensione); // what the file held when it was looked at
            m_leggibile = !testo.isNull() || impronta.dimensione == 0;
        }
    }
    m_documento = DocumentoIni(m_leggibile ? testo : QByteArray());
    for (const auto& [chiave, valore] : m_inMemoria)
        m_documento.Imposta(chiave.sezione, chiave.nome, valore);
    if (!m_leggibile)
        Segnala(impronta.dimensione > kDimensioneMassima ? Difetto::TroppoGrande : Difetto::NonLeggibile);
}

QString Impostazioni::Leggi(const Chiave& chiave) const
{
    Aggiorna();
    return m_documento.Valore(chiave.sezione, chiave.nome);
}

double Impostazioni::Numero(const Chiave& chiave) const
{
    return ValNum(Leggi(chiave));
}

void Impostazioni::Scrivi(const Chiave& chiave, const QString& valore)
{
    Scrivi({{chiave, valore}});
}

void Impostazioni::Scrivi(const QList<std::pair<Chiave, QString>>& valori)
{
    Aggiorna();
    if (m_scrittura == Scrittura::SoloMemoria) {
        for (const auto& voce : valori) {
            const Chiave& chiave = voce.first; // no structured binding: clang 14 (fuzzers) cannot capture one
            m_inMemoria.removeIf([&](const std::pair<Chiave, QString>& v) {
                return v.first.sezione.compare(chiave.sezione, Qt::CaseInsensitive) == 0 &&
                       v.first.nome.compare(chiave.nome, Qt::CaseInsensitive) == 0;
            });
            m_inMemoria.append(voce);
            m_documento.Imposta(chiave.sezione, chiave.nome, voce.second);
        }
        return;
    }

    // A file that could not be read is never rewritten: its contents would be lost.
    if (!m_leggibile)
        return;
    const QFileInfo info(m_file);
    if (info.exists() && SolaLettura(info))
        return;
    DocumentoIni nuovo = m_documento;
    for (const auto& [chiave, valore] : valori)
        nuovo.Imposta(chiave.sezione, chiave.nome, valore);
    if (m_gruppi > 0) {
        m_documento = std::move(nuovo);
        m_inSospeso = true;
        return;
    }
    Salva(std::move(nuovo));
}

void Impostazioni::Salva(DocumentoIni documento)
{
    QSaveFile f(m_file);
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(documento.Testo());
    if (!f.commit())
        return;
    m_documento = std::move(documento);
    m_impronta = ImprontaFile();
}

GruppoScritture::GruppoScritture(Impostazioni& impostazioni) : m_impostazioni(impostazioni)
{
    ++m_impostazioni.m_gruppi;
}

GruppoScritture::~GruppoScritture()
{
    if (--m_impostazioni.m_gruppi > 0 || !m_impostazioni.m_inSospeso)
        return;
    m_impostazioni.m_inSospeso = false;
    m_impostazioni.m_letto = false; // what failed to reach the file must not be read back
    m_impostazioni.Salva(m_impostazioni.m_documento);
}
