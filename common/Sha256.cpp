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
