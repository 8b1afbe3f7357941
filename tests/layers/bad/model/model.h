#include "../lang/text.h"
#include "../files/datafile.h"
