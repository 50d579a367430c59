// The daemon under the simulated Windows: start-up, install, removal, and
// hours of idle monitoring in virtual time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "daemon/daemon.h"
#include "platform/sim/sim.h"
#include "tests/security_world.h"
#include "tests/task_world.h"
#include "tests/trace_checks.h"

namespace {

using Times = std::vector<int64_t>;

const char kInstalled[] = "Startup/startnocturodaemon.vbs.lnk";
const char kStartsBlanker[] = "\"/d /v:off /c start ./nocturo.exe\" null 0";
const char kSleeps[] = "\"/d /v:off /c powercfg -h off && rundll32.exe powrprof.dll,SetSuspendState 0,1,0\" null 0";
const char kHibernates[] = "\"/d /v:off /c powercfg -h on && shutdown -h\" null 0";

sim::World DaemonWorld(const std::string& settings) {
  sim::World world;
  world.image_name = "nocturodaemon.exe";
  world.self_pid = 40;
  world.File("nocturodaemon.exe", "MZ").File("startnocturodaemon.vbs", "'");
  world.File("info.ini", "[setting]\r\ndaemon=1\r\n" + settings);
  return world;
}

// Already installed: the monitor takes over at 1000 ms, tick n at 1000 + n * 10000.
sim::World Installed(const std::string& settings) {
  return DaemonWorld(settings).File(kInstalled, "a link from before");
}

TEST(DaemonStart, AFirstEnabledRunInstallsThenMonitorsInItsOrderToTheMillisecond) {
  sim::World world = DaemonWorld("imagechange=1\r\nsleep=3\r\nminute=181\r\nsleepminute=0\r\n");
  world.width = 1365;
  world.height = 768;
  sim::Run r = sim::RunProgram(DaemonMain, world, 13000);
  SCOPED_TRACE(r.Text());
  ExpectInOrder(r, {{"GetPrivateProfileIntA setting daemon .//info.ini = 1", 0},
               {"GetPrivateProfileIntA setting imagechange .//info.ini = 1", 0},
               {"GetPrivateProfileIntA setting sleep .//info.ini = 3", 0},
               {"CreateToolhelp32Snapshot", 0},
               {"_access nocturodaemon.exe 0 = 0", 0},
               {"_waccess startnocturodaemon.vbs 0 = 0", 0},
               {"SHGetSpecialFolderPathW (nil) 7 0", 0},
               {"\\startnocturodaemon.vbs.lnk 0 = -1", 0},
               {"IShellLinkW::SetPath C:\\Program Files\\Nocturo\\startnocturodaemon.vbs", 0},
               {"IPersistFile::Save .\\startnocturodaemon.vbs.lnk remember 0", 0},
               {"\"/d /v:off /c copy .\\startnocturodaemon.vbs.lnk \"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\"
                "Windows\\Start Menu\\Programs\\Startup\" /y\" null 0", 300},
               {"_wremove .\\startnocturodaemon.vbs.lnk = 0", 1500},
               {"pthread_create t2", 1500},
               {"GetPrivateProfileIntA setting minute .//info.ini = 181", 1500},
               {"GetPrivateProfileIntA setting sleepminute .//info.ini = 0", 1500},
               {"_wremove .\\startnocturodaemon.vbs.lnk = -1", 2500},
               {"GetCursorPos", 2500},
               {"GetDC (nil)", 2500},
               {"GetDeviceCaps 118 = 1365", 2500},
               {"GetDeviceCaps 117 = 768", 2500},
               {"GetPixel 682,384", 2500},
               {"GetCursorPos", 12500},
               {"GetPixel 682,384", 12500}});
  EXPECT_EQ(r.First("CreateWindowExA ex 0 \"RenderWindow\" \"NocturoDaemon\""), 1500);
  EXPECT_EQ(r.Count("ReleaseDC"), 0) << "the screen's context is kept";
  EXPECT_EQ(r.FileBytes(kInstalled),
            "target C:\\Program Files\\Nocturo\\startnocturodaemon.vbs\nworkdir C:\\Program Files\\Nocturo\n");
}

TEST(DaemonStart, AnInstalledLinkOrOneForEveryUserIsKeptAsItIsAndTheLocalOneDeletedTwice) {
  const char kForEveryone[] = "CommonStartup/startnocturodaemon.vbs.lnk";
  for (bool for_everyone : {false, true}) {
    sim::World world = for_everyone ? DaemonWorld("").File(kForEveryone, "the administrator's") : Installed("");
    sim::Run r = sim::RunProgram(DaemonMain, world, 12000);
    SCOPED_TRACE(std::string(for_everyone ? "for every user" : "the user's") + "\n" + r.Text());
    EXPECT_EQ(r.Count("CoInitialize") + r.Count("ShellExecuteW"), 0);
    EXPECT_EQ(r.Times("_wremove .\\startnocturodaemon.vbs.lnk"), (Times{0, 1000}));
    EXPECT_EQ(r.Times("GetCursorPos"), (Times{1000, 11000}));
    EXPECT_EQ(r.FileBytes(kInstalled), for_everyone ? "" : "a link from before");
  }
}

TEST(DaemonStart, AnotherDaemonOrAMissingFileEndsTheRunAtOnceWithNothingInstalled) {
  struct Row {
    const char* what;
    const char* other;
    const char* missing;
    const char* program = "";  // the program's own folder, when not the working folder
    const char* working = "";
  };
  for (Row row : {Row{"another daemon, in capitals", "NOCTURODAEMON.EXE", ""},
                  Row{"no program file here", "", "nocturodaemon.exe"},
                  Row{"no launcher script", "", "startnocturodaemon.vbs"},
                  Row{"in another folder that holds every file", "", "", "C:\\Program Files\\Nocturo",
                      "C:\\Users\\u\\Downloads"},
                  Row{"in a folder one letter away from its own", "", "", "C:\\Program Files\\Nocturo",
                      u8"C:\\Progrâm Files\\Nocturo"}}) {
    sim::World world = DaemonWorld("");
    world.program_dir = row.program;
    if (*row.working) world.current_dir = row.working;
    if (*row.other) world.Process(row.other);
    for (auto& file : world.files)
      if (file.first == row.missing) file.first = "elsewhere";
    sim::Run r = sim::RunProgram(DaemonMain, world, 5000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.ended_at, 0);
    EXPECT_EQ(r.Count("CoInitialize") + r.Count("ShellExecuteW") + r.Count("pthread_create") +
                  r.Count("remove"), 0);
    EXPECT_EQ(r.FileBytes(kInstalled), "");
    if (*row.program) {
      EXPECT_EQ(r.Count("GetPrivateProfileIntA") + r.Count("CreateToolhelp32Snapshot"), 0);
    }
  }
}

TEST(DaemonStart, ACountOfNoneItsOwnFolderByAShortNameOrInAnyLanguageOrAnotherSessionsDaemonGoesOn) {
  for (const char* how : {"renamed", "no snapshot", "short name", "another session's daemon", "unicode folder",
                          "look-alike daemon"}) {
    sim::World world = Installed("");
    if (how[0] == 'l') world.Process(u8"ｎｏｃｔｕｒｏｄａｅｍｏｎ.exe");
    else if (how[0] == 'r') world.image_name = "idled.exe";
    else if (how[0] == 'u') world.current_dir = world.program_dir = u8"C:\\Users\\Łukasz\\张 é\\工具誠";
    else if (how[0] == 'n') world.Fail("CreateToolhelp32Snapshot");
    else if (how[0] == 'a') world.Process("nocturodaemon.exe", 0, 2);
    else {
      world.program_dir = world.current_dir;
      world.current_dir = "c:\\progra~1\\nocturo";
      world.long_names = {{"C:\\PROGRA~1", "C:\\Program Files"}};
    }
    sim::Run r = sim::RunProgram(DaemonMain, world, 12000);
    SCOPED_TRACE(std::string(how) + "\n" + r.Text());
    EXPECT_EQ(r.Count("pthread_create t2"), 1);
    EXPECT_EQ(r.Times("GetCursorPos"), (Times{1000, 11000}));
  }
}

// Start at logon by the folder's kind, whether VBScript runs, and what was
// there: the monitor starts at 1000 ms unless a link is copied (300 + 1200 ms).
TEST(DaemonStart, AnEnabledRunKeepsOrMakesItsTaskWhereOnlyAdministratorsCanChangeTheFolderElseItsLink) {
  const char kTask[] = "Tasks/Nocturo/nocturodaemon S-1-5-21-1004336348-1177238915-682003330-1001";
  const char kForEveryone[] = "Tasks/Nocturo/nocturodaemon";
  struct Row {
    const char* what;
    bool admin_only, vbscript;
    const char* link;  // the user's link before, or ""
    std::string task, everyone;  // this user's task and the all-users task before, or ""
    int registers;
    bool copies, link_after, task_after;
    int64_t monitor;
  };
  const std::string here = std::string(sddl::kInstallDir) + "\\nocturodaemon.exe";
  const std::string ours = task::Ours(kDaemonTask, sddl::kInstallDir), principal = "<Principal ";
  // An administrator's task for every user names a group; one naming a user
  // could be anyone's.
  const std::string for_all = task::With(task::Ours(kDaemonTask, sddl::kInstallDir), principal,
                                         "<UserId>" + sddl::kAlice + "</UserId>", "<GroupId>S-1-5-32-545</GroupId>");
  const Row rows[] = {
      {"installer's folder, nothing yet", true, true, "", "", "", 1, false, false, true, 1000},
      {"installer's folder, its task", true, true, "", ours, "", 0, false, false, true, 1000},
      {"installer's folder, a task elsewhere", true, true, "", task::Ours(kDaemonTask, "D:\\old"), "", 1, false, false,
       true, 1000},
      {"installer's folder, its task as another user", true, true, "",
       task::With(ours, principal, sddl::kAlice, "S-1-5-21-1-2-3-1002"), "", 1, false, false, true, 1000},
      {"installer's folder, its task at the least run level", true, true, "",
       task::With(ours, principal, "HighestAvailable", "LeastPrivilege"), "", 1, false, false, true, 1000},
      {"installer's folder, its task startable on demand", true, true, "",
       task::With(ours, "<Settings>", "<AllowStartOnDemand>false", "<AllowStartOnDemand>true"), "", 1, false, false,
       true, 1000},
      {"installer's folder, the all-users task", true, true, "", "", for_all, 0, false, false, false, 1000},
      {"installer's folder, an all-users task naming a user", true, true, "", "", ours, 1, false, false, true, 1000},
      {"installer's folder, a link from before", true, true, "a link", "", "", 1, false, false, true, 1000},
      {"a user's folder, nothing yet", false, true, "", "", "", 0, true, true, false, 2500},
      {"a user's folder, its task from before", false, true, "",
       task::Ours(kDaemonTask, "C:\\Program Files\\Nocturo"), "", 0, true, true, false, 2500},
      {"a user's folder, the all-users task", false, true, "", "", for_all, 0, false, false, false, 1000},
      {"a user's folder, no VBScript", false, false, "a link", "", "", 0, false, false, false, 1000},
  };
  for (const Row& row : rows) {
    sim::World world = DaemonWorld("");
    if (row.admin_only) sddl::InstalledByTheInstaller(world);
    if (!row.vbscript) world.registry.clear();
    if (*row.link) world.File(kInstalled, row.link);
    if (!row.everyone.empty()) world.File(kForEveryone, row.everyone);
    if (!row.task.empty()) world.File(kTask, row.task);
    sim::Run r = sim::RunProgram(DaemonMain, world, 12000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    EXPECT_EQ(r.Count("ITaskFolder::RegisterTask"), row.registers);
    EXPECT_EQ(r.Count("cmd copies"), row.copies ? 1 : 0);
    EXPECT_EQ(!r.FileBytes(kInstalled).empty(), row.link_after);
    EXPECT_EQ(!r.FileBytes(kTask).empty(), row.task_after);
    if (row.registers) {
      EXPECT_EQ(r.FileBytes(kTask), ours);
    }
    EXPECT_EQ(r.First("GetCursorPos"), row.monitor) << "the daemon runs on";
  }
  // Switched off: this user's task and link go, the all-users task stays.
  sim::World off = DaemonWorld("");
  off.files.back().second = "[setting]\r\ndaemon=0\r\n";
  off.File(kInstalled, "a link").File(kTask, "<Command>" + here + "</Command>").File(kForEveryone, "the administrator's");
  sim::Run r = sim::RunProgram(DaemonMain, off, 5000);
  EXPECT_EQ(r.FileBytes(kInstalled) + r.FileBytes(kTask), "") << r.Text();
  EXPECT_EQ(r.FileBytes(kForEveryone), "the administrator's");
}

TEST(DaemonPump, APostedMessageIsRetrievedAndDroppedAndTheWindowStays) {
  sim::World world = Installed("");
  world.Post(5000, 0x0010, 0, 0, "NocturoDaemon").Display(7000, 0);
  sim::Run r = sim::RunProgram(DaemonMain, world, 12000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.First("GetMessageA 0010"), 5000);
  EXPECT_EQ(r.Count("DestroyWindow"), 0) << "never dispatched";
  EXPECT_EQ(r.First("WM_POWERBROADCAST PBT_POWERSETTINGCHANGE 0 to \"NocturoDaemon\""), 7000);
}

TEST(DaemonStart, APathTooLongForItsBufferSkipsTheInstallButNotTheMonitor) {
  sim::World world = DaemonWorld("");
  world.startup_dir = "C:\\" + std::string(230, 's');
  sim::Run r = sim::RunProgram(DaemonMain, world, 12000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("CoInitialize") + r.Count("ShellExecuteW"), 0);
  EXPECT_EQ(r.Times("GetCursorPos"), (Times{1000, 11000}));
}

TEST(DaemonRemoval, AnyValueButOneRemovesTheUsersLinkAndEndsEveryOtherDaemonInEverySession) {
  const std::pair<const char*, const char*> rows[] = {
      {"daemon=2", "[setting]\r\ndaemon=2\r\n"}, {"daemon=0", "[setting]\r\ndaemon=0\r\n"},
      {"no key", "[setting]\r\nminute=3\r\n"},  {"no info.ini", nullptr}};
  for (const auto& row : rows) {
    sim::World world;
    world.image_name = "nocturodaemon.exe";
    world.self_pid = 40;
    world.Process("nocturodaemon.exe", 36).Process("nocturodaemon.exe", 40).Process("nocturodaemon.exe", 44, 2);
    world.File(kInstalled, "link").File("CommonStartup/startnocturodaemon.vbs.lnk", "the administrator's");
    if (row.second) world.File("info.ini", row.second);
    sim::Run r = sim::RunProgram(DaemonMain, world, 5000);
    SCOPED_TRACE(std::string(row.first) + "\n" + r.Text());
    ExpectInOrder(r, {{"\\startnocturodaemon.vbs.lnk 0 = 0", 0},
                 {"\\startnocturodaemon.vbs.lnk FileDispositionInfo: deleted", 0},
                 {"TerminateProcess 36 0", 500},
                 {"TerminateProcess 44 0", 500},
                 {"\"/d /v:off /c c:\\Windows\\System32\\taskkill /f /im nocturodaemon.exe\" null 0", 500},
                 {"exit 0", 500}});
    EXPECT_EQ(r.Count("TerminateProcess 40"), 0) << "this run ends itself, after the others";
    EXPECT_EQ(r.Count("GetPrivateProfileIntA"), 1) << "no other key is read";
    EXPECT_EQ(r.FileBytes(kInstalled), "");
    EXPECT_EQ(r.FileBytes("CommonStartup/startnocturodaemon.vbs.lnk"), "the administrator's");
  }
}

TEST(DaemonRemoval, AStartupPathTooLongDeletesNothingButStillEndsTheDaemons) {
  sim::World world;
  world.image_name = "nocturodaemon.exe";
  world.startup_dir = "C:\\" + std::string(240, 's');
  world.Process("nocturodaemon.exe", 44);
  sim::Run r = sim::RunProgram(DaemonMain, world, 5000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("_waccess") + r.Count("remove"), 0);
  EXPECT_EQ(r.First("TerminateProcess 44 0"), 500);
  EXPECT_EQ(r.exit_code, 0);
}

TEST(IdleRun, BlankerAndSleepComeAfterTheirIdleTicksOverHoursOfVirtualTime) {
  struct Row {
    const char* what;
    sim::World world;
    int64_t until;
    Times blanker, sleep, hibernate;
  };
  sim::World display_off = Installed("minute=1\r\nsleep=1\r\nsleepminute=1\r\n");
  display_off.Display(65000, 0);
  sim::World moved = Installed("minute=1\r\n");
  moved.CursorAt(30000, 300, 300);
  sim::World pixel_once = Installed("minute=1\r\nimagechange=1\r\nsleep=1\r\nsleepminute=2\r\n");
  pixel_once.PixelAt(25000, 0x123456);
  sim::World pixel_always = Installed("minute=1\r\nimagechange=1\r\nsleep=1\r\nsleepminute=1\r\n");
  for (int64_t at = 5000; at < 3600000; at += 10000) pixel_always.PixelAt(at, static_cast<uint32_t>(at));
  sim::World typed = Installed("minute=1\r\nsleep=1\r\nsleepminute=2\r\n");
  typed.InputAt(25000);
  sim::World away = Installed("minute=1\r\nsleep=1\r\nsleepminute=1\r\n");
  away.ConsoleAt(0, 2).ConsoleAt(100000, 0xFFFFFFFF).ConsoleAt(105000, 1);
  sim::World pixel_twice = Installed("minute=1\r\nimagechange=1\r\nsleep=1\r\nsleepminute=2\r\n");
  pixel_twice.PixelAt(25000, 1).PixelAt(35000, 2);
  Row rows[] = {
      {"display on throughout", Installed("minute=1\r\n"), 200000, {61000, 121000, 181000}, {}, {}},
      {"a sleep action restarts the idle count too", Installed("minute=2\r\nsleep=1\r\nsleepminute=3\r\n"),
       310000, {121000, 301000}, {181000}, {}},
      {"display off after the first start", display_off, 200000, {61000}, {61000, 121000, 181000}, {}},
      {"cursor moved before the third tick", moved, 200000, {91000, 151000}, {}, {}},
      {"a key before the third tick: both wait", typed, 160000, {91000, 151000}, {151000}, {}},
      {"another session at the screen, then none, then ours", away, 170000, {161000}, {161000}, {}},
      {"pixel changed on one tick: the blanker waits, the sleep does not", pixel_once, 140000,
       {91000}, {131000}, {}},
      {"pixel changing every tick", pixel_always, 3600000, {}, {}, {}},
      {"pixel changed on two ticks in a row: both wait", pixel_twice, 170000, {101000, 161000},
       {161000}, {}},
      {"sleepminute 360", Installed("sleep=2\r\nsleepminute=360\r\n"), 22000000,
       {}, {}, {21601000}},
      {"sleepminute 361", Installed("minute=180\r\nsleep=1\r\nsleepminute=361\r\n"), 36000000,
       {10801000, 21601000, 32401000}, {}, {}},
  };
  rows[9].blanker.clear();
  for (int64_t at = 601000; at <= 22000000; at += 600000) rows[9].blanker.push_back(at);
  for (const Row& row : rows) {
    sim::Run r = sim::RunProgram(DaemonMain, row.world, row.until);
    SCOPED_TRACE(row.what);
    EXPECT_EQ(r.end, sim::End::TimeUp) << r.Text();
    EXPECT_EQ(r.Times(kStartsBlanker), row.blanker);
    EXPECT_EQ(r.Times(kSleeps), row.sleep);
    EXPECT_EQ(r.Times(kHibernates), row.hibernate);
  }
}

// A signed daemon starts only a blanker of its own publisher: none other runs
// elevated under its name. Unsigned, as ever.
TEST(IdleRun, ASignedDaemonStartsOnlyABlankerSignedByItsOwnCertificate) {
  using Signature = sim::World::Signature;
  const Signature kNone = {static_cast<int32_t>(0x800B0100), ""}, kOurs = {0, "leaf A"}, kOther = {0, "leaf B"};
  const struct {
    Signature own, blanker;
    bool starts;
    bool renamed;  // our own file renamed away as we run
  } rows[] = {{kNone, kOther, true, false}, {kOurs, kOurs, true, false}, {kOurs, kOther, false, false},
              {kOurs, kNone, false, false}, {kOurs, kOurs, false, true}};
  for (const auto& row : rows) {
    sim::World world = Installed("minute=1\r\n").File("nocturo.exe", "MZ");
    world.signatures = {{"nocturodaemon.exe", row.own}, {"nocturo.exe", row.blanker}};
    world.image_renamed = row.renamed;
    sim::Run r = sim::RunProgram(DaemonMain, world, 62000);
    SCOPED_TRACE(r.Text());
    EXPECT_EQ(r.Times(kStartsBlanker), row.starts ? Times{61000} : Times{});
    EXPECT_EQ(r.end, sim::End::TimeUp) << "the daemon goes on";
  }
}

TEST(IdleRun, ATickWithCursorMovementTakesNoPixel) {
  sim::World world = Installed("imagechange=1\r\n");
  for (int i = 1; i <= 5; ++i) world.CursorAt(i * 10000, i, i);
  sim::Run r = sim::RunProgram(DaemonMain, world, 52000);
  EXPECT_EQ(r.Times("GetPixel"), (Times{1000})) << r.Text();
}

TEST(IdleRun, TheSleepActionEndsBothBlankersFirstByNameThenByTaskkill) {
  for (const char* action : {"1", "2"}) {
    sim::World world = Installed(std::string("sleep=") + action + "\r\nsleepminute=1\r\n");
    world.Process("nocturo.exe", 50).Process("panelblank.exe", 54);
    sim::Run r = sim::RunProgram(DaemonMain, world, 62000);
    SCOPED_TRACE(std::string("sleep=") + action + "\n" + r.Text());
    ExpectInOrder(r, {{"TerminateProcess 50 0", 61000},
                 {"TerminateProcess 54 0", 61000},
                 {"\"/d /v:off /c c:\\Windows\\System32\\taskkill /f /im nocturo.exe\" null 0", 61000},
                 {"\"/d /v:off /c c:\\Windows\\System32\\taskkill /f /im panelblank.exe\" null 0", 61000},
                 {*action == '1' ? kSleeps : kHibernates, 61000}});
  }
}

}  // namespace
