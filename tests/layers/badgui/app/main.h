// The main window may include every other folder.
#include "channels/table.h"
