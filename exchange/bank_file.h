// bank_file.h - the bank payment file export (export kind 15) and what
// its format writers share: the walk over the outgoing payments, the
// fixed-width field writers, the text formatters of the bank formats and
// the bookkeeping of which payments went into the file.
//
// A bank file is a series of fixed-width lines ended by CR LF, the
// fields of a line following each other without a separator. The line
// end is written when the next line starts (and by the job's end after
// the last line), so the file never ends with an empty line.
//
// A payment is marked sent only when its format writer wrote it whole and
// the job then ended without a stop or a failed write; payments that
// could not be written stay unsent and are listed to the user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/decimal.h"
#include "core/pstring.h"
#include "core/report_job.h"

// The company's bank-file formats: the country variant word picks one.
constexpr uint16_t BankFormatSwedish = uint16_t(CountryVariant::V5), BankFormatTelepay = uint16_t(CountryVariant::V9),
                   BankFormatLm = uint16_t(CountryVariant::V13), BankFormatEstonian = uint16_t(CountryVariant::V27);

// ---- bank_file.cpp: the frame ----
// Export kind 15: writes the ready payments of the selection's number
// range in the company's bank-file format. Which payments were written is
// kept until BankFileJobEnded.
void WriteBankFile(const ReportJob &job);
// After the job of kind 15 has ended: when ok (no stop, no failed write)
// marks the written payments sent and stores the format's counters; in
// every case lists the payments left unsent and forgets the run. A file
// that holds no payment (every one refused, or none left to send) is not
// kept. Ends with the run's one line: the payments and the file written,
// or why no file was written.
void BankFileJobEnded(bool ok);
// The outcome of writing one payment: written whole; not written (it
// stays unsent and is listed with the reason BankRefuse gave); or it
// belongs to the other file of its format (it stays unsent, not listed).
enum class BankWrite { Written, NotWritten, OtherFile };
// Keeps why the payment being written stays unsent: text n, followed by
// detail when one is given (an account, an invoice number). Returns
// NotWritten, so a writer says `return BankRefuse(...)`.
BankWrite BankRefuse(int n, const uint8_t *detail = nullptr);
BankWrite BankRefuseNumber(int n, int64_t detail);
// The files of the run as the user chose or got them, once it has ended
// whole: the first and the last name and how many; the payments in them.
struct BankFileOutcome {
    int payments = 0, files = 0;
    std::string first, last;
};

// ---- bank_file.cpp: the fixed-width field writers ----
// Starts a new line of the file (ends the line before it, if any).
void BankLineStart();
// A text left in width places, filled with blanks, cut to the width.
void BankText(const uint8_t *text, int width);
void BankTextC(const char *text, int width);
// width blanks.
void BankBlanks(int width);
// A text cut to width and placed in width fill characters: at the left,
// or with right set ending at the right edge.
void BankField(const uint8_t *text, int width, uint8_t fill, bool right);
// A digit text right-aligned in width places and filled with "0". A text
// longer than the width, or holding anything but digits, would put a
// wrong number into the file: the user is told and the job stops.
void BankDigits(const uint8_t *digits, int width);
// A number (not negative) as BankDigits.
void BankNumber(int64_t n, int width);
// A line holding just the text (nothing for an empty text).
void BankLine(const uint8_t *text);
// Ends the file and goes on in the next one, under a new unique name.
void BankNextFile();
// The characters written on the current line so far.
int BankLineLength();
// Today's date for the file (the program's today).
DateRec BankToday();
// Shows a payment's serial number in the export status window.
void BankShowPayment(int32_t serial);
// Reads the record of reg (zeroed first) whose first key part, the field
// at offset field, holds value (a 32-bit number or a PString code, as the
// field's type); its rows are not kept. False when there is none.
bool BankReadByKey(int reg, uint32_t field, const void *value, uint8_t *record);
// The field of a payment row a file pays to. The Swedish domestic files
// pay to the giro the row carries (its "Giro / text", filled under that
// country variant from the invoice's payment text, else the vendor's bank
// giro, or its postal giro for mode "P"); every other file, the Swedish
// foreign one included, to the row's account text ("Vendor's account",
// filled from the vendor's account number), beside which the giro text is
// the details of payment.
enum class BankPayee { Account, Giro };
// The rows of a payment that are paid invoices (kind 1) and count (flag 0),
// each with the payee's text of the field `payee`; a row without one pays
// to its purchase invoice's payment text, so that a vendor's bank details
// given after the invoice reach the file through the payment made
// afterwards.
struct BankRow {
    int32_t invoice;
    PString vendor;       // vendor code
    PString account;      // the payee's account text
    int64_t cents;        // the amount in hundredths
};
bool BankPaidRows(const uint8_t *payment, std::vector<BankRow> *rows, BankPayee payee = BankPayee::Account);
// True when an account text is an account number: digits, at least one
// of them not "0", with only blanks, "-", "." and "/" between them. A name
// or a code typed where the account belongs is not one, nor an account of
// zeros, which would send the money nowhere.
bool BankAccountIsNumber(const uint8_t *account);
// The paid rows with the purchase invoice of each (register-28 records one
// after the other in invoices), when every row can be written: an existing
// invoice and a payee account that is a domestic account number of at most
// maxDigits digits (0: any text but an empty one, an IBAN say; below 0: not
// looked at), and not every amount zero.
// False, with the reason given to BankRefuse, when a row fails or the
// payment has none.
bool BankRowsWithInvoices(const uint8_t *payment, int maxDigits, std::vector<BankRow> *rows,
                          std::vector<uint8_t> *invoices, BankPayee payee = BankPayee::Account);

