// panelblank.exe: started by the tray, runs only while it runs, set by tpinfo.ini.
#include "blanker/variant.h"

#include "common/settings.h"
#include "version.h"

const BlankerVariant kPanelBlankVariant = {true, kTrayIni,
                                           "/c echo Nocturo v" NOCTURO_VERSION "-tp1.0 托盘版"};
