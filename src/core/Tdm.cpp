#include "core/Tdm.h"

#include "data/DatabaseClearing.h"
#include "data/OtherConnections.h"
#include "db/Dataset.h"
#include "util/Error.h"

#include <QDebug>

#include <functional>

namespace {
Tdm *g_dm = nullptr;
const int kDbVersionKey = 101;
const char *const kUnitsList = "select * from MERKI  where MERKI_ID <> -1 order by MERKI_NAME";
const char *const kGoodsList = "select * from NOM where (NOM_ID <> -1) and ((0= :Is_filtered) or "
                               "(NOM_CATEGORY_ID=:CAT_ID)) order by NOM_CODE,NOM_NAME";
const char *const kPackagingList = "Select * from NOM where (NOM_AMBALAJ=1) Order by NOM_NAME";
const char *const kCounterpartiesList = "Select * from KONTR where (KONTR_ID > 0) Order by KONTR_CODE,KONTR_NAME";
const char *const kDocumentTypesList = "select * from TRANZ_TYPES";
const char *const kSettlementsList = "select * from CITIES ORDER BY NAME";
const char *const kSettlementRow = "select * from CITIES where ID = :ID";
const char *const kInsertSettlement = "insert into CITIES (ID, COUNTRY_ID, NAME) values (:ID, :COUNTRY_ID, :NAME)";
const char *const kUpdateSettlement =
    "update CITIES set ID = :ID, COUNTRY_ID = :COUNTRY_ID, NAME = :NAME where ID = :OLD_ID";
const char *const kDeleteSettlement = "delete from CITIES where ID = :OLD_ID";
const char *const kContactTypesList = "select * from CONTACTINFO_TYPES";
const char *const kCategoriesList = "select * from CATEGORY where ID <> 0 order by ID,NAME";
const char *const kCategoryRow = "select * from CATEGORY where ID = :ID";
const char *const kInsertCategory = "insert into CATEGORY (CODE, ID, NAME) values (:CODE, :ID, :NAME)";
const char *const kUpdateCategory = "update CATEGORY set CODE = :CODE, ID = :ID, NAME = :NAME where ID = :OLD_ID";
const char *const kDeleteCategory = "delete from CATEGORY where ID = :OLD_ID";
const char *const kUpdateMruItems = "EXECUTE PROCEDURE UPDATE_MRU_ITEMS :MRU_ID, :MRU_VAL, :MAX_VALS";
} // namespace

Tdm::Tdm(MessageSink &messages)
    : TBaseDM(messages)
    , m_qMerki(createDataset(QString::fromLatin1(kUnitsList)))
    , m_qNom(createDataset(QString::fromLatin1(kGoodsList)))
    , m_qAmbalaj(createDataset(QString::fromLatin1(kPackagingList)))
    , m_qKontr(createDataset(QString::fromLatin1(kCounterpartiesList)))
    , m_qTranzTypes(createDataset(QString::fromLatin1(kDocumentTypesList)))
    , m_qCities(createDataset(QString::fromLatin1(kSettlementsList)))
    , m_qContactTypes(createDataset(QString::fromLatin1(kContactTypesList)))
    , m_qCategory(createDataset(QString::fromLatin1(kCategoriesList)))
{
    host.clear();
    m_qNom->setParam(QStringLiteral("Is_filtered"), 0);
    m_qNom->setParam(QStringLiteral("CAT_ID"), QVariant());

    m_qCities->setRefreshSql(QString::fromLatin1(kSettlementRow));
    m_qCities->setInsertSql(QString::fromLatin1(kInsertSettlement));
    m_qCities->setUpdateSql(QString::fromLatin1(kUpdateSettlement));
    m_qCities->setDeleteSql(QString::fromLatin1(kDeleteSettlement));
    // A name of blanks only reads as no name in every drop-down; it is
    // refused before a counter value is spent on the row.
    const auto requireName = [](db::Dataset &list, const QString &title) {
        if (list.value(QStringLiteral("NAME")).toString().trimmed().isEmpty())
            throw db::FieldError(QStringLiteral("Полето \"%1\" трябва да бъде попълнено").arg(title), QStringLiteral("NAME"));
    };

    m_qCities->beforePost = [this, requireName](db::Dataset &cities) {
        requireName(cities, QStringLiteral("Населено място"));
        if (cities.value(QStringLiteral("ID")).isNull())
            cities.setValue(QStringLiteral("ID"), NewCounterValue(data::CounterCities));
        if (cities.value(QStringLiteral("COUNTRY_ID")).isNull())
            cities.setValue(QStringLiteral("COUNTRY_ID"), 1);
    };
    m_qCities->setUsageChecks(QStringLiteral("населеното място"), QStringLiteral("NAME"),
                              {{QStringLiteral("KONTR"), {QStringLiteral("KONTR_CITY")}, QStringLiteral("контрагентите")}});

    m_qCategory->setRefreshSql(QString::fromLatin1(kCategoryRow));
    m_qCategory->setInsertSql(QString::fromLatin1(kInsertCategory));
    m_qCategory->setUpdateSql(QString::fromLatin1(kUpdateCategory));
    m_qCategory->setDeleteSql(QString::fromLatin1(kDeleteCategory));
    m_qCategory->beforePost = [this, requireName](db::Dataset &categories) {
        requireName(categories, QStringLiteral("Наименование"));
        if (categories.value(QStringLiteral("ID")).isNull())
            categories.setValue(QStringLiteral("ID"), NewCounterValue(data::CounterCategory));
    };
    m_qCategory->setUsageChecks(QStringLiteral("категорията"), QStringLiteral("ID"),
                                {{QStringLiteral("NOM"), {QStringLiteral("NOM_CATEGORY_ID")}, QStringLiteral("номенклатурата")}});
}

