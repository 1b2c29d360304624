// SPDX-License-Identifier: GPL-3.0-or-later
#include "FarArchive.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace
{

QByteArray SetLE32(QByteArray bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

} // namespace

TEST(FarArchive, BothManifestVariantsReadBackAndDamageIsNamed)
{
    const QList<QPair<QByteArray, QByteArray>> entries = {
        {"chair.iff", QByteArray("IFF bytes\0\xff", 11)}, {"", ""}, {"a b.IFF", "xy"}};
    const QByteArray good = FarArchive::Build(entries);
    const qsizetype manifest = qFromLittleEndian<quint32>(good.constData() + 12),
                    first = manifest + 4;
    using V = FarArchive::Variant;
    const QString past = "its bytes run past the end of the archive",
                  outside = "the manifest lies outside the archive",
                  misfit = "the manifest does not fit the archive", notFar = "not a FAR archive";
    // Readable archives name the problem of their first entry; refused ones (Unknown) why.
    const std::tuple<QByteArray, V, QString> cases[] = {
        {good, V::NameLength32, ""},
        {FarArchive::Build(entries, V::NameLength16), V::NameLength16, ""},
        {SetLE32(good, first + 8, quint32(good.size())), V::NameLength32, past},
        {SetLE32(SetLE32(good, first, 0xFFFFFFF0), first + 4, 0xFFFFFFF0), V::NameLength32, past},
        {SetLE32(good, first, 5), V::NameLength32,
         "it is packed, which the game's archives never are"},
        {good.left(15), V::Unknown, notFar},
        {QByteArray(good).replace(0, 3, "RAF"), V::Unknown, notFar},
        {SetLE32(good, 8, 3), V::Unknown, "FAR version 3 is not read"},
        {SetLE32(good, 12, quint32(good.size())), V::Unknown, outside},
        {SetLE32(good, 12, 8), V::Unknown, outside},
        {good.left(good.size() - 1), V::Unknown, misfit},
        {SetLE32(good, manifest, 0xFFFFFFFF), V::Unknown, misfit},
        {SetLE32(good, manifest + 4 + 12, 0x7FFFFFFF), V::Unknown, misfit},
    };
    QByteArray none = FarArchive::Build({}); // the manifest right after the header
    QBuffer empty(&none);
    EXPECT_TRUE(empty.open(QIODevice::ReadOnly) && FarArchive().read(empty));
    for (auto [bytes, variant, problem] : cases) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        FarArchive far;
        EXPECT_EQ(far.read(buffer), variant != V::Unknown) << problem.toStdString();
        EXPECT_EQ(far.variant(), variant);
        if (variant == V::Unknown) {
            EXPECT_EQ(far.errorString(), problem);
            EXPECT_TRUE(far.entries().isEmpty());
            continue;
        }
        ASSERT_EQ(far.entries().size(), entries.size());
        for (int i = 0; i < entries.size(); ++i) {
            const FarArchive::Entry& entry = far.entries()[i];
            QByteArray read;
            EXPECT_EQ(entry.name, entries[i].first);
            EXPECT_EQ(entry.problem, i == 0 ? problem : QString());
            EXPECT_EQ(far.readEntry(buffer, entry, &read), entry.problem.isEmpty());
            if (entry.problem.isEmpty())
                EXPECT_EQ(read, entries[i].second);
        }
    }
}
