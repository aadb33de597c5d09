#include "documents/TfrmRevizia.h"

#include "core/Tdm.h"
#include "documents/StockCountRules.h"
#include "reportdata/CountSheets.h"
#include "reportview/TfrmReportPreview.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/TabOrder.h"
#include "util/Error.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char *const kCategories = "select ID, NAME from CATEGORY order by NAME";

enum Column { Code, Name, Unit, Book, Counted, Difference, ColumnCount };

QString quantityText(double value)
{
    return QLocale().toString(value, 'f', 3);
}

} // namespace

TfrmRevizia::TfrmRevizia(QWidget *owner)
    : TfrmBaseForm(owner)
    , m_count(dm())
{
    setObjectName(QStringLiteral("frmRevizia"));
    setWindowTitle(QStringLiteral("Ревизия"));
    auto *layout = new QVBoxLayout(this);

    auto *header = new QFormLayout;
    m_date = new QDateEdit(this);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    header->addRow(QStringLiteral("Дата на въвеждане"), m_date);
    m_note = new QLineEdit(this);
    m_note->setMaxLength(80);
    m_note->setToolTip(QStringLiteral("Напишете своите бележки отнасящи се към документа"));
    header->addRow(QStringLiteral("Забележка"), m_note);
    m_code = new QLineEdit(this);
    m_code->setPlaceholderText(QStringLiteral("Сканирайте или напишете код и натиснете Enter"));
    header->addRow(QStringLiteral("Код / баркод"), m_code);
    layout->addLayout(header);

    m_lines = new QTableWidget(0, ColumnCount, this);
    m_lines->setHorizontalHeaderLabels({QStringLiteral("Код"), QStringLiteral("Артикул"), QStringLiteral("Мярка"),
                                        QStringLiteral("По книга"), QStringLiteral("Преброено"),
                                        QStringLiteral("Разлика")});
    m_lines->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
    m_lines->verticalHeader()->hide();
    m_lines->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_lines, 1);
    m_total = new QLabel(this);
    layout->addWidget(m_total);

    auto *tools = new QHBoxLayout;
    m_category = new QComboBox(this);
    for (const QVariantList &row : dm().QueryRows(QString::fromLatin1(kCategories)))
        m_category->addItem(row.at(1).toString(), row.at(0));
    auto *zero = new QPushButton(QStringLiteral("Непреброените от категорията = 0"), this);
    auto *import = new QPushButton(QStringLiteral("Внос от CSV"), this);
    m_changing = {m_date, m_note, m_code, zero, import};
    m_showBook = new QCheckBox(QStringLiteral("С количеството по книга"), this);
    auto *sheet = new QPushButton(QStringLiteral("Лист за преброяване"), this);
    auto *result = new QPushButton(QStringLiteral("Резултат"), this);
    tools->addWidget(new QLabel(QStringLiteral("Категория"), this));
    tools->addWidget(m_category);
    tools->addWidget(zero);
    tools->addWidget(import);
    tools->addStretch();
    tools->addWidget(m_showBook);
    tools->addWidget(sheet);
    tools->addWidget(result);
    layout->addLayout(tools);

    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(QStringLiteral("Запис"), this);
    auto *post = new QPushButton(QStringLiteral("Осчетоводи"), this);
    m_changing << save << post;
    auto *cancel = new QPushButton(QStringLiteral("Отказ"), this);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(post);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    // After every command the code box is ready for the next scan.
    const auto guarded = [this](void (TfrmRevizia::*command)()) {
        return [this, command] {
            runGuarded(this, [this, command] { (this->*command)(); });
            m_code->setFocus();
        };
    };
    connect(m_code, &QLineEdit::returnPressed, this, guarded(&TfrmRevizia::ScanClick));
    connect(zero, &QPushButton::clicked, this, guarded(&TfrmRevizia::ZeroCategoryClick));
    connect(import, &QPushButton::clicked, this, guarded(&TfrmRevizia::ImportClick));
    connect(sheet, &QPushButton::clicked, this, guarded(&TfrmRevizia::PrintSheetClick));
    connect(result, &QPushButton::clicked, this, guarded(&TfrmRevizia::PrintResultClick));
    connect(save, &QPushButton::clicked, this, guarded(&TfrmRevizia::SaveClick));
    connect(post, &QPushButton::clicked, this, guarded(&TfrmRevizia::PostClick));
    connect(cancel, &QPushButton::clicked, this, &TfrmRevizia::reject);
    connect(m_lines, &QTableWidget::cellChanged, this, [this](int row, int column) {
        if (!m_showing)
            runGuarded(this, [&] { lineEdited(row, column); });
    });
    askImportPath = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Внос от CSV"), QDir::homePath(),
                                            QStringLiteral("CSV (*.csv *.txt);;Всички файлове (*)"));
    };
    // Enter belongs to the code box: a scanner ends every code with it, and
    // it must neither move on nor press a button.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);
    resize(900, 640);
    chainTabOrderByLayout(this);
}

