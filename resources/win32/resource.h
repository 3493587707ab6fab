/* Numbers of the dialogs and their controls, shared by the resource scripts and the
   Windows code. The settings store dialog numbers, so they never change. Plain
   preprocessor lines only: windres reads this file too. */
#ifndef LUMIVANE_RESOURCE_H
#define LUMIVANE_RESOURCE_H

#define IDD_CONFIGURE 2003
#define IDC_CONFIGURE_NAME 1020
#define IDC_CONFIGURE_NOTE 1021
#define IDC_CONFIGURE_ICON 1022

#endif
