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
const char *const kUpdateMruItems = "EXECUTE PROCEDURE UPDATE_MRU_ITEMS :MRU_ID, :MRU_VAL, :MAX_VALS";
} // namespace

Tdm::Tdm(MessageSink &messages)
    : TBaseDM(messages)
    , m_qMerki(createDataset(QString::fromLatin1(kUnitsList)))
{
    host.clear();
}

Tdm::~Tdm()
{
    CloseLookups();
}

bool Tdm::OpenLookups()
{
    m_qMerki->open();
    return true;
}

void Tdm::CloseLookups()
{
    m_qMerki->close();
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
    const SchemaResult upgraded = failsWith(SchemaResult::UpgradeFailed, [this] {
        const int version = SchemaVersion();
        if (version >= data::kTargetSchemaVersion)
            return true;
        if (!UpgradeSchema(version))
            return false;
        SetConfigById(kDbVersionKey, QString::number(data::kTargetSchemaVersion));
        return true;
    });
    if (upgraded != SchemaResult::Ready)
        return upgraded;
    return failsWith(SchemaResult::GrantsFailed, [this] {
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
