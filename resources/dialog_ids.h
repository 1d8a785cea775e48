// Identifiers of the dialog templates, their controls, the button bitmaps and
// the loading animation. Shared by dialogs.rc and the code.
#pragma once

// Dialog templates.
#define IDD_OPENAS_DIALOG 102
#define IDD_TURNON_DIALOG 129
#define IDD_FIRSTUSE_DIALOG 137

// Controls of the Open-As prompt.
#define IDC_RADIO_STORE 1004
#define IDC_RADIO_OPENWITH 1005
#define IDC_RADIO_WINDOWS 1006
#define IDC_BTN_PREV 1010
#define IDC_BTN_NEXT 1011
#define IDC_BTN_DOT1 1012
#define IDC_BTN_DOT2 1013
#define IDC_BTN_DOT3 1014
#define IDC_BTN_DOT4 1015
#define IDC_PICTURE 1016
#define IDC_BTN_DOT5 1017
#define IDC_STATIC_TITLE 1023
#define IDC_STATIC_FILENAME 1024
#define IDC_STATIC_QUESTION 1025
#define IDC_STATIC_VERSION 1026
#define IDC_ANIMATION 1036

// Controls of the first-use consent dialog (1004 is reused there for the
// notice, a different control from the prompt's store choice).
#define IDC_RICH_INFO 1004
#define IDC_RADIO_YES 1018
#define IDC_RADIO_NO 1019
#define IDC_FIRSTUSE_QUESTION 1029
#define IDC_FIRSTUSE_HEADLINE 1030
#define IDC_LINK_STORE_PRIVACY 1031
#define IDC_LINK_MAKER_PRIVACY 1033

// Control of the turned-on notice.
#define IDC_TURNON_TEXT 1034

// Bitmaps: 24 bits per pixel, magenta (0xFF00FF) marks transparent pixels.
#define IDB_PREV_NORMAL 141
#define IDB_PREV_PRESSED 142
#define IDB_PREV_HOVER 143
#define IDB_NEXT_NORMAL 144
#define IDB_NEXT_PRESSED 145
#define IDB_NEXT_HOVER 146
#define IDB_DOT 149
#define IDB_DOT_CURRENT 150
#define IDB_LOGO 154

// The loading animation, resource type "AVI".
#define IDR_LOADING_AVI 155
