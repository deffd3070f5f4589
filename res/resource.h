#pragma once

// Resource and control IDs.

// Dialogs, strings, icons.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_VEILNOTE_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_PASSWORD 129

// Main window controls.
#define IDC_PICTURE 1000
#define IDC_MESSAGE 1003
#define IDC_VIEWS 1004
#define IDC_OPENIMAGE 1005
#define IDC_LOADTEXT 1010
#define IDC_HIDE 1011
#define IDC_REVEAL 1012
#define IDC_SKIN 1019
#define IDC_SPLASH 1020
#define IDC_IMAGEVIEW 1021
#define IDC_MESSAGEVIEW 1022
#define IDC_ABOUT 1023
#define IDC_HELPBUTTON 1024
#define IDC_CAPACITY 1028

// Password dialog controls.
#define IDC_CONFIRM 1013
#define IDC_PASSWORD 1014
#define IDC_CONFIRM_LABEL 1015
#define IDC_PASSWORD_LABEL 1016
#define IDC_PASSWORD_CANCEL 1025
#define IDC_SEAL 1026
#define IDC_STRENGTH 1027

// System menu command of the About box.
#define IDM_ABOUTBOX 0x0010
