#pragma once

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

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
    // The digest of a file's content; empty when it cannot be read.
    static QByteArray ofFile(const QString& path);

private:
    evp_md_ctx_st* m_context;
};

// A SHA-256 computed on a thread of its own, so that hashing a large file runs beside writing
// it. add() hands a block over and returns at once, once the block before it is hashed: the
// caller keeps a block unchanged until its next add() or hex() returns, which two buffers used
// in turn allow. Destroying the object waits for the block in hand.
class BackgroundSha256
{
public:
    BackgroundSha256();
    ~BackgroundSha256();
    BackgroundSha256(const BackgroundSha256&) = delete;
    BackgroundSha256& operator=(const BackgroundSha256&) = delete;

    void add(const char* data, qsizetype size);
    QByteArray hex();

private:
    void run();

    Sha256 m_hash;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    const char* m_data = nullptr;
    qsizetype m_size = 0;
    bool m_pending = false;
    bool m_quit = false;
    std::thread m_thread;
};
