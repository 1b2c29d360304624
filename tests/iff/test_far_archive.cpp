#include "FarArchive.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace
{

using Variant = FarArchive::Variant;

const QList<QPair<QByteArray, QByteArray>> kEntries = {
    {"chair.iff", QByteArray("IFF bytes\0\xff", 11)}, {"", ""}, {"a b.IFF", "xy"}};

bool Read(FarArchive& far, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return far.read(buffer);
}

QByteArray SetLE32(QByteArray bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

} // namespace

TEST(FarArchive, BothManifestVariantsReadBack)
{
    for (const Variant variant : {Variant::NameLength32, Variant::NameLength16}) {
        QByteArray bytes = FarArchive::Build(kEntries, variant);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        FarArchive far;
        ASSERT_TRUE(far.read(buffer)) << far.errorString().toStdString();
        EXPECT_EQ(far.variant(), variant);
        ASSERT_EQ(far.entries().size(), kEntries.size());
        for (int i = 0; i < kEntries.size(); ++i) {
            const FarArchive::Entry& entry = far.entries()[i];
            QByteArray read;
            EXPECT_EQ(entry.name, kEntries[i].first);
            EXPECT_TRUE(entry.problem.isEmpty());
            ASSERT_TRUE(far.readEntry(buffer, entry, &read));
            EXPECT_EQ(read, kEntries[i].second);
        }
    }
}

TEST(FarArchive, DamagedArchivesAreRefusedWithAReason)
{
    const QByteArray good = FarArchive::Build(kEntries);
    const qsizetype manifest = qFromLittleEndian<quint32>(good.constData() + 12);
    const QList<QPair<QByteArray, QString>> cases = {
        {QByteArray(), "not a FAR archive"},
        {good.left(15), "not a FAR archive"},
        {QByteArray(good).replace(0, 3, "RAF"), "not a FAR archive"},
        {SetLE32(good, 8, 3), "FAR version 3 is not read"},
        {SetLE32(good, 12, quint32(good.size())), "the manifest lies outside the archive"},
        {SetLE32(good, 12, 8), "the manifest lies outside the archive"},
        {good.left(good.size() - 1), "the manifest does not fit the archive"},
        {SetLE32(good, manifest, 0xFFFFFFFF), "the manifest does not fit the archive"},
        {SetLE32(good, manifest + 4 + 12, 0x7FFFFFFF), "the manifest does not fit the archive"},
    };
    for (const auto& [bytes, reason] : cases) {
        FarArchive far;
        EXPECT_FALSE(Read(far, bytes)) << reason.toStdString();
        EXPECT_EQ(far.errorString(), reason);
        EXPECT_TRUE(far.entries().isEmpty());
    }
}

TEST(FarArchive, EntriesThatCannotBeReadNameTheirProblem)
{
    const QByteArray good = FarArchive::Build(kEntries);
    const qsizetype first = qFromLittleEndian<quint32>(good.constData() + 12) + 4;
    const QList<QPair<QByteArray, QString>> cases = {
        {SetLE32(good, first + 8, quint32(good.size())),
         "its bytes run past the end of the archive"},
        {SetLE32(SetLE32(good, first, 0xFFFFFFF0), first + 4, 0xFFFFFFF0),
         "its bytes run past the end of the archive"},
        {SetLE32(good, first, 5), "it is packed, which the game's archives never are"},
    };
    for (const auto& [bytes, problem] : cases) {
        FarArchive far;
        ASSERT_TRUE(Read(far, bytes));
        EXPECT_EQ(far.entries()[0].problem, problem);
        EXPECT_TRUE(far.entries()[2].problem.isEmpty());
        QByteArray copy = bytes, read;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_FALSE(far.readEntry(buffer, far.entries()[0], &read));
    }
}
