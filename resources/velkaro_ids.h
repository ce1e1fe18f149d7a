// Resource and control ids of Velkaro.dll, shared by velkaro.rc and the Win32
// port. Plain #defines, since the resource compiler reads this file too.

#ifndef VELKARO_RESOURCES_VELKARO_IDS_H_
#define VELKARO_RESOURCES_VELKARO_IDS_H_

// The Cabrillo header form and its combo-box lists (dialog init data).
#define IDD_CABRILLO 101
// The mode-switch window and its icon.
#define IDD_BAUD 107
#define IDI_BAUD 110

// Header form controls.
#define IDC_SOAPBOX 1001
#define IDC_ADDRESS 1002
#define IDC_CITY 1003
#define IDC_EMAIL 1004
#define IDC_CLUB 1005
#define IDC_OPERATORS 1006
#define IDC_NAME 1007
#define IDC_CLAIMED 1008
#define IDC_CONTEST 1009
#define IDC_CALLSIGN 1010
#define IDC_POSTALCODE 1011
#define IDC_COUNTRY 1012
#define IDC_CATEGORY_OPERATOR 1013
#define IDC_CATEGORY_BAND 1118
#define IDC_LOCATION 1121
#define IDC_CATEGORY_TRANSMITTER 1122
#define IDC_CATEGORY_MODE 1123

// Mode-switch window buttons.
#define IDC_RTTY45 1003
#define IDC_CW 1004
#define IDC_SSB 1005

// Resource type of dialog init data, and its "add a list item" record.
#define VELKARO_RT_DLGINIT 240
#define VELKARO_DLGINIT_ADDSTRING 0x0403

#endif  // VELKARO_RESOURCES_VELKARO_IDS_H_
