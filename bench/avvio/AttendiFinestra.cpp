// Starts a program on the X display and waits until it maps its first window; then prints the
// milliseconds from the start to that moment and, half a second later, the program's resident
// memory in kB, and ends it. Exit status 1 when no window comes within 60 seconds.
//
//   attendi_finestra PROGRAMMA [ARGOMENTI...]

#include <X11/Xlib.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long MemoriaResidenteKb(pid_t pid)
{
    std::ifstream stato("/proc/" + std::to_string(pid) + "/status");
    std::string riga;
    while (std::getline(stato, riga)) {
        if (riga.rfind("VmRSS:", 0) == 0)
            return std::stol(riga.substr(6));
    }
    return -1;
}

// Waits for the first window mapped on the screen (menus and tooltips do not count).
bool AttendiMappa(Display* schermo)
{
    const auto scadenza = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < scadenza) {
        while (XPending(schermo)) {
            XEvent evento;
            XNextEvent(schermo, &evento);
            if (evento.type == MapNotify && !evento.xmap.override_redirect)
                return true;
        }
        fd_set letture;
        FD_ZERO(&letture);
        FD_SET(ConnectionNumber(schermo), &letture);
        timeval attesa{0, 100000};
        select(ConnectionNumber(schermo) + 1, &letture, nullptr, nullptr, &attesa);
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "Uso: attendi_finestra PROGRAMMA [ARGOMENTI...]\n");
        return 2;
    }
    Display* schermo = XOpenDisplay(nullptr);
    if (!schermo) {
        std::fprintf(stderr, "attendi_finestra: nessun display X\n");
        return 2;
    }
    XSelectInput(schermo, DefaultRootWindow(schermo), SubstructureNotifyMask);
    XSync(schermo, False);

    const auto inizio = std::chrono::steady_clock::now();
    const pid_t figlio = fork();
    if (figlio == 0) {
        close(ConnectionNumber(schermo));
        execvp(argv[1], argv + 1);
        std::fprintf(stderr, "attendi_finestra: %s: %s\n", argv[1], std::strerror(errno));
        _exit(127);
    }
    const bool mappata = AttendiMappa(schermo);
    const auto ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inizio).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the first paint, then the memory
    const long kb = MemoriaResidenteKb(figlio);
    kill(figlio, SIGTERM);
    waitpid(figlio, nullptr, 0);
    XCloseDisplay(schermo);
    if (!mappata) {
        std::fprintf(stderr, "attendi_finestra: %s non ha aperto finestre\n", argv[1]);
        return 1;
    }
    std::printf("%.0f %ld\n", ms, kb);
    return 0;
}
