#pragma once

// Controls of the configuration preview that Privacy Detail and Custom Maker share; plain macros, as the
// resource compiler reads them.

#define IDC_PREVIEW_TREE 3000
#define IDC_PREVIEW_LIST 3001
#define IDC_PREVIEW_STATUS 3002
#define IDC_PREVIEW_BUTTON 3003
