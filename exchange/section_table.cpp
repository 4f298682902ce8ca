// section_table.cpp - the text exchange's tables as data: the section tag
// of every register and settings block, the import's dispatch table in the
// order it compares tags, the full export's order, and the rescue classes.
#include "exchange/section_table.h"

#include <cassert>
#include <cstring>
#include <iterator>

#include "core/pstring.h"
#include "exchange/old_master_sections.h"

namespace {

struct NumberTag {
    uint16_t number;
    const char *tag;
};

// Registers 25, 26 and 34 to 43 share "kgrupp2" and are found by range.
const NumberTag RegisterTags[] = {
    {2, "cu2"}, {3, "artikel2"}, {4, "purchase2"}, {5, "fakt1"}, {7, "order1"}, {8, "ship1"},
    {9, "sm1"}, {10, "betal3"}, {11, "trans4"}, {14, "artgrupp1"}, {15, "obj2"}, {16, "konto3"},
    {19, "auto"}, {20, "budg1v3"}, {21, "budg2v3"}, {22, "budford"}, {23, "shipdeal2"}, {24, "ot"},
    {25, "kgrupp2"}, {26, "kgrupp2"}, {27, "ve2"}, {28, "lfakt1"}, {30, "utbet1"}, {44, "user1"},
    {45, "co1"}, {46, "access2"}, {47, "er1"}, {48, "vg"}, {50, "pl1"}, {51, "fb1"},
    {52, "medarbettyp"}, {53, "pr2"}, {54, "TimeSheets"}, {55, "qt1"}, {56, "pi1"}, {57, "pd2"},
    {58, "po1"}, {60, "at2"}, {61, "dep"}, {62, "pldef1"}, {63, "pform1"}, {64, "staff1"},
    {65, "kundgrupp1"}, {66, "reb1"}, {68, "timebud"}, {71, "custdisc"}, {72, "costbud"},
    {73, "timeitem"}, {74, "country"}, {76, "rec1"}, {77, "prod1"}, {78, "location"},
    {79, "trdaylist"}, {80, "trfaultrep"}, {81, "trpricelist"}, {82, "trfillers"},
    {83, "trbookspot"}, {85, "trorder"}, {86, "trad"}, {87, "trspot"}, {88, "trdaytype"},
    {89, "trbreaks"}, {90, "trcampaign"}, {91, "doc2"}, {92, "stockmov1"}, {93, "styles"},
    {94, "trspeaker"}, {95, "trbransch"}, {96, "truserlevel"}, {97, "trcurebate"},
    {98, "trspotarchive"}, {100, "cuacc"}, {101, "int"}, {102, "ir"}, {109, "exp1"}, {110, "pp1"},
    {114, "trsettingstring"}, {115, "windows"}, {116, "contact1"}, {118, "cpaytype"}, {119, "empl"},
    {120, "paytype"}, {122, "dprmod"}, {123, "dm2"}, {124, "enhet2"}, {125, "cpm1"}, {126, "sp1"},
    {128, "orderclass"}, {129, "xs"}, {130, "batchtext"}, {132, "bank2"},
};

const NumberTag BlockTags[] = {
    {129, "company4"}, {130, "momskod1"}, {131, "betsatt1"}, {132, "serier2"}, {133, "faktkonton1"},
    {134, "faktranta1"}, {135, "tser12"}, {136, "periods"}, {137, "dblock"}, {139, "remindertext"},
    {145, "sysformat"}, {149, "yearcode1"}, {152, "prodserblock"}, {153, "vit"}, {155, "levkonton1"},
    {156, "momsdef"}, {162, "printers"}, {163, "repdef"}, {170, "autoaction"}, {172, "currency1"},
    {173, "slaccs"}, {175, "objtypecontrol"}, {179, "downpay"}, {181, "language1"},
    {182, "roundoff"}, {186, "freight"}, {187, "ivserblock"}, {188, "ipserblock"},
    {189, "viserblock"}, {190, "opserblock"}, {191, "smserblock"}, {192, "orserblock"},
    {193, "shserblock"}, {194, "puserblock"}, {195, "qtserblock"}, {196, "tsserblock"},
    {197, "trserblock"}, {198, "poserblock"}, {199, "trgen"}, {200, "ac"}, {201, "projectblock"},
    {202, "costacc"}, {203, "mainstock"}, {204, "stockmovserblock"}, {205, "creditlimit"},
    {208, "vatcode"}, {211, "quoteclass"}, {214, "paymatrix"}, {216, "cashblock"},
    {218, "contractclass"}, {219, "agedblock"}, {223, "structprint"}, {224, "bankfile"},
    {227, "prclass"},
};

// The tag of number in a table into a PString; empty when not listed.
void TagOf(const NumberTag *table, size_t n, int number, uint8_t *tag)
{
    assert(tag);
    tag[0] = 0;
    for (size_t i = 0; i < n; i++)
        if (table[i].number == number) {
            PStringFromC(tag, table[i].tag);
            return;
        }
}

constexpr TagReader R = TagReader::Register, B = TagReader::Block;
constexpr TagReader S = TagReader::OldMasters;

const ImportTag ImportTagTable[] = {
    {"trdaylist", R, 79, 1, 0}, {"trfaultrep", R, 80, 1, 0}, {"trpricelist", R, 81, 1, 0},
    {"trfillers", R, 82, 1, 0}, {"trbookspot", R, 83, 1, 0}, {"trorder", R, 85, 1, 0},
    {"trad", R, 86, 1, 0}, {"trspot", R, 87, 1, 0}, {"trdaytype", R, 88, 1, 0},
    {"trbreaks", R, 89, 1, 0}, {"trcampaign", R, 90, 1, 0}, {"trspeaker", R, 94, 1, 0},
    {"trbransch", R, 95, 1, 0}, {"truserlevel", R, 96, 1, 0}, {"trcurebate", R, 97, 1, 0},
    {"trspotarchive", R, 98, 1, 0}, {"trsettingstring", TagReader::SkipWhole, 114, 1, 0}, {"ac", B, 200, 0, 0},
    {"access", R, 46, 1, 0}, {"access2", R, 46, 2, 0}, {"agedblock", B, 219, 0, 0},
    {"anv", S, uint16_t(OldMasterSection::UserAnv), 0, 0}, {"artgrupp1", R, 14, 1, 1}, {"artikel1", R, 3, 1, 1},
    {"artikel2", R, 3, 2, 1}, {"at", R, 60, 1, 1}, {"at2", R, 60, 2, 1},
    {"auto", R, 19, 1, 1}, {"autoaction", B, 170, 0, 0}, {"bank", R, 132, 1, 1},
    {"bank2", R, 132, 2, 1}, {"bankfile", B, 224, 0, 0}, {"batchtext", R, 130, 1, 1},
    {"betal2", R, 10, 2, 0}, {"betal3", R, 10, 3, 0}, {"bets\xE4tt1", B, 131, 0, 0},
    {"betsatt1", B, 131, 0, 0}, {"betvillk1", R, 57, 1, 1}, {"BFO", TagReader::Bfo, 0, 0, 0},
    {"budford", R, 22, 1, 1}, {"budg", TagReader::Balances, 2, 0, 0}, {"budget", TagReader::Balances, 2, 0, 0},
    {"budg1v2", TagReader::Balances, 3, 0, 0}, {"budg1v3", R, 20, 1, 1}, {"budg2v2", R, 21, 2, 1},
    {"budg2v3", R, 21, 3, 1}, {"cashblock", B, 216, 0, 0}, {"co1", R, 45, 1, 0},
    {"company4", B, 129, 0, 0}, {"contractclass", B, 218, 0, 0}, {"costacc", B, 202, 0, 0},
    {"costbud", R, 72, 1, 0}, {"country", R, 74, 1, 1}, {"cpaytype", R, 118, 1, 1},
    {"cpm1", R, 125, 1, 0}, {"cuacc", R, 100, 1, 1}, {"currency1", B, 172, 0, 0},
    {"custdisc", R, 71, 1, 0}, {"dblock", B, 137, 0, 0}, {"defblock", TagReader::SkipWhole, 0, 0, 0},
    {"defblock2", TagReader::DefBlock, 0, 0, 0}, {"dep", R, 61, 1, 1}, {"dprmod", R, 122, 1, 1},
    {"dm", R, 123, 1, 1}, {"dm2", R, 123, 2, 1}, {"doc", R, 91, 1, 1},
    {"doc2", R, 91, 2, 1}, {"downpay", B, 179, 0, 0}, {"empl", R, 119, 1, 1},
    {"empl0", R, 119, 0, 1}, {"enhet1", R, 124, 1, 1}, {"enhet2", R, 124, 2, 1},
    {"er1", R, 47, 1, 1}, {"exp1", R, 109, 1, 0}, {"fakt1", R, 5, 1, 0},
    {"okfakt", TagReader::OkInvoices, 0, 0, 0}, {"faktkonton1", B, 133, 0, 0}, {"faktr\xE4nta1", B, 134, 0, 0},
    {"faktranta1", B, 134, 0, 0}, {"fb1", R, 51, 1, 0}, {"fgres", TagReader::Balances, 4, 0, 0},
    {"format", TagReader::Format, 0, 0, 0}, {"fp", R, 91, 0, 1}, {"freight", B, 186, 0, 0},
    {"f\xF6retag1", TagReader::OldCompany1, 0, 0, 0}, {"f\xF6retag2", TagReader::OldCompany, 2, 0, 0},
    {"f\xF6retag3", TagReader::OldCompany, 3, 0, 0},
    {"insaldon2", TagReader::Balances, 1, 0, 0}, {"int", R, 101, 1, 1}, {"ir", R, 102, 1, 1},
    {"kgrupp2", TagReader::Group, 0, 0, 0}, {"konto3", R, 16, 3, 1}, {"kund1", R, 2, 1, 1},
    {"cu2", R, 2, 2, 1}, {"creditlimit", B, 205, 0, 0}, {"contact1", R, 116, 1, 1},
    {"kundgrupp1", R, 65, 1, 1}, {"language1", B, 181, 0, 0}, {"leverant\xF6r1", R, 27, 1, 1},
    {"levkonton1", B, 155, 0, 0}, {"levSR1", S, uint16_t(OldMasterSection::PurchaseSeries), 0, 0}, {"lfakt1", R, 28, 1, 0},
    {"location", R, 78, 1, 1}, {"mainstock", B, 203, 0, 0}, {"mlc", TagReader::SkipWhole, 0, 0, 0},
    {"momskod1", B, 130, 0, 0}, {"momsdef", B, 156, 0, 0}, {"nyckel1", TagReader::KeyBlock, 0, 0, 0},
    {"obj2", R, 15, 1, 1}, {"objtypecontrol", B, 175, 0, 0}, {"order1", R, 7, 1, 0},
    {"orderclass", R, 128, 1, 1}, {"ot", R, 24, 1, 1}, {"paymatrix", B, 214, 0, 0},
    {"paytype", R, 120, 1, 1}, {"pd2", R, 57, 2, 1}, {"periods", B, 136, 0, 0},
    {"pform1", R, 63, 1, 1}, {"pi1", R, 56, 1, 1}, {"pl1", R, 50, 1, 1},
    {"pldef1", R, 62, 1, 1}, {"po1", R, 58, 1, 0}, {"pp1", R, 110, 1, 0},
    {"prclass", B, 227, 0, 0}, {"price1", S, uint16_t(OldMasterSection::ItemPrices), 0, 0}, {"printers", B, 162, 0, 0},
    {"prislista1", S, uint16_t(OldMasterSection::PriceListOld), 0, 0}, {"prod1", R, 77, 1, 1}, {"projectblock", B, 201, 0, 0},
    {"purchase1", R, 4, 1, 0}, {"purchase2", R, 4, 2, 0}, {"p\xE5mstat", TagReader::NoticeStats, 0, 0, 0},
    {"p\xE5mtext1", TagReader::NoticeTexts, 0, 0, 0}, {"qt1", R, 55, 1, 0}, {"quoteclass", B, 211, 0, 0},
    {"rabatt1", TagReader::SkipWhole, 0, 0, 0}, {"reb1", R, 66, 1, 1}, {"rec1", R, 76, 1, 1},
    {"remindertext", B, 139, 0, 0}, {"repdef", B, 163, 0, 0}, {"roundoff", B, 182, 0, 0},
    {"salesman", S, uint16_t(OldMasterSection::Salesman), 0, 0}, {"serier1", TagReader::OldSeries, 0, 0, 0}, {"serier2", B, 132, 0, 0},
    {"serier3", S, uint16_t(OldMasterSection::SeriesWithFlag), 0, 0}, {"seqnr", TagReader::SeqNr, 0, 0, 0}, {"setuptcp", TagReader::NetSettings, 0, 0, 0},
    {"ship1", R, 8, 1, 0}, {"shipdeal", R, 23, 1, 1}, {"shipdeal2", R, 23, 2, 1},
    {"signs1", S, uint16_t(OldMasterSection::UserOld), 0, 0}, {"slaccs", B, 173, 0, 0}, {"sm1", R, 9, 1, 0},
    {"sp1", R, 126, 1, 0}, {"staff1", R, 64, 1, 1}, {"stockmov1", R, 92, 1, 0},
    {"structprint", B, 223, 0, 0}, {"styles", R, 93, 1, 1}, {"sysformat", B, 145, 0, 0},
    {"timebud", R, 68, 1, 0}, {"timeitem", R, 73, 1, 1}, {"TimeSheets", R, 54, 1, 0},
    {"tser4", TagReader::Balances, 5, 0, 0}, {"projects", R, 53, 1, 1}, {"pr2", R, 53, 2, 1},
    {"medarbettyp", R, 52, 1, 1}, {"tb", TagReader::Header, 0, 0, 0}, {"trans3", TagReader::Vouchers, 0, 0, 0},
    {"trans4", R, 11, 4, 0}, {"transfix", TagReader::OldVouchers, 0, 0, 0}, {"trgen", B, 199, 0, 0},
    {"tser12", B, 135, 0, 0}, {"user1", R, 44, 1, 0}, {"utbet1", R, 30, 1, 0},
    {"vatcode", B, 208, 0, 0}, {"verserier", S, uint16_t(OldMasterSection::Series), 0, 0}, {"ve2", R, 27, 2, 1},
    {"vg", R, 48, 1, 1}, {"vit", B, 153, 0, 0}, {"windows", R, 115, 1, 0},
    {"yearcode1", TagReader::YearCode, 149, 0, 0}, {"xs", R, 129, 1, 0}, {"ipserblock", B, 188, 0, 0},
    {"ivserblock", B, 187, 0, 0}, {"opserblock", B, 190, 0, 0}, {"smserblock", B, 191, 0, 0},
    {"orserblock", B, 192, 0, 0}, {"shserblock", B, 193, 0, 0}, {"puserblock", B, 194, 0, 0},
    {"qtserblock", B, 195, 0, 0}, {"poserblock", B, 198, 0, 0}, {"prodserblock", B, 152, 0, 0},
    {"trserblock", B, 197, 0, 0}, {"tsserblock", B, 196, 0, 0}, {"viserblock", B, 189, 0, 0},
    {"stockmovserblock", B, 204, 0, 0},
};

constexpr ExportStepKind SB = ExportStepKind::Block, SR = ExportStepKind::Register,
                         SD = ExportStepKind::DefBlock, SK = ExportStepKind::KeyBlock;

// The eight series blocks of the full order stand as one SerialBlocks
// step, which writes all fourteen series blocks.
const ExportStep ExportOrderTable[] = {
    {SB, 145, 145}, {SB, 129, 129}, {SB, 149, 149}, {ExportStepKind::SerialBlocks, 0, 0},
    {SB, 137, 137}, {SB, 199, 199}, {SB, 208, 208}, {SB, 170, 170}, {SB, 175, 175}, {SB, 162, 162},
    {SB, 136, 136}, {SB, 186, 186}, {SB, 182, 182}, {SB, 202, 202}, {SB, 181, 181}, {SB, 139, 139},
    {SB, 224, 224}, {SR, 74, 74}, {SB, 172, 172}, {SR, 46, 46}, {SR, 44, 44}, {SR, 16, 16},
    {SB, 173, 173}, {SB, 135, 135}, {SR, 78, 78}, {SR, 24, 24}, {SR, 15, 15}, {SB, 163, 163},
    {SR, 25, 25}, {SR, 26, 26}, {SR, 34, 43}, {SB, 156, 156}, {SK, 150, 150}, {SK, 164, 168},
    {SR, 19, 19}, {SB, 133, 133}, {SR, 57, 57}, {SB, 131, 131}, {SB, 214, 214}, {SR, 123, 123},
    {SR, 23, 23}, {SB, 134, 134}, {SB, 219, 219}, {SR, 101, 101}, {SR, 102, 102}, {SR, 45, 45},
    {SB, 179, 179}, {SR, 124, 124}, {SB, 130, 130}, {SB, 218, 218}, {SR, 128, 128}, {SB, 211, 211},
    {SB, 227, 227}, {SD, 140, 144}, {SD, 146, 146}, {SD, 148, 148}, {SD, 154, 154}, {SD, 157, 158},
    {SD, 183, 185}, {SD, 151, 151}, {SD, 180, 180}, {SD, 160, 160}, {SD, 174, 174}, {SD, 217, 217},
    {SD, 178, 178}, {SD, 147, 147}, {SD, 207, 207}, {SD, 209, 210}, {SD, 212, 212}, {SD, 221, 222},
    {SD, 215, 215}, {SR, 63, 63}, {SR, 64, 64}, {SR, 62, 62}, {SR, 65, 65}, {SR, 66, 66},
    {SR, 50, 50}, {SR, 14, 14}, {SR, 3, 3}, {SR, 56, 56}, {SB, 203, 203}, {SB, 223, 223},
    {SB, 205, 205}, {SR, 92, 92}, {SB, 201, 201}, {SR, 120, 120}, {SR, 118, 118}, {SR, 125, 125},
    {SR, 115, 115}, {SR, 61, 61}, {SR, 91, 91}, {SR, 93, 93}, {SR, 52, 52}, {SR, 119, 119},
    {SR, 53, 53}, {SR, 73, 73}, {SR, 68, 68}, {SR, 72, 72}, {SR, 71, 71}, {SR, 76, 76},
    {SR, 2, 2}, {SR, 116, 116}, {SR, 47, 47}, {SR, 55, 55}, {SR, 7, 7}, {SR, 58, 58},
    {SR, 4, 4}, {SR, 8, 8}, {SR, 129, 129}, {SR, 5, 5},
    {SR, 10, 10}, {SB, 132, 132}, {SR, 51, 51}, {SR, 22, 22}, {SR, 20, 20},
    {SR, 21, 21}, {SR, 11, 11}, {SR, 9, 9}, {SR, 126, 126}, {SR, 77, 77}, {SR, 54, 54},
    {SB, 155, 155}, {SB, 153, 153}, {SR, 132, 132}, {SB, 216, 216}, {SR, 48, 48}, {SR, 27, 27},
    {SR, 28, 28}, {SR, 30, 30}, {SR, 100, 100}, {SR, 109, 109}, {SR, 110, 110}, {SR, 122, 122},
    {SB, 200, 200}, {SR, 60, 60}, {SR, 130, 130}, {SR, 79, 83}, {SR, 85, 89}, {SR, 90, 90},
    {SR, 94, 98}, {SR, 114, 114},
};

}  // namespace

const std::span<const ImportTag> ImportTags(ImportTagTable);
const std::span<const ExportStep> FullExportOrder(ExportOrderTable);

// The section tag of a register; registers 34 to 43 share the group tag.
void RegisterTextTag(int reg, uint8_t *tag)
{
    if (reg >= 34 && reg <= 43) reg = 25;
    TagOf(RegisterTags, std::size(RegisterTags), reg, tag);
}

// The section tag of a settings block.
void BlockTextTag(int block, uint8_t *tag)
{
    TagOf(BlockTags, std::size(BlockTags), block, tag);
}

// The rescue's class of a register: customers and accounts 1, the
// payment registers 3, every other 2.
int RescueRegisterClass(int reg)
{
    if (reg == 2 || reg == 16) return 1;
    if (reg == 10 || reg == 30) return 3;
    return 2;
}

// The rescue's class of a block: the number-and-date format 4, every other 1.
int RescueBlockClass(int block)
{
    return block == 145 ? 4 : 1;
}
