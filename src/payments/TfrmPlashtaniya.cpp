#include "payments/TfrmPlashtaniya.h"

#include "core/Tdm.h"
#include "db/Dataset.h"
#include "invoicing/DocumentCurrency.h"
#include "payments/TfrmDoplashtane.h"
#include "ui/DataGrid.h"
#include "ui/DateKeys.h"
#include "ui/ErrorGuard.h"
#include "ui/GridPrint.h"
#include "util/Error.h"

#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kCounterparty = QStringLiteral("TRANZ_KONT_ID");

QString ageingField(int bucket)
{
    return QStringLiteral("AGEING%1").arg(bucket);
}

std::vector<GridColumn> moneyColumns(const QString &name, const QString &sum, const QString &paid, const QString &open)
{
    std::vector<GridColumn> columns = {{QStringLiteral("KONTR_NAME"), name, 220, true},
                                       {QStringLiteral("SUMA"), sum, 90, true},
                                       {QStringLiteral("PLATENO"), paid, 90, true},
                                       {QStringLiteral("RAZLIKA"), open, 90, true}};
    for (int bucket = 0; bucket < payments::AgeingBucketCount; ++bucket)
        columns.push_back({ageingField(bucket), payments::ageingCaption(payments::AgeingBucket(bucket)), 90, true});
    return columns;
}

std::vector<GridColumn> goodsColumns(const QString &taken, const QString &open)
{
    return {{QStringLiteral("KONTR_NAME"), QStringLiteral("Контрагент"), 200, true},
            {QStringLiteral("NOM_NAME"), QStringLiteral("Артикул"), 200, true},
            {QStringLiteral("SUMKOL1"), QStringLiteral("Общо кол."), 80, true},
            {QStringLiteral("MERKI_ZNAK"), QStringLiteral("Мярка"), 60, true},
            {QStringLiteral("SUMIZNESENO"), taken, 80, true},
            {QStringLiteral("RAZLIKA"), open, 80, true}};
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString csvText(const GridPrintContent &content)
{
    QStringList header;
    for (const GridColumn &column : content.columns)
        header << csvField(column.title);
    QString text = header.join(QLatin1Char(';')) + QLatin1String("\r\n");
    for (const QStringList &row : content.rows) {
        QStringList fields;
        for (const QString &value : row)
            fields << csvField(value);
        text += fields.join(QLatin1Char(';')) + QLatin1String("\r\n");
    }
    return text;
}

TfrmPlashtaniya::TfrmPlashtaniya(QWidget *owner)
    : TfrmBaseForm(owner)
    , m_pages(new QTabWidget(this))
    , m_print(new QPushButton(QStringLiteral("Печат"), this))
    , m_csv(new QPushButton(QStringLiteral("CSV"), this))
    , m_close(new QPushButton(QStringLiteral("Връщане"), this))
{
    setObjectName(QStringLiteral("frmPlashtaniya"));
    setWindowTitle(QStringLiteral("Вземания - Давания"));
    resize(900, 520);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_print);
    buttons->addWidget(m_csv);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    m_page[OwedMoney].documentType = payments::kDeliveryType;
    m_page[DueMoney].documentType = payments::kSaleType;
    m_page[OwedGoods].documentType = payments::kDeliveryType;
    m_page[DueGoods].documentType = payments::kSaleType;
    m_page[OwedMoney].money = m_page[DueMoney].money = true;
    // The sum of what was sold is shown in the currency the database keeps.
    const QString sumCaption = QStringLiteral("Сума ") + invoicing::DocumentCurrency::ofDatabase(dm()).sign();
    buildPage(OwedMoney, QStringLiteral("Задължения в пари [F1]"),
              moneyColumns(QStringLiteral("Доставчик"), QStringLiteral("Сума"), QStringLiteral("Платено"),
                           QStringLiteral("За плащане")));
    buildPage(DueMoney, QStringLiteral("Вземания в пари [F2]"),
              moneyColumns(QStringLiteral("Купувач"), sumCaption, QStringLiteral("Взето"),
                           QStringLiteral("За вземане")));
    buildPage(OwedGoods, QStringLiteral("Задължения в стоки [F3]"),
              goodsColumns(QStringLiteral("Дадено"), QStringLiteral("За даване")));
    buildPage(DueGoods, QStringLiteral("Вземания в стоки [F4]"),
              goodsColumns(QStringLiteral("Взето"), QStringLiteral("За вземане")));

    const int keys[] = {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5};
    for (int page = 0; page < PageCount; ++page) {
        auto *shortcut = new QShortcut(QKeySequence(keys[page]), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, page] { m_pages->setCurrentIndex(page); });
    }
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_print, &QPushButton::clicked, this, [this] {
        const int page = m_pages->currentIndex();
        runGuarded(this, [&] { PrintGrid(*m_page[page].grid, m_pages->tabText(page), m_page[page].money); });
    });
    connect(m_csv, &QPushButton::clicked, this, [this] { runGuarded(this, [&] { exportCsv(); }); });

    runSettle = [this](int type, int counterparty, int goods, double outstanding, const QDate &toDate) {
        TfrmDoplashtane dialog(this);
        if (goods < 0)
            dialog.settleMoney(type, counterparty, toDate);
        else
            dialog.settleGoods(type, counterparty, goods, outstanding, toDate);
    };
    askCsvPath = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Запис като CSV"), QString(),
                                            QStringLiteral("CSV (*.csv)"));
    };

    for (int page = 0; page < PageCount; ++page) {
        m_page[page].date->setDate(QDate::currentDate());
        allChosen(page, false);
    }
    for (int page = 0; page < PageCount; ++page) {
        if (m_page[page].money)
            readAgeing(page);
        m_page[page].list->open();
    }
}

