// asset_walk.cpp - the walk of the fixed assets (register 60) that the
// asset reports and the depreciation run share: the job record's code
// range in code order, its three selection codes, excluded assets left out.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "operations/asset_depreciation.h"
#include "rules/print_services.h"
#include "rules/rules_types.h"

namespace {

// True when the selection code of the job record at selAt is empty or
// equals (without regard to case) the asset's code at codeAt.
bool SelectionPasses(const uint8_t *selection, const uint8_t *asset, uint32_t selAt, int selMax, uint32_t codeAt,
                     int codeMax) {
    PString wanted, code;
    GetPString(selection, selAt, selMax, wanted);
    if (!wanted[0]) return true;
    GetPString(asset, codeAt, codeMax, code);
    return PStringCompareNoCase(wanted, code) == 0;
}

}  // namespace

void AssetWalk(const uint8_t *selection, bool (*each)(const uint8_t *asset, void *data), void *data) {
    assert(selection && each);
    PString range, from, to;
    GetText(selection, ReportParamsVc::SelText1, range);
    RangeSplit(range, from, to);
    MemBlock h = 0;
    uint8_t *asset = RecBufferNew(AssetVc::Number, &h);
    if (!asset) return;
    PutText(asset, AssetVc::Code, from);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(AssetVc::Number, asset, 1, 0, &recid, &position) && position > 0;
    for (uint32_t pos = position; found; pos++) {
        RecFreeMatrix(AssetVc::Number, asset);
        if (!RecReadAt(AssetVc::Number, int32_t(pos), asset, &recid)) break;
        PString code;
        GetText(asset, AssetVc::Code, code);
        if (to[0] && PStringCompareNoCase(code, to) > 0) break;
        const bool chosen = GetU16(asset, AssetVc::Excluded) == 0 &&
                            SelectionPasses(selection, asset, ReportParamsVc::SelText2, 255, AssetVc::Department, 5) &&
                            SelectionPasses(selection, asset, ReportParamsVc::SelText3, 255, AssetVc::Class, 5) &&
                            SelectionPasses(selection, asset, ReportParamsVc::SelText7, 21, AssetVc::Location, 10);
        if (chosen && !each(asset, data)) break;
        if (ReportPollStop() || UserCancelFlag) break;
    }
    RecFreeMatrix(AssetVc::Number, asset);
    RecBufferFree(AssetVc::Number, &h);
}
