/* What the resource scripts need beyond the dialog numbers of src/dialogs/DialogIds.h.
   Plain preprocessor lines only: windres reads this file too. */
#ifndef LUMIVANE_RESOURCE_H
#define LUMIVANE_RESOURCE_H

/* Labels, group boxes and pictures the program never addresses. */
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
