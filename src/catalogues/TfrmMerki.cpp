#include "catalogues/TfrmMerki.h"

#include "catalogues/UnitChecks.h"
#include "core/Tdm.h"
#include "data/Counters.h"
#include "db/Dataset.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"

#include <QAction>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QShortcut>

namespace {

// The base unit's name is read and the formula text made here: the
// server's own text for a double ("12.000000") is not what users read.
const char *const kList =
    "select m1.MERKI_ID, m1.MERKI_NAME, m1.MERKI_ZNAK, m1.MERKI_ISBASE, m1.MERKI_KOL, m1.MERKI_BASE_ID, "
    "m2.MERKI_NAME as BASE_NAME from MERKI m1 LEFT OUTER JOIN MERKI m2 ON(m1.MERKI_BASE_Id=m2.MERKI_ID) "
    "where (m1.MERKI_ID <> -1) order by m1.MERKI_NAME";
const char *const kRow =
    "select m1.MERKI_ID, m1.MERKI_NAME, m1.MERKI_ZNAK, m1.MERKI_ISBASE, m1.MERKI_KOL, m1.MERKI_BASE_ID, "
    "m2.MERKI_NAME as BASE_NAME from MERKI m1 LEFT OUTER JOIN MERKI m2 ON(m1.MERKI_BASE_Id=m2.MERKI_ID) "
    "where m1.MERKI_ID = :MERKI_ID";
const char *const kInsert =
    "insert into MERKI (MERKI_ID, MERKI_NAME, MERKI_ZNAK, MERKI_ISBASE, MERKI_KOL, MERKI_BASE_ID) "
    "values (:MERKI_ID, :MERKI_NAME, :MERKI_ZNAK, :MERKI_ISBASE, :MERKI_KOL, :MERKI_BASE_ID)";
const char *const kUpdate =
    "update MERKI set MERKI_ID = :MERKI_ID, MERKI_NAME = :MERKI_NAME, MERKI_ZNAK = :MERKI_ZNAK, "
    "MERKI_ISBASE = :MERKI_ISBASE, MERKI_KOL = :MERKI_KOL, MERKI_BASE_ID = :MERKI_BASE_ID "
    "where MERKI_ID = :OLD_MERKI_ID";
const char *const kDelete = "delete from MERKI where MERKI_ID = :OLD_MERKI_ID";

bool isBuiltInUnit(const QVariant &id)
{
    return !id.isNull() && id.toInt() >= 1 && id.toInt() <= 7;
}

} // namespace

