// The handle kinds the Win32 backends own.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include "platform/win32/RunTimeFunctions.h"
#include "platform/win32/UniqueHandle.h"

namespace relingo::win32 {

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindClose(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::RegCloseKey(h); }
};
struct ItemIdListTraits {
    using Type = PIDLIST_ABSOLUTE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) {
        if (const auto free = ComFunctions::Get().taskMemFree) {
            free(h);
        }
    }
};
struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};
struct DropTraits {
    using Type = HDROP;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) {
        if (const auto finish = ShellFunctions::Get().dragFinish) {
            finish(h);
        }
    }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueItemIdList = UniqueHandle<ItemIdListTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueDrop = UniqueHandle<DropTraits>;

} // namespace relingo::win32
