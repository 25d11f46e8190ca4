// Peak memory and processor time of `tarvel elenco` on list files of 100 MB (long lines, or nothing
// but empty items), one 10 MB line and 20 000 codes, against the same program on a one-code list (the
// memory floor) and `wc -l` reading the same files (the reading floor). Processor seconds, user and
// system: on a shared machine the wall clock mostly measures the other users. No code reaches the
// network: the codes are malformed or cut from their descriptions. The last line is one JSON object.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <functional>
#include <vector>

extern char** environ;

using namespace Qt::Literals::StringLiterals;

namespace {

struct Misura {
    double secondi = 0;   // of the processor, user and system
    double memoriaMb = 0; // peak resident set
    int uscita = -1;
};

Misura Esegui(const QStringList& comando)
{
    std::vector<QByteArray> argomenti;
    for (const QString& a : comando)
        argomenti.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : argomenti)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_addopen(&azioni, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&azioni, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    Misura misura;
    if (posix_spawnp(&pid, argv[0], &azioni, nullptr, argv.data(), environ) == 0) {
        int stato = 0;
        rusage uso{};
        if (wait4(pid, &stato, 0, &uso) == pid) {
            misura.secondi = double(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) +
                             double(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
            misura.memoriaMb = uso.ru_maxrss / 1024.0;
            misura.uscita = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
        }
    }
    posix_spawn_file_actions_destroy(&azioni);
    return misura;
}

bool Crea(const QString& file, const std::function<void(QFile&)>& scrivi)
{
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    scrivi(f);
    return f.error() == QFile::NoError;
}

} // namespace

int main()
{
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString programma = dir.filePath(u"tarvel"_s);
    if (!dir.isValid() || !QFile::copy(QString::fromUtf8(TARVEL_ESEGUIBILE), programma)) {
        out << "impossibile preparare la cartella di prova\n";
        return 1;
    }
    const QByteArray mega(1024 * 1024, 'x');
    const bool pronti = Crea(dir.filePath(u"piccola.txt"_s), [](QFile& f) { f.write("IT1\r\n"); }) &&
                        Crea(dir.filePath(u"righe_lunghe.txt"_s),
                             [&](QFile& f) {
                                 for (int i = 0; i < 100; ++i)
                                     f.write("IT1 " + mega + "\r\n");
                             }) &&
                        Crea(dir.filePath(u"riga_unica.txt"_s),
                             [&](QFile& f) {
                                 f.write("IT1 ");
                                 for (int i = 0; i < 10; ++i)
                                     f.write(mega);
                             }) &&
                        Crea(dir.filePath(u"vuote.txt"_s),
                             [&](QFile& f) {
                                 const QByteArray righe = QByteArray("\r\n").repeated(512 * 1024);
                                 for (int i = 0; i < 100; ++i)
                                     f.write(righe);
                             }) &&
                        Crea(dir.filePath(u"voci.txt"_s), [](QFile& f) {
                            for (int i = 0; i < 20000; ++i)
                                f.write("X" + QByteArray::number(i) + "\r\n");
                        });
    if (!pronti) {
        out << "impossibile scrivere gli elenchi di prova\n";
        return 1;
    }

    const auto elenco = [&](const QString& nome) {
        const Misura m =
            Esegui({programma, u"elenco"_s, dir.filePath(nome + u".txt"_s), u"--come"_s, u"file"_s});
        out << nome << ": " << m.secondi << " s, " << m.memoriaMb << " MB, uscita " << m.uscita << '\n';
        out.flush();
        return m;
    };
    const Misura piccola = elenco(u"piccola"_s);
    const Misura lunghe = elenco(u"righe_lunghe"_s);
    const Misura unica = elenco(u"riga_unica"_s);
    const Misura vuote = elenco(u"vuote"_s);
    const Misura voci = elenco(u"voci"_s);
    const Misura wcLunghe = Esegui({u"wc"_s, u"-l"_s, dir.filePath(u"righe_lunghe.txt"_s)});
    const Misura wcVuote = Esegui({u"wc"_s, u"-l"_s, dir.filePath(u"vuote.txt"_s)});
    out << "wc -l: " << wcLunghe.secondi << " s e " << wcVuote.secondi << " s\n";

    out << "{\"rss_piccola_mb\":" << piccola.memoriaMb << ",\"rss_righe_lunghe_mb\":" << lunghe.memoriaMb
        << ",\"rss_riga_unica_mb\":" << unica.memoriaMb << ",\"rss_vuote_mb\":" << vuote.memoriaMb
        << ",\"rss_voci_mb\":" << voci.memoriaMb << ",\"s_righe_lunghe\":" << lunghe.secondi
        << ",\"s_wc_righe_lunghe\":" << wcLunghe.secondi << ",\"s_vuote\":" << vuote.secondi
        << ",\"s_wc_vuote\":" << wcVuote.secondi << ",\"s_voci\":" << voci.secondi << "}\n";
    const bool riuscite = lunghe.uscita == 0 && unica.uscita == 0 && vuote.uscita == 0 && voci.uscita == 0;
    return riuscite ? 0 : 1;
}
