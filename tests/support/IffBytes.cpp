// SPDX-License-Identifier: GPL-3.0-or-later
#include "IffBytes.h"

#include "LotObjects.h"
#include "clsIFF.h"

#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace
{

QByteArray bigEndian(quint32 value, int bytes = 4)
{
    return QByteArray::fromHex(QByteArray::number(value, 16).rightJustified(bytes * 2, '0'));
}

QByteArray padded(const QByteArray& bytes, int size)
{
    return bytes.left(size).leftJustified(size, '\0');
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
    return type + bigEndian(size) + bigEndian(id, 2) + unknown + padded(name, 64) + body;
}

QByteArray EmptyMapChunk()
{
    const QByteArray body = QByteArray(8, '\0') + "pmsr" + QByteArray::fromHex("6000000000000000");
    return Chunk("rsmp", 0, body, {}, QByteArray("\x00\x10", 2));
}

QByteArray LotFile(const QList<quint32>& guids, quint32 version)
{
    QList<LotObjectType> types;
    for (const quint32 guid : guids)
        types.append({guid, 4, "Obj\xe9 " + QByteArray::number(guid, 16)});
    return IffHeader() + Chunk("OBJT", 0, MakeObjtBody(version, types)) + EmptyMapChunk();
}

QByteArray Records(const clsIFF& doc)
{
    QByteArray out;
    for (int i = 1; i <= doc.ResourceCount(); ++i)
        out += doc.Resource(i).PrintResource();
    return out;
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
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WithFileSizeLimit(quint64 maxBytes, const std::function<bool()>& call)
{
    rlimit saved{};
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit small{maxBytes, saved.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool result = call();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    return result;
}
