// SPDX-License-Identifier: GPL-3.0-or-later
#include "WineRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace
{

constexpr quint32 kCurrentUserRoot = 0x80000001u;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads an escaped Wine registry string from text[pos] up to an unescaped terminator before
// index n (the end of the line). On return pos is just past the terminator; nullopt when the
// line holds no terminator.
std::optional<QString> ReadEscaped(const QByteArray& text, int& pos, int n, char terminator)
{
    QString out;
    QByteArray plain; // runs of ordinary bytes, decoded as UTF-8 at once
    auto flush = [&] {
        if (!plain.isEmpty()) {
            out += QString::fromUtf8(plain);
            plain.clear();
        }
    };
    while (pos < n) {
        const char c = text[pos++];
        if (c == terminator) {
            flush();
            return out;
        }
        if (c != '\\') {
            plain += c;
            continue;
        }
        if (pos >= n)
            break;
        flush();
        const char e = text[pos++];
        switch (e) {
        case 'a':
            out += QChar(7);
            break;
        case 'b':
            out += QChar(8);
            break;
        case 'e':
            out += QChar(27);
            break;
        case 'f':
            out += QChar(12);
            break;
        case 'n':
            out += QChar(10);
            break;
        case 'r':
            out += QChar(13);
            break;
        case 't':
            out += QChar(9);
            break;
        case 'v':
            out += QChar(11);
            break;
        case 'x': {
            uint code = 0;
            int digits = 0;
            while (digits < 4 && pos < n && HexDigit(text[pos]) >= 0) {
                code = code * 16 + uint(HexDigit(text[pos++]));
                ++digits;
            }
            out += QChar(char16_t(code));
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                uint code = uint(e - '0');
                int digits = 1;
                while (digits < 3 && pos < n && text[pos] >= '0' && text[pos] <= '7') {
                    code = code * 8 + uint(text[pos++] - '0');
                    ++digits;
                }
                out += QChar(char16_t(code));
            } else {
                plain += e; // \\, \", \[, \] and any other escaped character stand for themselves
            }
        }
    }
    return std::nullopt;
}

// The bytes of a hex: / hex(n): value, which may continue over lines ending in a backslash.
QByteArray ReadHexBytes(const QByteArray& text, int pos)
{
    QByteArray bytes;
    const int n = text.size();
    int high = -1;
    while (pos < n) {
        const char c = text[pos++];
        if (c == '\\') {
            // Continuation: skip to the next line and its leading blanks.
            while (pos < n && text[pos] != '\n')
                ++pos;
            ++pos;
            continue;
        }
        if (c == '\n')
            break;
        const int d = HexDigit(c);
        if (d < 0) {
            high = -1;
            continue;
        }
        if (high < 0) {
            high = d;
        } else {
            bytes += char(high * 16 + d);
            high = -1;
        }
    }
    return bytes;
}

RegistryValue ParseData(const QByteArray& text, int pos, int lineEnd)
{
    const QByteArray rest = text.mid(pos, 16);
    if (rest.startsWith('"')) {
        ++pos;
        if (auto s = ReadEscaped(text, pos, lineEnd, '"'))
            return *s;
        return RegistryOther{};
    }
    if (rest.startsWith("dword:")) {
        pos += 6;
        int end = pos;
        while (end < lineEnd && HexDigit(text[end]) >= 0)
            ++end;
        bool ok = false;
        const quint32 number = text.mid(pos, end - pos).toUInt(&ok, 16);
        if (ok && end - pos <= 8)
            return number;
        return RegistryOther{};
    }
    if (rest.startsWith("hex(1):")) {
        // A REG_SZ that Wine could not write as a string (no terminator, odd length): the
        // UTF-16 text as stored, without one closing 0 character.
        const QByteArray bytes = ReadHexBytes(text, pos + 7);
        QString s;
        for (int i = 0; i + 1 < bytes.size(); i += 2)
            s += QChar(qFromLittleEndian<quint16>(bytes.constData() + i));
        if (s.endsWith(QChar(0)))
            s.chop(1);
        return s;
    }
    // str(2): (expandable text), str(7):, hex:, hex(n): and anything unknown.
    return RegistryOther{};
}

int LineEnd(const QByteArray& text, int pos)
{
    const int end = text.indexOf('\n', pos);
    return end < 0 ? text.size() : end;
}

} // namespace

