// A channel window that reaches up into the main window: what the check must refuse.
#include "app/frmmain.h"
