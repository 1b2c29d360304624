#pragma once

#include <QByteArray>

// The SHA-256 digest (32 bytes) of data. OpenSSL's, which uses the processor's SHA
// instructions: Qt 6.4's own runs about eight times slower, and the history hashes every
// file it keeps.
QByteArray Sha256(const QByteArray& data);
