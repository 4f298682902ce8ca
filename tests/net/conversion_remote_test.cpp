// conversion_remote_test.cpp - the same conversions run stand-alone and
// as the client of a server in a process of its own (request 29): an
// order made into a delivery, a kind sent with the wrong register, a
// source that is not there. Both runs must make the same records and
// refuse the same requests.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "database/access/settings_blocks.h"
#include "exchange/text_exchange.h"
#include "features/program_start.h"
#include "output/output_job.h"
#include "rules/convert_document.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"
#include "shell/database_open.h"
#include "tests/net/net_fixture.h"
#include "tests/output/test_job.h"

using namespace nettest;
namespace fs = std::filesystem;

namespace {

void InstallServices() {
    RulesInstall();
    FeaturesInstall();
}

std::string DefaultsText() {
    std::ifstream in(fs::path(ORVEL_TEST_DATA_DIR) / ".." / "dict" / "DEFAULT.TXT", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void PutText(uint8_t *base, uint32_t offset, int max, const char *text) {
    uint8_t p[256];
    PStringFromC(p, text);
    PutPString(base, offset, max, p);
}

double Num(const uint8_t *base, uint32_t at) {
    PackedDecimal d = GetDec(base, at);
    return DecIsBlank(&d) ? 0 : DecToDouble(&d);
}

// What one run made: the ids conversions gave, the delivery's order
// serial, item and quantity, and the order's quantity on deliveries.
struct FlowResult {
    uint32_t made = 0, wrongRegister = 0, missing = 0, orderSerial = 0, deliveryOrder = 0;
    std::string item;
    double toDeliver = -1, onDeliveries = -1;
    uint32_t deliveries = 0;
};

void Work(FlowResult *out) {
    std::string defaults = DefaultsText();
    std::memset(TestJob, 0, ReportParamsSize);
    PutU16(TestJob, ReportParamsVc::OutputKind, ImportSourceMemory);
    if (RunModeIsClient()) {
        ASSERT_TRUE(ImportRunRemote(TestJob, ReportParamsSize, (const uint8_t *)defaults.data(),
                                    (uint32_t)defaults.size()));
        SettingsBlocksReload();
    } else {
        ImportMemorySource((const uint8_t *)defaults.data(), (uint32_t)defaults.size());
        ImportRun();
        ImportFileClose();
    }
    MemBlock h = 0;
    uint8_t *o = RecBufferNew(ORVc::Number, &h);
    RecNewDefaults(ORVc::Number, o);
    PutText(o, ORVc::CustCode, 20, "C1");
    uint8_t row[ORVc::Rows::Size] = {};
    PutU16(row, ORVc::Rows::Kind, 1);
    PutText(row, ORVc::Rows::ItemCode, 20, "SERVICE");
    PackedDecimal two;
    DecFromLong(&two, 2);
    PutDec(row, ORVc::Rows::Quantity, two);
    ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, 0, row));
    uint32_t order = 0;
    int result = -100;
    RecInsertChecked(ORVc::Number, o, &order, &result);
    ASSERT_EQ(result, RecDone);
    out->orderSerial = GetU32(o, ORVc::SerNr);
    RecBufferFree(ORVc::Number, &h);

    uint8_t *d = RecBufferNew(SHVc::Number, &h);
    PutU32(d, SHVc::OrderNr, order);
    EXPECT_TRUE(ConvertDocumentCall(SHVc::Number, ConvertOrderToDelivery, d, &out->made));
    out->deliveryOrder = GetU32(d, SHVc::OrderNr);
    uint8_t line[SHVc::Rows::Size];
    if (MatrixRowRead(SHVc::Number, d, 0, line)) {
        uint8_t code[256];
        ::GetText(line, SHVc::Rows::ItemCode, code);
        out->item = PStringToStd(code);
        out->toDeliver = Num(line, SHVc::Rows::ToDeliver);
    }
    RecBufferFree(SHVc::Number, &h);

    uint8_t *c = RecBufferNew(CUVc::Number, &h);
    PutU32(c, 4, order);
    EXPECT_FALSE(ConvertDocumentCall(CUVc::Number, ConvertOrderToDelivery, c, &out->wrongRegister));
    RecBufferFree(CUVc::Number, &h);
    d = RecBufferNew(SHVc::Number, &h);
    PutU32(d, SHVc::OrderNr, 999999);
    EXPECT_FALSE(ConvertDocumentCall(SHVc::Number, ConvertOrderToDelivery, d, &out->missing));
    RecBufferFree(SHVc::Number, &h);

    o = RecBufferNew(ORVc::Number, &h);
    ASSERT_TRUE(RecReadById(ORVc::Number, order, o));
    if (MatrixRowRead(ORVc::Number, o, 0, row)) out->onDeliveries = Num(row, ORVc::Rows::QtyDelivered);
    RecBufferFree(ORVc::Number, &h);
    out->deliveries = RegRecordCount(SHVc::Number);
}

class ConversionRemoteTest : public NetServerTest {
protected:
    nettest::ServerSetup ServerExtra() override { return InstallServices; }
    fs::path folder;
    void SetUp() override {
        NetServerTest::SetUp();
        if (HasFatalFailure()) return;
        InstallServices();
        folder = fs::path(::testing::TempDir()) / ("orvel_convert_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        ImportFileClose();
        ImportResult = ImportResultRec{};
        RegisterHooksClear();
        if (D4IsOpen()) D4Close();
        fs::remove_all(folder);
        NetServerTest::TearDown();
    }
};

}  // namespace

TEST_F(ConversionRemoteTest, AClientConvertsAsAStandAloneProgramDoes) {
    FlowResult client;
    RunMode = RunModeClient;
    NetClientStart();
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)port, nullptr));
    uint8_t name[256], pw[256], access[AccessVc::Size + 8] = {0};
    PStringFromC(name, "ANY");
    PStringFromC(pw, "");
    ASSERT_TRUE(LoginRemote(AccessVc::Number, name, pw, access));
    Work(&client);
    NetClientClose();
    ServerEnd end = Stop();
    EXPECT_TRUE(end.integrity) << end.report;
    NetShutdown();
    TransportInstall(nullptr, nullptr);

    FlowResult alone;
    RunMode = 0;
    std::string local = (folder / "alone.VDB").string();
    ASSERT_TRUE(DbLayerInit());
    ASSERT_EQ(D4Create(local.c_str(), 0), D4OpenOk);
    ASSERT_TRUE(SettingsStartup());
    Work(&alone);

    EXPECT_NE(alone.made, SerialNone);
    EXPECT_EQ(alone.item, "SERVICE");
    EXPECT_EQ(alone.toDeliver, 2);
    EXPECT_EQ(alone.onDeliveries, 2);
    EXPECT_EQ(alone.deliveryOrder, alone.orderSerial);
    EXPECT_EQ(alone.deliveries, 1u);
    EXPECT_EQ(alone.wrongRegister, SerialNone);
    EXPECT_EQ(alone.missing, SerialNone);
    EXPECT_EQ(client.made, alone.made);
    EXPECT_EQ(client.item, alone.item);
    EXPECT_EQ(client.toDeliver, alone.toDeliver);
    EXPECT_EQ(client.onDeliveries, alone.onDeliveries);
    EXPECT_EQ(client.deliveryOrder, client.orderSerial);
    EXPECT_EQ(client.orderSerial, alone.orderSerial);
    EXPECT_EQ(client.deliveries, alone.deliveries);
    EXPECT_EQ(client.wrongRegister, SerialNone);
    EXPECT_EQ(client.missing, SerialNone);
}
