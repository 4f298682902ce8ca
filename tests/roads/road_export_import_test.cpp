// road_export_import_test.cpp - a company carried to another by text
// export and import, from the menus: a customer added by keys, a full
// export from File > Maintenance's function list to a text file, a
// second new company made from File > Company that imports the file, and
// its own full export, which is the first byte for byte but for the
// verifier of ADMIN's password that each company salted itself.
// Menus: in Sales, Registers > Customers (Ctrl+1); File > Maintenance... >
// "full", File > Company..., File > Maintenance... > text import.
// Windows: those its menu entries open.
#include "tests/roads/road_fixture.h"

#include <fstream>
#include <iterator>

#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "tests/exchange/demo_defaults.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ExportImportRoad : public RoadTest {
protected:
    // File > Maintenance, the function list's exports, the full export
    // to the text file `file`.
    void FullExport(const fs::path &file)
    {
        ChooseTextExport("full", file);
        Check("the export is written", [file] {
            EXPECT_TRUE(fs::exists(file)) << file << "; told " << ::testing::PrintToString(Messages());
            return fs::exists(file);
        });
    }
};

TEST_F(ExportImportRoad, FullExportImportedIntoANewCompanyExportsTheSame)
{
    const fs::path first = dir / "first.txt", second = dir / "second.txt";
    StartNewCompany("one.VDB");
    // A customer of this company's own, so the carried file is more than the defaults.
    Key('1', false, true);
    Key('N', false, true);
    Type("C9");
    Key(PlKey::Tab);
    Type("Carried Customer");
    ClickOk();
    Check("the customer is stored", [] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return true;
    });
    FullExport(first);
    Check("the export starts as a full export", [first] {
        std::string text = ReadAll(first);
        EXPECT_EQ(text.rfind("tb\t\r\n", 0), 0u) << text.substr(0, 40);
        EXPECT_NE(text.find("Carried Customer"), std::string::npos);
        return true;
    });

    // A second company, by File > Company: the defaults, the login, then
    // the import of the first company's file.
    const std::string two = (dir / "two.VDB").string();
    AnswerBox(kPlIdNo);   // leaving windows open with nothing to store
    AnswerFile(two);
    Menu("File", "Company...");
    Check("the second company asks for a login", [] {
        EXPECT_EQ(ActiveType(), 15) << ActiveTitle();
        return ActiveType() == 15;
    });
    ClickField("User code");
    Type("ADMIN");
    ClickField("Password");
    Type("orvel");
    ClickOk();
    Menu("File", "Maintenance...");
    ClickButton("Imports");
    ClickButton("Text file");
    Check("the import list offers the text import", [] {
        EXPECT_FALSE(ListRows().empty());
        return !ListRows().empty();
    });
    ClickRow("");   // its first row
    AnswerFile(first.string());
    Key(PlKey::Return);
    Check("the import ran", [] {
        EXPECT_FALSE(Told("not imported")) << ::testing::PrintToString(Messages());
        return true;
    });
    FullExport(second);
    EXPECT_EQ(Run(), 0);

    std::string a = ReadAll(first), b = ReadAll(second);
    EXPECT_GT(a.size(), 1000u);
    // Each company salted its own verifier of ADMIN's password, and the
    // second keeps its own ADMIN: the exports differ there alone.
    const std::string verifierA = demodefaults::AdminPassword(a), verifierB = demodefaults::AdminPassword(b);
    for (const std::string &text : {verifierA, verifierB}) {
        PasswordVerifier v;
        EXPECT_TRUE(VerifierFromText(text, &v) && VerifierMatches(v, "orvel")) << text;
    }
    a = demodefaults::WithAdminPassword(a, verifierB);
    EXPECT_TRUE(a == b) << "the exports differ first at byte "
                        << std::distance(a.begin(), std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first);

    ASSERT_TRUE(OpenForCheck(two));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C9", &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::Name), "Carried Customer");
    EXPECT_EQ(RegRecordCount(CUVc::Number), 4u);
}

}  // namespace
