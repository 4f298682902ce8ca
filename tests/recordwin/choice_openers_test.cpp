// choice_openers_test.cpp - choice windows opened from the field they
// choose for, over the built interface file: a field that shows a value
// by its name lists its own values, the contact list holds the contacts
// of the document's customer only, a choice takes the place of what was
// typed, Esc goes back with the field as it was, and a double click on a
// field opens what it chooses from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/control.h"
#include "recordwin/record_windows.h"
#include "rules/choice_list_fill.h"
#include "rules/rules_types.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "tests/recordwin/choice_steps.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

using Lines = std::vector<std::string>;
constexpr int Customers = 590, SalesInvoice = 347, Order = 352;
constexpr int CurrencyChoice = 247, ContactChoice = 495, CodeChoice = 560;

class ChoiceOpeners : public RecordFixture {
protected:
    // n's list holds `line` alone, selected.
    static void OfferOne(int n, const std::string &line)
    {
        ListBoxReset(n);
        ListBoxAdd(WinListBox(n), line);
        ListBoxSetCurSel(WinListBox(n), 0);
    }
    // n's list lines, trailing blanks removed.
    static Lines Trimmed(int n)
    {
        Lines lines = ListBoxRows(n);
        for (std::string &l : lines) l.erase(l.find_last_not_of(' ') + 1);
        return lines;
    }
    static void StoreContact(const char *customer, const char *name)
    {
        RuleRecord c(ContactVc::Number);
        ASSERT_NE(c.record, nullptr);
        PutText(c.record, ContactVc::CustCode, customer);
        PutText(c.record, ContactVc::Name, name);
        uint32_t id = 0;
        ASSERT_TRUE(RecStore(ContactVc::Number, c.record, 0, &id));
    }
    // An open window of type `type`; 0 none.
    static int NewWindowOf(int type)
    {
        for (int n = WinFirst; n <= WinLast; n++)
            if (WinIsOpen(n) && WinTypeOf(n) == type) return n;
        return 0;
    }
};

TEST_F(ChoiceOpeners, AFieldShownByNameListsItsValuesAndTakesTheOneChosen)
{
    int customer = CustomerUnderEdit(CUVc::VatZone);
    ASSERT_GT(customer, 0);
    int n = OpenFrom(CodeChoice, customer);
    ASSERT_EQ(ListBoxRows(n), (Lines{"Domestic", "Zone 1, no VAT", "Zone 2, no VAT"}));
    ListBoxSetCurSel(WinListBox(n), 2);
    EXPECT_EQ(WindowEvent(n, WindowEventCode::Ok, nullptr, nullptr), 0);
    EXPECT_EQ(EditText(customer), "Zone 2, no VAT");
    WinCommitField(customer);
    EXPECT_EQ(GetU16(WinRecordBuffer(customer), CUVc::VatZone), 2);

    // A field that names no list of values lists nothing.
    WinClose(customer);
    customer = CustomerUnderEdit(CUVc::Name);
    ASSERT_GT(customer, 0);
    n = OpenFrom(CodeChoice, customer);
    EXPECT_TRUE(ListBoxRows(n).empty());
}

