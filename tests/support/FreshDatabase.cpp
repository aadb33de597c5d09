#include "support/FreshDatabase.h"

#include "core/DatabaseInstaller.h"

#include <stdexcept>

namespace testing_support {

FreshDatabase::FreshDatabase(int version)
    : m_path(m_dir.path(QStringLiteral("test.fdb")))
{
    installDatabase(m_path, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"), version);
}

std::unique_ptr<Tdm> FreshDatabase::connect()
{
    auto dm = std::make_unique<Tdm>(messages);
    dm->setDatabase(m_path);
    dm->ApplyConnectionConfig();
    if (!dm->Connect())
        throw std::runtime_error("cannot connect to the test database");
    return dm;
}

} // namespace testing_support
