// The lines the blankers' banner and the probe's report share.
#pragma once

constexpr char kNoticeLine[] = "本工具只关闭显示器，电脑仍在运行";
constexpr char kDownloadLine[] = "官方下载地址 nocturo.example.com";
constexpr char kWakeHintLine[] = "若唤醒屏幕后鼠标无法移动，按Ctrl+Alt+Delete键";
