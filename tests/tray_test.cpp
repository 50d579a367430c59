// The tray: start-up checks, the icon and its tooltip, clicks, the menu and its commands.
#include <gtest/gtest.h>

#include "platform/sim/sim.h"
#include "tests/security_world.h"
#include "tests/tray_world.h"

namespace {

const char kLeftover[] = "startnocturotray.vbs.lnk";
// Outside code pages 936 and 1252, and ending in a character whose second GBK byte is a backslash.
const char kAnyLanguage[] = u8"C:\\Users\\Łukasz\\张 é\\工具誠";

TEST(TrayStart, StartsOnlyAloneAndWithItsFourFilesAndARefusalTouchesNothing) {
  struct Row {
    const char* what;
    const char* image;
    const char* other;    // another process, or ""
    const char* missing;  // a file taken away, or ""
    int accesses;         // file checks made
    uint32_t other_session = 1;  // another user's desktop session is not ours
    const char* working = "";    // the working folder, when not the program's own
    const char* program = "C:\\Program Files\\Nocturo";
    const char* fails = "";      // a call that fails
  };
  const Row rows[] = {
      {"alone", "nocturotray.exe", "", "", 4},
      {"a second copy", "nocturotray.exe", "nocturotray.exe", "", 0},
      {"a second copy in capitals", "nocturotray.exe", "NOCTUROTRAY.EXE", "", 0},
      {"another user's copy", "nocturotray.exe", "nocturotray.exe", "", 4, 2},
      {"renamed", "tray.exe", "", "", 0},
      {"no script", "nocturotray.exe", "", "startnocturotray.vbs", 1},
      {"no tray program", "nocturotray.exe", "", "nocturotray.exe", 2},
      {"no blanker", "nocturotray.exe", "", "panelblank.exe", 3},
      {"no tray file", "nocturotray.exe", "", "tpinfo.ini", 4},
      {"in another folder that holds every file", "nocturotray.exe", "", "", 0, 1, "C:\\Users\\u\\Downloads"},
      {"in its own folder, named short and in other letters", "nocturotray.exe", "", "", 4, 1,
       "c:\\progra~1\\NOCTURO"},
      {"in its own folder, named in any language", "nocturotray.exe", "", "", 4, 1, kAnyLanguage, kAnyLanguage},
      {"in a folder one letter away from its own", "nocturotray.exe", "", "", 0, 1,
       u8"C:\\Progrâm Files\\Nocturo"},
      {"in its own folder through a junction", "nocturotray.exe", "", "", 4, 1, "C:\\Users\\u\\Nocturo"},
      {"in a folder of that name on another volume", "nocturotray.exe", "", "", 0, 1, "D:\\Program Files\\Nocturo"},
      {"in a folder inside its own", "nocturotray.exe", "", "", 0, 1, "C:\\Program Files\\Nocturo\\x"},
      {"in the folder above its own", "nocturotray.exe", "", "", 0, 1, "C:\\Program Files"},
      {"where its folder cannot be opened", "nocturotray.exe", "", "", 0, 1, "C:\\Program Files\\Nocturo", "C:\\Program Files\\Nocturo", "CreateFileW"},
      {"beside a look-alike in full-width letters", "nocturotray.exe", u8"ｎｏｃｔｕｒｏｔｒａｙ.exe", "", 4},
  };
  for (const Row& row : rows) {
    sim::World world = TrayWorld("2");
    world.image_name = row.image;
    world.program_dir = row.program;
    if (*row.working) world.current_dir = row.working;
    world.long_names = {{"C:\\PROGRA~1", "C:\\Program Files"}};
    world.junctions = {{"C:\\Users\\u\\Nocturo", row.program}};
    if (*row.fails) world.Fail(row.fails);
    const bool elsewhere = *row.working && row.accesses == 0;
    if (*row.other) world.Process(row.other, 0, row.other_session);
    world.File(kLeftover, "old link");
    for (auto& file : world.files)
      if (file.first == row.missing) file.first = "elsewhere";
    sim::Run r = sim::RunProgram(RunTray, world, 1000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    EXPECT_EQ(r.Count("_access"), row.accesses);
    if (*row.missing || (*row.other && row.other_session == 1 && row.accesses == 0) || std::string(row.image) != "nocturotray.exe" ||
        elsewhere) {
      EXPECT_EQ(r.end, sim::End::Exit);
      if (elsewhere) {
        EXPECT_EQ(r.Count("CreateToolhelp32Snapshot") + r.Count("GetPrivateProfileIntA"), 0);
      }
      EXPECT_EQ(r.exit_code, 0);
      EXPECT_EQ(r.ended_at, 0);
      EXPECT_EQ(r.Count("RegisterClassExA") + r.Count("Shell_NotifyIconW") + r.Count("remove"), 0);
      EXPECT_EQ(r.FileBytes(kLeftover), "old link");
      continue;
    }
    EXPECT_TRUE(StillWaiting(r));
    EXPECT_EQ(r.FileBytes(kLeftover), "") << "a leftover local link goes";
    // From the check on, the folder is named as it really is: no junction left in the spelling.
    EXPECT_EQ(r.Count("SetCurrentDirectoryW"), 1);
    if (std::string(row.what).find("junction") != std::string::npos)
      EXPECT_EQ(r.Count(std::string("SetCurrentDirectoryW ") + row.program), 1);
    ExpectInOrder(r, {
        "SetCurrentDirectoryW", "_access startnocturotray.vbs 0 = 0", "_access nocturotray.exe 0 = 0",
        "_access panelblank.exe 0 = 0", "_access tpinfo.ini 0 = 0",
        "_wremove .\\startnocturotray.vbs.lnk = 0",
        "LoadStringA 0x400000 103 size 100 = \"dockwin\"",
        "LoadStringA 0x400000 109 size 100 = \"DOCKWIN\"",
        "RegisterClassExA \"DOCKWIN\" style 3 extra 0,0 instance 0x400000 icon icon 107 small icon 108 "
        "cursor system cursor 32512 brush 6 menu none",
        "CreateWindowExA ex 0 \"DOCKWIN\" \"dockwin\" style 00CF0000 at -2147483648,0 size "
        "-2147483648x0 parent (nil) menu (nil) instance 0x400000",
        "ChangeWindowMessageFilterEx \"dockwin\" " + sim::Hex(taskbarCreatedMessage) + " 1",
        "GetPrivateProfileIntA setting default .//tpinfo.ini = 2",
        "Shell_NotifyIconW NIM_ADD size 508 window \"dockwin\" id 108 flags 7 callback 1025 icon 108 "
        "tip \"Nocturo锁屏版\"",
        "ShowWindow \"dockwin\" 0", "GetMessageA"});
  }
}

TEST(TrayStart, AFailedWindowEndsWithZeroAndNoIcon) {
  sim::Run r = sim::RunProgram(RunTray, TrayWorld("1").Fail("CreateWindowExA"), 1000);
  EXPECT_EQ(r.exit_code, 0) << r.Text();
  EXPECT_EQ(r.Count("Shell_NotifyIconW"), 0);
}

TEST(TrayIcon, TheTooltipNamesTheLeftClickModeReadAtStart) {
  const std::pair<const char*, const char*> rows[] = {
      {"1", "Nocturo普通版"}, {"2", "Nocturo锁屏版"}, {"3", "Nocturo增强版"}, {"0", "Nocturo版本"},
      {"4", "Nocturo版本"},  {"-1", "Nocturo版本"},  {"", "Nocturo版本"},   {"x", "Nocturo版本"}};
  for (const auto& row : rows) {
    sim::Run r = sim::RunProgram(RunTray, TrayWorld(row.first), 1000);
    SCOPED_TRACE(std::string("default=") + row.first + "\n" + r.Text());
    EXPECT_EQ(r.First(std::string("NIM_ADD size 508 window \"dockwin\" id 108 flags 7 callback 1025 "
                                  "icon 108 tip \"") + row.second + "\""), 0);
  }
}

TEST(TrayIcon, ATaskbarRestartBringsBackTheIconAsItIsAndAnOutsideChangeShowsOnlyOnClick) {
  sim::World world = TrayWorld("0");
  world.FileAt(1000, "tpinfo.ini", TrayFile("3"));
  world.Post(2000, taskbarCreatedMessage, 0, 0, "dockwin");
  Click(world, 3000, kLeftDown);
  sim::Run r = sim::RunProgram(RunTray, world, 10000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Times("NIM_ADD"), (std::vector<int64_t>{0, 2000}));
  EXPECT_EQ(r.Count("tip \"Nocturo版本\""), 2) << "the tooltip changes only at start and by the menu";
  EXPECT_EQ(r.First(kStartsBlanker), 3500) << "but a left click reads the file afresh";
  EXPECT_EQ(r.FileBytes("tpinfo.ini"), Written(3, 3));
}

TEST(TrayClick, ALeftPressRunsTheLeftClickModeOrOpensTheMenu) {
  const std::pair<const char*, int> rows[] = {{"1", 1}, {"2", 2}, {"3", 3},
                                              {"0", 0}, {"4", 0}, {"", 0}, {"5", 0}};
  for (const auto& row : rows) {
    sim::World world = TrayWorld(row.first);
    Click(world, 1000, kLeftDown);
    sim::Run r = sim::RunProgram(RunTray, world, 10000);
    SCOPED_TRACE(std::string("default=") + row.first + "\n" + r.Text());
    if (row.second == 0) {
      EXPECT_EQ(r.First("TrackPopupMenu"), 1000);
      EXPECT_EQ(r.FileBytes("tpinfo.ini"), TrayFile(row.first)) << "nothing written";
      EXPECT_EQ(r.Count("ShellExecuteW"), 0);
      continue;
    }
    EXPECT_EQ(r.FileBytes("tpinfo.ini"), Written(row.second, row.second));
    EXPECT_EQ(r.First("fclose"), 1000) << "the file is closed before the wait";
    EXPECT_EQ(r.Times(kStartsBlanker), (std::vector<int64_t>{1500}));
    EXPECT_EQ(r.Count("Shell_NotifyIconW"), 1) << "the tooltip stays";
  }
}

TEST(TrayClick, ADoubleClickStartsOneBlankerAndOtherMouseMessagesDoNothing) {
  sim::World world = TrayWorld("2");
  for (intptr_t m : {kLeftDown, kLeftUp, kLeftDouble, kLeftUp}) Click(world, 1000, m);
  for (intptr_t m : {kRightUp, intptr_t{0x0200}, intptr_t{0x0206}, intptr_t{0x0207}}) Click(world, 5000, m);
  Click(world, 6000, kLeftDown, 107);
  Click(world, 6000, kRightDown, 107);
  sim::Run r = sim::RunProgram(RunTray, world, 20000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Times(kStartsBlanker), (std::vector<int64_t>{1500}));
  EXPECT_EQ(r.Count("fopen"), 1);
  EXPECT_EQ(r.Count("TrackPopupMenu"), 0);
}

TEST(TrayMenu, TheRightPressShowsTheMenuAtTheCursorAndDestroysItAfter) {
  sim::World world = TrayWorld("1");
  world.CursorAt(0, 640, 700);
  Click(world, 1000, kRightDown);
  Click(world, 1000, kRightUp);
  sim::Run r = sim::RunProgram(RunTray, world, 10000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("TrackPopupMenu"), 1);
  ExpectInOrder(r, {"SetForegroundWindow \"dockwin\"", "GetCursorPos 640,700", " at 4 410 开机启动",
                    " at 5 410 鼠标左键", " at 6 410 快捷键",
                    "TrackPopupMenu flags 2 at 640,700 owner \"dockwin\": 普通版=201 锁屏版=202 增强版=203 "
                    "---- 开机启动>[是=206 否=207] 鼠标左键>[普通版=209 锁屏版=210 增强版=211 版本列表=212] "
                    "快捷键>[无=213/8 Ctrl+Alt+B=214 Ctrl+Alt+M=215 Ctrl+Shift+F12=216] ---- 退出=208",
                    "PostMessageA \"dockwin\" 0000 0 0", "DestroyMenu"});
  EXPECT_EQ(r.Count(": 0 menus left"), 1) << "the submenus go with the menu";
  EXPECT_EQ(r.Count("AppendMenuW"), 16) << "six top-level entries, two and four and four in the submenus";
  EXPECT_EQ(r.First("GetMessageA 0000"), 1000) << "the benign message after the menu";
}

TEST(TrayMenu, EachCommandWritesItsRowAndStartsOrRetitles) {
  struct Row {
    const char* left_click_mode;
    uint32_t command;
    std::string bytes;
    bool starts;
    const char* tooltip;  // "" when the icon stays as it is
  };
  const Row rows[] = {
      {"3", ID_RUN_LOCKSCREEN, Written(2, 3), true, ""},
      {"9", ID_RUN_ENHANCED, Written(3, 0), true, ""},
      {"2", ID_RUN_NORMAL, Written(1, 2), true, ""},
      {"0", ID_CLICK_NORMAL, Written(1, 1), false, "Nocturo普通版"},
      {"1", ID_CLICK_LOCKSCREEN, Written(2, 2), false, "Nocturo锁屏版"},
      {"0", ID_CLICK_ENHANCED, Written(3, 3), false, "Nocturo增强版"},
      {"3", ID_CLICK_MENU, Written(0, 0), false, "Nocturo版本"},
  };
  for (const Row& row : rows) {
    sim::World world = TrayWorld(row.left_click_mode);
    world.menu_choices = {row.command};
    Click(world, 1000, kRightDown);
    sim::Run r = sim::RunProgram(RunTray, world, 10000);
    SCOPED_TRACE("default=" + std::string(row.left_click_mode) + " command " +
                 std::to_string(row.command) + "\n" + r.Text());
    EXPECT_EQ(r.FileBytes("tpinfo.ini"), row.bytes);
    EXPECT_EQ(r.Times(kStartsBlanker), row.starts ? std::vector<int64_t>{1500} : std::vector<int64_t>{});
    if (*row.tooltip) {
      ExpectInOrder(r, {"fclose", "NIM_DELETE", std::string("NIM_ADD") + " size 508 window \"dockwin\" id "
                        "108 flags 7 callback 1025 icon 108 tip \"" + row.tooltip + "\""});
      EXPECT_EQ(r.Times("NIM_ADD"), (std::vector<int64_t>{0, 1000})) << "no wait";
    } else {
      EXPECT_EQ(r.Count("Shell_NotifyIconW"), 1);
    }
  }
}

int ProcedureAnswers() {
  platform::Handle instance = platform::GetModuleHandleA(nullptr);
  if (!StartTray(instance)) return 1;
  platform::Handle w = trayIcon.window;
  const struct {
    const char* what;
    uint32_t message;
    uintptr_t wparam;
    intptr_t lparam;
  } calls[] = {{"unknown command", 0x0111, 204, 0},
               {"command with a notification code", 0x0111, (1u << 16) | ID_AUTOSTART_OFF, 0},
               {"paint", 0x000F, 0, 0},
               {"taskbar created", taskbarCreatedMessage, 0, 0},
               {"icon message", kWmTrayIcon, kTrayIconId, 0x0200},
               {"size", 0x0005, 0, 0}};
  for (const auto& c : calls)
    sim::Note("%s: %lX", c.what, static_cast<unsigned long>(TrayWindowProc(w, c.message, c.wparam, c.lparam)));
  return 0;
}

TEST(TrayWindow, TheProcedureAnswersZeroForWhatItHandlesAndDefaultsTheRest) {
  sim::Run r = sim::RunProgram(ProcedureAnswers, TrayWorld("2"), 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("note unknown command: DEF00111"), 1);
  EXPECT_EQ(r.Count("note command with a notification code: 0"), 1);
  ExpectInOrder(r, {"BeginPaint \"dockwin\"", "EndPaint \"dockwin\"", "note paint: 0"});
  ExpectInOrder(r, {"NIM_ADD", "NIM_ADD", "note taskbar created: DEF0" + sim::Hex(taskbarCreatedMessage)});
  EXPECT_EQ(r.Count("note icon message: 0"), 1);
  EXPECT_EQ(r.Count("note size: DEF00005"), 1);
}

TEST(TrayWindow, ACloseRequestAndTheExitCommandDeleteTheIconAndEndWithZero) {
  for (bool by_menu : {false, true}) {
    sim::World world = TrayWorld("2");
    world.Process("panelblank.exe");
    if (by_menu) {
      world.menu_choices = {ID_EXIT};
      Click(world, 1000, kRightDown);
    } else {
      world.Post(1000, 0x0010, 0, 0, "dockwin");
    }
    sim::Run r = sim::RunProgram(RunTray, world, 10000);
    SCOPED_TRACE(std::string(by_menu ? "退出" : "WM_CLOSE") + "\n" + r.Text());
    EXPECT_EQ(r.end, sim::End::Exit);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.ended_at, 1000);
    EXPECT_EQ(r.First("NIM_DELETE"), 1000);
    EXPECT_EQ(r.Count("TerminateProcess") + r.Count("ShellExecuteW"), 0) << "the blanker goes on";
    if (!by_menu) ExpectInOrder(r, {"DestroyWindow", "NIM_DELETE", "PostQuitMessage 0", "exit 0"});
  }
}

// A signed tray starts panelblank.exe only when it carries a valid signature
// of the same leaf certificate, in any folder; unsigned, as ever.
TEST(TrayClick, ASignedTrayStartsOnlyABlankerOfItsOwnPublisherAndSaysWhyElse) {
  using Signature = sim::World::Signature;
  const int32_t kUntrustedRoot = static_cast<int32_t>(0x800B0109), kBadDigest = static_cast<int32_t>(0x80096010);
  const Signature kNone = {static_cast<int32_t>(0x800B0100), ""}, kOurs = {0, "leaf A"}, kOursUntrusted = {kUntrustedRoot, "leaf A"};
  struct Row {
    const char* what;
    Signature own, sibling;
    bool starts;
    const char* fault = "";  // "renamed": our own file renamed away as we run; else a call that fails
    bool sibling_reparse = false;
  };
  const Row rows[] = {
      {"unsigned, beside anything", kNone, {0, "leaf B"}, true},
      {"unsigned, beside an unsigned one", kNone, kNone, true},
      {"signed, beside an unsigned one", kOurs, kNone, false},
      {"signed, beside another publisher's", kOurs, {0, "leaf B"}, false},
      {"signed, beside its own", kOurs, kOurs, true},
      {"signed, beside its own with a changed byte", kOurs, {kBadDigest, "leaf A"}, false},
      {"signed by an unknown root, beside its own", kOursUntrusted, kOursUntrusted, true},
      {"signed by an unknown root, beside another's", kOursUntrusted, {kUntrustedRoot, "leaf B"}, false},
      {"signed by an unknown root, beside an unsigned one", kOursUntrusted, kNone, false},
      {"signed, its own file renamed away as it runs", kOurs, kOurs, false, "renamed"},
      {"signed, the trust library cannot be loaded", kOurs, kOurs, false, "LoadLibraryExW"},
      {"unsigned, the trust library cannot be loaded", kNone, kNone, true, "LoadLibraryExW"},
      {"signed, beside its own through a link", kOurs, kOurs, false, "", true},
  };
  for (const Row& row : rows)
    for (bool admin_only : {false, true}) {
      sim::World world = TrayWorld("2");
      if (admin_only) sddl::InstalledByTheInstaller(world);
      world.signatures = {{"nocturotray.exe", row.own}, {"panelblank.exe", row.sibling}};
      world.image_renamed = std::string(row.fault) == "renamed";
      if (*row.fault && !world.image_renamed) world.Fail(row.fault);
      if (row.sibling_reparse) world.reparse_points.insert("panelblank.exe");
      Click(world, 1000, kLeftDown);
      sim::Run r = sim::RunProgram(RunTray, world, 10000);
      SCOPED_TRACE(std::string(row.what) + (admin_only ? ", installer's folder\n" : "\n") + r.Text());
      EXPECT_EQ(r.Times(kStartsBlanker), row.starts ? std::vector<int64_t>{1500} : std::vector<int64_t>{});
      EXPECT_EQ(r.Count("NIM_MODIFY size 508 window \"dockwin\" id 108 flags 16 callback 1025 icon 108 tip "
                        "\"Nocturo锁屏版\" info 2 \"Nocturo 无法熄屏\""),
                row.starts ? 0 : 1);
      if (row.own.result != kNone.result && !*row.fault && !row.sibling_reparse)
        ExpectInOrder(r, {"nocturotray.exe, the running image",
                          "WinVerifyTrust nocturotray.exe through its handle",
                          "CreateFileW panelblank.exe, others may only read",
                          "WinVerifyTrust panelblank.exe through its handle"});
      if (row.own.result == kNone.result) EXPECT_EQ(r.Count("WinVerifyTrust"), 0) << "unsigned: nothing to check";
    }
}

// The hotkey: each choice kept in the file (which every later write keeps),
// the old one let go and the new one held, named in the tooltip, checked.
TEST(TrayHotkey, EachChoiceIsKeptHeldShownAndChecked) {
  const std::string kept = Written(2, 2) + "\r\nhotkey=";
  const struct {
    const char* before;  // the file's hotkey, "" for none
    uint32_t command;
    std::string bytes;
    bool lets_go;       // the one held before
    const char* holds;  // what the choice registers, "" for nothing
    std::string tip;
  } rows[] = {
      {"", ID_HOTKEY_NONE + 1, kept + "1", false, "mods 4003 vk 42", " Ctrl+Alt+B"},
      {"1", ID_HOTKEY_NONE + 2, kept + "2", true, "mods 4003 vk 4D", " Ctrl+Alt+M"},
      {"2", ID_HOTKEY_NONE + 3, kept + "3", true, "mods 4006 vk 7B", " Ctrl+Shift+F12"},
      {"3", ID_HOTKEY_NONE, Written(2, 2), true, "", ""},
      {"7", ID_HOTKEY_NONE, Written(2, 2), false, "", ""},
  };
  for (const auto& row : rows) {
    sim::World world = TrayWorld("2");
    if (*row.before) world.File("tpinfo.ini", TrayFile("2") + "\r\nhotkey=" + row.before);
    world.menu_choices = {row.command, 0};
    Click(world, 1000, kRightDown);
    Click(world, 2000, kRightDown);
    sim::Run r = sim::RunProgram(RunTray, world, 10000);
    SCOPED_TRACE(std::string("hotkey=") + row.before + " command " + std::to_string(row.command) + "\n" + r.Text());
    EXPECT_EQ(r.FileBytes("tpinfo.ini"), row.bytes);
    EXPECT_EQ(r.Times("UnregisterHotKey \"dockwin\" 1"), row.lets_go ? std::vector<int64_t>{1000} : std::vector<int64_t>{});
    std::vector<int64_t> held = r.Times("RegisterHotKey \"dockwin\" 1 mods");
    EXPECT_EQ(!held.empty() && held.back() == 1000, *row.holds != 0);
    if (*row.holds) EXPECT_EQ(r.First(std::string("RegisterHotKey \"dockwin\" 1 ") + row.holds), held.back());
    EXPECT_EQ(r.Times("NIM_ADD size 508 window \"dockwin\" id 108 flags 7 callback 1025 icon 108 tip \"Nocturo锁屏版" +
                      row.tip + "\"").back(), 1000);
    EXPECT_NE(r.Count("=" + std::to_string(row.command) + "/8"), 0) << "checked the next time";
  }
}

// A press runs the left-click mode, Normal where a left click opens the menu,
// keeping the key; a combination another program holds is said once, at
// start or at the choice, and stays chosen.
TEST(TrayHotkey, ThePressRunsTheLeftClickModeAndATakenCombinationIsSaidOnce) {
  for (int32_t mode : {1, 2, 3, 0}) {
    sim::World world = TrayWorld(std::to_string(mode));
    world.File("tpinfo.ini", TrayFile(std::to_string(mode)) + "\r\nhotkey=1");
    world.Post(1000, platform::kWmHotkey, kTrayHotkeyId, 0, "dockwin");
    world.Post(3000, platform::kWmHotkey, 2, 0, "dockwin");
    sim::Run r = sim::RunProgram(RunTray, world, 10000);
    SCOPED_TRACE("default=" + std::to_string(mode) + "\n" + r.Text());
    EXPECT_EQ(r.FileBytes("tpinfo.ini"), Written(mode ? mode : 1, mode) + "\r\nhotkey=1");
    EXPECT_EQ(r.Times(kStartsBlanker), (std::vector<int64_t>{1500})) << "once, for our id only";
  }
  for (bool at_start : {true, false}) {
    sim::World world = TrayWorld("1");
    world.Fail("RegisterHotKey");
    if (at_start) world.File("tpinfo.ini", TrayFile("1") + "\r\nhotkey=2");
    world.menu_choices = {at_start ? 0 : ID_HOTKEY_NONE + 2, 0};
    Click(world, 1000, kRightDown);
    Click(world, 2000, kRightDown);
    sim::Run r = sim::RunProgram(RunTray, world, 10000);
    SCOPED_TRACE(std::string(at_start ? "at start" : "chosen") + "\n" + r.Text());
    EXPECT_EQ(r.Times("info 2 \"Nocturo 快捷键不可用\" \"Ctrl+Alt+M 已被另一个程序占用。"),
              std::vector<int64_t>{at_start ? 0 : 1000});
    EXPECT_EQ(r.Count("tip \"Nocturo普通版 "), 0) << "the tooltip names no combination";
    EXPECT_EQ(r.Count("Ctrl+Alt+M=215/8"), at_start ? 2 : 1) << "still chosen";
    EXPECT_EQ(r.FileBytes("tpinfo.ini"), at_start ? TrayFile("1") + "\r\nhotkey=2" : Written(1, 1) + "\r\nhotkey=2");
    EXPECT_EQ(r.Count("UnregisterHotKey"), 0) << "nothing held to let go";
  }
}

}  // namespace
