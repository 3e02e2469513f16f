#include "platform/codepage/cp1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace codepage {

QString fromcp1250(const std::string &bytes) {
    QStringDecoder decoder("windows-1250");
    return decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

std::string tocp1250(const QString &text) {
    QStringEncoder encoder("windows-1250", QStringEncoder::Flag::Stateless);
    QByteArray out = encoder(text);
    // The converter marks a character it cannot map with SUB; a question mark is what a reader
    // of the screen expects to see and hear instead.
    out.replace('\x1a', '?');
    return std::string(out.constData(), size_t(out.size()));
}

std::string utf8tocp1250(const char *utf8) { return tocp1250(QString::fromUtf8(utf8)); }

std::string cp1250toutf8(const std::string &bytes) {
    QByteArray out = fromcp1250(bytes).toUtf8();
    return std::string(out.constData(), size_t(out.size()));
}

} // namespace codepage
