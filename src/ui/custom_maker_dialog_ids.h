#pragma once

// The Custom Maker window and its own controls; plain macros, as the resource compiler reads them.

#define IDD_CUSTOM_MAKER 3200
#define IDC_MAKER_NAME 3201
#define IDC_MAKER_DESCRIPTION 3202
#define IDC_MAKER_ITEMS 3203
#define IDC_MAKER_ADD 3204
#define IDC_MAKER_DELETE 3205
#define IDC_MAKER_DETAIL 3206
