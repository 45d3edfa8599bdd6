// The window's designed layout, written out here rather than taken from the program's own
// table, so that a wrong row there shows.
#pragma once

#include <windows.h>

#include "main_window/win32/resource.h"

#include <gtest/gtest.h>

namespace relingo::test {

struct DesignedControl {
    int id;
    const wchar_t* caption;       // null: not checked
    int left, top, width, height; // twips
    bool list;
};

inline constexpr int kDesignedClientWidth = 9315;  // twips
inline constexpr int kDesignedClientHeight = 2025; // twips

inline constexpr DesignedControl kDesigned[] = {
    {IDC_LABEL1, L"&IPDK Program File (PDWizloc.exe)", 120, 120, 1695, 375, false},
    {IDC_TXTIPDK, nullptr, 1920, 120, 3675, 255, false},
    {IDC_CMDBROWSE0, L"...", 5700, 120, 255, 255, false},
    {IDC_LABEL2, L"VB Program &File to be Re-packed", 120, 540, 1395, 435, false},
    {IDC_TXTFILENAME, nullptr, 1920, 540, 6315, 255, false},
    {IDC_CMDBROWSE1, L"...", 8280, 540, 255, 255, false},
    {IDC_CMDCLEAR, L"&Clear", 8580, 540, 675, 255, false},
    {IDC_LABEL3, L"&1st Language", 1920, 960, 1095, 315, false},
    {IDC_CMBFIRST, nullptr, 3120, 960, 1995, 300, true},
    {IDC_LABEL4, L"&2nd Language", 5280, 960, 1215, 315, false},
    {IDC_CMBSECOND, nullptr, 6480, 960, 1995, 300, true},
    {IDC_CMDOK, L"&OK", 1920, 1380, 1635, 495, false},
    {IDC_CMDEXIT, L"E&xit", 3720, 1380, 1695, 495, false},
};

inline int Pixels(int twips, UINT dpi) {
    return ::MulDiv(twips, static_cast<int>(dpi), 1440);
}

// Checks that the window's client area and each control sit at the designed places at the DPI.
inline void ExpectDesignedPlaces(HWND window, UINT dpi) {
    RECT client = {};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, Pixels(kDesignedClientWidth, dpi));
    EXPECT_EQ(client.bottom, Pixels(kDesignedClientHeight, dpi));
    for (const DesignedControl& designed : kDesigned) {
        SCOPED_TRACE(designed.id);
        RECT r = {};
        ::GetWindowRect(::GetDlgItem(window, designed.id), &r);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, Pixels(designed.left, dpi));
        EXPECT_EQ(r.top, Pixels(designed.top, dpi));
        EXPECT_EQ(r.right - r.left, Pixels(designed.width, dpi));
        if (designed.list) {
            // A closed drop-down list is as high as its font and theme make its selection
            // field; the system keeps it from getting lower than that.
            EXPECT_NEAR(r.bottom - r.top, Pixels(designed.height, dpi), 3);
        } else {
            EXPECT_EQ(r.bottom - r.top, Pixels(designed.height, dpi));
        }
    }
}

} // namespace relingo::test
