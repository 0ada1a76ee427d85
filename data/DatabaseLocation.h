#pragma once

#include "common/Result.h"
#include "common/ServerConfig.h"

#include <QString>

// Saves where the installation's records live. A server is tested before anything is saved;
// its password goes into ~/.pgpass, the rest into database/kestrin-server.ini, and the data
// source "kestrin" then names the server. A config without a server goes back to the local file.
namespace DatabaseLocation {

Result choose(const QString& databaseFolder, const ServerConfig& config, const QString& password = {});

} // namespace DatabaseLocation
