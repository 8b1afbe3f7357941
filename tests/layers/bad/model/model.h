#include "../files/datafile.h"
#include "../lang/text.h"
