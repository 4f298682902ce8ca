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
// "Form definition named after a file".
// Windows: SIE export selection, Functions (exports, imports, maintenance).
#include "tests/roads/road_fixture.h"

#include <fstream>

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

}  // namespace
