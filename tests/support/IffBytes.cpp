#include "IffBytes.h"

#include <QFile>
#include <QtEndian>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace
{

template <typename T> QByteArray bigEndian(T v)
{
    QByteArray b(sizeof(T), '\0');
    qToBigEndian(v, b.data());
    return b;
}

QByteArray padded(const QByteArray& bytes, int size)
{
    QByteArray out = bytes.left(size);
    out.append(size - out.size(), '\0');
    return out;
}

} // namespace

QByteArray IffHeader(const QByteArray& version, const QByteArray& credit, quint32 mapOffset)
{
    QByteArray text = "IFF FILE " + version + ":TYPE FOLLOWED BY SIZE";
    return padded(text, 34) + QByteArray(1, '\0') + padded(credit, 25) + bigEndian(mapOffset);
}

QByteArray Chunk(const QByteArray& type, quint16 id, const QByteArray& body, const QByteArray& name,
                 const QByteArray& unknown, std::optional<quint32> sizeOverride)
{
    const quint32 size = sizeOverride.value_or(quint32(76 + body.size()));
    return type + bigEndian(size) + bigEndian(id) + unknown + padded(name, 64) + body;
}

QByteArray EmptyMapChunk()
{
    QByteArray body(8, '\0');
    body += "pmsr";
    QByteArray sizeLE(4, '\0');
    qToLittleEndian(quint32(96), sizeLE.data());
    body += sizeLE + QByteArray(4, '\0');
    return Chunk("rsmp", 0, body, {}, QByteArray("\x00\x10", 2));
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool WithFileSizeLimit(quint64 maxBytes, const std::function<bool()>& call)
{
    rlimit saved{};
    if (::getrlimit(RLIMIT_FSIZE, &saved) != 0) {
        ADD_FAILURE() << "getrlimit failed";
        return false;
    }
    rlimit small = saved;
    small.rlim_cur = maxBytes;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    if (::setrlimit(RLIMIT_FSIZE, &small) != 0)
        ADD_FAILURE() << "setrlimit failed";
    const bool result = call();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    return result;
}
