// field_lists.cpp - the field list of every register and settings block
// section of the text exchange, by layout version. Positions are the
// dictionary's fields; the order is the file's.
#include "exchange/field_lists.h"

#include "core/field_types.h"
#include "dict_offsets.h"

namespace {

// A code (upper-cased, at most 5) and a name (at most 60): the short
// sections of classes, languages and order kinds.
const Column CodeAndName[] = {
    {OTVc::Code, FtCodeNoSep, 5},
    {OTVc::Name, FtText, 60},
};
static_assert(OTVc::Code == OrderClassVc::Code && OTVc::Name == OrderClassVc::Name);
static_assert(ObjTypeControlBlk::Rows::ObjType == OTVc::Code && ObjTypeControlBlk::Rows::AccountList == OTVc::Name);
static_assert(LanguageBlk::Rows::Code == OTVc::Code && LanguageBlk::Rows::Name == OTVc::Name);
static_assert(QuoteClassBlk::Rows::Code == OTVc::Code && QuoteClassBlk::Rows::Name == OTVc::Name);
static_assert(ContractClassBlk::Rows::Code == OTVc::Code && ContractClassBlk::Rows::Name == OTVc::Name);
static_assert(ProdClassBlk::Rows::Code == OTVc::Code && ProdClassBlk::Rows::Name == OTVc::Name);

const FieldList Lists[] = {
    {false, OTVc::Number, OTVc::Number, 1, CodeAndName, 0, {}},
    {false, OrderClassVc::Number, OrderClassVc::Number, 1, CodeAndName, 0, {}},
    {true, ObjTypeControlBlk::Number, ObjTypeControlBlk::Number, 0, CodeAndName, 0, {}},
    {true, LanguageBlk::Number, LanguageBlk::Number, 0, CodeAndName, 0, {}},
    {true, QuoteClassBlk::Number, QuoteClassBlk::Number, 0, CodeAndName, 0, {}},
    {true, ContractClassBlk::Number, ContractClassBlk::Number, 0, CodeAndName, 0, {}},
    {true, ProdClassBlk::Number, ProdClassBlk::Number, 0, CodeAndName, 0, {}},
};

}  // namespace

const std::span<const FieldList> FieldLists(Lists);
