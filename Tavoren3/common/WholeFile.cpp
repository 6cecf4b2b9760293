#include "common/WholeFile.h"

#include <QSaveFile>

bool WholeFile::write(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    // Unbuffered, so that the write that fails (a full disk) says why; a
    // commit that fails on buffered bytes reports only "Unknown error".
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = file.errorString();
        return false;
    }
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            *error = file.errorString();
            return false;
        }
        done += n;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
