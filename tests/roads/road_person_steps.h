// road_person_steps.h - the steps of the roads that keep a person's
// expense claims and payments: the person and the account it is owed on
// typed into their windows, a claim and a payment typed into theirs, and
// the posting of one from its list.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "tests/roads/road_fixture.h"

// In the General ledger module the account `account` ("Owed to staff", a
// liability) typed into the account window, then Registers > Persons, New:
// the person `code` named `name` with that account, stored quietly. Every
// window is closed afterwards.
void TypePersonWithAccount(RoadTest &road, const std::string &code, const std::string &name,
                           const std::string &account);

// How a claim or a payment is stored in its window: as typed (neither
// approved nor posted), approved (payments), or posted (a payment
// approved and posted). PostedNotStored ticks it as Posted does and
// leaves OK to the road (the result then stays empty).
enum class KeptAs { Typed, Approved, Posted, PostedNotStored };

// Purchasing > Registers > Expense claims, New: person `person`'s claim of
// one row on `account` for `amount` including VAT at VAT code 1, dated
// `date` when given (read when typed), typed and not stored yet.
void TypeExpenseClaimRows(RoadTest &road, const std::string &person, const std::string &account,
                          const std::string &amount, std::function<std::string()> date = {});

// The same claim stored by OK quietly as `kept`. Its number is in the
// result once that step ran; the window stays open.
std::shared_ptr<std::string> TypeExpenseClaim(RoadTest &road, const std::string &person, const std::string &account,
                                              const std::string &amount, KeptAs kept,
                                              std::function<std::string()> date = {});

// Purchasing > Registers > Person payments, New: a payment by mode `mode`
// of one row paying `person` `amount`, dated `date` when given (read when
// typed), stored by OK quietly as `kept`. Its number is in the result once
// that step ran; the window stays open.
std::shared_ptr<std::string> TypePersonPayment(RoadTest &road, const std::string &mode, const std::string &person,
                                               const std::string &amount, KeptAs kept,
                                               std::function<std::string()> date = {});

// In the record window open on a stored claim or payment: Posted ticked
// (Approved first for a payment not approved yet) and OK, which must
// store it quietly.
void PostInItsWindow(RoadTest &road, bool approveFirst);

// Purchasing > Registers > `list` (every window closed first), the record
// numbered *number found and the operation `operation` run on it; the
// road fails unless the run tells `said` followed by that number, and only
// that (nothing when `said` is empty).
void RunOnListRow(RoadTest &road, const std::string &list, int listType, std::shared_ptr<std::string> number,
                  const std::string &operation, const std::string &said = "");
// What the expense claims' "Post marked" says of a claim it posted, before
// the claim's number.
inline constexpr const char *ClaimPostedSays = "This expense claim is posted: number ";

// File > Reports (Ctrl+R) > "Person Statements" for person `person` over
// this year, to the preview and then to the printer's PDF, whose text is
// in the result once that step ran (pictures named from `shot`).
std::shared_ptr<std::string> PersonStatementOfTheYear(RoadTest &road, const std::string &person,
                                                      const std::string &shot);

// In the open selection window: the From and To fields given this year's
// first and last day.
void TypeThisYear(RoadTest &road);
