#pragma once

#include "database/DataAccessManager.h"
#include "database/EntitySettings.h"

#include <QHash>

class SqlConnection;

// "DataAccessManager.DAMMain" over Qt SQL. LoadParameters reads the connection
// configuration (ConnectionSettings); without one it uses the embedded SQLite databases
// in the user's data folder, creating them on first use. Each entity has one open
// connection, handed out again on every call.
class DAMMain : public DataAccessManager {
public:
    DAMMain();
    ~DAMMain() override;

    void LoadParameters() override;
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &entity) override;
    QString getDataConnectionTAG(const QString &entity) override;
    EntitySettings getDataConnectionOrigen(const QString &entity) override;

    // Instead of LoadParameters: both entities on the embedded databases in folder,
    // created there when missing (benchmarks, tools).
    void loadEmbedded(const QString &folder);

    // The settings LoadParameters arrived at for an entity (for diagnostics and tests).
    EntitySettings settings(const QString &entity) const;

private:
    struct Entry {
        EntitySettings settings;
        std::shared_ptr<SqlConnection> connection;
    };

    const Entry &entry(const QString &entity) const;
    std::shared_ptr<SqlConnection> open(const EntitySettings &settings) const;
    void openAll(const QHash<QString, EntitySettings> &all);
    static QHash<QString, EntitySettings> embeddedSettings(const QString &folder);

    QString m_connectionPrefix;
    QHash<QString, Entry> m_entities;
};
