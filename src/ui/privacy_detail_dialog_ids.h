#pragma once

// The Privacy Detail window and its own controls; plain macros, as the resource compiler reads them.

#define IDD_PRIVACY_DETAIL 3100
#define IDC_DETAIL_DESCRIPTION 3101
#define IDC_DETAIL_HOLD_LIST 3102
#define IDC_DETAIL_HOLD 3103
#define IDC_DETAIL_UNHOLD 3104