TEST_F(ChoiceOpeners, TheContactListHoldsTheContactsOfTheDocumentsCustomer)
{
    StoreContact("C1", "Anna Berg");
    StoreContact("C1", "Bo Lind");
    StoreContact("C2", "Olle Ek");
    StoreContact("C10", "Not of C1");

    int invoice = OpenOrActivateWindow(SalesInvoice, 0, 0, true, 0);
    ASSERT_GT(invoice, 0);
    PutText(WinRecordBuffer(invoice), IVVc::CustCode, "C1");
    int n = OpenFrom(ContactChoice, invoice);
    EXPECT_EQ(Trimmed(n), (Lines{"Anna Berg", "Bo Lind"}));
    WinClose(n);

    int order = OpenOrActivateWindow(Order, 0, 0, true, 0);
    ASSERT_GT(order, 0);
    PutText(WinRecordBuffer(order), ORVc::CustCode, "C2");
    n = OpenFrom(ContactChoice, order);
    EXPECT_EQ(Trimmed(n), (Lines{"Olle Ek"}));
    WinClose(n);

    // A customer no contact is kept under, and an opener that is no
    // document, list nothing; the key of the last list does not linger.
    PutText(WinRecordBuffer(invoice), IVVc::CustCode, "C9");
    n = OpenFrom(ContactChoice, invoice);
    EXPECT_TRUE(ListBoxRows(n).empty());
    WinClose(n);
    PutText(WinRecordBuffer(invoice), IVVc::CustCode, "C1");
    int customer = CustomerUnderEdit(CUVc::Name);
    n = OpenFrom(ContactChoice, customer);
    EXPECT_TRUE(ListBoxRows(n).empty());
    EXPECT_EQ(ChoiceKey[0], 0);
}

TEST_F(ChoiceOpeners, AChoiceTakesThePlaceOfWhatWasTyped)
{
    int customer = CustomerUnderEdit(CUVc::CurncyCode);
    ASSERT_GT(customer, 0);
    Type("XX");
    int n = OpenFrom(CurrencyChoice, customer);
    OfferOne(n, "SEK  Crowns");
    EXPECT_EQ(WindowEvent(n, WindowEventCode::Ok, nullptr, nullptr), 0);
    EXPECT_EQ(EditText(customer), "SEK");
}

TEST_F(ChoiceOpeners, EscInAChoiceWindowGoesBackWithTheFieldAsItWas)
{
    int customer = CustomerUnderEdit(CUVc::CurncyCode);
    ASSERT_GT(customer, 0);
    Type("EUR");
    int n = OpenFrom(CurrencyChoice, customer);
    OfferOne(n, "SEK  Crowns");
    Key(PlKey::Escape);
    EXPECT_FALSE(WinIsOpen(n) && WinTypeOf(n) == CurrencyChoice);
    ASSERT_TRUE(WinIsOpen(customer));
    EXPECT_EQ(int(CurrentWindow), customer);
    EXPECT_EQ(EditText(customer), "EUR");

    // A choice window opened from no field is no chooser: Esc there is
    // not a cancelled choice.
    n = OpenFrom(CurrencyChoice, 0);
    EXPECT_FALSE(ListChooserCancel(n));
    EXPECT_TRUE(WinIsOpen(n));
}

TEST_F(ChoiceOpeners, ADoubleClickOnAFieldOpensWhatItChoosesFrom)
{
    int customer = CustomerUnderEdit(CUVc::CurncyCode);
    ASSERT_GT(customer, 0);
    auto middleOf = [&](uint32_t offset) {
        MacRect r;
        WinBindingRect(customer, WinDefEntry(customer, WinPartDataFields,
                                             WinScreenFieldOfOffset(customer, offset) - 1), &r);
        return std::pair{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    // Two clicks on a field not under edit: the first puts it under
    // edit, the second on the same spot opens its chooser.
    auto [x, y] = middleOf(CUVc::LangCode);
    ClickAt(customer, x, y, true);
    int list = NewWindowOf(287);
    ASSERT_GT(list, 0) << "the language field's double click opened nothing";
    EXPECT_EQ(WinOpenerOf(list), customer);
    WinClose(list);
    Drain();

    // A field that chooses nothing: a double click leaves it under edit.
    ActivateWindowNumber(customer);
    Drain();
    auto [nx, ny] = middleOf(CUVc::Name);
    ClickAt(customer, nx, ny, true);
    EXPECT_EQ(int(CurrentWindow), customer);
    EXPECT_EQ(WinTable[customer]->currentField, WinScreenFieldOfOffset(customer, CUVc::Name));
    EXPECT_EQ(NewWindowOf(287), 0);
}

}  // namespace