TfrmPlashtaniya::~TfrmPlashtaniya() = default;

void TfrmPlashtaniya::buildPage(int page, const QString &caption, const std::vector<GridColumn> &columns)
{
    PageParts &parts = m_page[page];
    auto *widget = new QWidget(m_pages);
    auto *layout = new QVBoxLayout(widget);
    auto *filter = new QHBoxLayout;
    parts.all = new QRadioButton(QStringLiteral("Всички"), widget);
    parts.dueBy = new QRadioButton(QStringLiteral("падеж до"), widget);
    parts.date = new QDateEdit(widget);
    parts.date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateKeys::install(parts.date);
    parts.all->setChecked(true);
    filter->addWidget(parts.all);
    filter->addWidget(parts.dueBy);
    filter->addWidget(parts.date);
    filter->addStretch(1);
    layout->addLayout(filter);
    parts.grid = new DataGrid(widget);
    layout->addWidget(parts.grid, 1);
    m_pages->addTab(widget, caption);

    parts.list = dm().createDataset(parts.money ? payments::moneyListSql() : payments::goodsListSql(parts.documentType));
    if (parts.money) {
        for (int bucket = 0; bucket < payments::AgeingBucketCount; ++bucket)
            parts.list->addCalculatedField(ageingField(bucket), [this, page, bucket](const db::Dataset &list, int row) {
                const auto found = m_page[page].ageing.constFind(list.value(row, list.requireField(kCounterparty)).toInt());
                return found == m_page[page].ageing.constEnd() ? QVariant(0.0) : QVariant(found.value()[bucket]);
            });
    }
    for (const GridColumn &column : columns)
        if (column.field != QLatin1String("KONTR_NAME") && column.field != QLatin1String("NOM_NAME")
            && column.field != QLatin1String("MERKI_ZNAK"))
            parts.list->setDisplayFormat(column.field, QStringLiteral("0.00"));
    parts.grid->bind(*parts.list, columns);
    parts.grid->setEditable(false);
    parts.grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    parts.grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    parts.grid->installEventFilter(this);
    connect(parts.grid, &QAbstractItemView::doubleClicked, this, [this] { settleCurrent(); });
    connect(parts.all, &QRadioButton::clicked, this, [this, page] { allChosen(page, true); });
    connect(parts.dueBy, &QRadioButton::clicked, this, [this, page] { dueByClicked(page); });
    connect(parts.date, &QDateEdit::dateChanged, this, [this, page] { dateChanged(page); });
}

