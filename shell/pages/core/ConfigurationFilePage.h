#pragma once
// The Diagnostics page's Download and Upload buttons: saving the selected sensor's
// configuration to a file and restoring a file into it, with the page's progress bars.

#include "PagesContext.h"

#include <functional>

namespace dunmere {

class FileDialogs;

// Where the transfers get their file and their language.
struct ConfigurationFileHost {
    FileDialogs* dialogs = nullptr;       // none: nothing is asked and nothing done
    std::function<int()> languageNumber;  // the language in use
    QString languageFile;                 // config.ini
    std::function<void(bool)> busy;       // hourglass and tabs, around the work after the dialog
};

// The click: the progress bar in place of the two buttons until the tick serves it.
void DownloadClicked(PagesContext& ctx);
void UploadClicked(PagesContext& ctx);

// The tick's service of the clicks; the page is back as before afterwards.
void SaveConfigurationFromPage(PagesContext& ctx, const ConfigurationFileHost& host);
void RestoreConfigurationFromPage(PagesContext& ctx, const ConfigurationFileHost& host);

}  // namespace dunmere
