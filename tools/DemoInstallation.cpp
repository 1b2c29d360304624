// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoInstallation.h"

#include "CatalogBodies.h"
#include "CatalogText.h"
#include "DemoCatalog.h"
#include "DemoLots.h"
#include "FarArchive.h"
#include "clsIFF.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <unistd.h>

namespace
{

// CTSS and BMP_ IDs of a file's objects start here; OBJD IDs at 128.
constexpr quint16 kFirstCatalogId = 2000;
constexpr quint16 kFirstObjdId = 128;

QString SystemRegText()
{
    // A 64-bit prefix: the game's 32-bit installer writes below Wow6432Node.
    QString installPath = QString::fromLatin1(kDemoInstallPath);
    installPath.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return QStringLiteral("WINE REGISTRY Version 2\n"
                          ";; All keys relative to \\\\Machine\n"
                          "\n"
                          "#arch=win64\n"
                          "\n"
                          "[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims] 1765000000\n"
                          "#time=1dc66a5c0c8e2a0\n"
                          "\"InstallPath\"=\"%1\"\n"
                          "\"Language\"=dword:00000409\n")
        .arg(installPath);
}

bool WriteWhole(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = QStringLiteral("%1 could not be written: %2").arg(path, file.errorString());
    return false;
}

// A demo file of an earlier run may be read-only; it is ours to replace.
bool RemoveOld(const QString& path, QString* error)
{
    QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    if (QFile::remove(path))
        return true;
    *error = QStringLiteral("%1 could not be replaced.").arg(path);
    return false;
}

QByteArray Catalog(const QString& text)
{
    // The demo's texts are written here and always fit the catalog's code page.
    return EncodeCatalogText(text, nullptr).value_or(QByteArray());
}

QByteArray CatalogText(const DemoObject& object)
{
    QList<CtssString> strings;
    for (int code = 1; code <= object.languageSets; ++code) {
        const auto texts =
            object.translations.value(quint8(code), {object.name, object.description});
        strings.append({quint8(code), Catalog(texts.first), {}});
        strings.append({quint8(code), Catalog(texts.second), {}});
    }
    return MakeCtssBody(strings);
}

bool AddChunk(clsIFF& doc, const char* format, quint16 id, const QByteArray& name,
              const QByteArray& body, QString* error)
{
    if (!doc.AddResource(QByteArray(format), id, name)) {
        *error = QStringLiteral("The demo file holds two %1 resources with ID %2.")
                     .arg(QString::fromLatin1(format))
                     .arg(id);
        return false;
    }
    doc.Resource(QByteArray(format) + QByteArray::number(id)).SetBody(body);
    return true;
}

bool FillDocument(clsIFF& doc, const QList<DemoObject>& objects, QString* error)
{
    quint16 objdId = kFirstObjdId;
    for (int i = 0; i < objects.size(); ++i) {
        const DemoObject& object = objects.at(i);
        const quint16 catalogId = kFirstCatalogId + i;
        const quint16 groupId = 100 + i;
        ObjdSpec spec;
        spec.groupId = groupId;
        spec.tileIndex = object.extraTiles > 0 ? 0xFFFF : 0;
        spec.disabled = object.disabled ? 1 : 0;
        spec.price = object.price;
        spec.catalogStringsId = object.hasCatalogText ? catalogId : 0;
        spec.sorts = object.sorts;
        spec.guid = object.guid != 0 ? object.guid : DemoGuid(object.resourceName);
        if (!AddChunk(doc, "OBJD", objdId++, object.resourceName, MakeObjdBody(spec), error))
            return false;
        for (int tile = 0; tile < object.extraTiles; ++tile) {
            ObjdSpec tileSpec = spec;
            tileSpec.tileIndex = tile;
            const QByteArray tileName = object.resourceName + " - Tile " + QByteArray::number(tile);
            tileSpec.guid = DemoGuid(tileName);
            if (!AddChunk(doc, "OBJD", objdId++, tileName, MakeObjdBody(tileSpec), error))
                return false;
        }
        if (object.hasCatalogText &&
            !AddChunk(doc, "CTSS", catalogId, object.resourceName, CatalogText(object), error))
            return false;
        // Without catalog text the icon is found by its name alone.
        const QByteArray icon = EncodeBmp24(DrawDemoIcon(object.picture, object.iconColour));
        if (!AddChunk(doc, "BMP_", catalogId, "Catalog", icon, error))
            return false;
    }
    if (!objects.isEmpty()) {
        const QByteArray interactions = MakeCtssBody(
            {CtssString{1, "Sit", QByteArray()}, CtssString{1, "Admire", QByteArray()}});
        if (!AddChunk(doc, "STR#", 128, "Interactions", interactions, error))
            return false;
    }
    return true;
}

QByteArray ReadWhole(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteDemoFile(const QString& gameFolder, const DemoFile& demo, QString* error)
{
    const QString path = gameFolder + demo.relativePath;
    if (!RemoveOld(path, error))
        return false;
    if (demo.kind == DemoFile::Kind::BadSignature)
        return WriteWhole(path,
                          "<html><head><title>404 Not Found</title></head>\n"
                          "<body><h1>Not Found</h1></body></html>\n",
                          error);

    clsIFF doc;
    if (!FillDocument(doc, demo.objects, error))
        return false;
    if (!doc.SaveFile(path)) {
        *error = QStringLiteral("%1 could not be written: %2").arg(path, doc.errorString());
        return false;
    }
    switch (demo.kind) {
    case DemoFile::Kind::ReadOnly:
        if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther)) {
            *error = QStringLiteral("%1 could not be made read-only.").arg(path);
            return false;
        }
        return true;
    case DemoFile::Kind::Version20: {
        QByteArray bytes = ReadWhole(path);
        if (!bytes.startsWith("IFF FILE 2.5:")) {
            *error = QStringLiteral("%1 was not written as expected.").arg(path);
            return false;
        }
        bytes.replace(9, 3, "2.0");
        return WriteWhole(path, bytes, error);
    }
    case DemoFile::Kind::Truncated: {
        // Cut inside the last object chunk, before the resource map.
        const QByteArray bytes = ReadWhole(path);
        return WriteWhole(path, bytes.left(bytes.size() * 2 / 3), error);
    }
    default:
        return true;
    }
}

