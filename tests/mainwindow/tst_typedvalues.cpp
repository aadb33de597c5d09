// Whatever the user types into an editor window is stored exactly, or the
// user is asked or told and the window stays: every editor, every kind of
// field, every way out of it. One table of windows and fields, one driver.

#include "backup/TfrmRemarks.h"
#include "catalogues/LookupLists.h"
#include "catalogues/TfrmKontragenti.h"
#include "catalogues/TfrmMerki.h"
#include "catalogues/TfrmNomenklatura.h"
#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmBrak.h"
#include "documents/TfrmDostavki.h"
#include "documents/TfrmProdajbi.h"
#include "documents/TfrmProizvodstvo.h"
#include "invoicing/TfrmClientData.h"
#include "invoicing/TfrmInvoice.h"
#include "invoicing/TfrmInvoices.h"
#include "payments/TfrmDoplashtane.h"
#include "support/GuiTest.h"
#include "support/StockData.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/DatasetModel.h"
#include "ui/ErrorGuard.h"
#include "ui/TfrmList.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <iostream>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const bool kDotDecimals = (QLocale::setDefault(QLocale::c()), true);
const int kGoods = 901;
const int kCounterparty = 920;

enum class Exit { SaveButton, CtrlEnter, CancelButton, Esc, SwitchPage, OtherGrid, Reactivate };
const std::pair<Exit, const char *> kExits[] = {
    {Exit::SaveButton, "the save button"}, {Exit::CtrlEnter, "Ctrl+Enter"}, {Exit::CancelButton, "the cancel button"},
    {Exit::Esc, "Esc"},  {Exit::SwitchPage, "another page"}, {Exit::OtherGrid, "another grid"},
    {Exit::Reactivate, "another program and back"}};

// Zero: a typed 0 where the program proposes a value; Shown: nothing typed,
// the user only moves into the field, and what it then shows is stored.
enum class Kind { Text, Number, Zero, Date, Combo, Shown };

// What a new grid row needs besides the typed value to be stored.
using RowFiller = std::function<void(db::Dataset &)>;

// A field of a window: where it is (the data field of its editor, or
// "<grid>.<column>" for a grid cell), and the statement that reads back what
// was stored for the record the window opened on (:MARK).
struct Field
{
    Kind kind;
    QString place;
    QString readBack;
    RowFiller fillRow = nullptr;
    // Where the value is not kept in a row: what the window left.
    std::function<QVariant(Tdm &)> read = nullptr;
    // Where only some values are taken: the n-th one to type.
    std::function<QString(int)> typed = nullptr;

    bool isCell() const { return place.contains(QLatin1Char('.')); }
};

// Shows a window on a new record ready to be typed into and runs the driver
// on it while it is there, with what names the record for the read-back.
using Driver = std::function<void(QDialog &, const QVariant &)>;
using Opener = std::function<void(class TypedValues &, const Driver &)>;

struct Window
{
    const char *name;
    Opener open;
    std::vector<Field> fields;
    bool ctrlEnterStores = true; // in a list it edits the current row
};

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

