// Resource ids of setup and uninstall, shared by the resource scripts, the pages and the simulated dialogs.
#pragma once

// Controls the code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Icon, dialog templates and strings of setup.
#define IDD_ABOUTBOX 100
#define IDD_WIZARD 102
#define IDI_APP 128
#define IDD_SYSTEM_PAGE 130
#define IDD_SERIES_PAGE 131
#define IDD_PORT_PAGE 132
#define IDD_LEGAL_PAGE 133
#define IDS_RASTER_TIP 134
#define IDD_MODE_PAGE 137
#define IDD_PROGRESS 141
#define IDS_USB_NOTE 148

// The about item appended to the system menu.
#define IDM_ABOUTBOX 0x0010

// Initial entries of a template's lists: the resource type, one record per entry (control id, adding
// message, byte length as two words, the text with its terminator).
#define RT_LISTINIT 240
#define LISTINIT_ADDSTRING 0x0143

// Wizard frame.
#define IDC_PAGE_AREA 1001
#define IDC_BACK 1002
#define IDC_SIDE_PICTURE 1087
#define IDC_HELP_HINT 1093

// About box.
#define IDC_ABOUT_VERSION 1091
#define IDC_ABOUT_COPYRIGHT 1092

// Operating-system page.
#define IDC_OS_WIN98 1026
#define IDC_OS_NT 1027
#define IDC_OS_2000 1028
#define IDC_OS_XP 1029
#define IDC_OS_2003 1075
#define IDC_OS_VISTA 1076
#define IDC_SELECT_GROUP 1094

// Printer selection page (its group box is IDC_SELECT_GROUP too).
#define IDC_RECEIPT 1019
#define IDC_TICKET 1020
#define IDC_LABEL 1021
#define IDC_EMBEDDED 1073
#define IDC_RECEIPT_MODELS 1030
#define IDC_TICKET_MODELS 1031
#define IDC_LABEL_MODELS 1032
#define IDC_EMBEDDED_MODELS 1074
#define IDC_SET_DEFAULT 1046

// Port page.
#define IDC_PORT 1049
#define IDC_BAUD_RATE 1041
#define IDC_DATA_BITS 1042
#define IDC_PARITY 1043
#define IDC_STOP_BITS 1044
#define IDC_FLOW_CONTROL 1045
#define IDC_RASTER 1052
#define IDC_USB_NOTE 1065
#define IDC_PORT_EDIT 1091
#define IDC_PORT_SPIN 1092
#define IDC_PORT_GROUP 1095
#define IDC_PORT_LABEL 1096
#define IDC_SERIAL_GROUP 1097
#define IDC_BAUD_LABEL 1098
#define IDC_PARITY_LABEL 1099
#define IDC_DATA_BITS_LABEL 1100
#define IDC_STOP_BITS_LABEL 1101
#define IDC_FLOW_LABEL 1102

// Agreement page.
#define IDC_ACCEPT 1057
#define IDC_REJECT 1058
#define IDC_AGREEMENT_TEXT 1081
#define IDC_AGREEMENT_GROUP 1090

// Install-mode page.
#define IDC_TYPICAL 1066
#define IDC_ADVANCED 1067
#define IDC_NOTE1 1068
#define IDC_NOTE2 1069
#define IDC_NOTE3 1070
#define IDC_MODE_GROUP 1103
#define IDC_REMARKS 1104

// Progress window.
#define IDC_PROGRESS 1079

// Uninstall: icons and dialog templates. The numbers may repeat setup's, as uninstall.exe is a program of
// its own; the names differ so that one header serves both.
#define IDD_UNINSTALL_ABOUT 100
#define IDD_UNINSTALL 102
#define IDI_UNINSTALL 128
#define IDD_REBOOT 129
#define IDI_REBOOT 130

// Uninstall main dialog; Exit is IDCANCEL.
#define IDC_UNINST_START 1002
#define IDC_UNINST_NOTE 1006
#define IDC_UNINST_LOG 1008
#define IDC_UNINST_LIST 1010
#define IDC_UNINST_SELECT_ALL 1012
#define IDC_UNINST_USB 1019

// Restart question.
#define IDC_REBOOT_NOTE1 1014
#define IDC_REBOOT_NOTE2 1015
#define IDC_REBOOT_NOTE3 1016

// Uninstall about box.
#define IDC_UNINST_ABOUT_VERSION 1017
#define IDC_UNINST_ABOUT_COPYRIGHT 1018