bool TfrmRevizia::enterMovesFocus(QWidget *focused) const
{
    return focused != m_code && TfrmBaseForm::enterMovesFocus(focused);
}

void TfrmRevizia::NewDocument()
{
    m_count.create(QDate::currentDate());
    showCount();
    m_code->setFocus();
}

void TfrmRevizia::OpenDocument(int countId)
{
    m_count.open(countId);
    showCount();
    m_code->setFocus();
}

void TfrmRevizia::showCount(int current)
{
    m_showing = true;
    m_date->setDate(m_count.day());
    m_note->setText(m_count.note());
    const bool open = !m_count.posted();
    for (QWidget *control : std::as_const(m_changing))
        control->setEnabled(open);
    const std::vector<data::CountLine> &lines = m_count.lines();
    m_lines->setRowCount(int(lines.size()));
    for (int row = 0; row < int(lines.size()); ++row) {
        const data::CountLine &line = lines[size_t(row)];
        const QStringList texts{QStringLiteral("%1").arg(line.goods.code, 6, 10, QLatin1Char('0')), line.goods.name,
                                line.goods.unit, quantityText(line.book), quantityText(line.counted),
                                quantityText(documents::countDifference(line.book, line.counted))};
        for (int column = 0; column < ColumnCount; ++column) {
            auto *item = new QTableWidgetItem(texts.at(column));
            if (column >= Book)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (column != Counted || !open)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_lines->setItem(row, column, item);
        }
    }
    if (current >= 0 && current < m_lines->rowCount()) {
        m_lines->selectRow(current);
        m_lines->scrollToItem(m_lines->item(current, 0));
    }
    const documents::CountTotals totals = documents::countTotals(lines);
    m_total->setText(QStringLiteral("Преброени: %1 за %2 артикула%3")
                         .arg(quantityText(totals.counted))
                         .arg(lines.size())
                         .arg(m_count.posted() ? QStringLiteral("   (осчетоводена)") : QString()));
    m_showing = false;
}

void TfrmRevizia::takeHeader()
{
    if (m_count.posted())
        return;
    m_count.setDay(m_date->date());
    m_count.setNote(m_note->text());
}

void TfrmRevizia::ScanClick()
{
    const QString code = m_code->text().trimmed();
    if (code.isEmpty())
        return;
    takeHeader();
    // The box is emptied for the next scan whether the code was known or not.
    m_code->clear();
    showCount(m_count.scan(code));
}

void TfrmRevizia::lineEdited(int row, int column)
{
    if (column != Counted || row < 0 || row >= int(m_count.lines().size()))
        return;
    const int goodsId = m_count.lines()[size_t(row)].goods.goodsId;
    bool ok = false;
    const QString typed = m_lines->item(row, column)->text().trimmed();
    const double quantity = QLocale().toDouble(typed, &ok);
    const double fallback = ok ? quantity : typed.toDouble(&ok);
    try {
        if (!ok)
            throw varnex::Error(QStringLiteral("Моля, попълнете количество!"));
        m_count.setCounted(goodsId, fallback);
    } catch (...) {
        showCount(row);
        throw;
    }
    showCount(row);
}

void TfrmRevizia::SaveClick()
{
    takeHeader();
    const bool wasNew = m_count.id() == 0;
    m_count.save();
    m_storedNew = m_storedNew || wasNew;
    showCount();
}

