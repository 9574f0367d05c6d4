#pragma once

// Identifiers of the Custom List window, shared by its resource script and its code.

#define IDD_CUSTOM_LIST 3700
#define IDC_CL_FRAME 3701
#define IDC_CL_LIST 3702
#define IDC_CL_SELECT_ALL 3703
#define IDC_CL_ADD_NEW 3704
#define IDC_CL_DETAIL 3705
#define IDC_CL_DELETE 3706
#define IDC_CL_EXPORT 3707
#define IDC_CL_APPLY 3708