void TfrmPlashtaniya::allChosen(int page, bool open)
{
    PageParts &parts = m_page[page];
    parts.date->setVisible(false);
    parts.toDate = payments::allDueDates();
    for (auto [name, value] : payments::listParams(parts.documentType, parts.toDate).asKeyValueRange())
        if (parts.list->selectSql().contains(QLatin1Char(':') + name))
            parts.list->setParam(name, value);
    if (open)
        reread(page);
}

void TfrmPlashtaniya::dueByClicked(int page)
{
    m_page[page].date->setVisible(m_page[page].dueBy->isChecked());
    dateChanged(page);
}

void TfrmPlashtaniya::dateChanged(int page)
{
    PageParts &parts = m_page[page];
    if (!parts.dueBy->isChecked())
        return;
    parts.toDate = parts.date->date();
    parts.list->setParam(QStringLiteral("ToDate"), parts.toDate);
    reread(page);
}

void TfrmPlashtaniya::readAgeing(int page)
{
    PageParts &parts = m_page[page];
    // Overdue is reckoned against the chosen due date, or today for all.
    const QDate asOf = parts.dueBy->isChecked() ? parts.toDate : QDate::currentDate();
    parts.ageing.clear();
    for (const QVariantList &row :
         dm().QueryRows(payments::ageingSql(), payments::ageingParams(parts.documentType, parts.toDate, asOf))) {
        std::array<double, payments::AgeingBucketCount> sums{};
        for (int bucket = 0; bucket < payments::AgeingBucketCount; ++bucket)
            sums[bucket] = row.at(bucket + 1).toDouble();
        parts.ageing.insert(row.at(0).toInt(), sums);
    }
}

void TfrmPlashtaniya::reread(int page)
{
    PageParts &parts = m_page[page];
    const QVariant counterparty =
        parts.list->isOpen() && !parts.list->isEmpty() ? parts.list->value(kCounterparty) : QVariant();
    if (parts.money)
        readAgeing(page);
    parts.list->close();
    parts.list->open();
    if (!counterparty.isNull())
        parts.list->locate({kCounterparty}, {counterparty});
}

void TfrmPlashtaniya::settleCurrent()
{
    const int page = m_pages->currentIndex();
    PageParts &parts = m_page[page];
    if (!parts.list->isOpen() || parts.list->isEmpty())
        return;
    const int counterparty = parts.list->value(kCounterparty).toInt();
    runGuarded(this, [&] {
        if (parts.money)
            runSettle(parts.documentType, counterparty, -1, 0, parts.toDate);
        else
            runSettle(parts.documentType, counterparty, parts.list->value(QStringLiteral("TRANZ_RED_NOM_ID")).toInt(),
                      parts.list->value(QStringLiteral("RAZLIKA")).toDouble(), parts.toDate);
    });
    reread(page);
}

GridPrintContent TfrmPlashtaniya::currentContent() const
{
    const int page = m_pages->currentIndex();
    return gridPrintContent(*m_page[page].grid, m_pages->tabText(page));
}

void TfrmPlashtaniya::exportCsv()
{
    const QString path = askCsvPath();
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + csvText(currentContent()).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw varnex::Error(QStringLiteral("Файлът %1 не може да бъде записан.").arg(path), file.errorString());
}

bool TfrmPlashtaniya::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && qobject_cast<DataGrid *>(watched)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            settleCurrent();
            return true;
        }
    }
    return TfrmBaseForm::eventFilter(watched, event);
}
