// form_item_kind.h - the kind word of a form definition's item
// (DocVc::Rows::Kind): what the designer draws with its tools 1..5 and
// what the print-out draws. A field item prints the value of its field
// code; the others print what they hold.
#pragma once

#include <cstdint>

enum FormItemKind : uint16_t {
    FormItemNone = 0,  // no item: the designer's "no tool"
    FormItemText = 1,
    FormItemLine = 2,
    FormItemBox = 3,
    FormItemField = 4,
    FormItemPicture = 5,
};
