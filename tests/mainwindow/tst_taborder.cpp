#include "backup/TfrmRemarks.h"
#include "catalogues/TfrmKontragenti.h"
#include "catalogues/TfrmMerki.h"
#include "catalogues/TfrmNomenklatura.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmAmbalaj.h"
#include "documents/TfrmBrak.h"
#include "documents/TfrmDostavki.h"
#include "documents/TfrmProdajbi.h"
#include "documents/TfrmProizvodstvo.h"
#include "invoicing/TfrmClientData.h"
#include "invoicing/TfrmInvoice.h"
#include "invoicing/TfrmInvoices.h"
#include "mainwindow/TfrmNetworkSettings.h"
#include "payments/Outstanding.h"
#include "payments/TfrmDoplashtane.h"
#include "security/TfrmChangePass.h"
#include "security/TfrmLogin.h"
#include "support/GuiTest.h"
#include "support/TabOrder.h"
#include "ui/TDictionary.h"
#include "ui/TfrmEnterPass.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

using Check = std::function<void(QWidget &)>;

template <typename Window, typename... Args>
void shown(const Check &check, const std::function<void(Window &)> &prepare, Args &&...args)
{
    Window window(std::forward<Args>(args)...);
    window.show();
    if (prepare)
        prepare(window);
    check(window);
}

template <typename Window>
void plain(const Check &check)
{
    shown<Window>(check, nullptr);
}

// A stock document as opened, then with a line being typed in each area.
template <typename Editor>
void stockDocument(const Check &check)
{
    shown<Editor>(check, [&](Editor &editor) {
        editor.NewDocument();
        check(editor);
        for (int area = 0; area < editor.lineAreaCount(); ++area) {
            editor.lineArea(area)->btnNewLine()->click();
            check(editor);
            editor.lineArea(area)->btnCancelLine()->click();
        }
    });
}

class TabOrder : public GuiDatabaseTest
{
protected:
    ~TabOrder() override { ParamBoard().clear(); }

    int checked = 0;

    void openEach(const Check &check)
    {
        const std::pair<const char *, std::function<void()>> windows[] = {
            {"counterparties", [&] { shown<TfrmKontragenti>(check, [](auto &w) { w.actnNew->trigger(); }); }},
            {"goods", [&] { shown<TfrmNomenklatura>(check, [](auto &w) { w.actnNew->trigger(); }); }},
            {"units", [&] { shown<TfrmMerki>(check, [](auto &w) { w.actnNew->trigger(); }); }},
            {"own company", [&] { shown<TfrmClientData>(check, nullptr, *dm, settings); }},
            {"delivery", [&] { stockDocument<TfrmDostavki>(check); }},
            {"sale", [&] { stockDocument<TfrmProdajbi>(check); }},
            {"production", [&] { stockDocument<TfrmProizvodstvo>(check); }},
            {"scrap", [&] { stockDocument<TfrmBrak>(check); }},
            {"packaging",
             [&] {
                 TfrmProdajbi sale;
                 sale.NewDocument();
                 std::unique_ptr<TfrmAmbalaj> packaging = sale.OpenPackaging();
                 packaging->show();
                 check(*packaging);
             }},
            {"invoice",
             [&] {
                 TfrmInvoices list;
                 list.runEditor = [&](TfrmInvoice &editor) {
                     editor.show();
                     check(editor);
                     return int(QDialog::Rejected);
                 };
                 list.actnNew->trigger();
             }},
            {"settle",
             [&] {
                 TfrmDoplashtane dialog;
                 QTimer::singleShot(0, &dialog, [&] {
                     check(dialog);
                     dialog.reject();
                 });
                 dialog.settleMoney(payments::kDeliveryType, 1, QDate::currentDate());
             }},
            {"backup notes", [&] { plain<TfrmRemarks>(check); }},
            {"network settings", [&] { plain<TfrmNetworkSettings>(check); }},
            {"log-in", [&] { plain<TfrmLogin>(check); }},
            {"password change", [&] { plain<TfrmChangePass>(check); }},
            {"password", [&] { plain<TfrmEnterPass>(check); }},
        };
        for (const auto &[name, open] : windows) {
            SCOPED_TRACE(name);
            const int before = checked;
            open();
            EXPECT_GT(checked, before) << "the window was never checked";
        }
    }
};

TEST_F(TabOrder, TabFollowsTheLayoutOnEveryPageOfEveryEditorWindow)
{
    openEach([this](QWidget &window) {
        forEachPage(&window, [&](const QString &page) {
            QApplication::processEvents();
            ++checked;
            const std::string tab = tabOrder(&window);
            const std::string layout = readingOrder(&window);
            EXPECT_FALSE(layout.empty()) << page.toStdString();
            EXPECT_TRUE(tab == layout) << page.toStdString() << "\nTab visits:\n" << tab << "\n\nThe layout reads:\n"
                                       << layout;
        });
    });
}

} // namespace
