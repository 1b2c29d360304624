// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the benchmarks: the median of timings, realistic catalog words, and where a
// benchmark lays out its sample tree.

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QtEndian>
#include <algorithm>
#include <vector>

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// count words of a small catalog vocabulary, the same for the same seed.
inline QByteArray Words(quint32 seed, int count)
{
    static const char* const kWords[] = {"sofa",    "chair",  "blue",   "oak",   "modern",
                                         "table",   "lamp",   "retro",  "plush", "kitchen",
                                         "garden",  "bed",    "rug",    "stool", "tiki",
                                         "caf\xe9", "deluxe", "mirror", "shelf", "window"};
    QByteArray text;
    for (int w = 0; w < count; ++w) {
        seed = seed * 1103515245u + 12345u;
        text += kWords[(seed >> 16) % 20];
        text += ' ';
    }
    return text.trimmed();
}

// A QTemporaryDir pattern for name below the folder given as the second argument (a disk other
// than /tmp, say), else below the system's temporary folder.
inline QString TempPattern(int argc, char** argv, const char* name)
{
    const QString parent = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    return parent + QLatin1Char('/') + QLatin1String(name) + QStringLiteral("-XXXXXX");
}

// Appends a chunk header (type, id, a body of size bytes to follow) and its 64-byte name.
inline void AppendChunkHeader(QByteArray& file, const char* type, quint16 id, int size)
{
    char head[12] = {};
    std::copy_n(type, 4, head);
    qToBigEndian(quint32(76 + size), head + 4);
    qToBigEndian(id, head + 8);
    file.append(head, 12);
    QByteArray name = "resource " + QByteArray::number(id);
    name.append(64 - name.size(), '\0');
    file += name;
}
