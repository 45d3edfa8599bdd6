// Identifiers of the main window's resources and controls. The end-to-end test driver finds the
// controls by these identifiers too.
#pragma once

#define IDI_RELINGO 1

#define IDR_DESIGN_TXTIPDK 101
#define IDR_DESIGN_TXTFILENAME 102
#define IDR_DESIGN_DLGFILEOPEN 103

// Kept clear of IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc: the window
// has no default and no cancel button.
#define IDC_LABEL1 1001
#define IDC_TXTIPDK 1002
#define IDC_CMDBROWSE0 1003
#define IDC_LABEL2 1004
#define IDC_TXTFILENAME 1005
#define IDC_CMDBROWSE1 1006
#define IDC_CMDCLEAR 1007
#define IDC_LABEL3 1008
#define IDC_CMBFIRST 1009
#define IDC_LABEL4 1010
#define IDC_CMBSECOND 1011
#define IDC_CMDOK 1012
#define IDC_CMDEXIT 1013

#define RELINGO_MAIN_WINDOW_CLASS L"RelingoMainWindow"
