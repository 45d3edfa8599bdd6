// The designed layout of the main window, in twips (1440 to the inch), in tab order.
#pragma once

#include "main_window/win32/resource.h"

#include <array>
#include <cstdint>

namespace relingo {

enum class ControlKind { Label, NameBox, Button, DropDownList };

struct ControlPlacement {
    int id; // the control id of the window's child
    const char16_t* name;
    ControlKind kind;
    const char16_t* caption; // null for controls without one
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

inline constexpr int32_t kFormClientWidth = 9315;
inline constexpr int32_t kFormClientHeight = 2025;
inline constexpr char16_t kFormCaption[] = u"Relingo";

inline constexpr std::array<ControlPlacement, 13> kFormLayout = {{
    {IDC_LABEL1, u"Label1", ControlKind::Label, u"&IPDK Program File (PDWizloc.exe)", 120, 120,
     1695, 375},
    {IDC_TXTIPDK, u"txtIPDK", ControlKind::NameBox, nullptr, 1920, 120, 3675, 255},
    {IDC_CMDBROWSE0, u"cmdBrowse(0)", ControlKind::Button, u"...", 5700, 120, 255, 255},
    {IDC_LABEL2, u"Label2", ControlKind::Label, u"VB Program &File to be Re-packed", 120, 540, 1395,
     435},
    {IDC_TXTFILENAME, u"txtFileName", ControlKind::NameBox, nullptr, 1920, 540, 6315, 255},
    {IDC_CMDBROWSE1, u"cmdBrowse(1)", ControlKind::Button, u"...", 8280, 540, 255, 255},
    {IDC_CMDCLEAR, u"cmdClear", ControlKind::Button, u"&Clear", 8580, 540, 675, 255},
    {IDC_LABEL3, u"Label3", ControlKind::Label, u"&1st Language", 1920, 960, 1095, 315},
    {IDC_CMBFIRST, u"cmbFirst", ControlKind::DropDownList, nullptr, 3120, 960, 1995, 300},
    {IDC_LABEL4, u"Label4", ControlKind::Label, u"&2nd Language", 5280, 960, 1215, 315},
    {IDC_CMBSECOND, u"cmbSecond", ControlKind::DropDownList, nullptr, 6480, 960, 1995, 300},
    {IDC_CMDOK, u"cmdOK", ControlKind::Button, u"&OK", 1920, 1380, 1635, 495},
    {IDC_CMDEXIT, u"cmdExit", ControlKind::Button, u"E&xit", 3720, 1380, 1695, 495},
}};

inline constexpr std::array<const char16_t*, 9> kFirstLanguages = {
    u"English",  u"German", u"French",   u"Italian", u"Spanish",
    u"Japanese", u"Korean", u"SimpChin", u"TradChin"};
inline constexpr std::array<const char16_t*, 2> kSecondLanguages = {u"(Default)", u"(None)"};

} // namespace relingo
