// The archive and hash libraries are loaded the first time a backup, check or restore calls
// them, not when a program starts: every program offers backup in its menu, and mapping and
// relocating these libraries (with the compression and XML libraries they bring) at every start
// costs time and memory a family pays even when it never backs up. Each function the backup code
// calls is defined here and passes the call on to the library, opened on the first call.
#include "backup/BackupTr.h"
#include "common/LateLibrary.h"

#include <archive.h>
#include <archive_entry.h>
#include <openssl/evp.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {

void* symbolOf(const char* library, const char* name)
{
    void* symbol = lateSymbol(library, name);
    if (!symbol) {
        // Without the library no archive can be read or written; the installation lacks a
        // package it depends on.
        const QString text = BackupTr::tr("备份和恢复所需的系统组件 %1 无法加载，请重新运行安装脚本后再试。")
                                 .arg(QString::fromLatin1(library));
        std::fprintf(stderr, "%s\n%s\n", text.toUtf8().constData(), dlerror());
        std::abort();
    }
    return symbol;
}

template <typename Function> Function resolved(const char* library, const char* name)
{
    return reinterpret_cast<Function>(symbolOf(library, name));
}

constexpr const char* Archive = "libarchive.so.13";
constexpr const char* Crypto = "libcrypto.so.3";

} // namespace

// Defines function name of library with its parameters and the arguments passed on.
#define KESTRIN_DELAYED(library, result, name, parameters, arguments)                                                  \
    extern "C" result name parameters                                                                                  \
    {                                                                                                                  \
        static const auto call = resolved<decltype(&name)>(library, #name);                                            \
        return call arguments;                                                                                         \
    }

using Entry = struct archive_entry;
using Handle = struct archive;

KESTRIN_DELAYED(Archive, Entry*, archive_entry_clear, (Entry * e), (e))
KESTRIN_DELAYED(Archive, __LA_MODE_T, archive_entry_filetype, (Entry * e), (e))
KESTRIN_DELAYED(Archive, void, archive_entry_free, (Entry * e), (e))
KESTRIN_DELAYED(Archive, Entry*, archive_entry_new, (), ())
KESTRIN_DELAYED(Archive, const char*, archive_entry_pathname, (Entry * e), (e))
KESTRIN_DELAYED(Archive, const char*, archive_entry_pathname_utf8, (Entry * e), (e))
KESTRIN_DELAYED(Archive, void, archive_entry_set_filetype, (Entry * e, unsigned int type), (e, type))
KESTRIN_DELAYED(Archive, void, archive_entry_set_mtime, (Entry * e, time_t t, long ns), (e, t, ns))
KESTRIN_DELAYED(Archive, void, archive_entry_set_pathname_utf8, (Entry * e, const char* name), (e, name))
KESTRIN_DELAYED(Archive, void, archive_entry_set_perm, (Entry * e, __LA_MODE_T perm), (e, perm))
KESTRIN_DELAYED(Archive, void, archive_entry_set_size, (Entry * e, la_int64_t size), (e, size))
KESTRIN_DELAYED(Archive, la_int64_t, archive_entry_size, (Entry * e), (e))
KESTRIN_DELAYED(Archive, const char*, archive_error_string, (Handle * a), (a))
KESTRIN_DELAYED(Archive, int, archive_read_data_block,
                (Handle * a, const void** buffer, size_t* size, la_int64_t* offset), (a, buffer, size, offset))
KESTRIN_DELAYED(Archive, int, archive_read_free, (Handle * a), (a))
KESTRIN_DELAYED(Archive, Handle*, archive_read_new, (), ())
KESTRIN_DELAYED(Archive, int, archive_read_next_header, (Handle * a, Entry** e), (a, e))
KESTRIN_DELAYED(Archive, int, archive_read_open_filename, (Handle * a, const char* file, size_t block),
                (a, file, block))
KESTRIN_DELAYED(Archive, int, archive_read_support_format_zip_seekable, (Handle * a), (a))
KESTRIN_DELAYED(Archive, int, archive_write_close, (Handle * a), (a))
KESTRIN_DELAYED(Archive, la_ssize_t, archive_write_data, (Handle * a, const void* data, size_t size), (a, data, size))
KESTRIN_DELAYED(Archive, int, archive_write_free, (Handle * a), (a))
KESTRIN_DELAYED(Archive, int, archive_write_header, (Handle * a, Entry* e), (a, e))
KESTRIN_DELAYED(Archive, Handle*, archive_write_new, (), ())
KESTRIN_DELAYED(Archive, int, archive_write_open2,
                (Handle * a, void* data, archive_open_callback* open, archive_write_callback* write,
                 archive_close_callback* close, archive_free_callback* free),
                (a, data, open, write, close, free))
KESTRIN_DELAYED(Archive, int, archive_write_set_bytes_per_block, (Handle * a, int bytes), (a, bytes))
KESTRIN_DELAYED(Archive, int, archive_write_set_format_zip, (Handle * a), (a))
KESTRIN_DELAYED(Archive, int, archive_write_set_options, (Handle * a, const char* options), (a, options))
KESTRIN_DELAYED(Archive, int, archive_write_zip_set_compression_deflate, (Handle * a), (a))
KESTRIN_DELAYED(Archive, int, archive_write_zip_set_compression_store, (Handle * a), (a))

KESTRIN_DELAYED(Crypto, EVP_MD_CTX*, EVP_MD_CTX_new, (), ())
KESTRIN_DELAYED(Crypto, void, EVP_MD_CTX_free, (EVP_MD_CTX * context), (context))
KESTRIN_DELAYED(Crypto, const EVP_MD*, EVP_sha256, (), ())
KESTRIN_DELAYED(Crypto, int, EVP_DigestInit_ex, (EVP_MD_CTX * context, const EVP_MD* type, ENGINE* engine),
                (context, type, engine))
KESTRIN_DELAYED(Crypto, int, EVP_DigestUpdate, (EVP_MD_CTX * context, const void* data, size_t size),
                (context, data, size))
KESTRIN_DELAYED(Crypto, int, EVP_DigestFinal_ex, (EVP_MD_CTX * context, unsigned char* digest, unsigned int* size),
                (context, digest, size))