class TypedValues : public GuiDatabaseTest, public ::testing::WithParamInterface<Window>
{
public:
    TypedValues()
    {
        // Keys far above those the windows draw from the counters.
        addGoods(*dm, kGoods, kGoods, s("Брашно"), 1.2);
        addDocument(*dm, 900, 12, kCounterparty, QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
        addLine(*dm, 900, 900, kGoods, 1, 1e6, 1e6, 1);
        addCounterparty(*dm, kCounterparty, kCounterparty, s("Мелница АД"), 2, s("Пловдив"), s("ул. Житна 3"));
        dm->SetConfigByName(s("BG_VAT"), s("20"));
        dm->SetConfigByName(s("INVOICE_CREATOR"), s("Мария Иванова"));
        dm->qNom().reopen();
        dm->qKontr().reopen();
    }

    // A unique value for the n-th case of the run, as the user would type it.
    QString typedText(Kind kind, int n) const
    {
        switch (kind) {
        case Kind::Number:
            return QString::number(100 + n);
        case Kind::Zero:
            return s("0");
        case Kind::Date:
            return QDate(2026, 3, 1).addDays(n).toString(s("dd.MM.yyyy"));
        default:
            return s("Проба %1").arg(n);
        }
    }

    Tdm &data() { return *dm; }

    QVariant stored(const Field &field, const QVariant &mark)
    {
        if (field.read)
            return field.read(*dm);
        return dm->QueryValue(field.readBack, QString(), {{s("MARK"), mark}});
    }

    static bool same(Kind kind, const QVariant &stored, const QString &typed)
    {
        switch (kind) {
        case Kind::Number:
        case Kind::Zero:
        case Kind::Shown:
            return !stored.isNull() && qAbs(stored.toDouble() - typed.toDouble()) < 0.0001;
        case Kind::Date:
            return stored.toDate() == QDate::fromString(typed, s("dd.MM.yyyy"));
        case Kind::Combo:
            return !stored.isNull();
        default:
            return stored.toString() == typed;
        }
    }

    // Types into the field as the user does and leaves the text where it is;
    // gives back what the field shows then.
    QString type(QDialog &window, const Field &field, const QString &text)
    {
        if (field.isCell()) {
            auto *grid = window.findChild<DataGrid *>(field.place.section(QLatin1Char('.'), 0, 0));
            EXPECT_TRUE(grid) << field.place.toStdString();
            if (!grid)
                return QString();
            db::Dataset &rows = *grid->dataset();
            if (!rows.isEditing()) {
                rows.append();
                if (field.fillRow)
                    field.fillRow(rows);
            }
            int column = 0;
            while (grid->datasetModel()->columns()[size_t(column)].field != field.place.section(QLatin1Char('.'), 1))
                ++column;
            focusShowingPage(grid);
            const QModelIndex cell = grid->model()->index(rows.recNo(), column);
            grid->setCurrentIndex(cell);
            grid->edit(cell);
            QWidget *editor = QApplication::focusWidget();
            EXPECT_TRUE(editor && grid->isAncestorOf(editor)) << field.place.toStdString();
            if (!editor)
                return QString();
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            typeText(editor, text);
            return text;
        }
        if (field.place.startsWith(s("TRANZ_RED_"))) {
            // A line field takes typing once a line is started.
            for (StockLineArea *area : window.findChildren<StockLineArea *>()) {
                if (!area->area().kind().emptyMessage.isEmpty()) {
                    area->NewLineClick();
                    area->area().lines().setValue(s("TRANZ_RED_NOM_ID"), kGoods);
                    break;
                }
            }
        }
        QWidget *editor = editorForField(&window, field.place);
        if (!editor)
            editor = window.findChild<QWidget *>(field.place);
        EXPECT_TRUE(editor && editor->isVisibleTo(&window)) << field.place.toStdString();
        if (!editor)
            return QString();
        focusShowingPage(editor);
        if (field.kind == Kind::Shown)
            return static_cast<QLineEdit *>(editor)->text();
        if (auto *date = qobject_cast<QDateEdit *>(editor))
            date->setSelectedSection(QDateTimeEdit::DaySection); // typing starts at the day
        else
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        if (field.kind == Kind::Combo) {
            QTest::keyClick(editor, Qt::Key_Down);
            QTest::keyClick(editor, Qt::Key_Down);
            return text;
        }
        // A date box moves on to the next part after two digits by itself.
        typeText(editor, qobject_cast<QDateEdit *>(editor) ? QString(text).remove(QLatin1Char('.')) : text);
        return text;
    }

    // Leaves the field by one of the ways out. False when the window has no
    // such way (no pages, no other grid).
    bool leave(QDialog &window, Exit exit, const Field &field)
    {
        QWidget *focused = QApplication::focusWidget();
        const auto button = [&](QStringList captions) -> QAbstractButton * {
            for (QAbstractButton *candidate : window.findChildren<QAbstractButton *>()) {
                if (candidate->isVisible() && candidate->isEnabled() && captions.contains(candidate->text()))
                    return candidate;
            }
            return nullptr;
        };
        switch (exit) {
        case Exit::SaveButton:
        case Exit::CancelButton: {
            QAbstractButton *pressed = exit == Exit::SaveButton
                                           ? button({s("Запис"), s("Запиши"), s("OK"), s("Затвори")})
                                           : button({s("Отказ"), s("Cancel"), s("Затвори")});
            if (!pressed)
                return false;
            QTest::mouseClick(pressed, Qt::LeftButton);
            return true;
        }
        case Exit::CtrlEnter:
            QTest::keyClick(focused, Qt::Key_Return, Qt::ControlModifier);
            return true;
        case Exit::Esc:
            QTest::keyClick(focused, Qt::Key_Escape);
            return true;
        case Exit::SwitchPage: {
            auto *pages = window.findChild<QTabWidget *>();
            if (!pages || !pages->isVisible())
                return false;
            pages->setCurrentIndex((pages->currentIndex() + 1) % pages->count());
            return true;
        }
        case Exit::OtherGrid:
            for (DataGrid *grid : window.findChildren<DataGrid *>()) {
                if (grid->isVisible() && grid->isEnabled() && !grid->isAncestorOf(focused) && grid != focused
                    && !field.place.startsWith(grid->objectName() + QLatin1Char('.'))) {
                    QTest::mouseClick(grid->viewport(), Qt::LeftButton);
                    return true;
                }
            }
            return false;
        case Exit::Reactivate:
            QApplication::setActiveWindow(nullptr);
            QApplication::setActiveWindow(&window);
            return true;
        }
        return false;
    }

    static bool storing(const Window &editor, Exit exit)
    {
        return exit == Exit::SaveButton || (exit == Exit::CtrlEnter && editor.ctrlEnterStores);
    }

    int casesRun = 0;
};

TEST_P(TypedValues, AreStoredExactlyOrTheUserIsAskedOrTold)
{
    const Window &editor = GetParam();
    for (const Field &field : editor.fields) {
        for (const auto &[exit, exitName] : kExits) {
            const int n = ++casesRun;
            const QString where = s("%1 / %2 / %3").arg(QString::fromUtf8(editor.name), field.place,
                                                       QString::fromUtf8(exitName));
            const bool cellUndo = field.isCell() && exit == Exit::Esc;
            bool skipped = false;
            bool said = false;
            bool open = false;
            QString heard;
            QString typed;
            QVariant mark;
            editor.open(*this, [&](QDialog &window, const QVariant &record) {
                mark = record;
                ASSERT_TRUE(window.isVisible()) << where.toStdString();
                QApplication::setActiveWindow(&window);
                typed = type(window, field, field.typed ? field.typed(n) : typedText(field.kind, n));
                const size_t told = dialogs.shown.size() + dialogs.errors.size();
                if (!leave(window, exit, field)) {
                    skipped = true;
                    return;
                }
                const auto anything = [&] { return dialogs.shown.size() + dialogs.errors.size() > told; };
                // A way out that neither stored nor said anything must have
                // left the typing where it was: a save then stores it. Esc in
                // an open cell is the grid's own undo of that cell.
                if (!storing(editor, exit) && !cellUndo && window.isVisible() && !anything())
                    leave(window, Exit::SaveButton, field);
                said = anything();
                open = window.isVisible();
                for (size_t i = told; i < dialogs.shown.size(); ++i)
                    heard += QLatin1String(" «") + dialogs.shown[i].text + QLatin1String("»");
                for (const QString &error : dialogs.errors)
                    heard += QLatin1String(" «") + error + QLatin1String("»");
            });
            if (skipped) {
                --casesRun;
                continue;
            }
            // Read once the window is gone: some write only as they close.
            const QVariant kept = stored(field, mark);
            const bool exact = same(field.kind, kept, typed);
            const std::string seen = where.toStdString() + " (typed " + typed.toStdString() + ", stored "
                                     + kept.toString().toStdString() + (open ? ", open)" : ", closed)")
                                     + heard.toStdString();
            if (storing(editor, exit))
                EXPECT_TRUE(exact && !said) << seen << ": a save did not store it";
            else if (cellUndo)
                EXPECT_TRUE(open) << seen;
            else
                EXPECT_TRUE(exact || (said && open)) << seen << ": lost without a word";
        }
    }
    std::cout << GetParam().name << ": " << casesRun << " cases\n";
}

// Shows a window of class T, prepared by `prepare`, for the driver.
template<class T>
Opener opener(std::function<QVariant(T &)> prepare)
{
    return [prepare](TypedValues &, const Driver &drive) {
        T window;
        window.show();
        const QVariant mark = prepare(window);
        drive(window, mark);
        window.hide();
    };
}

QVariant newUnit(TfrmMerki &units)
{
    units.actnNew->trigger();
    units.dataset()->setValue(s("MERKI_ZNAK"), s("зн"));
    return QVariant();
}

// A new catalogue row named by a code of its own.
template<class T>
QVariant newCoded(T &window, const char *codeField, const char *nameField)
{
    static int code = 5000;
    window.actnNew->trigger();
    window.dataset()->setValue(s(codeField), ++code);
    window.dataset()->setValue(s(nameField), s("Запис %1").arg(code));
    return code;
}

Opener listOf(void (*showList)(TfrmList &))
{
    return opener<TfrmList>([showList](TfrmList &list) {
        showList(list);
        list.actnNew->trigger();
        return QVariant();
    });
}

// A new document that could be stored as it is: its counterparty and a
// stored line in every area that must have one.
template<class Editor>
Opener document(bool withCounterparty, bool numbered = true)
{
    return opener<Editor>([withCounterparty, numbered](Editor &editor) {
        editor.NewDocument();
        documents::DocumentModel &model = editor.model();
        db::Dataset &header = model.header();
        if (withCounterparty)
            header.setValue(s("TRANZ_KONT_ID"), kCounterparty);
        if (numbered)
            header.setValue(s("TRANZ_DOCNO"), 1);
        for (int index = 0; index < model.areaCount(); ++index) {
            documents::LineArea &area = model.area(index);
            if (area.kind().emptyMessage.isEmpty())
                continue;
            area.newLine();
            area.lines().setValue(s("TRANZ_RED_NOM_ID"), kGoods);
            area.lines().setValue(s("TRANZ_RED_KOL1"), 1000);
            area.lines().setValue(s("TRANZ_RED_IZNESENO"), 1000);
            if (area.lines().hasField(s("TRANZ_RED_CENA")))
                area.lines().setValue(s("TRANZ_RED_CENA"), 1);
            area.storeLine();
        }
        return model.documentId();
    });
}

// Money owed on one delivery, settled in the dialog the payments window opens.
void settleDialog(TypedValues &test, const Driver &drive)
{
    test.data().ExecSQL(s("update TRANZ set TRANZ_SUM = 1000000, TRANZ_PLATENO = 0, TRANZ_PADEJ = '2026-01-05' "
                          "where TRANZ_ID = 900"));
    TfrmDoplashtane dialog;
    QTimer::singleShot(0, &dialog, [&] {
        drive(dialog, 900);
        dialog.hide();
    });
    dialog.settleMoney(12, kCounterparty, QDate(2099, 12, 30));
}

QVariant notesStored;

void backupNotes(TypedValues &, const Driver &drive)
{
    QString text = s("Архив");
    QTimer::singleShot(0, [&] {
        QWidget *notes = QApplication::activeModalWidget();
        drive(*qobject_cast<QDialog *>(notes), QVariant());
        notes->hide();
    });
    notesStored = EditNotes(s("Бележки към архив"), text) ? QVariant(text) : QVariant();
}

void companyData(TypedValues &test, const Driver &drive)
{
    test.data().SetConfigByName(s("DOCSIZE"), s("0"));
    test.data().SetConfigByName(s("INVOICECOPIES"), s("0"));
    TfrmClientData window(test.data(), AppSettings());
    window.showPage(TfrmClientData::OptionsPage);
    window.show();
    drive(window, QVariant());
    window.hide();
}

void invoiceLine(db::Dataset &lines)
{
    lines.setValue(s("DETAIL_TEXT"), s("Услуга"));
    lines.setValue(s("DETAIL_QTY"), 2);
    lines.setValue(s("DETAIL_PRICE"), 5);
}

// A new invoice as the list starts it, with what its checks ask for and one
// stored line.
void invoice(TypedValues &, const Driver &drive)
{
    TfrmInvoices list;
    list.runEditor = [&](TfrmInvoice &editor) {
        editor.show();
        editor.cbPlace()->setEditText(s("Пловдив"));
        Q_EMIT editor.cbClient()->activated(editor.cbClient()->findText(s("Мелница АД")));
        editor.edtReceiver()->setText(s("Петър Иванов"));
        Q_EMIT editor.edtReceiver()->textEdited(editor.edtReceiver()->text());
        db::Dataset &lines = editor.qLines();
        lines.append();
        invoiceLine(lines);
        lines.post();
        drive(editor, editor.documentId());
        editor.hide();
        return editor.result();
    };
    list.actnNew->trigger();
}

const QString kDocument = s("select %1 from TRANZ where TRANZ_ID = :MARK");
const QString kLine = s("select first 1 TRANZ_RED_KOL1 from TRANZ_RED where TRANZ_RED_TRANZ_ID = :MARK "
                        "order by TRANZ_RED_ID desc");

std::vector<Field> documentFields(bool paid)
{
    std::vector<Field> fields{{Kind::Text, s("TRANZ_NOTE"), kDocument.arg(s("TRANZ_NOTE"))},
                              {Kind::Number, s("TRANZ_DOCNO"), kDocument.arg(s("TRANZ_DOCNO"))},
                              {Kind::Date, s("TRANZ_TIME"), kDocument.arg(s("TRANZ_TIME"))},
                              {Kind::Number, s("TRANZ_RED_KOL1"), kLine}};
    if (paid) {
        fields.push_back({Kind::Number, s("TRANZ_PLATENO"), kDocument.arg(s("TRANZ_PLATENO"))});
        fields.push_back({Kind::Zero, s("TRANZ_PLATENO"), kDocument.arg(s("TRANZ_PLATENO"))});
    }
    return fields;
}

const QString kInvoice = s("select %1 from INVOICES where ID = :MARK");
const QString kInvoiceLine = s("select first 1 %1 from INVOICE_DETAILS where INVOICE_ID = :MARK order by DETAIL_ID desc");

const QString kAccounts = s("select first 1 BANK_NAME from BANK_ACCOUNTS where IS_VAT_ACCOUNT = %1 and CLIENT_ID = "
                            "(select KONTR_ID from KONTR where KONTR_CODE = :MARK) order by ID desc");

const Window kWindows[] = {
    {"units", opener<TfrmMerki>(newUnit), {{Kind::Text, s("MERKI_NAME"), s("select first 1 MERKI_NAME from MERKI order by MERKI_ID desc")}}},
    {"goods",
     opener<TfrmNomenklatura>([](TfrmNomenklatura &goods) {
         const QVariant code = newCoded(goods, "NOM_CODE", "NOM_NAME");
         goods.dataset()->setValue(s("NOM_MERKI_ID1"), 1);
         return code;
     }),
     {{Kind::Text, s("NOM_NAME"), s("select NOM_NAME from NOM where NOM_CODE = :MARK")},
      {Kind::Number, s("SELL_PRICE"), s("select SELL_PRICE from NOM where NOM_CODE = :MARK")},
      {Kind::Combo, s("NOM_MERKI_ID1"), s("select NOM_MERKI_ID1 from NOM where NOM_CODE = :MARK")}}},
    {"counterparties",
     opener<TfrmKontragenti>([](TfrmKontragenti &all) { return newCoded(all, "KONTR_CODE", "KONTR_NAME"); }),
     {{Kind::Text, s("KONTR_MOL"), s("select KONTR_MOL from KONTR where KONTR_CODE = :MARK")},
      {Kind::Combo, s("KONTR_IS_CLIENT"), s("select KONTR_IS_CLIENT from KONTR where KONTR_CODE = :MARK")},
      {Kind::Text, s("grdAccounts.BANK_NAME"), kAccounts.arg(0)},
      {Kind::Text, s("grdVatAccounts.BANK_NAME"), kAccounts.arg(1)},
      {Kind::Text, s("grdContacts.TEXT"),
       s("select first 1 TEXT from CONTACTINFO where CONTACT_ID = (select KONTR_ID from KONTR where KONTR_CODE = "
         ":MARK) order by ID desc")}}},
    {"categories", listOf(showCategoriesIn),
     {{Kind::Text, s("Grid.NAME"), s("select first 1 NAME from CATEGORY order by ID desc")}},
     false},
    {"settlements", listOf(showSettlementsIn),
     {{Kind::Text, s("Grid.NAME"), s("select first 1 NAME from CITIES order by ID desc")}},
     false},
    {"deliveries", document<TfrmDostavki>(true), documentFields(true)},
    {"sales", document<TfrmProdajbi>(true), documentFields(true)},
    {"numbering", document<TfrmBrak>(false, false), {{Kind::Shown, s("TRANZ_DOCNO"), kDocument.arg(s("TRANZ_DOCNO"))}}},
    {"production", document<TfrmProizvodstvo>(false), documentFields(false)},
    {"scrap", document<TfrmBrak>(false), documentFields(false)},
    {"invoices",
     invoice,
     {{Kind::Number, s("NUMBER"), kInvoice.arg(s("NUMBER"))},
      {Kind::Date, s("IDATE"), kInvoice.arg(s("IDATE"))},
      {Kind::Text, s("RECIEVER"), kInvoice.arg(s("RECIEVER"))},
      {Kind::Text, s("GridLines.DETAIL_TEXT"), kInvoiceLine.arg(s("DETAIL_TEXT")), invoiceLine},
      {Kind::Number, s("GridLines.DETAIL_PRICE"), kInvoiceLine.arg(s("DETAIL_PRICE")), invoiceLine}}},
    {"settling", settleDialog, {{Kind::Number, s("edtAmount"), kDocument.arg(s("TRANZ_PLATENO"))}}},
    {"notes", backupNotes, {{Kind::Text, s("memText"), QString(), nullptr, [](Tdm &) { return notesStored; }}}},
    {"company", companyData,
     {{Kind::Number, s("edtVat"), QString(), nullptr,
       [](Tdm &dm) { return QVariant(dm.GetConfigByName(s("BG_VAT"))); },
       [](int n) { return QString::number(n % 90); }}}},
};

INSTANTIATE_TEST_SUITE_P(EveryEditor, TypedValues, ::testing::ValuesIn(kWindows),
                         [](const ::testing::TestParamInfo<Window> &info) { return std::string(info.param.name); });

} // namespace
