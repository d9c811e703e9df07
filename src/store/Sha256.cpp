#include "Sha256.h"
#include "DbError.h"
#include <openssl/evp.h>

struct Sha256::State {
    EVP_MD *md = nullptr;
    EVP_MD_CTX *context = nullptr;
    ~State()
    {
        EVP_MD_CTX_free(context);
        EVP_MD_free(md);
    }
};

Sha256::Sha256()
    : m_state(std::make_unique<State>())
{
    // Fetched once: a fetch per digest would cost more than the digest.
    m_state->md = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    m_state->context = EVP_MD_CTX_new();
    if (!m_state->md || !m_state->context)
        throw EDatabaseError(QStringLiteral("SHA-256 steht nicht zur Verfügung (libcrypto)."));
}

Sha256::~Sha256() = default;

Sha256::Digest Sha256::digest(QByteArrayView bytes)
{
    Digest out{};
    unsigned int length = 0;
    if (EVP_DigestInit_ex(m_state->context, m_state->md, nullptr) != 1 ||
        EVP_DigestUpdate(m_state->context, bytes.data(), static_cast<size_t>(bytes.size())) != 1 ||
        EVP_DigestFinal_ex(m_state->context, reinterpret_cast<unsigned char *>(out.data()), &length) != 1 ||
        length != out.size())
        throw EDatabaseError(QStringLiteral("SHA-256 konnte nicht berechnet werden (libcrypto)."));
    return out;
}

QByteArray Sha256::hex(const Digest &digest)
{
    return QByteArray(digest.data(), static_cast<qsizetype>(digest.size())).toHex();
}

Sha256::Digest sha256OfUtf8(const QString &text)
{
    thread_local Sha256 hasher;
    return hasher.digest(text.toUtf8());
}