// ---- bank_text.cpp: formatters ----
// MMDD of date.
void DateToMMDD(const DateRec *date, uint8_t *out);
// The date of the first six characters YYMMDD of text; a two-digit year
// below 64 is 20YY, else 19YY. False (out cleared) when they are not six
// digits or do not make a date of the calendar.
bool DateFromYYMMDD(const uint8_t *text, DateRec *out);
// BankGroupNumber of the account as decimal text.
void BankGroupText(const uint8_t *account, uint8_t *out);
// The text upper-cased, with the letters A ring, AE and O slash (either
// case) written as "[", "{" and "|" (out may be text).
void TelepayLetters(const uint8_t *text, uint8_t *out);
// The first n characters of text into head (the whole text when shorter)
// and the rest into rest (one blank when nothing is left).
void SplitAt(const uint8_t *text, int n, uint8_t *head, uint8_t *rest);
// An amount in hundredths (its third decimal cut) into *cents; false when
// the amount is blank or beyond 64 bits.
bool AmountCents(const PackedDecimal *amount, int64_t *cents);
// An amount with two decimals and "." as the separator, no grouping
// ("1234.50", "-0.05").
void AmountDotText(const PackedDecimal *amount, uint8_t *out);

// ---- bank_telepay.cpp ----
// Reads the counters of settings block 224 and writes the opening record.
void TelepayOpen();
// Writes the transfer and invoice records of one payment.
BankWrite TelepayPayment(const uint8_t *payment);
// Writes the closing record; the counters are stored by TelepayStore
// once the file is written.
void TelepayClose();
// Stores the counters of the file just written in settings block 224;
// false when they could not be stored.
bool TelepayStore();

// ---- bank_lm.cpp ----
// Format 13: one batch of "LM" records of 300 characters for a payment.
BankWrite LmBatch(const uint8_t *payment);

// ---- bank_swedish.cpp, bank_swedish_foreign.cpp ----
// Format 5 with the second-file switch: the opening records "0" and "2".
// The selection is the job's, as for the format writers below.
void SwedishSecondOpen(const uint8_t *selection);
// One payment of format 5: without the second-file switch a domestic
// batch (or the foreign records), with it the postal-giro records.
BankWrite SwedishPayment(const uint8_t *selection, const uint8_t *payment, bool secondFile);
// The closing record "7" with the running total of the second file.
void SwedishSecondClose();
// A payment in a foreign currency, by the layout block 224 chooses.
BankWrite SwedishForeignBatch(const uint8_t *selection, const uint8_t *payment);

// ---- bank_estonian.cpp ----
// Format 27: one payment order message, in a file of its own after the
// first; written counts the payments written so far in this export.
BankWrite EstonianPaymentOrder(const uint8_t *selection, const uint8_t *payment, int written);
