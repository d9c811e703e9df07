#pragma once
// SHA-256 through the system's libcrypto. Checking a firm's whole chain
// hashes every entry and every inspection once more; libcrypto uses the
// processor's SHA instructions and is several times faster there than
// QCryptographicHash. The digests are the same.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <memory>

class Sha256 {
public:
    using Digest = std::array<char, 32>;

    Sha256();
    ~Sha256();
    Sha256(const Sha256 &) = delete;
    Sha256 &operator=(const Sha256 &) = delete;

    // The digest of bytes; the object is reused for the next one.
    Digest digest(QByteArrayView bytes);

    static QByteArray hex(const Digest &digest);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// SHA-256 of a text's UTF-8 bytes, through one hasher per thread.
Sha256::Digest sha256OfUtf8(const QString &text);
