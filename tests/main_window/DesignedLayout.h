// The window's designed layout, written out here rather than taken from the program's own
// table, so that a wrong row there shows.
#pragma once

#include "main_window/win32/resource.h"

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

} // namespace relingo::test
