#include "backup/Sha256.h"

#include <QFile>

#include <openssl/evp.h>

Sha256::Sha256() : m_context(EVP_MD_CTX_new())
{
    EVP_DigestInit_ex(m_context, EVP_sha256(), nullptr);
}

Sha256::~Sha256()
{
    EVP_MD_CTX_free(m_context);
}

void Sha256::add(const char* data, qsizetype size)
{
    EVP_DigestUpdate(m_context, data, size_t(size));
}

QByteArray Sha256::hex()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(m_context, digest, &length);
    EVP_DigestInit_ex(m_context, EVP_sha256(), nullptr);
    return QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex();
}

QByteArray Sha256::of(const QByteArray& data)
{
    Sha256 hash;
    hash.add(data.constData(), data.size());
    return hash.hex();
}

QByteArray Sha256::ofFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Sha256 hash;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (qint64 n; (n = file.read(buffer.data(), buffer.size())) > 0;)
        hash.add(buffer.constData(), n);
    return hash.hex();
}

BackgroundSha256::BackgroundSha256() : m_thread(&BackgroundSha256::run, this) {}

BackgroundSha256::~BackgroundSha256()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void BackgroundSha256::add(const char* data, qsizetype size)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pending; });
    m_data = data;
    m_size = size;
    m_pending = true;
    lock.unlock();
    m_changed.notify_all();
}

QByteArray BackgroundSha256::hex()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pending; });
    return m_hash.hex();
}

void BackgroundSha256::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_pending || m_quit; });
        if (!m_pending)
            return;
        lock.unlock();
        m_hash.add(m_data, m_size);
        lock.lock();
        m_pending = false;
        m_changed.notify_all();
    }
}