// The game's archive: its object files are saved one by one, then packed.
bool WriteDemoArchive(const QString& gameFolder, const DemoArchive& demo, QString* error)
{
    const QString path = gameFolder + demo.archivePath;
    const QString part = path + QStringLiteral(".part");
    QList<QPair<QByteArray, QByteArray>> entries;
    for (const DemoFile& file : demo.entries) {
        clsIFF doc;
        if (!FillDocument(doc, file.objects, error))
            return false;
        if (!doc.SaveFile(part)) {
            *error = QStringLiteral("%1 could not be written: %2").arg(part, doc.errorString());
            return false;
        }
        entries.append({file.relativePath.toLatin1(), ReadWhole(part)});
        QFile::remove(part);
    }
    return RemoveOld(path, error) && WriteWhole(path, FarArchive::Build(entries), error);
}

bool LinkDriveC(const QString& prefix, QString* error)
{
    const QString dosdevices = prefix + QStringLiteral("/dosdevices");
    const QString link = dosdevices + QStringLiteral("/c:");
    if (!QDir().mkpath(dosdevices) || !RemoveOld(link, error)) {
        if (error->isEmpty())
            *error = QStringLiteral("%1 could not be created.").arg(dosdevices);
        return false;
    }
    if (::symlink("../drive_c", QFile::encodeName(link).constData()) != 0) {
        *error = QStringLiteral("%1 could not be linked to ../drive_c.").arg(link);
        return false;
    }
    return true;
}

} // namespace

QString DemoGameFolder(const QString& prefixDir)
{
    return QDir(prefixDir).absolutePath() +
           QStringLiteral("/drive_c/Program Files/Maxis/The Sims/");
}

bool MakeDemoInstallation(const QString& prefixDir, QString* error)
{
    QString message;
    const QString prefix = QDir(prefixDir).absolutePath();
    const QString gameFolder = DemoGameFolder(prefix);
    // A real prefix (its registry is not the demo's) would lose its registry, its drive link
    // and any game files of the same names: leave it alone.
    const QString registry = prefix + QStringLiteral("/system.reg");
    if (QFileInfo(registry).exists() && ReadWhole(registry) != SystemRegText().toUtf8()) {
        if (error)
            *error = QStringLiteral("%1 holds a Wine prefix that is not a demo; choose a new "
                                    "or empty folder.")
                         .arg(prefix);
        return false;
    }
    bool done = QDir().mkpath(prefix) && LinkDriveC(prefix, &message);
    for (const QString& folder : DemoFolders()) {
        if (done && !QDir().mkpath(gameFolder + folder)) {
            message = QStringLiteral("%1 could not be created.").arg(gameFolder + folder);
            done = false;
        }
    }
    for (const DemoFile& file : DemoFiles()) {
        if (done)
            done = WriteDemoFile(gameFolder, file, &message);
    }
    for (const DemoArchive& archive : DemoArchives()) {
        if (done)
            done = WriteDemoArchive(gameFolder, archive, &message);
    }
    if (done)
        done = WriteDemoLots(gameFolder, &message);
    if (done)
        done =
            WriteWhole(prefix + QStringLiteral("/system.reg"), SystemRegText().toUtf8(), &message);
    if (!done && message.isEmpty())
        message = QStringLiteral("%1 could not be created.").arg(prefix);
    if (error)
        *error = message;
    return done;
}
