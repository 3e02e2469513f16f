#include "runtime/devicememory.h"

#include "runtime/runerror.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>

void devicememory::loadram() {
    bytes.fill(0);
    unreadable = false;
    QFile file(QString::fromStdString(filepath));
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        unreadable = true;
        throw runerror("Cannot read the memory image " + filepath + ": " +
                       file.errorString().toStdString());
    }
    const qint64 got = file.read(reinterpret_cast<char *>(bytes.data()), qint64(size));
    if (got < 0) {
        unreadable = true;
        bytes.fill(0);
        throw runerror("Cannot read the memory image " + filepath + ": " +
                       file.errorString().toStdString());
    }
}

void devicememory::saveram() const {
    if (unreadable)
        throw runerror("The memory image " + filepath +
                       " could not be read at start, so it was left as it is.");
    QSaveFile file(QString::fromStdString(filepath));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char *>(bytes.data()), qint64(size)) != qint64(size) ||
        !file.commit())
        throw runerror("Cannot save the memory image " + filepath + ": " +
                       file.errorString().toStdString());
}

std::uint8_t devicememory::peek(double address) const {
    const double a = std::trunc(address);
    if (!(a >= 0 && a < double(size)))
        throw runerror("PEEK address out of range: " + std::to_string(a));
    return bytes[size_t(a)];
}
