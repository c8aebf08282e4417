#pragma once

#include <QtGlobal>

// Error numbers the program raises and the messages show in signed decimal.
namespace ErrorNumbers {
// Object-error base (0x80040000) as a signed 32-bit number.
constexpr qint32 kObjectErrorBase = -2147221504;
// Passed on by inner operations (catalog module, column assignment): 0x80151387.
constexpr qint32 kInnerOperation = -2146102393;
// Validation failures: base + 1111 (0x80040457).
constexpr qint32 kValidation = kObjectErrorBase + 1111;
// Spreadsheet wrapper: base + 10 (0x8004000A).
constexpr qint32 kSpreadsheet = kObjectErrorBase + 10;
// Origin-country lookup.
constexpr qint32 kOriginCountry = 1111;
// A value that cannot be converted ("No coinciden los tipos").
constexpr qint32 kTypeMismatch = 13;
// A component that cannot be created by its name.
constexpr qint32 kCannotCreateComponent = 429;
// A file that cannot be found or opened.
constexpr qint32 kFileNotFound = 53;
constexpr qint32 kFileAccess = 75;
// The runtime's own numbers, for the same faults.
constexpr qint32 kOverflow = 6;
constexpr qint32 kSubscriptOutOfRange = 9;
constexpr qint32 kObjectNotSet = 91;
constexpr qint32 kInvalidUseOfNull = 94;
constexpr qint32 kInvalidPropertyValue = 380;
constexpr qint32 kNoCurrentRecord = 3021;
constexpr qint32 kItemNotFound = 3265;
// The grid's refusals of a row or column outside it.
constexpr qint32 kInvalidRow = 30009;
constexpr qint32 kInvalidCol = 30010;
} // namespace ErrorNumbers

static_assert(ErrorNumbers::kInnerOperation == static_cast<qint32>(0x80151387u));
static_assert(ErrorNumbers::kValidation == -2147220393);
static_assert(ErrorNumbers::kSpreadsheet == -2147221494);
