// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFiles.h"

#include "Cp1252.h"
#include "ProgramState.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

namespace
{

constexpr int kMaxCount = 32767;
constexpr int kMaxNameBytes = 255;
constexpr int kMaxPathBytes = 65535;
constexpr int kSortBytes = 9;

const QString kPresetsFile = QStringLiteral("presets.dat");
const QString kFoldersFile = QStringLiteral("folders.dat");

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// The count at the start of a file; -1 when it is missing or above the largest count.
int ReadCount(const QByteArray& bytes)
{
    if (bytes.size() < 2)
        return -1;
    const int count = qFromBigEndian<quint16>(bytes.constData());
    return count > kMaxCount ? -1 : count;
}

void AppendCount(QByteArray& out, int value)
{
    out += char((value >> 8) & 0xFF);
    out += char(value & 0xFF);
}

QByteArray ReadWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Writes through a temporary file that replaces the old one only once complete.
bool WriteWhole(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        SetError(error, file.errorString()); // the caller names the file
        return false;
    }
    return true;
}

} // namespace

QList<Preset> DecodePresets(const QByteArray& bytes)
{
    QList<Preset> presets;
    const int count = ReadCount(bytes);
    int pos = 2;
    for (int i = 0; i < count; ++i) {
        if (pos >= bytes.size())
            break;
        const int length = quint8(bytes[pos]);
        if (pos + 1 + length + kSortBytes > bytes.size())
            break; // the file ends inside this entry: keep the whole ones only
        Preset preset;
        preset.Name = bytes.mid(pos + 1, length);
        for (int slot = 0; slot < kSortBytes; ++slot)
            preset.Sorts[slot] = quint8(bytes[pos + 1 + length + slot]);
        presets << preset;
        pos += 1 + length + kSortBytes;
    }
    return presets;
}

QList<FolderEntry> DecodeFolders(const QByteArray& bytes)
{
    QList<FolderEntry> folders;
    const int count = ReadCount(bytes);
    int pos = 2;
    for (int i = 0; i < count; ++i) {
        if (pos + 2 > bytes.size())
            break;
        const int length = qFromBigEndian<quint16>(bytes.constData() + pos);
        if (pos + 2 + length + 1 > bytes.size())
            break;
        FolderEntry entry;
        entry.Path = QFile::decodeName(bytes.mid(pos + 2, length));
        entry.IncludeSubfolders = bytes[pos + 2 + length] == 1;
        folders << entry;
        pos += 2 + length + 1;
    }
    return folders;
}

bool EncodePresets(const QList<Preset>& presets, QByteArray* out, QString* error)
{
    if (presets.size() > kMaxCount) {
        SetError(error, QStringLiteral("Too many presets to store (at most %1).").arg(kMaxCount));
        return false;
    }
    QByteArray bytes;
    AppendCount(bytes, int(presets.size()));
    for (const Preset& preset : presets) {
        if (preset.Name.size() > kMaxNameBytes) {
            SetError(error, QStringLiteral("The preset name \"%1...\" is longer than %2 bytes.")
                                .arg(DecodeCp1252(preset.Name.left(40)))
                                .arg(kMaxNameBytes));
            return false;
        }
        bytes += char(preset.Name.size());
        bytes += preset.Name;
        for (qint32 value : preset.Sorts)
            bytes += char(value & 0xFF); // the low 8 bits only
    }
    if (out)
        *out = bytes;
    return true;
}

bool EncodeFolders(const QList<FolderEntry>& folders, QByteArray* out, QString* error)
{
    if (folders.size() > kMaxCount) {
        SetError(error, QStringLiteral("Too many folders to store (at most %1).").arg(kMaxCount));
        return false;
    }
    QByteArray bytes;
    AppendCount(bytes, int(folders.size()));
    for (const FolderEntry& entry : folders) {
        const QByteArray path = QFile::encodeName(entry.Path);
        if (path.size() > kMaxPathBytes) {
            SetError(error, QStringLiteral("The folder path \"%1...\" is longer than %2 bytes.")
                                .arg(entry.Path.left(40))
                                .arg(kMaxPathBytes));
            return false;
        }
        AppendCount(bytes, int(path.size()));
        bytes += path;
        bytes += char(entry.IncludeSubfolders ? 1 : 0);
    }
    if (out)
        *out = bytes;
    return true;
}

void LoadPresets()
{
    ProgramState.Presets = DecodePresets(ReadWhole(ProgramState.ProgramFolder + kPresetsFile));
}

void LoadFolders()
{
    ProgramState.Folders = DecodeFolders(ReadWhole(ProgramState.ProgramFolder + kFoldersFile));
}

bool SavePresets(QString* error)
{
    QByteArray bytes;
    if (!EncodePresets(ProgramState.Presets, &bytes, error))
        return false;
    return WriteWhole(ProgramState.ProgramFolder + kPresetsFile, bytes, error);
}

bool SaveFolders(QString* error)
{
    QByteArray bytes;
    if (!EncodeFolders(ProgramState.Folders, &bytes, error))
        return false;
    return WriteWhole(ProgramState.ProgramFolder + kFoldersFile, bytes, error);
}
