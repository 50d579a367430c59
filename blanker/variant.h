// What tells the two blanker deliverables apart. Each program links only its
// own variant.
#pragma once

struct BlankerVariant {
  bool tray_required;         // runs only while the tray runs
  const char* settings_file;  // where the key "type" is read
  const char* banner_first;   // first segment of the banner command
};

extern const BlankerVariant kNocturoVariant;
extern const BlankerVariant kPanelBlankVariant;
