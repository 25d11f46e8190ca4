#pragma once
// An exclusive lock on a file, held while the object lives or until Rilascia. The system drops it
// when the process ends, however it ends, so a killed program never leaves a stale lock behind. Two
// holders in one process exclude each other too.

#include <QString>

class BloccoFile
{
public:
    BloccoFile() = default;
    ~BloccoFile();
    BloccoFile(const BloccoFile&) = delete;
    BloccoFile& operator=(const BloccoFile&) = delete;

    // Creates the file when missing and locks it; false when someone else holds it or it cannot be
    // created. The file stays in place afterwards: removing it would let two holders in at once.
    bool Prendi(const QString& file);
    void Rilascia();
    bool Preso() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
