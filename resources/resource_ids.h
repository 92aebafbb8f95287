// Integer ids of the program's resources, shared by the resource script and the code.
#pragma once

#define kSaverIconId 100         /* icon group of the saver window class */
#define kSaverNameStringId 1     /* the name Windows lists the saver under */
#define kConfigDialogId 2003     /* the configuration dialog template */
#define kDialogFaceBitmapId 132  /* the dialog's painted background */
