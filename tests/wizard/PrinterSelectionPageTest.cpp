// The printer selection page against the simulated template 131 and a device list on the medium.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "resources/resource.h"
#include "setup/wizard/PrinterSelectionPage.h"
#include "tests/wizard/PageTestSupport.h"

using win::sim::SimDialog;

namespace {

class PrinterSelectionPageTest : public ::testing::Test {
protected:
    // A fresh page over a device list of the first `count` entries and a default entry.
    SimDialog& Open(const std::vector<std::string>& entries, const std::string& defaultEntry,
                    size_t count = 99) {
        std::string list = "[DEVICENAME]\r\nDEVICENUMBER=" + std::to_string(std::min(count, entries.size())) +
                           "\r\nDEFAULTNAME=" + defaultEntry + "\r\n";
        for (size_t i = 0; i < entries.size(); ++i)
            list += "DEVICENAME" + std::to_string(i + 1) + "=" + entries[i] + "\r\n";
        sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup.ini", list);
        page_ = std::make_unique<PrinterSelectionPage>(context_);
        return OpenPage(sim_, IDD_SERIES_PAGE, *page_);
    }

    win::sim::SimPlatform sim_;
    SetupContext context_{sim_.platform()};
    std::unique_ptr<PrinterSelectionPage> page_;
};

TEST_F(PrinterSelectionPageTest, ListsEachClassInDeviceListOrderAndOpensOnlyTheDefaultsClass) {
    sim_.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini",
                             "[Series]\r\nSelect=Pick one\r\nLabel=Label\r\n");
    SimDialog& d = Open({"R-9-ReceiptPrinter", "Loose", "T-1-TicketPrinter", "R-1-ReceiptPrinter",
                         "R-9-ReceiptPrinter", "E-1-EmbeddedPrinter"},
                        "3");
    EXPECT_EQ((std::vector<std::string>{"R-9", "R-1", "R-9"}), d.Entries(IDC_RECEIPT_MODELS));
    EXPECT_TRUE(page_->HasModels());
    EXPECT_FALSE(d.IsDlgItemEnabled(IDC_LABEL));
    EXPECT_TRUE(d.IsDlgItemEnabled(IDC_EMBEDDED));
    EXPECT_EQ(IDC_TICKET, d.CheckedRadioOfGroup(IDC_RECEIPT));
    EXPECT_EQ(kPrinterClassTicket, page_->SelectedClass());
    EXPECT_EQ("T-1", page_->SelectedModel());
    for (int list : {IDC_RECEIPT_MODELS, IDC_TICKET_MODELS, IDC_LABEL_MODELS, IDC_EMBEDDED_MODELS})
        EXPECT_EQ(list == IDC_TICKET_MODELS, d.IsDlgItemEnabled(list) != 0) << list;
    EXPECT_EQ("Pick one", d.GetDlgItemTextA(IDC_SELECT_GROUP));
    EXPECT_EQ("Label", d.GetDlgItemTextA(IDC_LABEL));

    SimDialog& empty = Open({"Loose"}, "1");
    EXPECT_FALSE(page_->HasModels());
    for (int id : {IDC_RECEIPT, IDC_TICKET, IDC_LABEL, IDC_EMBEDDED, IDC_RECEIPT_MODELS, IDC_EMBEDDED_MODELS})
        EXPECT_FALSE(empty.IsDlgItemEnabled(id)) << id;
    EXPECT_EQ(kPrinterClassNone, page_->SelectedClass());
}

TEST_F(PrinterSelectionPageTest, TheDefaultNameItselfComesBeforeLongerNamesBeginningWithIt) {
    EXPECT_EQ(0, Open({"A-ReceiptPrinter", "AB-ReceiptPrinter"}, "1").GetCurSel(IDC_RECEIPT_MODELS));
    EXPECT_EQ("A", page_->SelectedModel());

    // A default the count leaves out of the list: the first name beginning with it, entry 0 last.
    const std::vector<std::string> models = {"AB-ReceiptPrinter", "ABC-ReceiptPrinter", "a-ReceiptPrinter",
                                             "Z-ReceiptPrinter"};
    EXPECT_EQ(1, Open(models, "3", 2).GetCurSel(IDC_RECEIPT_MODELS));
    EXPECT_EQ("ABC", page_->SelectedModel());
    EXPECT_EQ(win::CB_ERR, Open(models, "4", 2).GetCurSel(IDC_RECEIPT_MODELS));
    EXPECT_EQ(kPrinterClassReceipt, page_->SelectedClass());
    EXPECT_EQ("", page_->SelectedModel());
}

TEST_F(PrinterSelectionPageTest, WithoutADefaultDeviceAClassClickTakesItsFirstModel) {
    for (const char* defaultEntry : {"", "2"}) {  // none, or an entry without a class
        SimDialog& d = Open({"R-1-ReceiptPrinter", "Loose", "L-1-LabelPrinter"}, defaultEntry);
        EXPECT_EQ(0, d.CheckedRadioOfGroup(IDC_RECEIPT));
        EXPECT_EQ(kPrinterClassNone, page_->SelectedClass());
        EXPECT_EQ("", page_->SelectedModel());
        EXPECT_FALSE(d.IsDlgItemEnabled(IDC_LABEL_MODELS));
        ASSERT_TRUE(d.Click(IDC_LABEL));
        EXPECT_EQ(kPrinterClassLabel, page_->SelectedClass());
        EXPECT_EQ("L-1", page_->SelectedModel());
        EXPECT_TRUE(d.IsDlgItemEnabled(IDC_LABEL_MODELS));
    }
}

TEST_F(PrinterSelectionPageTest, EachClassRemembersItsOwnSelectionAndTheCheckBoxIsKept) {
    SimDialog& d =
        Open({"R-1-ReceiptPrinter", "R-2-ReceiptPrinter", "T-1-TicketPrinter", "T-2-TicketPrinter"}, "1");
    ASSERT_TRUE(d.Select(IDC_RECEIPT_MODELS, 1));
    ASSERT_TRUE(d.Click(IDC_TICKET));
    EXPECT_EQ("T-1", page_->SelectedModel());
    EXPECT_FALSE(d.Select(IDC_RECEIPT_MODELS, 0)) << "only the chosen class's list is open";
    ASSERT_TRUE(d.Select(IDC_TICKET_MODELS, 1));
    ASSERT_TRUE(d.Click(IDC_RECEIPT));
    EXPECT_EQ("R-2", page_->SelectedModel());
    ASSERT_TRUE(d.Click(IDC_TICKET));
    EXPECT_EQ("T-2", page_->SelectedModel());

    d.Click(IDC_SET_DEFAULT);
    page_->Exchange(d, win::TRUE);
    d.Show(false);
    d.Show(true);
    page_->Exchange(d, win::FALSE);
    EXPECT_TRUE(page_->SetAsDefault());
    EXPECT_EQ(win::BST_CHECKED, d.IsDlgButtonChecked(IDC_SET_DEFAULT));
    EXPECT_EQ(IDC_TICKET, d.CheckedRadioOfGroup(IDC_RECEIPT));
}

}  // namespace