Tdm::~Tdm()
{
    CloseLookups();
}

std::vector<db::Dataset *> Tdm::lookups() const
{
    return {m_qMerki.get(), m_qNom.get(),    m_qAmbalaj.get(),      m_qKontr.get(),
            m_qTranzTypes.get(), m_qCities.get(), m_qContactTypes.get(), m_qCategory.get()};
}

bool Tdm::OpenLookups()
{
    for (db::Dataset *list : lookups())
        list->open();
    return true;
}

void Tdm::CloseLookups()
{
    for (db::Dataset *list : lookups())
        list->close();
}

int Tdm::AddCity(int countryId, const QString &name)
{
    m_qCities->append();
    m_qCities->setValue(QStringLiteral("COUNTRY_ID"), countryId);
    m_qCities->setValue(QStringLiteral("NAME"), name);
    m_qCities->post();
    return m_qCities->value(QStringLiteral("ID")).toInt();
}

bool Tdm::FindFieldText(db::Dataset &dataset, const QString &field, const QString &text, bool skipCurrent)
{
    const int index = dataset.requireField(field);
    const QString wanted = text.toUpper();
    return findRow(
        dataset, [&](int row) { return dataset.value(row, index).toString().toUpper().contains(wanted); },
        skipCurrent);
}

bool Tdm::FindFieldTextFromFirst(db::Dataset &dataset, const QString &field, const QString &text)
{
    dataset.first();
    return FindFieldText(dataset, field, text, false);
}

int Tdm::SchemaVersion()
{
    bool ok = false;
    const int version = GetConfigById(kDbVersionKey).trimmed().toInt(&ok);
    return ok ? version : data::kFirstSchemaVersion;
}

Tdm::SchemaResult Tdm::PrepareSchema()
{
    // A database that is not ours (no configuration table, a damaged page)
    // fails as an upgrade would, before anything in it is changed.
    const auto failsWith = [](SchemaResult failure, const std::function<bool()> &step) {
        try {
            return step() ? SchemaResult::Ready : failure;
        } catch (const varnex::Error &error) {
            qWarning().noquote() << "The schema could not be prepared:" << error.message() << error.detail();
            return failure;
        }
    };
    // Rights are given after an upgrade, and otherwise only when the
    // configured user lacks some: granting at every start cost a server
    // round trip per table.
    bool upgradedNow = false;
    const SchemaResult upgraded = failsWith(SchemaResult::UpgradeFailed, [this, &upgradedNow] {
        const int version = SchemaVersion();
        if (version >= data::kTargetSchemaVersion)
            return true;
        if (!UpgradeSchema(version))
            return false;
        SetConfigById(kDbVersionKey, QString::number(data::kTargetSchemaVersion));
        upgradedNow = true;
        return true;
    });
    if (upgraded != SchemaResult::Ready)
        return upgraded;
    return failsWith(SchemaResult::GrantsFailed, [this, upgradedNow] {
        if (!upgradedNow && data::hasTableRights(*this, user))
            return true;
        if (!GrantTableRights())
            return false;
        CommitRetaining();
        return true;
    });
}

void Tdm::CheckSchemaResult(SchemaResult result)
{
    if (result != SchemaResult::Ready)
        throw varnex::Error(SchemaFailureCaption(result) + QLatin1String(": ") + SchemaFailureText());
}

bool Tdm::UpgradeSchema(int version, int target)
{
    // Start-up upgrades while other workstations may be connected; then the
    // counters are only raised, so the upgrade goes through instead of being
    // refused.
    return data::upgradeSchema(
        *this, version,
        [this] {
            AdjustCounters(data::otherConnections(database()) == 0 ? data::CounterAdjustment::Reset
                                                                   : data::CounterAdjustment::RaiseOnly);
        },
        target);
}

bool Tdm::GrantTableRights()
{
    return data::grantTableRights(*this, user);
}

void Tdm::AdjustCounters(data::CounterAdjustment adjustment)
{
    if (adjustment == data::CounterAdjustment::Reset)
        data::requireSoleConnection(database());
    data::adjustCounters(*this, adjustment);
}

void Tdm::DeleteAllData()
{
    data::requireSoleConnection(database());
    data::deleteAllData(*this);
}

void Tdm::DeleteDocument(int documentId)
{
    data::deleteDocument(*this, documentId);
}

double Tdm::LastPrice(int goodsId, int counterpartyId)
{
    return data::lastPrice(*this, goodsId, counterpartyId);
}

double Tdm::SellPrice(int goodsId)
{
    return data::sellPrice(*this, goodsId);
}

double Tdm::LastDiscount(int goodsId, int counterpartyId)
{
    return data::lastDiscount(*this, goodsId, counterpartyId);
}

double Tdm::StockOnHand(int goodsId)
{
    return data::stockOnHand(*this, goodsId);
}

void Tdm::UpdateTranz_Izneseno(const data::ColumnValues &lineKeys, double taken)
{
    data::UpdateTranz_Izneseno(*this, lineKeys, taken);
}

void Tdm::UpdateTranz_Plateno(int documentId, double paid)
{
    data::UpdateTranz_Plateno(*this, documentId, paid);
}

void Tdm::AddRecentValue(int listId, const QString &value, int maxCount)
{
    ExecSQL(QString::fromLatin1(kUpdateMruItems), {{QStringLiteral("MRU_ID"), listId},
                                                   {QStringLiteral("MRU_VAL"), value},
                                                   {QStringLiteral("MAX_VALS"), maxCount}});
}

Tdm &dm()
{
    if (!g_dm)
        throw varnex::Error(QStringLiteral("Няма връзка с базата данни."));
    return *g_dm;
}

void SetDataModule(Tdm *module)
{
    g_dm = module;
}
