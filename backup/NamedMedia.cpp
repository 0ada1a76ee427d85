#include "backup/NamedMedia.h"

#include "media/MediaStore.h"

namespace NamedMedia {

NamedMediaProvider defaultProvider()
{
    return [](const QSqlDatabase& db) { return MediaStore::namesInUse(db); };
}

} // namespace NamedMedia
