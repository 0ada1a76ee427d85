#pragma once

#include <QByteArray>

#include <memory>

struct evp_md_ctx_st;

// SHA-256 of a stream of bytes. Uses the system's crypto library, which takes the processor's
// hashing instructions where it has them: a backup hashes every byte it writes.
class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(const char* data, qsizetype size);
    // The digest in lower-case hexadecimal; the hash starts again afterwards.
    QByteArray hex();

    static QByteArray of(const QByteArray& data);

private:
    evp_md_ctx_st* m_context;
};
