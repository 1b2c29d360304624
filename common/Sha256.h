// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <memory>

// The SHA-256 digest (32 bytes) of data. OpenSSL's, which uses the processor's SHA
// instructions: Qt 6.4's own runs about eight times slower, and the history hashes every
// file it keeps.
QByteArray Sha256(const QByteArray& data);

// The same digest, of bytes given piece by piece (a file as it is written).
class Sha256Hash
{
public:
    Sha256Hash();
    ~Sha256Hash();
    Sha256Hash(const Sha256Hash&) = delete;
    Sha256Hash& operator=(const Sha256Hash&) = delete;

    void addData(const char* bytes, qsizetype size);
    // The digest of everything added; empty when OpenSSL failed.
    QByteArray result();

private:
    struct Context;
    std::unique_ptr<Context> m_context;
};
