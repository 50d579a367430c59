// nocturo.exe: started by the user or the daemon, set by info.ini.
#include "blanker/variant.h"

#include "common/settings.h"
#include "version.h"

const BlankerVariant kNocturoVariant = {false, kInfoIni, "/c echo Nocturo v" NOCTURO_VERSION};
