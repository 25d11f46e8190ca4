#include "core/BloccoFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

BloccoFile::~BloccoFile()
{
    Rilascia();
}

bool BloccoFile::Prendi(const QString& file)
{
    Rilascia();
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void BloccoFile::Rilascia()
{
    if (m_fd < 0)
        return;
    ::close(m_fd); // closing drops the lock
    m_fd = -1;
}
