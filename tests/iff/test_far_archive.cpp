#include "FarArchive.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace
{

const QList<QPair<QByteArray, QByteArray>> kEntries = {
    {"chair.iff", QByteArray("IFF bytes\0\xff", 11)}, {"", ""}, {"a b.IFF", "xy"}};

QByteArray SetLE32(QByteArray bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

} // namespace

TEST(FarArchive, BothManifestVariantsReadBackAndDamagedEntriesNameTheirProblem)
{
    const QByteArray good = FarArchive::Build(kEntries);
    const qsizetype first = qFromLittleEndian<quint32>(good.constData() + 12) + 4;
    const QString past = "its bytes run past the end of the archive";
    const std::tuple<QByteArray, FarArchive::Variant, QString> cases[] = {
        {good, FarArchive::Variant::NameLength32, ""},
        {FarArchive::Build(kEntries, FarArchive::Variant::NameLength16),
         FarArchive::Variant::NameLength16, ""},
        {SetLE32(good, first + 8, quint32(good.size())), FarArchive::Variant::NameLength32, past},
        {SetLE32(SetLE32(good, first, 0xFFFFFFF0), first + 4, 0xFFFFFFF0),
         FarArchive::Variant::NameLength32, past},
        {SetLE32(good, first, 5), FarArchive::Variant::NameLength32,
         "it is packed, which the game's archives never are"},
    };
    for (auto [bytes, variant, problem] : cases) {
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
            EXPECT_EQ(entry.problem, i == 0 ? problem : QString());
            EXPECT_EQ(far.readEntry(buffer, entry, &read), entry.problem.isEmpty());
            if (entry.problem.isEmpty())
                EXPECT_EQ(read, kEntries[i].second);
        }
    }
}

TEST(FarArchive, DamagedArchivesAreRefusedWithAReason)
{
    const QByteArray good = FarArchive::Build(kEntries);
    const qsizetype manifest = qFromLittleEndian<quint32>(good.constData() + 12);
    const QString outside = "the manifest lies outside the archive",
                  misfit = "the manifest does not fit the archive";
    const QList<QPair<QByteArray, QString>> cases = {
        {QByteArray(), "not a FAR archive"},
        {good.left(15), "not a FAR archive"},
        {QByteArray(good).replace(0, 3, "RAF"), "not a FAR archive"},
        {SetLE32(good, 8, 3), "FAR version 3 is not read"},
        {SetLE32(good, 12, quint32(good.size())), outside},
        {SetLE32(good, 12, 8), outside},
        {good.left(good.size() - 1), misfit},
        {SetLE32(good, manifest, 0xFFFFFFFF), misfit},
        {SetLE32(good, manifest + 4 + 12, 0x7FFFFFFF), misfit},
    };
    for (auto [bytes, reason] : cases) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        FarArchive far;
        EXPECT_FALSE(far.read(buffer)) << reason.toStdString();
        EXPECT_EQ(far.errorString(), reason);
        EXPECT_TRUE(far.entries().isEmpty());
    }
}
