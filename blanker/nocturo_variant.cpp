// nocturo.exe: started by the user or the daemon, set by info.ini.
#include "blanker/variant.h"

#include "common/settings.h"

const BlankerVariant kNocturoVariant = {false, kInfoIni, "/c echo Nocturo v3.0.5.1"};
