// panelblank.exe: started by the tray, runs only while it runs, set by tpinfo.ini.
#include "blanker/variant.h"

#include "common/settings.h"

const BlankerVariant kPanelBlankVariant = {true, kTrayIni, "/c echo Nocturo v3.0.5.1-tp1.0 托盘版"};
