#include "data/DatabaseLocation.h"
#include "data/Database.h"

#include "common/DataSource.h"

namespace DatabaseLocation {

Result choose(const QString& databaseFolder, const ServerConfig& config, const QString& password)
{
    if (config.usesServer()) {
        if (!password.isEmpty()) {
            if (Result r = PgPass::store(config, password); !r)
                return r;
        }
        if (Result r = Database::testServer(config); !r)
            return r;
    }
    if (Result r = config.write(ServerConfig::fileIn(databaseFolder)); !r)
        return r;
    if (config.usesServer())
        return DataSource::registerServerDataSource(DataSource::Name, config);
    return {};
}

} // namespace DatabaseLocation