void TfrmRevizia::PostClick()
{
    takeHeader();
    if (m_count.lines().empty())
        throw varnex::Error(QStringLiteral("Документът е празен! Въведете стоки!"));
    const QStringList moved = m_count.movedGoods();
    const QString question =
        moved.isEmpty()
            ? QStringLiteral("Да се осчетоводи ли ревизията? След това тя не може да се променя.")
            : QStringLiteral("След преброяването наличността на тези артикули е променена:\n%1\n\nРазликите ще се "
                             "изчислят спрямо новата наличност. Да се осчетоводи ли ревизията?")
                  .arg(moved.join(QLatin1Char('\n')));
    if (MessageDlg(question, TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    const bool wasNew = m_count.id() == 0;
    m_count.post();
    m_storedNew = m_storedNew || wasNew;
    showCount();
}

void TfrmRevizia::ImportClick()
{
    const QString path = askImportPath();
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw varnex::Error(QStringLiteral("Файлът %1 не може да се прочете.").arg(QDir::toNativeSeparators(path)));
    takeHeader();
    const auto imported = m_count.importFile(QString::fromUtf8(file.readAll()));
    showCount();
    QString report = QStringLiteral("Внесени: %1 артикула.").arg(imported.goods);
    if (!imported.unknownCodes.isEmpty())
        report += QStringLiteral("\n\nНепознати кодове (пропуснати):\n") + imported.unknownCodes.join(QLatin1Char('\n'));
    if (!imported.badRows.isEmpty())
        report += QStringLiteral("\n\nНеправилни редове (пропуснати):\n") + imported.badRows.join(QLatin1Char('\n'));
    MessageDlg(report,
               imported.unknownCodes.isEmpty() && imported.badRows.isEmpty() ? TMsgDlgType::mtInformation
                                                                              : TMsgDlgType::mtWarning,
               mbOK);
}

void TfrmRevizia::ZeroCategoryClick()
{
    if (m_category->currentIndex() < 0)
        return;
    takeHeader();
    const QString question = QStringLiteral("Непреброените артикули от категория „%1“ да се отчетат с количество 0?")
                                 .arg(m_category->currentText());
    if (MessageDlg(question, TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    m_count.countCategoryAsZero(m_category->currentData().toInt());
    showCount();
}

QString TfrmRevizia::heading() const
{
    QString text = QStringLiteral("Дата: %1").arg(m_date->date().toString(QStringLiteral("dd.MM.yyyy")));
    if (!m_count.number().isNull())
        text = QStringLiteral("Документ № %1, ").arg(m_count.number().toInt(), 6, 10, QLatin1Char('0')) + text;
    if (!m_note->text().isEmpty())
        text += QStringLiteral(", ") + m_note->text();
    return text;
}

void TfrmRevizia::PrintSheetClick()
{
    takeHeader();
    TfrmReportPreview preview(reportdata::countSheet(m_count.sheetLines(m_category->currentData().toInt()), heading(),
                                                     m_showBook->isChecked()),
                              QDir::homePath(), this);
    preview.exec();
}

void TfrmRevizia::PrintResultClick()
{
    // Before posting the result is valued at the prices posting would take.
    std::vector<data::CountLine> lines = m_count.lines();
    if (!m_count.posted()) {
        for (data::CountLine &line : lines)
            line.price = data::lastDeliveryPrice(dm(), line.goods.goodsId);
    }
    TfrmReportPreview preview(reportdata::countResult(lines, heading()), QDir::homePath(), this);
    preview.exec();
}

void TfrmRevizia::reject()
{
    bool close = true;
    runGuarded(this, [&] {
        takeHeader();
        if (!m_count.modified())
            return;
        const int answer = MessageDlg(QStringLiteral("Да се запише ли ревизията?"), TMsgDlgType::mtConfirmation,
                                      mbYes | mbNo | mbCancel);
        if (answer == mrCancel) {
            close = false;
            return;
        }
        if (answer == mrYes) {
            close = false;
            SaveClick();
            close = true;
        }
    });
    if (close)
        TfrmBaseForm::reject();
}
