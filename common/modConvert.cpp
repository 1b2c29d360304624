// SPDX-License-Identifier: GPL-3.0-or-later
#include "modConvert.h"

#include "ConvertError.h"
#include "ProgramState.h"

#include <array>

namespace
{

// 2^0 .. 2^16; DecToBin tests bits against it.
std::array<qint32, 17> g_powers{};
bool g_powersReady = false;

BusyCursorHook g_busyHook = nullptr;
// What the cursor shows now; the hook hears only about changes.
bool g_cursorBusy = false;

void preparePowers()
{
    for (int i = 0; i < 17; ++i)
        g_powers[i] = qint32(1) << i;
    g_powersReady = true;
}

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// Reads hex text as a 32-bit pattern: up to 8 significant digits, leading zeros free.
quint32 parseHex32(const QString& hex)
{
    if (hex.isEmpty())
        throw ConvertError(ConvertError::Kind::TypeMismatch, "empty hexadecimal text");
    quint32 value = 0;
    int significant = 0;
    for (QChar c : hex) {
        const int d = hexDigitValue(c);
        if (d < 0)
            throw ConvertError(ConvertError::Kind::TypeMismatch,
                               "not a hexadecimal digit: " + QString(c).toStdString());
        if (significant > 0 || d != 0)
            ++significant;
        if (significant > 8)
            throw ConvertError(ConvertError::Kind::Overflow, "more than 32 bits");
        value = (value << 4) | quint32(d);
    }
    return value;
}

// The text cut from the left into groups of two characters; an odd text ends with one.
QStringList pairsOf(const QString& text)
{
    QStringList groups;
    groups.reserve((text.size() + 1) / 2);
    for (qsizetype i = 0; i < text.size(); i += 2)
        groups.append(text.mid(i, 2));
    return groups;
}

} // namespace

void InitConvert()
{
    preparePowers();
}

qint32 BytesToNum(const QByteArray& bytes)
{
    if (bytes.size() > 4)
        throw ConvertError(ConvertError::Kind::Overflow, "more than four bytes");
    if (bytes.size() == 1)
        return quint8(bytes[0]);
    // Big-endian; four bytes read as two's complement, fewer stay unsigned.
    quint32 value = 0;
    for (char b : bytes)
        value = (value << 8) | quint8(b);
    return qint32(value);
}

QByteArray LongToBytes(qint32 value)
{
    const QString hex = DecToHex(value);
    return HexToBytes(QString(8 - hex.size(), QLatin1Char('0')) + hex);
}

QByteArray NullBytes(int count)
{
    return count > 0 ? QByteArray(count, '\0') : QByteArray();
}

QString BytesToHex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QByteArray HexToBytes(const QString& hex)
{
    QByteArray out;
    out.reserve((hex.size() + 1) / 2);
    for (const QString& group : pairsOf(hex))
        out.append(char(parseHex32(group)));
    return out;
}

QString HexToDec(const QString& hex, bool isUnsigned)
{
    qint64 value = qint32(parseHex32(hex));
    if (!isUnsigned && value >= 0 && value < 65536 && hex.size() == 4 && hexDigitValue(hex[0]) >= 8)
        value -= 65536;
    return QString::number(value);
}

QString DecToHex(qint32 value)
{
    return QString::number(quint32(value), 16).toUpper();
}

QString SwapHexBytes(const QString& hex)
{
    const QStringList groups = pairsOf(hex);
    QString out;
    out.reserve(hex.size());
    for (qsizetype i = groups.size() - 1; i >= 0; --i)
        out.append(groups[i]);
    return out;
}

QString DecToBin(qint32 value, int digits)
{
    if (!g_powersReady)
        preparePowers();
    QString bits;
    bits.reserve(16);
    for (int bit = 15; bit >= 0; --bit)
        bits.append((value & g_powers[bit]) ? QLatin1Char('1') : QLatin1Char('0'));
    if (digits > 0)
        return bits.right(digits);
    // Digit count 0 (or a meaningless negative count): drop leading zeros, keep one digit.
    qsizetype first = 0;
    while (first < bits.size() - 1 && bits[first] == QLatin1Char('0'))
        ++first;
    return bits.mid(first);
}

qint32 BinToDec(const QString& bin)
{
    const QString hex = BinToHex(bin.isEmpty() ? QStringLiteral("0") : bin);
    // Groups that were not binary contribute nothing; nothing left reads as 0.
    if (hex.isEmpty())
        return 0;
    return qint32(parseHex32(hex));
}

QString BinToHex(const QString& bin)
{
    QString padded = bin;
    if (padded.size() % 4 != 0)
        padded.prepend(QString(4 - padded.size() % 4, QLatin1Char('0')));
    static const char digits[] = "0123456789ABCDEF";
    QString out;
    out.reserve(padded.size() / 4);
    for (qsizetype i = 0; i < padded.size(); i += 4) {
        int value = 0;
        bool binary = true;
        for (qsizetype j = i; j < i + 4; ++j) {
            const QChar c = padded[j];
            if (c != QLatin1Char('0') && c != QLatin1Char('1')) {
                binary = false;
                break;
            }
            value = value * 2 + (c == QLatin1Char('1') ? 1 : 0);
        }
        if (binary)
            out.append(QLatin1Char(digits[value]));
    }
    return out;
}

QString DigitsOnly(const QString& text)
{
    QString out;
    qsizetype start = 0;
    if (text.startsWith(QLatin1Char('-'))) {
        out.append(QLatin1Char('-'));
        start = 1;
    }
    for (qsizetype i = start; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u >= '0' && u <= '9')
            out.append(text[i]);
    }
    return out;
}

void BeginBusy()
{
    ++ProgramState.BusyCount;
    if (!g_cursorBusy) {
        g_cursorBusy = true;
        if (g_busyHook)
            g_busyHook(true);
    }
}

void EndBusy()
{
    const qint16 before = ProgramState.BusyCount--;
    // Only the outermost EndBusy restores the cursor; an unmatched one leaves it alone.
    if (before == 1 && g_cursorBusy) {
        g_cursorBusy = false;
        if (g_busyHook)
            g_busyHook(false);
    }
}

void SetBusyCursorHook(BusyCursorHook hook)
{
    g_busyHook = hook;
}
