// Resource ids of gui-fixture.exe, the dialog gui-driver's own test works.
#pragma once

#define IDD_FRAME 100
#define IDD_PAGE_ONE 101
#define IDD_PAGE_TWO 102

#define IDC_PAGE_AREA 1001
#define IDC_BACK 1002
#define IDC_STATUS 1003
// Both pages have a group box with this id, as two of the wizard's pages do.
#define IDC_GROUP 1094
#define IDC_SERIAL 1010
#define IDC_PARALLEL 1011
#define IDC_PORT 1012
#define IDC_DEFAULT 1013
#define IDC_NAME 1014
#define IDC_SUMMARY 1015