TfrmMerki::TfrmMerki(QWidget *owner)
    : TfrmBaseVXGrid(owner)
    , m_qMain(dm().createDataset(QString::fromLatin1(kList)))
{
    setObjectName(QStringLiteral("frmMerki"));
    ShowPrint = true;
    AllowFilter = false;
    KeyField = QStringLiteral("MERKI_ID");
    SettingsPrefix = QStringLiteral("MERKI");
    BaseCaption = QStringLiteral("Мерки");
    setWindowTitle(BaseCaption);
    ShowSearch = false;
    BuildToolbar();

    m_qMain->setParent(this);
    m_qMain->setInsertSql(QString::fromLatin1(kInsert));
    m_qMain->setUpdateSql(QString::fromLatin1(kUpdate));
    m_qMain->setDeleteSql(QString::fromLatin1(kDelete));
    m_qMain->setRefreshSql(QString::fromLatin1(kRow));
    m_qMain->setUsageChecks(QStringLiteral("мярката"), QStringLiteral("MERKI_ID"),
                            {{QStringLiteral("NOM"), {QStringLiteral("NOM_MERKI_ID1"), QStringLiteral("NOM_MERKI_ID2")},
                              QStringLiteral("номенклатурата")}});
    m_qMain->addCalculatedField(QStringLiteral("MERKI_FORMULA"), [](const db::Dataset &units, int row) {
        const auto field = [&](const char *name) { return units.value(row, units.fieldIndex(QString::fromLatin1(name))); };
        return QVariant(formula(field("MERKI_ISBASE"), field("MERKI_KOL"), field("BASE_NAME")));
    });
    m_qMain->beforePost = [this](db::Dataset &units) { checkAndFillKeys(units); };
    m_qMain->afterPost = [](db::Dataset &) { dm().RefreshDataSet(dm().qMerki(), QStringLiteral("MERKI_ID")); };

    setDataset(*m_qMain, {{QStringLiteral("MERKI_NAME"), QStringLiteral("Наименование"), 260, true},
                          {QStringLiteral("MERKI_ZNAK"), QStringLiteral("Означение"), 120, true},
                          {QStringLiteral("MERKI_FORMULA"), QStringLiteral("Формула"), 160, false}});

    editGroup()->setTitle(QStringLiteral(" Данни за мерна единица "));
    m_name = new DBEdit(editGroup());
    m_name->setObjectName(QStringLiteral("edtName"));
    m_name->bind(*m_qMain, QStringLiteral("MERKI_NAME"));
    m_sign = new DBEdit(editGroup());
    m_sign->setObjectName(QStringLiteral("edtSign"));
    m_sign->bind(*m_qMain, QStringLiteral("MERKI_ZNAK"));
    editFields()->addRow(QStringLiteral("Пълно наименование"), m_name);
    editFields()->addRow(QStringLiteral("Означение"), m_sign);

    // F2, F3 and F4 act on the list only while no row is being edited.
    actnEdit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    const auto listKey = [this](Qt::Key key, QAction *action) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, [this, action] {
            if (!isEditingDataset() && action->isEnabled())
                action->trigger();
        });
    };
    listKey(Qt::Key_F2, actnNew);
    listKey(Qt::Key_F3, actnEdit);
    listKey(Qt::Key_F4, actnDelete);

    connect(Grid()->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this] { runGuarded(this, [this] { RefreshList(); }); });

    m_qMain->open();
}

TfrmMerki::~TfrmMerki() = default;

QString TfrmMerki::formula(const QVariant &isBase, const QVariant &factor, const QVariant &baseName)
{
    if (isBase.toInt() == 1)
        return QStringLiteral("Базова");
    if (factor.isNull() || baseName.isNull())
        return QString();
    return QStringLiteral("= %1 * %2").arg(QString::number(factor.toDouble(), 'g', 10), baseName.toString());
}

QWidget *TfrmMerki::firstEditor() const
{
    return m_name;
}

bool TfrmMerki::isBuiltIn() const
{
    return !m_qMain->isEmpty() && isBuiltInUnit(m_qMain->value(QStringLiteral("MERKI_ID")));
}

void TfrmMerki::NewExecute()
{
    TfrmBaseVXGrid::NewExecute();
    m_currentUnitId = dm().NewCounterValue(data::CounterMerki);
}

void TfrmMerki::EditExecute()
{
    if (isBuiltIn())
        return;
    m_qMain->edit();
    m_currentUnitId = m_qMain->value(QStringLiteral("MERKI_ID")).toInt();
    m_name->setFocus();
}

bool TfrmMerki::DeleteVeto()
{
    if (!isBuiltIn())
        return false;
    MessageDlg(QStringLiteral("Записът не може да бъде изтрит, тъй като се използва за базова мярка!"),
               TMsgDlgType::mtError, mbOK);
    return true;
}

void TfrmMerki::checkAndFillKeys(db::Dataset &units)
{
    checkUnitFilled(units.value(QStringLiteral("MERKI_NAME")).toString(), units.value(QStringLiteral("MERKI_ZNAK")).toString());
    if (units.value(QStringLiteral("MERKI_ID")).isNull())
        units.setValue(QStringLiteral("MERKI_ID"), m_currentUnitId);
    if (units.value(QStringLiteral("MERKI_BASE_ID")).isNull())
        units.setValue(QStringLiteral("MERKI_BASE_ID"), m_currentUnitId);
}
