#include "blanker/variant.h"

#include "common/settings.h"

const BlankerVariant kNocturoVariant = {false, kInfoIni, "/c echo Nocturo v3.0.5.1"};

const BlankerVariant kPanelBlankVariant = {true, kTrayIni,
                                           "/c echo Nocturo v3.0.5.1-tp1.0 托盘版"};
