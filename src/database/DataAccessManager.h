#pragma once

#include "core/Component.h"
#include "database/DatabaseConnection.h"
#include "database/EntitySettings.h"

#include <QString>
#include <memory>

// "DataAccessManager.DAMMain": hands out database connections by entity name
// ("CATALOGOS", "SYSTABLAS").
class DataAccessManager : public Component {
public:
    // Reads the configuration; called once, before any other member.
    virtual void LoadParameters() = 0;
    // The same connection object for consecutive calls with the same entity.
    virtual std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &entity) = 0;
    // "SQL" or "ACCESS": the kind of database behind the entity.
    virtual QString getDataConnectionTAG(const QString &entity) = 0;
    // Which database stands behind the entity: driver, server, port, database and user, never
    // a password. Empty where the component cannot tell.
    virtual EntitySettings getDataConnectionOrigen(const QString & /*entity*/) { return {}; }
};
