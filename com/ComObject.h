// The server's COM objects: the objects of platform/win32/ComObject.h, each counted as one of the
// server's, so that the server stays loaded while any of them lives.
#pragma once

#include "com/ServerCounts.h"
#include "platform/win32/ComObject.h"

namespace relingo::com {

using win32::ComPtr;
using win32::Interfaces;

template <class Impl>
using ComObject = win32::ComObject<Impl, ServerCounts>;

} // namespace relingo::com
