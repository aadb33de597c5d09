#pragma once

#include "core/TBaseDM.h"
#include "data/SchemaUpgrade.h"
#include "data/StockLookups.h"

#include <vector>

// The application's data module: the base module plus the schema upgrade,
// the counters, the stock and price look-ups and the clearing of data.
class Tdm : public TBaseDM
{
public:
    explicit Tdm(MessageSink &messages);
    ~Tdm() override;

    bool OpenLookups() override;
    void CloseLookups() override;
    // The shared look-up lists behind the drop-downs and look-up columns of
    // every window, open while the connection is.
    db::Dataset &qMerki() { return *m_qMerki; }
    // Goods; narrowed to a category by the parameters Is_filtered and CAT_ID.
    db::Dataset &qNom() { return *m_qNom; }
    db::Dataset &qAmbalaj() { return *m_qAmbalaj; }
    db::Dataset &qKontr() { return *m_qKontr; }
    db::Dataset &qTranzTypes() { return *m_qTranzTypes; }
    // Settlements and categories are edited in place: a new row gets its key
    // from its counter (and a settlement country 1).
    db::Dataset &qCities() { return *m_qCities; }
    db::Dataset &qContactTypes() { return *m_qContactTypes; }
    db::Dataset &qCategory() { return *m_qCategory; }
    // Adds a settlement to the shared list and returns its new ID.
    int AddCity(int countryId, const QString &name);
    // Like FindText over one field, comparing the field's own text.
    bool FindFieldText(db::Dataset &dataset, const QString &field, const QString &text, bool skipCurrent);
    bool FindFieldTextFromFirst(db::Dataset &dataset, const QString &field, const QString &text);

    // The stored schema version (key 101); 10000 when missing or unreadable.
    int SchemaVersion();
    // Upgrades a database below the current version and records the
    // version; grants the table rights after an upgrade or when they are
    // missing.
    SchemaResult PrepareSchema() override;
    bool UpgradeSchema(int version, int target = data::kTargetSchemaVersion);
    // Throws the message and caption start-up shows for a failed result.
    static void CheckSchemaResult(SchemaResult result);
    // Rights for SYSDBA and for the configured database user.
    bool GrantTableRights();

    // A reset, like the deletion of all data, is refused while other
    // connections are open (varnex::Error naming how many).
    void AdjustCounters(data::CounterAdjustment adjustment = data::CounterAdjustment::Reset) override;
    void DeleteAllData() override;
    void DeleteDocument(int documentId);

    double LastPrice(int goodsId, int counterpartyId);
    double SellPrice(int goodsId);
    double LastDiscount(int goodsId, int counterpartyId);
    double StockOnHand(int goodsId);
    void UpdateTranz_Izneseno(const data::ColumnValues &lineKeys, double taken);
    void UpdateTranz_Plateno(int documentId, double paid);

    // Makes a value the most recent one of a recently-used list.
    void AddRecentValue(int listId, const QString &value, int maxCount);

private:
    std::vector<db::Dataset *> lookups() const;

    std::unique_ptr<db::Dataset> m_qMerki;
    std::unique_ptr<db::Dataset> m_qNom;
    std::unique_ptr<db::Dataset> m_qAmbalaj;
    std::unique_ptr<db::Dataset> m_qKontr;
    std::unique_ptr<db::Dataset> m_qTranzTypes;
    std::unique_ptr<db::Dataset> m_qCities;
    std::unique_ptr<db::Dataset> m_qContactTypes;
    std::unique_ptr<db::Dataset> m_qCategory;
};

// The program's one data module ("dm"), reached by every window.
Tdm &dm();
// Installs it (start-up, and tests for their own database).
void SetDataModule(Tdm *module);