WineRegistry::WineRegistry(const QString& prefix) : m_prefix(prefix) {}

QString WineRegistry::EnvironmentPrefix()
{
    const QString env = qEnvironmentVariable("WINEPREFIX");
    if (!env.isEmpty())
        return env;
    return QDir::homePath() + QStringLiteral("/.wine");
}

QString WineRegistry::prefix() const
{
    return m_prefix.isEmpty() ? EnvironmentPrefix() : m_prefix;
}

std::optional<RegistryValue> WineRegistry::value(quint32 root, const QString& keyPath,
                                                 const QString& name) const
{
    QString fileName;
    if (root == HKEY_LOCAL_MACHINE_ROOT)
        fileName = QStringLiteral("/system.reg");
    else if (root == kCurrentUserRoot)
        fileName = QStringLiteral("/user.reg");
    else
        return std::nullopt;
    QFile file(prefix() + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = file.readAll();
    if (auto found = FindValue(text, keyPath, name))
        return found;
    // A 32-bit program on a 64-bit prefix is redirected below Wow6432Node.
    static const QString software = QStringLiteral("Software\\");
    static const QString wow = QStringLiteral("Software\\Wow6432Node\\");
    if (root == HKEY_LOCAL_MACHINE_ROOT && keyPath.startsWith(software, Qt::CaseInsensitive) &&
        !keyPath.startsWith(wow, Qt::CaseInsensitive))
        return FindValue(text, wow + keyPath.mid(software.size()), name);
    return std::nullopt;
}

bool WineRegistry::write(quint32, const QString&, const QString&, const QString&)
{
    // The prefix's files belong to a running wineserver; editing them behind its back would
    // be overwritten or corrupt them.
    return false;
}

std::optional<RegistryValue> WineRegistry::FindValue(const QByteArray& regText,
                                                     const QString& keyPath, const QString& name)
{
    const int n = regText.size();
    bool inKey = false;
    int pos = 0;
    while (pos < n) {
        const int end = LineEnd(regText, pos);
        const char first = regText[pos];
        if (first == '[') {
            int p = pos + 1;
            const auto section = ReadEscaped(regText, p, end, ']');
            if (inKey)
                return std::nullopt; // the key ended without the value
            inKey = section && section->compare(keyPath, Qt::CaseInsensitive) == 0;
        } else if (inKey && (first == '"' || first == '@')) {
            int p = pos + 1;
            std::optional<QString> valueName;
            if (first == '@')
                valueName = QString();
            else
                valueName = ReadEscaped(regText, p, end, '"');
            if (valueName && p < end && regText[p] == '=' &&
                valueName->compare(name, Qt::CaseInsensitive) == 0)
                return ParseData(regText, p + 1, end);
        }
        // Continuation lines of hex values start with blanks and are passed over here.
        pos = end + 1;
    }
    return std::nullopt;
}

QString WineRegistry::ToLocalPath(const QString& prefix, const QString& windowsPath)
{
    if (windowsPath.size() < 2 || windowsPath[1] != QLatin1Char(':') || !windowsPath[0].isLetter())
        return QString();
    const QString drive = windowsPath.left(2).toLower();
    const QString target =
        QFileInfo(prefix + QStringLiteral("/dosdevices/") + drive).canonicalFilePath();
    if (target.isEmpty())
        return QString();
    QString rest = windowsPath.mid(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    if (rest.isEmpty())
        return target;
    return target.endsWith(QLatin1Char('/')) ? target + rest : target + QLatin1Char('/') + rest;
}
