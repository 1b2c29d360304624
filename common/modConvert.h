// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Conversions between byte strings, 32-bit numbers, hexadecimal text and binary-digit text.
// Byte strings are QByteArray (one byte per character, no character-set conversion); hex,
// binary and decimal texts are QString. Multi-byte numbers are big-endian.
// Failures (overflow, a character that is not a digit) throw ConvertError.

void InitConvert();
qint32 BytesToNum(const QByteArray& bytes);
QByteArray LongToBytes(qint32 value);
QByteArray NullBytes(int count);
QString BytesToHex(const QByteArray& bytes);
QByteArray HexToBytes(const QString& hex);
QString HexToDec(const QString& hex, bool isUnsigned);
QString DecToHex(qint32 value);
QString SwapHexBytes(const QString& hex);
QString DecToBin(qint32 value, int digits);
qint32 BinToDec(const QString& bin);
QString BinToHex(const QString& bin);
QString DigitsOnly(const QString& text);

// Hourglass nesting. BusyCount lives in ProgramState; the cursor itself is switched by a hook
// that the window installs (the core links no widgets). The hook gets true for "busy".
void BeginBusy();
void EndBusy();
using BusyCursorHook = void (*)(bool busy);
void SetBusyCursorHook(BusyCursorHook hook);
