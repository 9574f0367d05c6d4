#pragma once

// Identifiers of the Preferences dialog and its pages, shared by the resource script and the code. Each page
// is a child dialog whose window takes its template's number as its control id.

#define IDD_PREFERENCES 3300
#define IDD_PREF_GENERAL 3301
#define IDD_PREF_PRIVACY 3302
#define IDD_PREF_WINDOWS 3303
#define IDD_PREF_INTERNET_EXPLORER 3304
#define IDD_PREF_PLUGINS 3305
#define IDD_PREF_CUSTOMS 3306
#define IDD_PREF_ADVANCE 3307

// The frame: the category tree, the heading over the pages, the place the pages take, Apply.
#define IDC_PREF_TREE 3310
#define IDC_PREF_HEADING 3311
#define IDC_PREF_PAGE_AREA 3312
#define IDC_PREF_APPLY 3313

// General.
#define IDC_GENE_RUN_ON_STARTUP 3320
#define IDC_GENE_TURN_OFF_AUTOCOMPLETE 3321
#define IDC_GENE_IE_MONITOR 3322
#define IDC_GENE_HOME_PAGE 3323
#define IDC_GENE_WINDOW_TITLE 3324
#define IDC_GENE_USE_BLANK 3325
#define IDC_GENE_APPLY_TO_IE 3326
#define IDC_GENE_DEFAULT 3327

// Windows and Internet Explorer: six check boxes each, from the first id on, and "Advance...".
#define IDC_WINS_CHECK_FIRST 3340
#define IDC_WINS_ADVANCE 3346
#define IDC_INET_CHECK_FIRST 3350
#define IDC_INET_ADVANCE 3356

// Plug-ins and Customs: the frame whose caption counts the rows, the list, Select All, Detail, Delete.
#define IDC_PLUG_FRAME 3360
#define IDC_PLUG_LIST 3361
#define IDC_PLUG_SELECT_ALL 3362
#define IDC_PLUG_DETAIL 3363
#define IDC_PLUG_DELETE 3364
#define IDC_CUST_FRAME 3370
#define IDC_CUST_LIST 3371
#define IDC_CUST_SELECT_ALL 3372
#define IDC_CUST_DETAIL 3373
#define IDC_CUST_DELETE 3374

// Advance.
#define IDC_ADVA_SCHEDULE_INTERVAL 3380
#define IDC_ADVA_INTERVAL_LIST 3381
#define IDC_ADVA_SCHEDULE_CLOCK 3382
#define IDC_ADVA_CLOCK_LIST 3383
#define IDC_ADVA_DISPLAY_MAX_ROWS 3384
#define IDC_ADVA_FILL_TIMES 3385
#define IDC_ADVA_ENABLE_FILE_LOGGING 3386
#define IDC_ADVA_KEEP_LOG_DAYS 3387
#define IDC_ADVA_DEFAULT 3388
