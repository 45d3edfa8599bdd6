// Failures as a COM host expects them. Every method of the server is an edge: nothing thrown
// may cross it. An Error becomes an HRESULT in FACILITY_CONTROL with its number in the low word,
// and its description and source go to the thread's error object, so that a script's Err.Number
// is the error's number and Err.Description its text.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include "platform/Error.h"

#include <cstdint>
#include <functional>

namespace relingo::com {

// The HRESULT that carries an error number.
HRESULT ErrorResult(int32_t number) noexcept;

// The number an HRESULT of ErrorResult carries; 0 for any other HRESULT.
int32_t ErrorNumberOf(HRESULT result) noexcept;

// The error a failed system call stands for: the number an HRESULT of ErrorResult carries, and
// for the others the run-time error closest to them (7, 13, 6, 5, 75 or 51).
Error ErrorOfResult(HRESULT result);

// Sets the thread's error object for the error, its standard texts in the language of the
// locale, and returns its HRESULT.
HRESULT ReportError(const Error& error, REFIID iid, int32_t localeId) noexcept;

// Runs the body and turns whatever it throws into a reported error. localeId, which must not
// throw, is asked only when there is an error to describe.
HRESULT Guarded(REFIID iid, const std::function<int32_t()>& localeId,
                const std::function<void()>& body) noexcept;

// Fills an exception record from the error object that ReportError set, for IDispatch::Invoke.
void FillExcepInfo(HRESULT result, EXCEPINFO* info) noexcept;
// Frees the texts of an exception record and empties it.
void ClearExcepInfo(EXCEPINFO& info) noexcept;

} // namespace relingo::com
