// SPDX-License-Identifier: GPL-3.0-or-later
#include "Sha256.h"

#include <openssl/evp.h>

QByteArray Sha256(const QByteArray& data)
{
    QByteArray digest(32, '\0');
    unsigned int length = 0;
    if (EVP_Digest(data.constData(), size_t(data.size()),
                   reinterpret_cast<unsigned char*>(digest.data()), &length, EVP_sha256(),
                   nullptr) != 1 ||
        length != 32)
        return QByteArray();
    return digest;
}

struct Sha256Hash::Context {
    EVP_MD_CTX* md = EVP_MD_CTX_new();
    bool ok = md != nullptr && EVP_DigestInit_ex(md, EVP_sha256(), nullptr) == 1;
    ~Context() { EVP_MD_CTX_free(md); }
};

Sha256Hash::Sha256Hash() : m_context(std::make_unique<Context>()) {}

Sha256Hash::~Sha256Hash() = default;

void Sha256Hash::addData(const char* bytes, qsizetype size)
{
    if (m_context->ok)
        m_context->ok = EVP_DigestUpdate(m_context->md, bytes, size_t(size)) == 1;
}

QByteArray Sha256Hash::result()
{
    QByteArray digest(32, '\0');
    unsigned int length = 0;
    if (!m_context->ok ||
        EVP_DigestFinal_ex(m_context->md, reinterpret_cast<unsigned char*>(digest.data()),
                           &length) != 1 ||
        length != 32)
        return QByteArray();
    return digest;
}
