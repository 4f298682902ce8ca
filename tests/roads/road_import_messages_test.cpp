// road_import_messages_test.cpp - what the text exchange tells a user at
// its end, walked from File > Maintenance: a full export and its import
// back into the same company each leave one line on the status strip of
// what they did; the records the import kept because the stored copy is
// newer are told as information, not as an error; the SIE export
// proposes type 4, both SIE file dialogs list SIE files first, and the
// SIE file read back counts its lines and the records it stored. A file
// imported as a form definition named after it makes an empty form
// definition of its name.
// Menus: File > Maintenance... > "full", File > Maintenance... > text
// import, File > Maintenance... > "SIE file", File > Maintenance... >
// "Form definition named after a file". A file cut short inside a line is
// refused at that line and changes nothing; an empty SIE file is refused
// by its name. The text import's and the bank payments import's Open
// dialog tell a name no file has that it is not there.
// Windows: SIE export selection, Functions (exports, imports, maintenance).
#include "tests/roads/road_fixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/toolbar.h"

namespace {

namespace fs = std::filesystem;
constexpr int SieExportWindow = 598, FunctionList = 7;

// The last file dialog's filter, empty when none was asked.
std::string LastFileFilter()
{
    std::string filter;
    for (const PlScriptRecord &r : ScriptRecords())
        if (r.kind == "file") filter = r.text;
    return filter;
}

TEST_F(RoadTest, ExchangeRunsTellWhatTheyDidAndKeptRecordsAreInformation)
{
    const std::string company = StartNewCompany();
    const fs::path full = dir / "full.txt";
    ChooseTextExport("full", full);
    Check("the export says which file it wrote", [full] {
        EXPECT_TRUE(fs::exists(full));
        const std::string said = StatusLineText();
        EXPECT_EQ(said.rfind("Export written: ", 0), 0u) << said;
        EXPECT_NE(said.find("full.txt"), std::string::npos) << said;
        return true;
    });
    Menu("Window", "Close all");
    ImportTextFile(full);
    Check("the import says what it read and stored", [] {
        const std::string said = StatusLineText();
        EXPECT_EQ(said.rfind("Import done. Records read: ", 0), 0u) << said;
        EXPECT_NE(said.find(", stored: "), std::string::npos) << said;
        return true;
    });
    Check("records kept as newer are told with the information icon", [] {
        int kept = 0;
        for (const PlScriptRecord &r : ScriptRecords()) {
            if (r.kind != "message" || r.text.find("Records kept because the stored copy is newer") == std::string::npos)
                continue;
            kept++;
            EXPECT_EQ(r.icon, int(PlMbIcon::Information)) << r.text;
        }
        EXPECT_EQ(kept, 1) << ::testing::PrintToString(Messages());
        return true;
    });

    // The SIE export: type 4 proposed, and the file asked for among SIE files.
    const fs::path sie = dir / "books.se";
    ChooseTextExport("SIE file", sie);
    Check("the SIE export window proposes type 4", [] {
        EXPECT_EQ(ActiveType(), SieExportWindow) << ActiveTitle();
        EXPECT_EQ(Shown("SIE type (1-4)"), "4");
        return ActiveType() == SieExportWindow;
    });
    ClickOk();
    Check("the SIE file is asked for among SIE files", [sie] {
        const std::string filter = LastFileFilter();
        EXPECT_EQ(filter.rfind("SIE files (*.SE;*.SI)|*.SE;*.SI|", 0), 0u) << filter;
        EXPECT_NE(filter.find("*.*"), std::string::npos) << filter;
        std::ifstream in(sie, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(text.find("#SIETYP\t4"), std::string::npos) << ::testing::PrintToString(Messages()) << text.substr(0, 300);
        return true;
    });
    Menu("Window", "Close all");
    Menu("File", "Maintenance...");
    Check("the function list opens", Opened(FunctionList));
    ClickButton("Imports");
    ClickButton("Text file");
    ClickRow("SIE file");
    AnswerFile("");   // the dialog is looked at and cancelled
    Key(PlKey::Return);
    Check("the SIE import asks among SIE files too", [] {
        const std::string filter = LastFileFilter();
        EXPECT_EQ(filter.rfind("SIE files (*.SE;*.SI)|*.SE;*.SI|", 0), 0u) << filter;
        return true;
    });
    // The SIE file read back: its lines and the records they stored are
    // counted, not the text import's zeros.
    Menu("Window", "Close all");
    Menu("File", "Maintenance...");
    Check("the function list opens again", Opened(FunctionList));
    ClickButton("Imports");
    ClickButton("Text file");
    ClickRow("SIE file");
    AnswerFile(sie.string());
    Key(PlKey::Return);
    Check("the SIE import counts what it read and stored", [] {
        const std::string said = StatusLineText();
        EXPECT_EQ(said.rfind("Import done. Records read: ", 0), 0u) << said;
        EXPECT_EQ(said.find("Records read: 0,"), std::string::npos) << said;
        EXPECT_EQ(said.find("stored: 0."), std::string::npos) << said;
        return true;
    });

    // A form definition named after the file imported: its name, upper
    // case, is the definition's code.
    const fs::path letter = dir / "letter.txt";
    std::ofstream(letter, std::ios::binary) << "A letter to customers\r\n";
    Menu("Window", "Close all");
    Menu("File", "Maintenance...");
    Check("the function list opens for the form file", Opened(FunctionList));
    ClickButton("Imports");
    ClickButton("Text file");
    auto told = CountTold();
    ClickRow("Form definition named after a file");
    AnswerFile(letter.string());
    Key(PlKey::Return);
    Check("the form file is imported without a fault", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        const std::string said = StatusLineText();
        EXPECT_EQ(said.rfind("Import done.", 0), 0u) << said;
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> form;
    std::string codes;
    uint32_t recid = 0;
    form.resize(DocVc::Size);
    for (int32_t p = 1; RecReadAt(DocVc::Number, p, form.data(), &recid); p++) codes += TextAt(form.data(), DocVc::Code) + " ";
    EXPECT_TRUE(FindByCode(DocVc::Number, DocVc::Code, 20, "LETTER.TXT", &form)) << "the forms are " << codes;
    CloseForCheck();
}

// A full export cut short inside an item line of the DELIVERY form,
// imported back, stops at the cut line and says where; the form is not
// stored from half its items, and an export made afterwards is the first
// byte for byte. An empty SIE file is refused by its name, and neither run
// says it is done.
TEST_F(RoadTest, ACutFileAndAnEmptySieFileAreRefusedAndChangeNothing)
{
    const std::string company = StartNewCompany();
    const fs::path full = dir / "full.txt", cut = dir / "cut.txt", after = dir / "after.txt", empty = dir / "empty.se";
    ChooseTextExport("full", full);
    Menu("Window", "Close all");
    auto cutAt = std::make_shared<std::string>();   // "line, column" of the cut
    auto items = std::make_shared<int>();          // the item lines of the DELIVERY form
    Do("the export cut inside an item line of the DELIVERY form", [full, cut, cutAt, items] {
        std::ifstream in(full, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const size_t head = text.find("\r\nDELIVERY\t");
        if (head == std::string::npos) {
            ADD_FAILURE() << "the export holds no DELIVERY form";
            return false;
        }
        size_t at = head + 2;
        for (int line = 0; line < 6; line++) at = text.find("\r\n", at) + 2;
        at += 9;   // inside the sixth item, in its third column
        std::ofstream(cut, std::ios::binary) << text.substr(0, at);
        *cutAt = std::to_string(std::count(text.begin(), text.begin() + long(at), '\r') + 1) + ", 3";
        for (size_t l = text.find("\r\n", head + 2) + 2; l < text.size() && text.compare(l, 2, "\r\n") != 0;
             l = text.find("\r\n", l) + 2)
            ++*items;
        return true;
    });
    Menu("File", "Maintenance...");
    Check("the function list opens", Opened(FunctionList));
    ClickButton("Imports");
    ClickButton("Text file");
    ClickRow("");   // the text import
    AnswerFile(cut.string());
    Key(PlKey::Return);
    Check("the import stops at the cut line and says where", [cutAt] {
        EXPECT_TRUE(Told("The import stopped at a damaged line; what came before it was stored. Line and column: " +
                         *cutAt))
            << ::testing::PrintToString(Messages());
        EXPECT_EQ(StatusLineText().rfind("Import done", 0), std::string::npos) << StatusLineText();
        return true;
    });
    Menu("Window", "Close all");
    ChooseTextExport("full", after);
    Check("the company is as it was before the cut file", [full, after] {
        std::ifstream a(full, std::ios::binary), b(after, std::ios::binary);
        const std::string first((std::istreambuf_iterator<char>(a)), std::istreambuf_iterator<char>());
        const std::string second((std::istreambuf_iterator<char>(b)), std::istreambuf_iterator<char>());
        EXPECT_FALSE(first.empty());
        EXPECT_TRUE(first == second) << "the exports differ first at byte "
                                     << std::distance(first.begin(),
                                                      std::mismatch(first.begin(), first.end(), second.begin(), second.end()).first);
        return true;
    });

    Do("an empty SIE file", [empty] {
        std::ofstream(empty, std::ios::binary).flush();
        return true;
    });
    Menu("Window", "Close all");
    Menu("File", "Maintenance...");
    Check("the function list opens for the SIE file", Opened(FunctionList));
    ClickButton("Imports");
    ClickButton("Text file");
    ClickRow("SIE file");
    AnswerFile(empty.string());
    auto told = CountTold();
    Key(PlKey::Return);
    Check("the empty SIE file is refused by its name", [empty, told] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("This file is not an SIE file; nothing was imported from it: " + empty.string()))
            << ::testing::PrintToString(Messages());
        EXPECT_EQ(StatusLineText().rfind("Import done", 0), std::string::npos) << StatusLineText();
        return true;
    });

    // A name no file has, typed into the Open dialog of an import (the
    // dialog shown and answered by keys), is told to be missing, never
    // offered to be made; Esc then leaves the dialog with nothing read.
    for (const char *row : {"Text file", "Incoming bank payments"}) {
        Menu("Window", "Close all");
        Menu("File", "Maintenance...");
        Check("the function list opens for the import", Opened(FunctionList));
        ClickButton("Imports");
        ClickButton("Text file");
        ClickRow(row);
        auto before = CountTold();
        Do("the file dialogs shown", [] {
            ScriptSetInteractive(true);
            return true;
        });
        Key(PlKey::Return);
        Type("FULL2");
        Key(PlKey::Return);
        Key(PlKey::Return);   // OK to what the dialog told
        Key(PlKey::Escape);
        Do("the file dialogs answered by script again", [] {
            ScriptSetInteractive(false);
            return true;
        });
        Check(std::string("the missing file of the ") + row + " import is told, not offered", [before] {
            const std::vector<std::string> said = Messages();
            EXPECT_EQ(said.size(), *before + 1) << ::testing::PrintToString(said);
            EXPECT_TRUE(said.size() > *before && said.back().find("FULL2.TXT") != std::string::npos &&
                        said.back().find("not found") != std::string::npos)
                << ::testing::PrintToString(said);
            EXPECT_FALSE(Told("create")) << ::testing::PrintToString(said);
            EXPECT_FALSE(fs::exists(fs::current_path() / "FULL2.TXT"));
            return true;
        });
    }
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> form;
    ASSERT_TRUE(FindByCode(DocVc::Number, DocVc::Code, 20, "DELIVERY", &form));
    EXPECT_EQ(MatrixRowCount(DocVc::Number, 0, form.data()), *items) << "the form keeps all its items";
    RecFreeMatrix(DocVc::Number, form.data());
    CloseForCheck();
}

}  // namespace
