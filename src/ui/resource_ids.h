#pragma once
// Identifiers shared by resources/Kelvary.rc and the windows' code. Plain
// #defines: the resource compiler reads this file too.

#define IDI_KELVARY 101
#define IDR_FORM1_MENU 102
#define IDI_ABOUT 103

// Form1's menu items, in menu order.
#define IDM_SERVERS_ADD 40001
#define IDM_SERVERS_REMOVE 40002
#define IDM_EDIT_COPY 40003
#define IDM_HELP_ABOUT 40004
#define IDM_HELP_VERSION 40005
#define IDM_HELP_ONLINE 40006
#define IDM_HELP_HELP 40007
#define IDM_EDIT_ESTIMATES 40008
