#pragma once

// Identifiers of the plug-in update window, shared by its resource script and its code.

#define IDD_ADD_PLUGINS 3800
#define IDC_AP_FRAME 3801
#define IDC_AP_LIST 3802
#define IDC_AP_SELECT_ALL 3803
#define IDC_AP_HINT 3804
#define IDC_AP_SHOW_NEW 3805
#define IDC_AP_ADD_SELECTED 3806
