// What a chaos object answers: result codes, texts and VARIANTs of every shape, each
// drawn from the object's generator.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include "samples/zoo/ChaosIds.h"

namespace txs {

// Mostly S_OK; else odd success codes, the usual failures and automation codes.
HRESULT chaosResult(ChaosRandom& random);
// A failure code (never a success), for answers that must fail.
HRESULT chaosFailure(ChaosRandom& random);
// A success code other than S_OK (S_FALSE, 2, 0x7FFFFFFF and the like).
HRESULT chaosOddSuccess(ChaosRandom& random);
// 'code', with COM error information of a drawn text now and then when it is a failure.
HRESULT chaosReport(ChaosRandom& random, HRESULT code, REFIID iid);

// Null, empty, short, with embedded NULs, '%' escapes and brackets, non-ASCII, or (when
// 'huge') up to a megabyte. The caller owns the result.
BSTR chaosText(ChaosRandom& random, bool huge);

// Into an uninitialised or cleared VARIANT: empty, null, a text, a number, a boolean, an
// object, or an array of 0 to 3 dimensions with any lower bound, elements BSTR, VARIANT,
// I4, R8, BOOL, DISPATCH and others. 'huge' allows one text of a megabyte.
void chaosVariant(ChaosRandom& random, VARIANT* out, bool huge, int depth = 0);
// Into an uninitialised or cleared VARIANT: a list at an end of the LONG range, strings or
// VARIANTs either empty from the lowest index on (its upper bound wraps round to the
// highest) or ending at the highest index.
void chaosEdgeList(ChaosRandom& random, VARIANT* out);

// A small object that only is (IUnknown, IDispatch): what chaos lists and outputs hold.
IDispatch* newChaosPlainObject();

}  // namespace txs
