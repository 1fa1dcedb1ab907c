#pragma once

#include <cstdint>

// TfrmMain.Mode: the main window's active feature. 6 is not used.
enum TMainMode : std::uint8_t {
    mdNone = 0,
    mdJunkFiles = 1,
    mdLargeFiles = 2,
    mdOldFiles = 3,
    mdBrokenLinks = 4,
    mdEmptyFolders = 5,
    mdRegistryCleaner = 7,
    mdInternetPrivacy = 8,
    mdFolderCleaner = 9,
    mdSplitFiles = 10,
    mdCombineFiles = 11,
    mdBackupLocal = 12,
    mdBackupRemote = 13,
    mdDuplicateFiles = 14,
};
inline constexpr int MainModeCount = 15;
